#include "bilans/Figures.h"

#include "cash/KeptStatements.h"
#include "catalogue/Catalogue.h"
#include "core/Names.h"
#include "sales/KeptDeletions.h"
#include "platform/DataFiles.h"
#include "platform/NumberForm.h"

#include <QFileInfo>
#include <QMap>
#include <QSet>

#include <algorithm>
#include <cmath>

namespace vendalise {

namespace {

QDate monthOf(QDate day) {
    return QDate(day.year(), day.month(), 1);
}

// The bytes of a file that may be missing, read without creating it.
QByteArray textIfThere(const DataFiles& files, const QString& name) {
    return QFileInfo::exists(files.path(name)) ? files.readText(name) : QByteArray();
}

void addEntries(BilanSources& sources, Register cashRegister, const QByteArray& text, bool kept,
                const QString& localForm) {
    for (ReadEntry& read : readCashEntries(text, cashRegister)) {
        const std::optional<QDate> date = readDateText(read.date, localForm);
        sources.entries[static_cast<int>(cashRegister)].append({std::move(read), date, kept});
    }
}

// Rows by month in month order, unreadable dates last.
template <class Row>
QList<Row> inMonthOrder(const QMap<QDate, Row>& months, const Row* unreadable) {
    QList<Row> rows;
    rows.reserve(months.size() + 1);
    for (auto it = months.cbegin(); it != months.cend(); ++it)
        rows.append(it.value());
    if (unreadable)
        rows.append(*unreadable);
    return rows;
}

} // namespace

QString memberName(const Member& member) {
    return (member.name.trimmed() + QLatin1Char(' ') + member.firstName.trimmed()).trimmed();
}

Period Period::season(QDate day) {
    const int start = day.month() >= 9 ? day.year() : day.year() - 1;
    return {QDate(start, 9, 1), QDate(start + 1, 8, 31)};
}

bool Period::isSeason() const {
    return from.isValid() && from.month() == 9 && from.day() == 1 &&
           to == QDate(from.year() + 1, 8, 31);
}

Period Period::previousSeason(const Period& shown, QDate today) {
    const Period current = shown.isSeason() ? shown : season(today);
    return season(current.from.addDays(-1));
}

Period Period::year(QDate day) {
    return {QDate(day.year(), 1, 1), QDate(day.year(), 12, 31)};
}

void Receipts::add(const ReadEntry& entry) {
    float* cell = &other;
    switch (entry.kind) {
    case ReadEntry::Kind::Sale:
        cell = &sales;
        break;
    case ReadEntry::Kind::Settlement:
        cell = &settlements;
        break;
    case ReadEntry::Kind::Correction:
        cell = entry.amount() < 0 ? &minus : &plus;
        break;
    case ReadEntry::Kind::Other:
        break;
    }
    for (const double value : entry.amounts) {
        *cell = addAmount(*cell, value);
        total = addAmount(total, value);
    }
    ++entries;
}

BilanSources readBilanSources(const DataFiles& files, qint16 threshold, QDate today,
                              const QString& localForm) {
    BilanSources sources;
    sources.threshold = threshold;
    sources.today = today;
    // The loaders create a missing file: only files that are there are read.
    if (QFileInfo::exists(files.path(kProductFile)))
        loadProductTable(files, sources.products);
    if (QFileInfo::exists(files.path(kMemberFile)))
        loadMemberTable(files, sources.members);
    if (QFileInfo::exists(files.path(kLedgerFile)))
        loadLedger(files, sources.ledger);
    sources.lineDates.resize(sources.ledger.count() + 1);
    for (int n = 1; n <= sources.ledger.count(); ++n)
        sources.lineDates[n] = readDateText(sources.ledger[n].date, localForm);
    for (const KeptFile& kept : keptDeletions(files)) {
        const QByteArray records = files.readText(kept.path);
        for (qsizetype at = 0; at + kLedgerRecordLength <= records.size();
             at += kLedgerRecordLength) {
            LedgerLine line = ledgerLineOf(QByteArrayView(records).sliced(at, kLedgerRecordLength));
            const std::optional<QDate> date = readDateText(line.date, localForm);
            sources.keptLines.append({std::move(line), date});
        }
    }
    for (const Register r : {Register::Material, Register::Drinks}) {
        for (const KeptStatement& kept : keptStatements(files, r))
            addEntries(sources, r, files.readText(kept.path), true, localForm);
        addEntries(sources, r, textIfThere(files, ledgerFileOf(r)), false, localForm);
    }
    return sources;
}

namespace {

// Each member as the registers write one ("Prénom NOM") and as the tables
// name one, for the texts that name exactly one member.
void addMemberNames(Bilan& bilan, const MemberTable& members) {
    QSet<QString> named;
    for (int m = 1; m <= members.count(); ++m) {
        const QString written =
            (members[m].firstName.trimmed() + QLatin1Char(' ') + members[m].name.trimmed())
                .trimmed();
        if (written.isEmpty())
            continue;
        if (named.contains(written))
            bilan.memberNames.remove(written);
        else
            bilan.memberNames.insert(written, memberName(members[m]));
        named.insert(written);
    }
}

// Sales by month and by product, and the lines, of the period: the lines
// kept by deletions (numbered 0), then the ledger's.
void addSales(Bilan& bilan, const BilanSources& sources) {
    const ProductTable& products = sources.products;
    const LedgerTable& ledger = sources.ledger;
    QMap<QDate, SalesMonth> salesMonths;
    SalesMonth unreadableSales;
    QHash<int, ProductSales> byProduct;
    bilan.lines.reserve(sources.keptLines.size() + ledger.count());
    const qsizetype kept = sources.keptLines.size();
    for (qsizetype k = 0; k < kept + ledger.count(); ++k) {
        const int n = k < kept ? 0 : int(k - kept + 1);
        const LedgerLine& line = n == 0 ? sources.keptLines[k].line : ledger[n];
        const std::optional<QDate>& date =
            n == 0 ? sources.keptLines[k].date : sources.lineDates[n];
        if (date && !bilan.period.contains(*date))
            continue;
        const Product& product = products.product(line.product);
        const float amount = lineValue(line, product);
        const int r = static_cast<int>(registerOf(product.name));
        SalesMonth* month = &unreadableSales;
        if (date) {
            month = &salesMonths[monthOf(*date)];
            month->month = monthOf(*date);
        } else {
            ++bilan.unreadableLines;
        }
        month->registers[r].add(line.quantity, amount);
        month->both.add(line.quantity, amount);
        bilan.salesTotal.registers[r].add(line.quantity, amount);
        bilan.salesTotal.both.add(line.quantity, amount);
        ProductSales& sold = byProduct[line.product];
        sold.product = line.product;
        sold.name = product.name.trimmed();
        sold.cashRegister = static_cast<Register>(r);
        sold.quantity += line.quantity;
        sold.amount += amount;
        bilan.lines.append({n, line.date.trimmed(), date,
                            memberName(sources.members.member(line.member)),
                            product.name.trimmed(), line.quantity, product.price, amount,
                            line.isPaid()});
    }
    bilan.salesMonths =
        inMonthOrder(salesMonths, bilan.unreadableLines > 0 ? &unreadableSales : nullptr);
    bilan.products = byProduct.values();
    std::sort(bilan.products.begin(), bilan.products.end(),
              [](const ProductSales& a, const ProductSales& b) {
                  if (a.amount != b.amount)
                      return a.amount > b.amount;
                  return a.product < b.product;
              });
}

// Receipts by month of the period, from the registers' entries, and what
// each register holds since its last statement.
void addReceipts(Bilan& bilan, const BilanSources& sources) {
    QMap<QDate, ReceiptsMonth> receiptsMonths;
    ReceiptsMonth unreadableReceipts;
    for (const int r : {0, 1}) {
        bilan.entries[r].reserve(sources.entries[r].size());
        for (const BilanSources::Entry& entry : sources.entries[r]) {
            if (!entry.kept)
                for (const double value : entry.read.amounts)
                    bilan.sinceStatement[r] = addAmount(bilan.sinceStatement[r], value);
            if (entry.date && !bilan.period.contains(*entry.date))
                continue;
            ReceiptsMonth* month = &unreadableReceipts;
            if (entry.date) {
                month = &receiptsMonths[monthOf(*entry.date)];
                month->month = monthOf(*entry.date);
            } else {
                ++bilan.unreadableEntries;
            }
            month->registers[r].add(entry.read);
            bilan.receiptsTotal[r].add(entry.read);
            bilan.entries[r].append({entry.read.date, entry.date, entry.read.kind, entry.read.who,
                                     entry.read.amount()});
        }
    }
    bilan.receiptsMonths =
        inMonthOrder(receiptsMonths, bilan.unreadableEntries > 0 ? &unreadableReceipts : nullptr);
}

// Debts of today: the program's own, with the owed lines' dates, and each
// owed line's value summed in the age of its own date.
void addDebts(Bilan& bilan, const BilanSources& sources) {
    const ProductTable& products = sources.products;
    const MemberTable& members = sources.members;
    const LedgerTable& ledger = sources.ledger;
    const QList<float> debts = memberDebts(ledger, products, members.count());
    QList<DebtRow> rows(members.count() + 1);
    QList<std::array<double, kDebtAges>> byAge(members.count() + 1);
    for (int n = 1; n <= ledger.count(); ++n) {
        const LedgerLine& line = ledger[n];
        if (line.isPaid() || !members.holds(line.member) || !products.holds(line.product))
            continue;
        DebtRow& row = rows[line.member];
        ++row.lines;
        const std::optional<QDate>& date = sources.lineDates[n];
        if (row.lines == 1)
            row.oldestText = line.date.trimmed();
        if (date && (!row.oldest || *date < *row.oldest)) {
            row.oldest = date;
            row.oldestText = line.date.trimmed();
        }
        byAge[line.member][static_cast<int>(debtAgeOf(date, sources.today))] +=
            lineValue(line, products[line.product]);
    }
    for (int m = 1; m <= members.count(); ++m) {
        if (debts.value(m) == 0)
            continue;
        DebtRow row = rows[m];
        row.member = m;
        row.name = memberName(members[m]);
        row.owed = debts[m];
        row.age = row.oldest ? static_cast<int>(row.oldest->daysTo(sources.today)) : 0;
        // Each age rounded to the cent; what their sum lacks to the debt
        // rounded to the cent (the lines' values added in another order and
        // precision, each rounding apart) goes to the age of the largest
        // amount, so that the ages add up to the debt shown.
        qint64 aged = 0;
        int largest = 0;
        for (int a = 0; a < kDebtAges; ++a) {
            row.byAge[a] = toCents(byAge[m][a]);
            aged += row.byAge[a];
            if (std::abs(row.byAge[a]) > std::abs(row.byAge[largest]))
                largest = a;
        }
        row.byAge[largest] += toCents(row.owed) - aged;
        bilan.debtTotal += row.owed;
        bilan.debts.append(row);
    }
    sortDebts(bilan.debts, DebtOrder::Amount);
}

// The stock of today, in the stock report's order.
void addStock(Bilan& bilan, const BilanSources& sources) {
    const ProductTable& products = sources.products;
    for (const int n : stockReportOrder(products)) {
        const Product& product = products[n];
        if (isUnlabelled(product.name))
            continue;
        bilan.stock.append({n, product.name.trimmed(), product.price, product.stock,
                            productValue(product), product.stock <= sources.threshold});
    }
    bilan.stockTotal = stockValue(products);
}

} // namespace

Bilan makeBilan(const BilanSources& sources, const Period& period) {
    Bilan bilan;
    addMemberNames(bilan, sources.members);
    addDebts(bilan, sources);
    addStock(bilan, sources);
    setBilanPeriod(bilan, sources, period);
    return bilan;
}

void setBilanPeriod(Bilan& bilan, const BilanSources& sources, const Period& period) {
    // Made afresh, so that nothing of the period before is left; what does
    // not depend on the period is moved over.
    Bilan made;
    made.period = period;
    addSales(made, sources);
    addReceipts(made, sources);
    made.debts = std::move(bilan.debts);
    made.debtTotal = bilan.debtTotal;
    made.stock = std::move(bilan.stock);
    made.stockTotal = bilan.stockTotal;
    made.memberNames = std::move(bilan.memberNames);
    bilan = std::move(made);
}

DebtAge debtAgeOf(const std::optional<QDate>& date, QDate today) {
    if (!date)
        return DebtAge::Unreadable;
    const qint64 age = date->daysTo(today);
    return age < 30     ? DebtAge::Under30
           : age < 90   ? DebtAge::Under90
           : age <= 365 ? DebtAge::UpToYear
                        : DebtAge::OverYear;
}

void DebtSum::add(const DebtRow& row) {
    for (int a = 0; a < kDebtAges; ++a) {
        cents += row.byAge[a];
        byAge[a] += row.byAge[a];
    }
    lines += row.lines;
}

void DebtSum::add(const DebtSum& sum) {
    cents += sum.cents;
    for (int a = 0; a < kDebtAges; ++a)
        byAge[a] += sum.byAge[a];
    lines += sum.lines;
}

void sortDebts(QList<DebtRow>& debts, DebtOrder order) {
    std::sort(debts.begin(), debts.end(), [order](const DebtRow& a, const DebtRow& b) {
        if (order == DebtOrder::Age) {
            if (a.oldest.has_value() != b.oldest.has_value())
                return a.oldest.has_value();
            if (a.oldest && *a.oldest != *b.oldest)
                return *a.oldest < *b.oldest;
        } else if (order == DebtOrder::Amount && std::abs(a.owed) != std::abs(b.owed)) {
            return std::abs(a.owed) > std::abs(b.owed);
        }
        const int byName = a.name.compare(b.name, Qt::CaseInsensitive);
        return byName != 0 ? byName < 0 : a.member < b.member;
    });
}

QString entryKindText(ReadEntry::Kind kind) {
    switch (kind) {
    case ReadEntry::Kind::Sale:
        return QStringLiteral("Vente payée");
    case ReadEntry::Kind::Settlement:
        return QStringLiteral("Règlement");
    case ReadEntry::Kind::Correction:
        return QStringLiteral("Correction");
    case ReadEntry::Kind::Other:
        break;
    }
    return QStringLiteral("Autre");
}

} // namespace vendalise
