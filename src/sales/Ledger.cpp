#include "sales/Ledger.h"

#include "catalogue/Catalogue.h"
#include "core/App.h"
#include "core/Names.h"
#include "members/MemberTable.h"
#include "platform/DataFiles.h"
#include "platform/Limits.h"
#include "platform/NumberForm.h"
#include "platform/RecordFields.h"

#include <cstring>

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

qint64 loadLedger(const DataFiles& files, LedgerTable& ledger, QByteArray* decoded) {
    const Records records = files.readRecords(kLedgerFile, kLedgerRecordLength, kMaxRecords);
    const QByteArray& bytes = records.bytes();
    int first = 1;
    if (decoded && ledger.count() * qsizetype(kLedgerRecordLength) == decoded->size() &&
        bytes.startsWith(*decoded))
        first = ledger.count() + 1;
    LedgerTable loaded;
    if (first > 1)
        loaded = std::move(ledger);
    loaded.lines.reserve(records.count() + 1);
    // Lines of one day follow each other: they share one date text.
    QByteArrayView lastDate;
    QString date;
    for (int n = first; n <= records.count(); ++n) {
        const QByteArrayView record = records.record(n);
        LedgerLine line{{}, int16At(record, 10), int16At(record, 12), floatAt(record, 14),
                        int16At(record, 18)};
        if (record.first(kLedgerDateWidth) != lastDate) {
            lastDate = record.first(kLedgerDateWidth);
            date = textAt(record, 0, kLedgerDateWidth);
        }
        line.date = date;
        loaded.lines.append(std::move(line));
    }
    ledger = std::move(loaded);
    if (decoded)
        *decoded = bytes;
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
    // A read that fails leaves the table as it was; it fails before the
    // table is touched.
    LedgerTable ledger = std::move(sales.ledger);
    QByteArray decoded = std::move(sales.ledgerBytes);
    qint64 records = 0;
    try {
        records = loadLedger(app.files, ledger, &decoded);
    } catch (...) {
        sales.ledger = std::move(ledger);
        sales.ledgerBytes = std::move(decoded);
        throw;
    }
    app.part<Members>().debts =
        memberDebts(ledger, app.part<Catalogue>().table, app.part<Members>().table.count());
    sales.ledger = std::move(ledger);
    sales.ledgerBytes = std::move(decoded);
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

namespace {

bool sameLine(const LedgerLine& a, const LedgerLine& b) {
    return a.date == b.date && a.product == b.product && a.member == b.member &&
           std::memcmp(&a.quantity, &b.quantity, sizeof(float)) == 0 && a.paid == b.paid;
}

// Whether the names are those of the table; names found equal are made to
// share the table's texts, so that the next comparison is quick.
template <class Table, class Name>
bool sameNames(QStringList& names, const Table& table, Name nameOf) {
    if (names.size() != table.count())
        return false;
    for (int n = 1; n <= table.count(); ++n) {
        const QString& name = nameOf(table[n]);
        if (names[n - 1].constData() == name.constData() && names[n - 1].size() == name.size())
            continue;
        if (names[n - 1] != name)
            return false;
        names[n - 1] = name;
    }
    return true;
}

template <class Table, class Name> QStringList namesOf(const Table& table, Name nameOf) {
    QStringList names;
    names.reserve(table.count());
    for (int n = 1; n <= table.count(); ++n)
        names.append(nameOf(table[n]));
    return names;
}

} // namespace

const Rows& allLineRows(App& app) {
    Sales& sales = app.part<Sales>();
    Sales::LineRows& cache = sales.lineRows;
    const LedgerTable& ledger = sales.ledger;
    const ProductTable& products = app.part<Catalogue>().table;
    const MemberTable& members = app.part<Members>().table;
    const auto productName = [](const Product& p) -> const QString& { return p.name; };
    const auto memberName = [](const Member& m) -> const QString& { return m.name; };

    // The texts already made stay right while the names they show and the
    // lines they stand for are the same.
    qsizetype kept = 0;
    if (sameNames(cache.products, products, productName) &&
        sameNames(cache.members, members, memberName) &&
        cache.lines.size() <= ledger.count()) {
        while (kept < cache.lines.size() && sameLine(cache.lines[kept], ledger[int(kept) + 1]))
            ++kept;
    } else {
        cache.products = namesOf(products, productName);
        cache.members = namesOf(members, memberName);
    }
    if (kept == ledger.count() && kept == cache.lines.size())
        return cache.rows;
    cache.rows.resize(kept);
    cache.lines.resize(kept);
    cache.rows.reserve(ledger.count());
    cache.lines.reserve(ledger.count());
    for (int n = int(kept) + 1; n <= ledger.count(); ++n) {
        cache.rows.append({ledgerLineText(app, n), n});
        cache.lines.append(ledger[n]);
    }
    return cache.rows;
}

void MajVentes(App& app) {
    Sales& sales = app.part<Sales>();
    sales.currentLine = 0;
    Q_EMIT sales.salesListed();
}

} // namespace vendalise
