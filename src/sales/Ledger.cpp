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

QString stateText(const LedgerLine& line) {
    return line.isPaid() ? QStringLiteral(" payé") : QStringLiteral(" article dû");
}

// date - NAME  product (xquantity)
// Built in one string: the operations list makes one per ledger line.
QString lineHead(App& app, const LedgerLine& line) {
    const QStringView name = trailingBlanksCut(app.part<Members>().table.member(line.member).name);
    const QStringView product =
        trailingBlanksCut(app.part<Catalogue>().table.product(line.product).name);
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
            floatAt(record, 14), int16At(record, kLedgerPaidAt)};
}

qint64 loadLedger(const DataFiles& files, LedgerTable& ledger, QByteArray* decoded,
                  QByteArray* spare) {
    Records records = files.readRecords(kLedgerFile, kLedgerRecordLength, kMaxRecords,
                                        spare ? std::move(*spare) : QByteArray());
    const QByteArray& bytes = records.bytes();
    // Lines of one day follow each other: they share one date text.
    QByteArrayView lastDate;
    QString date;
    const auto lineAt = [&](int n) {
        const QByteArrayView record = records.record(n);
        if (record.first(kLedgerDateWidth) != lastDate) {
            lastDate = record.first(kLedgerDateWidth);
            date = textAt(record, 0, kLedgerDateWidth);
        }
        return LedgerLine{date, int16At(record, 10), int16At(record, 12), floatAt(record, 14),
                          int16At(record, kLedgerPaidAt)};
    };
    // The table made from `decoded`: only the records that differ from it
    // are decoded again, in place.
    const bool known =
        decoded && ledger.count() * qsizetype(kLedgerRecordLength) == decoded->size();
    const int same = known ? std::min(ledger.count(), records.count()) : 0;
    if (!known)
        ledger = LedgerTable{};
    ledger.records.resize(same + 1);
    ledger.records.reserve(records.count() + 1);
    for (int n = 1; n <= same; ++n) {
        const qsizetype at = qsizetype(n - 1) * kLedgerRecordLength;
        if (std::memcmp(bytes.constData() + at, decoded->constData() + at, kLedgerRecordLength) !=
            0)
            ledger[n] = lineAt(n);
    }
    for (int n = same + 1; n <= records.count(); ++n)
        ledger.records.append(lineAt(n));
    const qint64 fileRecords = records.fileRecords();
    if (decoded) {
        QByteArray before = std::exchange(*decoded, std::move(records).takeBytes());
        if (spare)
            *spare = std::move(before);
    }
    return fileRecords;
}

void setLinePaid(Sales& sales, int n, qint16 paid) {
    sales.ledger[n].paid = paid;
    if (!tableRecords(sales).isEmpty()) {
        char* record = sales.ledgerBytes.data() + qsizetype(n - 1) * kLedgerRecordLength;
        record[kLedgerPaidAt] = static_cast<char>(paid & 0xFF);
        record[kLedgerPaidAt + 1] = static_cast<char>((paid >> 8) & 0xFF);
    }
}

QByteArrayView tableRecords(const Sales& sales) {
    if (sales.ledgerBytes.size() != qsizetype(sales.ledger.count()) * kLedgerRecordLength)
        return {};
    return sales.ledgerBytes;
}

QList<float> memberDebts(const LedgerTable& ledger, const ProductTable& products, int memberCount) {
    QList<float> debts;
    fillMemberDebts(debts, ledger, products, memberCount);
    return debts;
}

void fillMemberDebts(QList<float>& debts, const LedgerTable& ledger, const ProductTable& products,
                     int memberCount) {
    debts.resize(memberCount + 1);
    std::fill(debts.begin(), debts.end(), 0.0f);
    for (int n = 1; n <= ledger.count(); ++n) {
        const LedgerLine& line = ledger[n];
        if (line.isPaid() || line.member < 1 || line.member > memberCount ||
            !products.holds(line.product))
            continue;
        debts[line.member] = static_cast<float>(
            double(products[line.product].price) * line.quantity + debts[line.member]);
    }
}

qint64 ChargeVentes(App& app) {
    Sales& sales = app.part<Sales>();
    // A read that fails leaves the table as it was; it fails before the
    // table is touched.
    LedgerTable ledger = std::move(sales.ledger);
    QByteArray decoded = std::move(sales.ledgerBytes);
    qint64 records = 0;
    try {
        records = loadLedger(app.files, ledger, &decoded, &sales.spareBytes);
    } catch (...) {
        sales.ledger = std::move(ledger);
        sales.ledgerBytes = std::move(decoded);
        throw;
    }
    Members& members = app.part<Members>();
    fillMemberDebts(members.debts, ledger, app.part<Catalogue>().table, members.table.count());
    sales.ledger = std::move(ledger);
    sales.ledgerBytes = std::move(decoded);
    return records;
}

float lineValue(const LedgerLine& line, const Product& product) {
    return static_cast<float>(double(product.price) * line.quantity);
}

float lineAmount(App& app, int n) {
    const LedgerLine& line = app.part<Sales>().ledger.line(n);
    const ProductTable& products = app.part<Catalogue>().table;
    if (!products.holds(line.product))
        return 0;
    return lineValue(line, products[line.product]);
}

QString ledgerLineText(App& app, int n) {
    const LedgerLine& line = app.part<Sales>().ledger.line(n);
    QString text = lineHead(app, line);
    text.append(stateText(line));
    return text;
}

QString clientLineText(App& app, int n) {
    const LedgerLine& line = app.part<Sales>().ledger.line(n);
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

    // A text already made stays right while the names it shows and the line
    // it stands for are the same: only changed and new lines are made again.
    if (!sameNames(cache.products, products, productName) ||
        !sameNames(cache.members, members, memberName)) {
        cache = {};
        cache.products = namesOf(products, productName);
        cache.members = namesOf(members, memberName);
    }
    // Walks the old lines and the new ones together, in place: a new line
    // equal to the old one at hand, or to one a little further (the lines
    // between were deleted), takes its text, since a text shows only what
    // the line holds. The old line taken is never before the place written,
    // so the rows move only towards the front.
    Rows& rows = cache.rows;
    QList<LedgerLine>& lines = cache.lines;
    const qsizetype oldCount = lines.size();
    // Looking further is done once after each line found in its place, and
    // only so far, so that lines that are all new cost no search.
    constexpr qsizetype kFurthest = 4096;
    qsizetype j = 0;
    bool inStep = true;
    for (int n = 1; n <= ledger.count(); ++n) {
        const LedgerLine& line = ledger[n];
        const qsizetype at = n - 1;
        qsizetype match = -1;
        if (j < oldCount && sameLine(std::as_const(lines)[j], line)) {
            match = j;
        } else if (inStep) {
            const qsizetype surplus = (oldCount - j) - (ledger.count() - n + 1);
            const qsizetype furthest = std::min({surplus, kFurthest, oldCount - j - 1});
            for (qsizetype k = 1; k <= furthest && match < 0; ++k) {
                if (sameLine(std::as_const(lines)[j + k], line))
                    match = j + k;
            }
        }
        inStep = match >= 0;
        if (match >= 0)
            j = match + 1;
        else if (j < oldCount)
            ++j; // changed in place
        if (match == at)
            continue; // the line, its text and its number are there already
        Row row = match >= 0 ? Row{std::move(rows[match].text), n} : Row{ledgerLineText(app, n), n};
        if (at < rows.size()) {
            rows[at] = std::move(row);
            lines[at] = line;
        } else {
            rows.append(std::move(row));
            lines.append(line);
        }
    }
    rows.resize(ledger.count());
    lines.resize(ledger.count());
    return cache.rows;
}

void MajVentes(App& app) {
    Sales& sales = app.part<Sales>();
    sales.currentLine = 0;
    Q_EMIT sales.salesListed();
}

} // namespace vendalise
