#pragma once

#include "cash/CashEntries.h"
#include "catalogue/ProductTable.h"
#include "members/MemberTable.h"
#include "sales/Ledger.h"

#include <QDate>
#include <QHash>
#include <QList>
#include <QString>

#include <algorithm>
#include <array>
#include <cmath>
#include <optional>

namespace vendalise {

class DataFiles;

// The dates between two days, both included; "Tout" has neither.
struct Period {
    QDate from;
    QDate to;
    bool contains(QDate day) const {
        return (!from.isValid() || day >= from) && (!to.isValid() || day <= to);
    }
    static Period all() { return {}; }
    // 1 September to 31 August, the season in which the day falls.
    static Period season(QDate day);
    // From a 1 September to the 31 August after it, however it was chosen.
    bool isSeason() const;
    // The season before the one shown, or before today's when the period
    // shown is not a season.
    static Period previousSeason(const Period& shown, QDate today);
    // The calendar year of the day.
    static Period year(QDate day);
    friend bool operator==(const Period&, const Period&) = default;
};

// What the figures are made from, read from the files in one go: the three
// tables, the lines kept by deletions (oldest first), and each register's
// entries (its kept statements, oldest first, then its ledger), with every
// date read once.
struct BilanSources {
    ProductTable products;
    MemberTable members;
    LedgerTable ledger;
    QList<std::optional<QDate>> lineDates; // by line number, index 0 unused
    // Sales that a deletion removed from the ledger: counted with the
    // ledger's, never in a debt.
    struct KeptLine {
        LedgerLine line;
        std::optional<QDate> date;
    };
    QList<KeptLine> keptLines;
    struct Entry {
        ReadEntry read;
        std::optional<QDate> date;
        bool kept = false; // from a kept statement, not from the ledger
    };
    QList<Entry> entries[2];
    qint16 threshold = 0;
    QDate today;
};

// Reads the data directory's files without writing any: a missing file
// holds nothing. `localForm` is the PC's short date form, which dates not
// in dd/mm/yyyy are tried with. Throws FileError when a file cannot be read.
BilanSources readBilanSources(const DataFiles& files, qint16 threshold, QDate today,
                              const QString& localForm);

// Counts, quantities and amounts of sales; amounts are the lines' values at
// the products' current unit prices, as the program values a ledger line.
struct SalesAmounts {
    int sales = 0;
    double quantity = 0;
    double amount = 0;
    void add(double q, double a) {
        ++sales;
        quantity += q;
        amount += a;
    }
};
// A month (its first day), or the lines whose date cannot be read (no day).
struct SalesMonth {
    std::optional<QDate> month;
    SalesAmounts registers[2]; // material, drinks
    SalesAmounts both;
};
struct ProductSales {
    int product = 0;
    QString name;
    double quantity = 0;
    double amount = 0;
    // The register that books its sales: registerOf on the name as stored,
    // untrimmed.
    Register cashRegister = Register::Material;
};

// Money into a register: sales paid at once, settlements of debts,
// corrections (positive and negative apart), entries of no known kind;
// each cell adds the entries' amounts as the register total adds them.
struct Receipts {
    float sales = 0;
    float settlements = 0;
    float plus = 0;
    float minus = 0;
    float other = 0;
    float total = 0;
    int entries = 0;
    void add(const ReadEntry& entry);
};
struct ReceiptsMonth {
    std::optional<QDate> month;
    Receipts registers[2];
};

// The ages of owed lines, each line by its own date as accounts receivable
// are aged: under 30 days, 30 to 89, 90 to 365, over a year, and the lines
// whose date cannot be read. A line dated after today is of the first age.
enum class DebtAge { Under30, Under90, UpToYear, OverYear, Unreadable };
constexpr int kDebtAges = 5;
DebtAge debtAgeOf(const std::optional<QDate>& date, QDate today);

// Amounts beyond a hundred billion euros are no club's; only a damaged
// record holds them. Cents are held within that bound so that sums of a
// table's worth of them stay exact and never overflow.
constexpr qint64 kMaxCents = 10'000'000'000'000;
inline bool centsAreExact(double amount) {
    return std::abs(amount * 100) <= double(kMaxCents);
}
// An amount in cents, rounded as the tables round it (none for no number).
inline qint64 toCents(double amount) {
    if (amount != amount)
        return 0;
    return std::llround(std::clamp(amount * 100, -double(kMaxCents), double(kMaxCents)));
}
// An amount to the cent, as the tables and the charts show it.
inline double toTheCent(double amount) {
    return std::round(amount * 100) / 100;
}

struct DebtRow {
    int member = 0;
    QString name; // "NOM Prénom"
    float owed = 0;
    int lines = 0;
    QString oldestText;          // the oldest owed line's date as written
    std::optional<QDate> oldest; // unset when no owed line's date can be read
    int age = 0;                 // days from the oldest owed line to today
    // The cents owed in each age (DebtAge), which add up to `owed` to the cent.
    std::array<qint64, kDebtAges> byAge{};
    bool isCredit() const { return owed < 0; }
};

// The sum of debt rows: their amount and their amounts by age, in cents,
// and their owed lines.
struct DebtSum {
    qint64 cents = 0;
    std::array<qint64, kDebtAges> byAge{};
    int lines = 0;
    void add(const DebtRow& row);
    void add(const DebtSum& sum);
};

struct StockRow {
    int product = 0;
    QString name;
    float price = 0;
    float stock = 0;
    float value = 0;
    bool reorder = false; // stock at or below the reorder threshold
};

struct LineRow {
    int line = 0; // none for a line a deletion kept
    QString dateText;
    std::optional<QDate> date;
    QString member;
    QString product;
    float quantity = 0;
    float price = 0;
    float amount = 0;
    bool paid = false;
};

struct EntryRow {
    QString dateText;
    std::optional<QDate> date;
    ReadEntry::Kind kind = ReadEntry::Kind::Other;
    QString who;
    float amount = 0;
};

// Everything the Bilans window shows for a period. Debts and the stock are
// those of today, whatever the period.
struct Bilan {
    Period period;
    QList<SalesMonth> salesMonths; // month order, unreadable dates last
    SalesMonth salesTotal;
    QList<ProductSales> products; // largest amount first
    QList<ReceiptsMonth> receiptsMonths;
    Receipts receiptsTotal[2];
    // Every entry of each ledger (not of its kept statements), added as the
    // register total adds them: what the register holds now.
    float sinceStatement[2] = {0, 0};
    QList<DebtRow> debts; // largest amount first
    double debtTotal = 0;
    QList<StockRow> stock; // labelled products, in the stock report's order
    float stockTotal = 0;
    QList<LineRow> lines;
    QList<EntryRow> entries[2];
    // A member as the registers write one ("Prénom NOM") and as the tables
    // name one ("NOM Prénom"), for the texts that name exactly one member.
    QHash<QString, QString> memberNames;
    int unreadableLines = 0;   // sales lines whose date cannot be read
    int unreadableEntries = 0; // cash entries whose date cannot be read
};

// The figures of a period. Lines and entries whose date cannot be read are
// counted apart ("Date illisible") in every period.
Bilan makeBilan(const BilanSources& sources, const Period& period);
// The figures of another period from the same sources; those of the day
// (debts, stock) are kept as they are.
void setBilanPeriod(Bilan& bilan, const BilanSources& sources, const Period& period);

// Sorts the debts by amount (largest first, a credit by its size, so that
// the largest credit comes first among the credits), by age (oldest first;
// those whose date cannot be read last) or by name; equal ones by name.
enum class DebtOrder { Amount, Age, Name };
void sortDebts(QList<DebtRow>& debts, DebtOrder order);

QString entryKindText(ReadEntry::Kind kind);
// A member as the Bilans name one: "NOM Prénom".
QString memberName(const Member& member);

} // namespace vendalise
