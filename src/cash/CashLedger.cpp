#include "cash/CashLedger.h"

#include "core/AmountText.h"
#include "core/App.h"
#include "core/Names.h"
#include "platform/Cp1252.h"
#include "platform/NumberForm.h"

#include <QFileInfo>

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
    return cashEntry(verb + date + QStringLiteral(" par : ") + firstName + QLatin1Char(' ') + name,
                     QStringLiteral("Nombre et désignation : ") + quantity +
                         QStringLiteral(" x ") + productName,
                     QStringLiteral("Prix unitaire : ") + numberForm(unitPrice) +
                         QStringLiteral(" - Prix total : ") + numberForm(total));
}

// The amount that follows a marker found at index at.
double amountAfter(const QString& line, qsizetype at, qsizetype markerLength) {
    return amountValue(line.mid(at + markerLength));
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

Rows registerRows(const QStringList& lines) {
    Rows rows;
    rows.reserve(lines.size());
    for (QString line : lines) {
        if (line.contains(QLatin1String("Prix total")))
            line += QStringLiteral("€");
        if (line.contains(QLatin1String("Correction de caisse")))
            line += QStringLiteral("€");
        rows.append({std::move(line), 0});
    }
    return rows;
}

void fillRegisterList(App& app, Register cashRegister) {
    Cash& cash = app.part<Cash>();
    const int r = static_cast<int>(cashRegister);
    cash.filledFrom[r] = -1;
    qint64 length = -1;
    cash.rows[r] = registerRows(app.files.readLines(ledgerFileOf(cashRegister), &length));
    cash.filledFrom[r] = length;
    Q_EMIT cash.listFilled(cashRegister);
}

qint64 appendCashEntry(App& app, Register cashRegister, const QString& entry) {
    return app.files.appendText(ledgerFileOf(cashRegister), entry + kCrLf);
}

void showAppendedEntry(App& app, Register cashRegister, const QString& entry,
                       qint64 formerLength) {
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
    QStringList lines = fromCp1252(bytes).split(kCrLf);
    lines.removeLast(); // after the last CR LF
    cash.rows[r].append(registerRows(lines));
    cash.filledFrom[r] = formerLength + bytes.size();
    Q_EMIT cash.listFilled(cashRegister);
}

void MajCompta(App& app, const QString& entry) {
    showAppendedEntry(app, Register::Material, entry, appendCashEntry(app, Register::Material, entry));
}

void MajComptaBoisson(App& app, const QString& entry) {
    showAppendedEntry(app, Register::Drinks, entry, appendCashEntry(app, Register::Drinks, entry));
}

float registerTotal(const QStringList& lines, Register cashRegister) {
    const QString correction = correctionMarker(cashRegister);
    float total = 0;
    for (const QString& line : lines) {
        const qsizetype p = line.indexOf(kTotalMarker);
        if (p >= 0)
            total = static_cast<float>(double(total) + amountAfter(line, p, kTotalMarker.size()));
        const qsizetype q = line.indexOf(correction);
        if (q >= 0)
            total = static_cast<float>(double(total) + amountAfter(line, q, correction.size()));
    }
    return total;
}

float registerTotal(App& app, Register cashRegister) {
    const QString file = ledgerFileOf(cashRegister);
    if (!QFileInfo::exists(app.files.path(file)))
        return 0;
    return registerTotal(app.files.readLines(file), cashRegister);
}

} // namespace vendalise
