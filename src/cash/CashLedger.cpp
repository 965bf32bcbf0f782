#include "cash/CashLedger.h"

#include "core/AmountText.h"
#include "core/App.h"
#include "core/Names.h"
#include "platform/Cp1252.h"
#include "platform/DataFiles.h"
#include "platform/NumberForm.h"

#include <QFileInfo>
#include <QStringBuilder>

namespace vendalise {

namespace {

const QString kCrLf = QStringLiteral("\r\n");
const QString kTotalMarker = QStringLiteral("Prix total :");

QString correctionMarker(Register cashRegister) {
    return cashRegister == Register::Drinks ? QStringLiteral("Correction de caisse Boisson :")
                                            : QStringLiteral("Correction de caisse :");
}

QString purchaseEntry(const QString& verb, const QString& date, const QString& firstName,
                      const QString& name, const QString& quantity, const QString& productName,
                      float unitPrice, float total) {
    // Built in one string: a settlement of all of a member's debts makes
    // one entry per owed line.
    const QString unit = numberForm(unitPrice);
    const QString sum = numberForm(total);
    return verb % date % QLatin1String(" par : ") % firstName % QLatin1Char(' ') % name % kCrLf %
           QStringLiteral("Nombre et désignation : ") % quantity % QLatin1String(" x ") %
           productName % kCrLf % QLatin1String("Prix unitaire : ") % unit %
           QLatin1String(" - Prix total : ") % sum % kCrLf;
}

} // namespace

QString ledgerFileOf(Register cashRegister) {
    return cashRegister == Register::Drinks ? kDrinksLedgerFile : kMaterialLedgerFile;
}

Register registerOf(const QString& productName) {
    return productName.startsWith(QLatin1Char('*')) ? Register::Drinks : Register::Material;
}

QString cashEntry(const QString& line1, const QString& line2, const QString& line3) {
    return line1 + kCrLf + line2 + kCrLf + line3 + kCrLf;
}

QString saleEntry(const QString& date, const QString& firstName, const QString& name,
                  const QString& quantity, const QString& productName, float unitPrice,
                  float total) {
    return purchaseEntry(QStringLiteral("Achat effectué le "), date, firstName, name, quantity,
                         productName, unitPrice, total);
}

QString settlementEntry(const QString& date, const QString& firstName, const QString& name,
                        const QString& quantity, const QString& productName, float unitPrice,
                        float total) {
    return purchaseEntry(QStringLiteral("Achat réglé le "), date, firstName, name, quantity,
                         productName, unitPrice, total);
}

QString correctionEntry(Register cashRegister, const QString& date, const QString& label,
                        float amount) {
    const QString what = cashRegister == Register::Drinks
                             ? QStringLiteral("Correction de caisse Boisson")
                             : QStringLiteral("Correction de caisse");
    return cashEntry(what + QStringLiteral(" effectué le ") + date, label,
                     what + QStringLiteral(" : ") + numberForm(amount));
}

Rows registerRows(const QByteArray& text) {
    Rows rows;
    // About 40 bytes a line.
    rows.reserve(text.size() / 40 + 1);
    DataFiles::forEachLine(text, [&](QByteArrayView line) {
        // The markers are ASCII: found in the bytes as in the text.
        const int euros =
            int(line.contains("Prix total")) + int(line.contains("Correction de caisse"));
        QString row(line.size() + euros, Qt::Uninitialized);
        QChar* end = fromCp1252Into(line, row.data());
        for (int e = 0; e < euros; ++e)
            *end++ = QChar(0x20AC);
        rows.append({std::move(row), 0});
    });
    return rows;
}

void fillRegisterList(App& app, Register cashRegister) {
    Cash& cash = app.part<Cash>();
    const int r = static_cast<int>(cashRegister);
    cash.filledFrom[r] = -1;
    const QByteArray text = app.files.readText(ledgerFileOf(cashRegister));
    Rows rows = registerRows(text);
    // A last line without CR LF is joined by the next append: the rows are
    // then filled again after it.
    const qint64 length = text.isEmpty() || text.endsWith("\r\n") ? text.size() : -1;
    // Room for the entries appended next, so that they are added in place.
    rows.reserve(rows.size() + 4096);
    cash.changeRows(cashRegister, [&](Rows& shown) { shown = std::move(rows); });
    cash.filledFrom[r] = length;
}

qint64 appendCashEntry(App& app, Register cashRegister, const QString& entry) {
    return app.files.appendText(ledgerFileOf(cashRegister), entry + kCrLf);
}

void showAppendedEntry(App& app, Register cashRegister, const QString& entry, qint64 formerLength) {
    showAppendedText(app, cashRegister, entry + kCrLf, formerLength);
}

void showAppendedText(App& app, Register cashRegister, const QString& text, qint64 formerLength) {
    Cash& cash = app.part<Cash>();
    const int r = static_cast<int>(cashRegister);
    if (formerLength < 0 || cash.filledFrom[r] != formerLength) {
        fillRegisterList(app, cashRegister);
        return;
    }
    // The lines as the file holds them, in cp1252.
    const QByteArray bytes = toCp1252(text);
    cash.changeRows(cashRegister, [&](Rows& shown) { shown.append(registerRows(bytes)); });
    cash.filledFrom[r] = formerLength + bytes.size();
}

void MajCompta(App& app, const QString& entry) {
    showAppendedEntry(app, Register::Material, entry,
                      appendCashEntry(app, Register::Material, entry));
}

void MajComptaBoisson(App& app, const QString& entry) {
    showAppendedEntry(app, Register::Drinks, entry, appendCashEntry(app, Register::Drinks, entry));
}

LineAmounts amountsOfLine(QByteArrayView line, Register cashRegister) {
    static const QByteArray total = kTotalMarker.toLatin1();
    static const QByteArray correction[2] = {correctionMarker(Register::Material).toLatin1(),
                                             correctionMarker(Register::Drinks).toLatin1()};
    const QByteArray& marker = correction[static_cast<int>(cashRegister)];
    LineAmounts amounts;
    const auto add = [&](qsizetype at, qsizetype length) {
        amounts.values[amounts.count++] = amountValue(fromCp1252(line.sliced(at + length)));
    };
    if (const qsizetype p = line.indexOf(total); p >= 0)
        add(p, total.size());
    if (const qsizetype q = line.indexOf(marker); q >= 0)
        add(q, marker.size());
    return amounts;
}

float registerTotal(const QByteArray& ledgerText, Register cashRegister) {
    float sum = 0;
    DataFiles::forEachLine(ledgerText, [&](QByteArrayView line) {
        const LineAmounts amounts = amountsOfLine(line, cashRegister);
        for (int i = 0; i < amounts.count; ++i)
            sum = addAmount(sum, amounts.values[i]);
    });
    return sum;
}

float registerTotal(App& app, Register cashRegister) {
    const QString file = ledgerFileOf(cashRegister);
    if (!QFileInfo::exists(app.files.path(file)))
        return 0;
    return registerTotal(app.files.readText(file), cashRegister);
}

} // namespace vendalise
