#include "cash/CashLedger.h"

#include "core/AmountText.h"
#include "core/App.h"
#include "core/Names.h"
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
    cash.rowsOf(cashRegister) = registerRows(app.files.readLines(ledgerFileOf(cashRegister)));
    Q_EMIT cash.listFilled(cashRegister);
}

void appendCashEntry(App& app, Register cashRegister, const QString& entry) {
    app.files.appendText(ledgerFileOf(cashRegister), entry + kCrLf);
}

void MajCompta(App& app, const QString& entry) {
    appendCashEntry(app, Register::Material, entry);
    fillRegisterList(app, Register::Material);
}

void MajComptaBoisson(App& app, const QString& entry) {
    appendCashEntry(app, Register::Drinks, entry);
    fillRegisterList(app, Register::Drinks);
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
