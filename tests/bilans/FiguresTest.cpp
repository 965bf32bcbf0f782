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
#include "sales/Ledger.h"
#include "TestProgram.h"

#include "TestHelpers.h"

#include <QFile>

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
        int day = 0;
        for (int month : {9, 10, 11, 12}) {
            for (int i = 0; i < 6; ++i) {
                const QDate date(2007, month, 1 + 4 * i);
                const int product = 1 + (i + month) % 3;
                const int member = 1 + i % 3;
                const float quantity = 0.5f + float(i % 4);
                lines.append({dateText(date), qint16(product), qint16(member), quantity,
                              i % 2 ? kPaid : kOwed});
                const QString name = u"Tee-shirt *Bière Corde"_s.split(u' ')[product - 1];
                const Register r = registerOf(name);
                const float price = product == 1 ? 7.3f : product == 2 ? 0.1f : 19.99f;
                if (i % 2)
                    appendCashEntry(app, r,
                                    saleEntry(dateText(date), u"Jean"_s, u"DUPONT"_s,
                                              numberForm(quantity), name, price,
                                              float(double(price) * quantity)));
                else if (i == 2)
                    appendCashEntry(app, r,
                                    settlementEntry(dateText(date), u"Paul"_s, u"MARTIN"_s,
                                                    numberForm(quantity), name, price,
                                                    float(double(price) * quantity)));
                ++day;
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
    // Debts: each member's exactly, their sum the debt report's.
    const QList<float>& debts = app.part<Members>().debts;
    double reportTotal = 0;
    int listed = 0;
    for (int m = 1; m < debts.size(); ++m) {
        if (debts[m] == 0)
            continue;
        reportTotal += debts[m];
        ++listed;
        const auto row = std::find_if(bilan.debts.cbegin(), bilan.debts.cend(),
                                      [m](const DebtRow& d) { return d.member == m; });
        ASSERT_NE(row, bilan.debts.cend()) << m;
        EXPECT_EQ(row->owed, debts[m]);
    }
    EXPECT_EQ(bilan.debts.size(), listed);
    EXPECT_EQ(bilan.debtTotal, reportTotal);
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
    // The season and the year of a day.
    EXPECT_EQ(Period::season(QDate(2007, 8, 31)).from, QDate(2006, 9, 1));
    EXPECT_EQ(Period::season(QDate(2007, 9, 1)).to, QDate(2008, 8, 31));
    EXPECT_EQ(Period::year(QDate(2007, 9, 1)).from, QDate(2007, 1, 1));
    // The views' rows follow the period; the debts and the stock do not.
    const Bilan all = makeBilan(sources, Period::all());
    EXPECT_EQ(december.debtTotal, all.debtTotal);
    EXPECT_EQ(december.stockTotal, all.stockTotal);
    EXPECT_LT(december.receiptsTotal[0].entries, all.receiptsTotal[0].entries);
}

TEST_F(BilansOfAClub, DebtsGiveTheOldestOwedLineAndSortByAmountOrAge) {
    Bilan bilan = makeBilan(sources, Period::all());
    for (const DebtRow& debt : bilan.debts) {
        int owed = 0;
        std::optional<QDate> oldest;
        for (const LedgerLine& line : lines) {
            if (line.member != debt.member || line.isPaid())
                continue;
            ++owed;
            const auto date = readDateText(line.date, u"M/d/yy"_s);
            if (date && (!oldest || *date < *oldest))
                oldest = date;
        }
        EXPECT_EQ(debt.lines, owed);
        EXPECT_EQ(debt.oldest, oldest);
        EXPECT_EQ(debt.age, oldest->daysTo(QDate(2007, 12, 30)));
    }
    EXPECT_TRUE(std::is_sorted(bilan.debts.cbegin(), bilan.debts.cend(),
                               [](const DebtRow& a, const DebtRow& b) { return a.owed > b.owed; }));
    sortDebts(bilan.debts, DebtOrder::Age);
    EXPECT_TRUE(
        std::is_sorted(bilan.debts.cbegin(), bilan.debts.cend(),
                       [](const DebtRow& a, const DebtRow& b) { return *a.oldest < *b.oldest; }));
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
