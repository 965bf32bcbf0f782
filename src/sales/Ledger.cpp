#include "sales/Ledger.h"

#include "catalogue/Catalogue.h"
#include "core/App.h"
#include "core/Names.h"
#include "members/MemberTable.h"
#include "platform/DataFiles.h"
#include "platform/Limits.h"
#include "platform/NumberForm.h"
#include "platform/RecordFields.h"

namespace vendalise {

namespace {

// The table entry of a number, or an empty entry for a number outside the
// table (a file not written by this program).
template <class Table> auto entryOf(const Table& table, int n) -> decltype(table[0]) {
    return n >= 1 && n <= table.count() ? table[n] : table[0];
}

QString stateText(const LedgerLine& line) {
    return line.isPaid() ? QStringLiteral(" payé") : QStringLiteral(" article dû");
}

// date - NAME  product (xquantity)
// Built in one string: the operations list makes one per ledger line.
QString lineHead(App& app, const LedgerLine& line) {
    const QStringView name =
        trailingBlanksCut(entryOf(app.part<Members>().table, line.member).name);
    const QStringView product =
        trailingBlanksCut(entryOf(app.part<Catalogue>().table, line.product).name);
    const QString quantity = numberForm(line.quantity);
    QString text;
    text.reserve(line.date.size() + name.size() + product.size() + quantity.size() + 48);
    text.append(line.date).append(u" - ").append(name).append(u"  ").append(product);
    text.append(u" (x").append(quantity).append(u')');
    return text;
}

} // namespace

QByteArray ledgerRecord(const LedgerLine& line) {
    QByteArray record = textField(line.date, kLedgerDateWidth);
    appendInt16(record, line.product);
    appendInt16(record, line.member);
    appendFloat(record, line.quantity);
    appendInt16(record, line.paid);
    return record;
}

LedgerLine ledgerLineOf(QByteArrayView record) {
    return {textAt(record, 0, kLedgerDateWidth), int16At(record, 10), int16At(record, 12),
            floatAt(record, 14), int16At(record, 18)};
}

qint64 loadLedger(const DataFiles& files, LedgerTable& ledger) {
    const Records records = files.readRecords(kLedgerFile, kLedgerRecordLength, kMaxRecords);
    LedgerTable loaded;
    loaded.lines.reserve(records.count() + 1);
    for (int n = 1; n <= records.count(); ++n)
        loaded.lines.append(ledgerLineOf(records.record(n)));
    ledger = std::move(loaded);
    return records.fileRecords();
}

QList<float> memberDebts(const LedgerTable& ledger, const ProductTable& products, int memberCount) {
    QList<float> debts(memberCount + 1, 0.0f);
    for (int n = 1; n <= ledger.count(); ++n) {
        const LedgerLine& line = ledger[n];
        if (line.isPaid() || line.member < 1 || line.member > memberCount || line.product < 1 ||
            line.product > products.count())
            continue;
        debts[line.member] = static_cast<float>(
            double(products[line.product].price) * line.quantity + debts[line.member]);
    }
    return debts;
}

qint64 ChargeVentes(App& app) {
    Sales& sales = app.part<Sales>();
    LedgerTable ledger;
    const qint64 records = loadLedger(app.files, ledger);
    app.part<Members>().debts =
        memberDebts(ledger, app.part<Catalogue>().table, app.part<Members>().table.count());
    sales.ledger = std::move(ledger);
    return records;
}

float lineAmount(App& app, int n) {
    const LedgerLine& line = entryOf(app.part<Sales>().ledger, n);
    const ProductTable& products = app.part<Catalogue>().table;
    if (line.product < 1 || line.product > products.count())
        return 0;
    return static_cast<float>(double(products[line.product].price) * line.quantity);
}

QString ledgerLineText(App& app, int n) {
    const LedgerLine& line = entryOf(app.part<Sales>().ledger, n);
    QString text = lineHead(app, line);
    text.append(stateText(line));
    return text;
}

QString clientLineText(App& app, int n) {
    const LedgerLine& line = entryOf(app.part<Sales>().ledger, n);
    return lineHead(app, line) + QStringLiteral("  - Montant total : ") +
           numberForm(lineAmount(app, n)) + QStringLiteral("€ - ") + stateText(line);
}

void MajVentes(App& app) {
    Sales& sales = app.part<Sales>();
    sales.currentLine = 0;
    Q_EMIT sales.salesListed();
}

} // namespace vendalise
