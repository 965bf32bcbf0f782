#include "bilans/Comparison.h"

#include "bilans/Charts.h"
#include "bilans/Sheets.h"
#include "platform/NumberForm.h"
#include "RealisticClub.h"
#include "sales/Ledger.h"
#include "sales/Settlement.h"
#include "TestProgram.h"

#include "TestHelpers.h"

namespace vendalise {
namespace {

Period typed(const QString& from, const QString& to) {
    return {*readDateText(from), *readDateText(to)};
}

// A season is 1 September to 31 August, however it was chosen; the one
// before is that of the day before it, or before today's season.
TEST(Seasons, AreFromTheFirstOfSeptemberToTheLastOfAugust) {
    EXPECT_TRUE(typed(u"01/09/2007"_s, u"31/08/2008"_s).isSeason());
    EXPECT_TRUE(Period::season(QDate(2008, 2, 29)).isSeason());
    EXPECT_FALSE(typed(u"02/09/2007"_s, u"31/08/2008"_s).isSeason());
    EXPECT_FALSE(typed(u"01/09/2007"_s, u"30/08/2008"_s).isSeason());
    EXPECT_FALSE(typed(u"01/09/2007"_s, u"31/08/2009"_s).isSeason());
    EXPECT_FALSE((Period{QDate(2007, 9, 1), QDate()}).isSeason());
    EXPECT_FALSE(Period::all().isSeason());
    EXPECT_FALSE(Period::year(QDate(2008, 10, 20)).isSeason());

    const QDate today(2008, 10, 20);
    const Period shown = typed(u"01/09/2007"_s, u"31/08/2008"_s);
    const Period before = Period::previousSeason(shown, today);
    EXPECT_EQ(before.from, QDate(2006, 9, 1));
    EXPECT_EQ(before.to, QDate(2007, 8, 31));
    // Not a season: the one before today's (2008-2009).
    for (const Period& other :
         {Period::all(), Period::year(today), typed(u"02/09/2007"_s, u"31/08/2008"_s)}) {
        const Period previous = Period::previousSeason(other, today);
        EXPECT_EQ(previous.from, QDate(2007, 9, 1));
        EXPECT_EQ(previous.to, QDate(2008, 8, 31));
    }
    // Today's season turns on 1 September.
    EXPECT_EQ(Period::previousSeason(Period::all(), QDate(2008, 8, 31)).from, QDate(2006, 9, 1));
    EXPECT_EQ(Period::previousSeason(Period::all(), QDate(2008, 9, 1)).from, QDate(2007, 9, 1));
    EXPECT_EQ(seasonYears(shown), u"2007-2008"_s);
}

// The realistic club's files, read as the window reads them.
class SeasonsOfTheClub : public testing::TestProgram {
protected:
    void SetUp() override {
        testing::TestProgram::SetUp();
        club = testing::realisticClub();
        ASSERT_TRUE(testing::writeClub(club, folder.path()));
        sources = readBilanSources(app.files, club.threshold, club.today, u"dd/MM/yyyy"_s);
    }

    testing::RealisticClub club;
    BilanSources sources;
};

// The comparison's months and totals are those that each season's own
// views show, and each difference is the first less the second.
TEST_F(SeasonsOfTheClub, ShowWhatEachSeasonsViewsShow) {
    const Period shown = Period::season(QDate(2008, 1, 1));
    const SeasonComparison comparison = compareSeasons(sources, shown);
    const Bilan bilans[2] = {makeBilan(sources, shown),
                             makeBilan(sources, Period::season(QDate(2007, 1, 1)))};
    const Sheet sales = comparisonSheet(comparison, Compared::Sales);
    const Sheet receipts = comparisonSheet(comparison, Compared::Receipts);
    ASSERT_EQ(sales.rows.size(), 13);
    ASSERT_EQ(receipts.rows.size(), 13);
    EXPECT_EQ(sales.totalRows, 1);
    EXPECT_EQ(sales.name, u"Comparaison ventes"_s);
    EXPECT_EQ(receipts.name, u"Comparaison encaissements"_s);
    EXPECT_EQ(sales.headers,
              QStringList({u"Mois"_s, u"Total 2007-2008"_s, u"Total 2006-2007"_s, u"Écart total"_s,
                           u"Matériel 2007-2008"_s, u"Matériel 2006-2007"_s, u"Écart matériel"_s,
                           u"Boissons 2007-2008"_s, u"Boissons 2006-2007"_s, u"Écart boissons"_s}));
    EXPECT_EQ(cellText(sales.rows[0][0]), u"septembre"_s);
    EXPECT_EQ(cellText(sales.rows[11][0]), u"août"_s);
    EXPECT_EQ(cellText(sales.rows[12][0]), u"Total"_s);

    // Columns of each season in the comparison: total, material, drinks.
    const int columns[2][3] = {{1, 4, 7}, {2, 5, 8}};
    for (const int s : {0, 1}) {
        const Bilan& bilan = bilans[s];
        ASSERT_EQ(bilan.unreadableLines + bilan.unreadableEntries, 0);
        const Sheet ownSales = salesSheet(bilan);
        const Sheet ownReceipts = receiptsSheet(bilan);
        // The totals: the sales sheet's amounts (material, drinks, both),
        // the receipts sheet's three total rows.
        const QList<Cell>& salesTotal = ownSales.rows.last();
        EXPECT_EQ(sales.rows[12][columns[s][0]].number, salesTotal[9].number) << s;
        EXPECT_EQ(sales.rows[12][columns[s][1]].number, salesTotal[3].number) << s;
        EXPECT_EQ(sales.rows[12][columns[s][2]].number, salesTotal[6].number) << s;
        const qsizetype last = ownReceipts.rows.size() - 1;
        EXPECT_EQ(receipts.rows[12][columns[s][0]].number, ownReceipts.rows[last][7].number);
        EXPECT_EQ(receipts.rows[12][columns[s][1]].number, ownReceipts.rows[last - 2][7].number);
        EXPECT_EQ(receipts.rows[12][columns[s][2]].number, ownReceipts.rows[last - 1][7].number);
        // Each month in its row, September first; the club sold and took
        // money every month.
        ASSERT_EQ(bilan.salesMonths.size(), 12);
        ASSERT_EQ(bilan.receiptsMonths.size(), 12);
        for (int m = 0; m < 12; ++m) {
            const SalesMonth& month = bilan.salesMonths[m];
            EXPECT_EQ(month.month, QDate(shown.from.year() - s + (m >= 4), (m + 8) % 12 + 1, 1));
            EXPECT_EQ(bilan.receiptsMonths[m].month, month.month);
            EXPECT_EQ(sales.rows[m][columns[s][0]].number, Cell::money(month.both.amount).number);
            EXPECT_EQ(sales.rows[m][columns[s][2]].number,
                      Cell::money(month.registers[1].amount).number);
            for (const int r : {0, 1})
                EXPECT_EQ(receipts.rows[m][columns[s][1 + r]].number,
                          Cell::money(bilan.receiptsMonths[m].registers[r].total).number);
        }
    }
    for (const Sheet* sheet : {&sales, &receipts})
        for (const QList<Cell>& row : sheet->rows)
            for (const int c : {1, 4, 7})
                EXPECT_NEAR(row[c + 2].number, row[c].number - row[c + 1].number, 1e-9);

    // The chart: the totals by month, the season before lighter.
    const ChartData chart = seasonsChart(comparison, Compared::Receipts);
    ASSERT_EQ(chart.categories.size(), 12);
    EXPECT_EQ(chart.categories.first(), u"sept."_s);
    EXPECT_EQ(chart.categories.last(), u"août"_s);
    ASSERT_EQ(chart.series.size(), 2);
    EXPECT_EQ(chart.series[0].name, u"Saison 2007-2008"_s);
    EXPECT_EQ(chart.series[1].name, u"Saison 2006-2007"_s);
    EXPECT_FALSE(chart.series[0].lighter);
    EXPECT_TRUE(chart.series[1].lighter);
    for (int m = 0; m < 12; ++m)
        for (const int s : {0, 1})
            EXPECT_EQ(chart.series[s].values[m], receipts.rows[m][columns[s][0]].number);

    // The export's sheets, each with its chart.
    const QList<Sheet> sheets = comparisonSheets(comparison);
    ASSERT_EQ(sheets.size(), 2);
    EXPECT_EQ(sheets[1].name, receipts.name);
    ASSERT_EQ(sheets[1].charts.size(), 1);
    EXPECT_EQ(sheets[1].charts[0].series[1].values, chart.series[1].values);
}

// A deletion keeps its lines: the first season's sales stay whole after its
// paid lines are deleted (its owed ones kept, as a treasurer answering No
// keeps them), and the debts, the program's own, do not move.
TEST_F(SeasonsOfTheClub, StayWholeAfterADeletion) {
    const Period first = Period::season(club.sales.first().day);
    const auto texts = [](const Sheet& sheet) {
        QList<QStringList> rows;
        for (const QList<Cell>& row : sheet.rows) {
            rows.append(QStringList());
            for (const Cell& cell : row)
                rows.last().append(cellText(cell));
        }
        return rows;
    };
    const auto lines = [](const Bilan& bilan) {
        for (const Sheet& sheet : bilanSheets(bilan))
            if (sheet.name == u"Lignes"_s)
                return sheet;
        return Sheet{};
    };
    const Bilan before = makeBilan(sources, first);
    const Bilan debtsBefore = makeBilan(sources, Period::all());
    ChargeVentes(app);
    const LedgerTable& ledger = app.part<Sales>().ledger;
    QList<int> kept;
    for (int n = 1; n <= ledger.count(); ++n) {
        const std::optional<QDate>& date = sources.lineDates[n];
        if (!date || !first.contains(*date) || !ledger[n].isPaid())
            kept.append(n);
    }
    const qsizetype removed = ledger.count() - kept.size();
    ASSERT_GT(removed, 100);
    keepLines(app, kept);
    const BilanSources now =
        readBilanSources(app.files, club.threshold, club.today, u"dd/MM/yyyy"_s);
    ASSERT_EQ(now.ledger.count(), kept.size());
    const Bilan after = makeBilan(now, first);
    EXPECT_EQ(texts(salesSheet(after)), texts(salesSheet(before)));
    EXPECT_EQ(texts(productsSheet(after)), texts(productsSheet(before)));
    EXPECT_EQ(texts(debtsSheet(makeBilan(now, Period::all()))), texts(debtsSheet(debtsBefore)));
    // In "Lignes" the kept lines come first, with no number.
    const Sheet shown = lines(after);
    ASSERT_EQ(shown.rows.size(), lines(before).rows.size());
    for (qsizetype r = 0; r < shown.rows.size(); ++r) {
        SCOPED_TRACE(r);
        EXPECT_EQ(cellText(shown.rows[r][0]).isEmpty(), r < removed);
        EXPECT_EQ(cellText(shown.rows[r].last()) == u"Supprimée (payée)"_s, r < removed);
    }
}

} // namespace
} // namespace vendalise
