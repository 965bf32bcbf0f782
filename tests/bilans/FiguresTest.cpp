#include "bilans/Figures.h"

#include "bilans/Comparison.h"
#include "bilans/Sheets.h"
#include "cash/CashLedger.h"
#include "cash/KeptStatements.h"
#include "catalogue/Catalogue.h"
#include "core/Names.h"
#include "members/MemberTable.h"
#include "platform/Cp1252.h"
#include "platform/NumberForm.h"
#include "RealisticClub.h"
#include "sales/Ledger.h"
#include "TestProgram.h"

#include "TestHelpers.h"

#include <QFile>
#include <QTemporaryDir>

namespace vendalise {
namespace {

// A club over several months: prices that single precision does not hold
// exactly, sales paid and owed, settlements, corrections of both signs,
// statements kept along the way, and dates in another PC's form.
class BilansOfAClub : public testing::TestProgram {
protected:
    void SetUp() override {
        testing::TestProgram::SetUp();
        appendMember(app.files, u"DUPONT"_s, u"Jean"_s);
        appendMember(app.files, u"MARTIN"_s, u"Paul"_s);
        appendMember(app.files, u"LEROY"_s, u"Anne"_s);
        appendProduct(app.files, u"Tee-shirt"_s, 7.3f, 10);
        appendProduct(app.files, u"*Bière"_s, 0.1f, 50);
        appendProduct(app.files, u"Corde"_s, 19.99f, 3);
        appendProduct(app.files, u"   "_s, 5, 5); // unlabelled: no stock value
        app.files.ensureFile(kMaterialLedgerFile);
        app.files.ensureFile(kDrinksLedgerFile);
        for (int month : {9, 10, 11, 12}) {
            for (int i = 0; i < 6; ++i) {
                const QDate date(2007, month, 1 + 4 * i);
                const int product = 1 + (i + month) % 3;
                const int member = 1 + i % 3;
                const float quantity = 0.5f + float(i % 4);
                lines.append({dateText(date), qint16(product), qint16(member), quantity,
                              i % 2 ? kPaid : kOwed});
                const QString name = u"Tee-shirt *Bière Corde"_s.split(u' ')[product - 1];
                const float price = product == 1 ? 7.3f : product == 2 ? 0.1f : 19.99f;
                const auto entry = i % 2 ? saleEntry : settlementEntry;
                if (i % 2 || i == 2)
                    appendCashEntry(app, registerOf(name),
                                    entry(dateText(date), u"Jean"_s, u"DUPONT"_s,
                                          numberForm(quantity), name, price,
                                          float(double(price) * quantity)));
            }
            appendCashEntry(app, Register::Material,
                            correctionEntry(Register::Material, dateText(QDate(2007, month, 20)),
                                            {}, month % 2 ? -1.1f : 2.7f));
            appendCashEntry(app, Register::Drinks,
                            correctionEntry(Register::Drinks, dateText(QDate(2007, month, 21)),
                                            u"Casse"_s, -0.3f));
            // A statement at the end of October, twice on one day in November.
            if (month == 10 || month == 11)
                keepAndEmpty(app.files, Register::Material, QDate(2007, month, 28));
            if (month == 11)
                keepAndEmpty(app.files, Register::Material, QDate(2007, month, 28));
        }
        // Another PC's short form, and a date no form reads.
        lines.append({u"12/3/07"_s, 1, 2, 2, kOwed});
        lines.append({u"hier"_s, 2, 1, 3, kOwed});
        QByteArray bytes;
        for (const LedgerLine& line : lines)
            bytes += ledgerRecord(line);
        QFile file(folder.filePath(kLedgerFile));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        file.close();
        app.files.appendText(kDrinksLedgerFile,
                             u"Correction de caisse Boisson effectué le jamais\r\nx\r\n"
                             u"Correction de caisse Boisson : 4\r\n\r\n"_s);
        loadMemberTable(app.files, app.part<Members>().table);
        ChargeProduits(app);
        ChargeVentes(app);
        sources = readBilanSources(app.files, 5, QDate(2007, 12, 30), u"M/d/yy"_s);
    }

    QList<LedgerLine> lines;
    BilanSources sources;
};

TEST_F(BilansOfAClub, TotalsAreTheProgramsOwn) {
    const Bilan bilan = makeBilan(sources, Period::all());
    // The stock value: the stock window's.
    MajProduits(app);
    EXPECT_EQ(bilan.stockTotal, app.part<Catalogue>().stockValue);
    EXPECT_EQ(bilan.stock.size(), 3);
    // What each register holds now: its sum.
    for (const Register r : {Register::Material, Register::Drinks})
        EXPECT_EQ(bilan.sinceStatement[int(r)], registerTotal(app, r)) << int(r);
    // All receipts: the register sum over its kept statements and its
    // ledger, end to end, as if no statement had emptied it.
    QByteArray history;
    for (const KeptStatement& kept : keptStatements(app.files, Register::Material)) {
        QFile file(kept.path);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        history += file.readAll();
    }
    ASSERT_EQ(keptStatements(app.files, Register::Material).size(), 3);
    history += app.files.readText(kMaterialLedgerFile);
    EXPECT_EQ(bilan.receiptsTotal[0].total, registerTotal(history, Register::Material));
    // The sales' amounts: each line at its product's current price.
    double amount = 0;
    for (const LineRow& line : bilan.lines)
        amount += line.amount;
    EXPECT_EQ(bilan.lines.size(), lines.size());
    EXPECT_DOUBLE_EQ(bilan.salesTotal.both.amount, amount);
    EXPECT_EQ(bilan.salesTotal.both.sales, lines.size());
    double byMonth = 0;
    for (const SalesMonth& month : bilan.salesMonths)
        byMonth += month.both.amount;
    EXPECT_DOUBLE_EQ(byMonth, amount);
}

TEST_F(BilansOfAClub, APeriodCountsItsDaysAndUnreadableDatesApart) {
    // 12/3/07 in the PC's form is 3 December 2007; "hier" and "jamais" are
    // read by no form.
    const Bilan december = makeBilan(sources, {QDate(2007, 12, 1), QDate(2007, 12, 31)});
    EXPECT_EQ(december.unreadableLines, 1);
    EXPECT_EQ(december.unreadableEntries, 1);
    ASSERT_EQ(december.salesMonths.size(), 2);
    EXPECT_EQ(december.salesMonths[0].month, QDate(2007, 12, 1));
    EXPECT_EQ(december.salesMonths[0].both.sales, 7);
    EXPECT_FALSE(december.salesMonths[1].month.has_value());
    EXPECT_EQ(december.salesMonths[1].both.sales, 1);
    // The first day and the last are in the period.
    const Bilan oneDay = makeBilan(sources, {QDate(2007, 9, 1), QDate(2007, 9, 1)});
    EXPECT_EQ(oneDay.lines.size(), 1 + 1); // that day's line and the unreadable one
    // The year of a day.
    EXPECT_EQ(Period::year(QDate(2007, 9, 1)).from, QDate(2007, 1, 1));
    // The views' rows follow the period; the debts and the stock do not.
    const Bilan all = makeBilan(sources, Period::all());
    EXPECT_EQ(december.debtTotal, all.debtTotal);
    EXPECT_EQ(december.stockTotal, all.stockTotal);
    EXPECT_LT(december.receiptsTotal[0].entries, all.receiptsTotal[0].entries);
}

// Sources held in memory: products, members and ledger lines with their dates.
struct Club {
    BilanSources sources;
    explicit Club(QDate today) { sources.today = today; }
    int product(const QString& name, float price, float stock = 10) {
        sources.products.records.append({name, price, stock});
        return int(sources.products.count());
    }
    int member(const QString& name) {
        sources.members.records.append({name, u"Prénom"_s});
        return int(sources.members.count());
    }
    // A line `age` days before today, or whose date cannot be read.
    void line(std::optional<int> age, int product, int member, float quantity,
              qint16 paid = kOwed) {
        const std::optional<QDate> day =
            age ? std::optional(sources.today.addDays(-*age)) : std::nullopt;
        sources.ledger.records.append(
            {day ? dateText(*day) : u"hier"_s, qint16(product), qint16(member), quantity, paid});
        sources.lineDates.resize(sources.ledger.count() + 1);
        sources.lineDates[sources.ledger.count()] = day;
    }
};

const DebtRow& debtOf(const Bilan& bilan, int member) {
    const auto row = std::find_if(bilan.debts.cbegin(), bilan.debts.cend(),
                                  [member](const DebtRow& d) { return d.member == member; });
    EXPECT_NE(row, bilan.debts.cend()) << member;
    return *row;
}

// The texts of a sheet's row.
QStringList textsOf(const QList<Cell>& row) {
    QStringList texts;
    for (const Cell& cell : row)
        texts.append(cellText(cell));
    return texts;
}

// A period set on figures made for another gives every sheet as made
// afresh: nothing of the period before is left, nothing of the day lost.
TEST_F(BilansOfAClub, AnotherPeriodGivesTheSheetsAsMadeAfresh) {
    const Period december{QDate(2007, 12, 1), QDate(2007, 12, 31)};
    for (const auto& [from, to] : {std::pair{Period::all(), december},
                                   std::pair{december, Period::season(QDate(2007, 10, 1))}}) {
        Bilan moved = makeBilan(sources, from);
        setBilanPeriod(moved, sources, to);
        const Bilan afresh = makeBilan(sources, to);
        EXPECT_EQ(moved.unreadableLines, afresh.unreadableLines);
        EXPECT_EQ(moved.unreadableEntries, afresh.unreadableEntries);
        const QList<Sheet> got = bilanSheets(moved);
        const QList<Sheet> expected = bilanSheets(afresh);
        ASSERT_EQ(got.size(), expected.size());
        for (qsizetype s = 0; s < got.size(); ++s) {
            EXPECT_EQ(got[s].headers, expected[s].headers);
            ASSERT_EQ(got[s].rows.size(), expected[s].rows.size()) << got[s].name.toStdString();
            for (qsizetype r = 0; r < got[s].rows.size(); ++r)
                EXPECT_EQ(textsOf(got[s].rows[r]), textsOf(expected[s].rows[r]));
        }
    }
}

// Each owed line counts in the age of its own date, whatever the member's
// oldest line: the bounds 29/30, 89/90, 365/366 days, a line dated after
// today with the youngest, a date that cannot be read apart.
TEST(DebtAges, EachOwedLineCountsAtItsOwnAge) {
    Club club(QDate(2008, 6, 30));
    const int unit = club.product(u"Article"_s, 1);
    const int one = club.member(u"UN"_s);
    club.line(0, unit, one, 1);
    club.line(29, unit, one, 2);
    club.line(-3, unit, one, 4);
    club.line(30, unit, one, 8);
    club.line(89, unit, one, 16);
    club.line(90, unit, one, 32);
    club.line(365, unit, one, 64);
    club.line(366, unit, one, 128);
    club.line(std::nullopt, unit, one, 256);
    club.line(400, unit, one, 512, kPaid);
    const Bilan bilan = makeBilan(club.sources, Period::all());
    ASSERT_EQ(bilan.debts.size(), 1);
    const DebtRow& debt = bilan.debts[0];
    EXPECT_EQ(debt.owed, 511);
    EXPECT_EQ(debt.byAge, (std::array<qint64, kDebtAges>{700, 2400, 9600, 12800, 25600}));
    EXPECT_EQ(debt.age, 366);
    const Sheet sheet = debtsSheet(bilan);
    ASSERT_EQ(sheet.rows.size(), 3);
    EXPECT_EQ(sheet.totalRows, 2);
    EXPECT_EQ(textsOf(sheet.rows[0]),
              (QStringList{u"UN Prénom"_s, u"511,00 €"_s, u"9"_s, u"7,00 €"_s, u"24,00 €"_s,
                           u"96,00 €"_s, u"128,00 €"_s, u"256,00 €"_s, u"30/06/2007"_s, u"366"_s}));
    EXPECT_EQ(textsOf(sheet.rows[1]),
              (QStringList{u"Total des dettes"_s, u"511,00 €"_s, u"9"_s, u"7,00 €"_s, u"24,00 €"_s,
                           u"96,00 €"_s, u"128,00 €"_s, u"256,00 €"_s, u""_s, u""_s}));
    EXPECT_EQ(sheet.rows[2][0].text, u"Total"_s);
    EXPECT_EQ(textsOf(sheet.rows[2]).mid(1), textsOf(sheet.rows[1]).mid(1));
}

// Ages rounded apart lack what the debt rounded whole has: the cent goes to
// the age of the largest amount, and the ages add up to the debt shown.
TEST(DebtAges, AddUpToTheDebtToTheCent) {
    Club club(QDate(2008, 6, 30));
    // 0.005 in single precision is a little less than half a cent.
    const int half = club.product(u"Demi-centime"_s, 0.005f);
    const int one = club.member(u"UN"_s);
    club.line(1, half, one, 1);
    club.line(40, half, one, 2);
    club.line(400, half, one, 1);
    const Bilan bilan = makeBilan(club.sources, Period::all());
    ASSERT_EQ(bilan.debts.size(), 1);
    EXPECT_EQ(toCents(bilan.debts[0].owed), 2);
    EXPECT_EQ(bilan.debts[0].byAge, (std::array<qint64, kDebtAges>{0, 2, 0, 0, 0}));
}

// Over the realistic club's two seasons: every member's ages add up to the
// program's own debt, and each age holds that member's owed lines of that
// age (give or take the cent the rounding moves).
TEST(DebtAges, OfEveryMemberOfARealClub) {
    const testing::RealisticClub club = testing::realisticClub();
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    ASSERT_TRUE(testing::writeClub(club, folder.path()));
    DataFiles files;
    ASSERT_TRUE(files.setCurrent(folder.path()));
    const BilanSources sources = readBilanSources(files, club.threshold, club.today, {});
    const Bilan bilan = makeBilan(sources, Period::all());
    const QList<float> debts =
        memberDebts(sources.ledger, sources.products, sources.members.count());
    QList<std::array<double, kDebtAges>> expected(club.members.size() + 1);
    for (const testing::RealisticClub::Sale& sale : club.sales) {
        if (!sale.owedToday())
            continue;
        const qint64 age = sale.day.daysTo(club.today);
        const int at = age < 30 ? 0 : age < 90 ? 1 : age < 366 ? 2 : 3;
        expected[sale.member][at] +=
            float(double(club.products[sale.product - 1].price) * sale.quantity);
    }
    int listed = 0;
    for (int m = 1; m <= club.members.size(); ++m) {
        SCOPED_TRACE(m);
        if (debts[m] == 0)
            continue;
        ++listed;
        const DebtRow& debt = debtOf(bilan, m);
        qint64 sum = 0;
        for (int a = 0; a < kDebtAges; ++a) {
            sum += debt.byAge[a];
            EXPECT_LE(std::abs(debt.byAge[a] - toCents(expected[m][a])), 1) << a;
        }
        EXPECT_EQ(sum, toCents(debts[m]));
    }
    EXPECT_EQ(bilan.debts.size(), listed);
    // The table's total is the debt report's: the sum of every member's debt.
    const Sheet sheet = debtsSheet(bilan);
    EXPECT_EQ(sheet.rows.last()[1].number, Cell::money(bilan.debtTotal).number);
}

// A member in credit is listed apart, under "Avoirs", sorted within its
// group; the totals of the debts and of the credits make the total.
TEST(DebtAges, CreditsApartAndTotalsAddingUp) {
    Club club(QDate(2008, 6, 30));
    const int sweat = club.product(u"Sweat"_s, 32);
    const int beer = club.product(u"*Bière"_s, 2.5f);
    const int anne = club.member(u"ANNE"_s);
    const int bob = club.member(u"BOB"_s);
    const int carl = club.member(u"CARL"_s);
    const int dana = club.member(u"DANA"_s);
    club.line(10, beer, anne, 4);  // owes 10
    club.line(200, sweat, bob, 1); // owes 32
    club.line(5, sweat, carl, -1); // a sweat brought back: -32
    club.line(400, beer, carl, 2); // less 5 owed: -27
    club.line(3, beer, dana, -20); // -50
    Bilan bilan = makeBilan(club.sources, Period::all());
    EXPECT_DOUBLE_EQ(bilan.debtTotal, 10 + 32 - 27 - 50);
    const auto names = [](const Sheet& sheet) {
        QStringList first;
        for (const QList<Cell>& row : sheet.rows)
            first.append(cellText(row[0]));
        return first;
    };
    // By amount, a credit by its size.
    const Sheet sheet = debtsSheet(bilan);
    EXPECT_EQ(names(sheet), (QStringList{u"BOB Prénom"_s, u"ANNE Prénom"_s, u"Avoirs"_s,
                                         u"DANA Prénom"_s, u"CARL Prénom"_s, u"Total des dettes"_s,
                                         u"Total des avoirs"_s, u"Total"_s}));
    EXPECT_EQ(sheet.totalRows, 3);
    EXPECT_EQ(textsOf(sheet.rows[4]),
              (QStringList{u"CARL Prénom"_s, u"-27,00 €"_s, u"2"_s, u"-32,00 €"_s, u"0,00 €"_s,
                           u"0,00 €"_s, u"5,00 €"_s, u"0,00 €"_s,
                           dateText(QDate(2008, 6, 30).addDays(-400)), u"400"_s}));
    // The credits' total: ages of both signs, every line of a member in credit.
    EXPECT_EQ(textsOf(sheet.rows[6]).mid(0, 8),
              (QStringList{u"Total des avoirs"_s, u"-77,00 €"_s, u"3"_s, u"-82,00 €"_s, u"0,00 €"_s,
                           u"0,00 €"_s, u"5,00 €"_s, u"0,00 €"_s}));
    // By age, oldest first, and by name, in each group.
    sortDebts(bilan.debts, DebtOrder::Age);
    EXPECT_EQ(names(debtsSheet(bilan)).mid(0, 5),
              (QStringList{u"BOB Prénom"_s, u"ANNE Prénom"_s, u"Avoirs"_s, u"CARL Prénom"_s,
                           u"DANA Prénom"_s}));
    sortDebts(bilan.debts, DebtOrder::Name);
    EXPECT_EQ(names(debtsSheet(bilan)).mid(0, 5),
              (QStringList{u"ANNE Prénom"_s, u"BOB Prénom"_s, u"Avoirs"_s, u"CARL Prénom"_s,
                           u"DANA Prénom"_s}));
}

// A click on a header sorts by what its column holds, wherever it stands.
TEST(DebtAges, EachHeaderSortsByWhatItsColumnHolds) {
    const QStringList headers = debtsSheet(Bilan{}).headers;
    QStringList sorting[3];
    for (const QString& header : headers)
        if (const std::optional<DebtOrder> order = debtOrderOf(header))
            sorting[int(*order)].append(header);
    EXPECT_EQ(sorting[int(DebtOrder::Amount)],
              (QStringList{u"Montant dû"_s, u"< 30 j"_s, u"30 à 90 j"_s, u"90 j à 1 an"_s,
                           u"> 1 an"_s, u"Date illisible"_s}));
    EXPECT_EQ(sorting[int(DebtOrder::Age)], (QStringList{u"Plus ancienne"_s, u"Âge (jours)"_s}));
    EXPECT_EQ(sorting[int(DebtOrder::Name)], QStringList{u"Adhérent"_s});
    EXPECT_FALSE(debtOrderOf(u"Lignes dues"_s).has_value());
}

// A product's register is the one that books its sales: the name as stored,
// a leading blank and all.
TEST(ProductRegisters, AreThoseThatBookTheSales) {
    Club club(QDate(2008, 6, 30));
    const int water = club.product(u" *Eau"_s, 1);
    const int shirt = club.product(u"Maillot*XL"_s, 20);
    const int beer = club.product(u"*Bière"_s, 2);
    const int one = club.member(u"UN"_s);
    club.line(1, water, one, 3);
    club.line(1, shirt, one, 1);
    club.line(1, beer, one, 5);
    const Bilan bilan = makeBilan(club.sources, Period::all());
    EXPECT_EQ(bilan.salesTotal.registers[0].amount, 23);
    EXPECT_EQ(bilan.salesTotal.registers[1].amount, 10);
    QStringList rows;
    for (const QList<Cell>& row : productsSheet(bilan).rows)
        rows.append(cellText(row[0]) + u" | "_s + cellText(row[1]));
    EXPECT_EQ(rows, (QStringList{u"Maillot*XL | Caisse matériel"_s, u"*Bière | Caisse boissons"_s,
                                 u"*Eau | Caisse matériel"_s, u"Total | "_s}));
}

// "À commander": a stock at the threshold is to be ordered, one above it
// is not.
TEST(StockSheet, MarksAStockAtOrBelowTheThreshold) {
    Club club(QDate(2008, 6, 30));
    club.sources.threshold = 5;
    club.product(u"A"_s, 1, 4);
    club.product(u"B"_s, 1, 5);
    club.product(u"C"_s, 1, 6);
    const Sheet sheet = stockSheet(makeBilan(club.sources, Period::all()));
    QStringList marks;
    for (const QList<Cell>& row : sheet.rows)
        marks.append(cellText(row[0]) + u" "_s + cellText(row[4]));
    EXPECT_EQ(marks, (QStringList{u"A à commander"_s, u"B à commander"_s, u"C "_s, u"Total "_s}));
}

// Two seasons compared: a line or an entry whose date cannot be read is in
// neither, though a period's views count it.
TEST_F(BilansOfAClub, ComparedSeasonsLeaveUnreadableDatesOut) {
    const Period season = Period::season(QDate(2007, 9, 1));
    const Bilan bilan = makeBilan(sources, season);
    ASSERT_EQ(bilan.unreadableLines, 1);
    ASSERT_EQ(bilan.unreadableEntries, 1);
    const SeasonComparison comparison = compareSeasons(sources, season);
    // "hier": 3 x *Bière at 0,10 €; "jamais": 4 € into the drinks register.
    const SeasonAmounts& total = comparison.seasons[0].total;
    EXPECT_EQ(total.sales[0], bilan.salesTotal.registers[0].amount);
    EXPECT_NEAR(total.sales[1], bilan.salesTotal.registers[1].amount - 0.3, 1e-6);
    EXPECT_NEAR(total.sales[2], bilan.salesTotal.both.amount - 0.3, 1e-6);
    EXPECT_EQ(total.receipts[0], bilan.receiptsTotal[0].total);
    EXPECT_NEAR(total.receipts[1], bilan.receiptsTotal[1].total - 4.0, 1e-4);
    double months = 0;
    for (const SeasonAmounts& month : comparison.seasons[0].months)
        months += month.sales[2];
    EXPECT_NEAR(months, total.sales[2], 1e-6);
    // The season before holds no line and no entry.
    EXPECT_EQ(comparison.seasons[1].period.from, QDate(2006, 9, 1));
    EXPECT_EQ(comparison.seasons[1].total.sales[2], 0);
    EXPECT_EQ(comparison.seasons[1].total.receipts[2], 0);
    EXPECT_TRUE(comparisonSheet(comparison, Compared::Sales).note.contains(u"illisible"_s));
    EXPECT_TRUE(comparisonSheet(comparison, Compared::Receipts).note.contains(u"illisible"_s));
}

TEST(CashEntriesRead, EveryKindWithItsDateWhoAndAmounts) {
    const QByteArray text = toCp1252(
        u"Achat effectué le 05/12/2007 par : Jean DUPONT\r\nNombre et désignation : 2 x "
        u"Tee-shirt\r\n"
        u"Prix unitaire : 7,5 - Prix total : 15\r\n\r\n"
        u"Achat réglé le 06/12/2007 par : Paul MARTIN\r\nNombre et désignation : 1 x Corde\r\n"
        u"Prix unitaire : 20 - Prix total : 20\r\n\r\n"
        u"Correction de caisse effectué le 07/12/2007\r\n\r\nCorrection de caisse : -2,5\r\n\r\n"
        u"Vente\r\nPrix total : 3\r\n\r\n"_s);
    const QList<ReadEntry> entries = readCashEntries(text, Register::Material);
    ASSERT_EQ(entries.size(), 4);
    EXPECT_EQ(entries[0].kind, ReadEntry::Kind::Sale);
    EXPECT_EQ(entries[0].date, u"05/12/2007"_s);
    EXPECT_EQ(entries[0].who, u"Jean DUPONT"_s);
    EXPECT_EQ(entries[0].product, u"2 x Tee-shirt"_s);
    EXPECT_EQ(entries[1].kind, ReadEntry::Kind::Settlement);
    EXPECT_EQ(entries[1].amount(), 20);
    // A correction with an empty label is one entry of three lines.
    EXPECT_EQ(entries[2].kind, ReadEntry::Kind::Correction);
    EXPECT_EQ(entries[2].date, u"07/12/2007"_s);
    EXPECT_EQ(entries[2].who, QString());
    EXPECT_EQ(entries[2].amount(), -2.5f);
    // Lines no writer made: their amounts still count, as the sum counts them.
    EXPECT_EQ(entries[3].kind, ReadEntry::Kind::Other);
    float sum = 0;
    for (const ReadEntry& entry : entries)
        for (const double value : entry.amounts)
            sum = addAmount(sum, value);
    EXPECT_EQ(sum, registerTotal(text, Register::Material));
}

TEST(DateTexts, ReadFrenchFirstThenThePcsForm) {
    EXPECT_EQ(readDateText(u"05/12/2007"_s), QDate(2007, 12, 5));
    EXPECT_EQ(readDateText(u"05/12/2007 "_s, u"M/d/yy"_s), QDate(2007, 12, 5));
    EXPECT_EQ(readDateText(u"12/5/07"_s, u"M/d/yy"_s), QDate(2007, 12, 5));
    EXPECT_EQ(readDateText(u"12/5/69"_s, u"M/d/yy"_s), QDate(2069, 12, 5));
    EXPECT_EQ(readDateText(u"2007-12-05"_s, u"yyyy-MM-dd"_s), QDate(2007, 12, 5));
    EXPECT_FALSE(readDateText(u"31/02/2007"_s).has_value());
    EXPECT_FALSE(readDateText(u"12/5/07"_s).has_value());
    EXPECT_FALSE(readDateText(u""_s, u"M/d/yy"_s).has_value());
}

TEST(BilanSheets, ShowAmountsDatesAndMonthsTheFrenchWay) {
    EXPECT_EQ(cellText(Cell::money(1234.5)), u"1234,50 €"_s);
    EXPECT_EQ(cellText(Cell::money(-0.004)), u"0,00 €"_s);
    EXPECT_EQ(cellText(Cell::money(0.1f)), u"0,10 €"_s);
    EXPECT_EQ(cellText(Cell::quantity(2.5)), u"2,5"_s);
    EXPECT_EQ(cellText(Cell::quantity(3)), u"3"_s);
    EXPECT_EQ(cellText(Cell::day(QDate(2007, 12, 5))), u"05/12/2007"_s);
    EXPECT_EQ(cellText(Cell::month(QDate(2008, 2, 1))), u"février 2008"_s);
    EXPECT_EQ(cellText(Cell::month(QDate(2007, 8, 1))), u"août 2007"_s);
}

} // namespace
} // namespace vendalise
