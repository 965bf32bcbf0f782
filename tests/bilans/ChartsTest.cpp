#include "bilans/Charts.h"

#include "bilans/Sheets.h"
#include "platform/NumberForm.h"
#include "RealisticClub.h"

#include "TestHelpers.h"

#include <functional>

namespace vendalise {
namespace {

// The realistic club's figures (sales of both registers, settlements,
// corrections of both signs, debts of every age), with a line and an entry
// whose dates cannot be read.
BilanSources aClub() {
    const testing::RealisticClub club = testing::realisticClub();
    QTemporaryDir folder;
    DataFiles files;
    EXPECT_TRUE(testing::writeClub(club, folder.path()) && files.setCurrent(folder.path()));
    BilanSources sources = readBilanSources(files, club.threshold, club.today, {});
    sources.ledger.records.append({u"hier"_s, 1, 1, 1, kOwed});
    sources.lineDates.append(std::nullopt);
    ReadEntry read;
    read.kind = ReadEntry::Kind::Correction;
    read.amounts = {-4};
    sources.entries[1].append({read, std::nullopt, false});
    return sources;
}

// The cell of a table's row as a number.
double number(const Sheet& sheet, qsizetype row, int column) {
    return sheet.rows[row][column].number;
}

// Every chart's bars are its table's rows, in every period: a season, a
// month, none, and with unreadable dates counted apart.
TEST(BilanCharts, TheBarsAreTheTablesRows) {
    const BilanSources sources = aClub();
    for (const Period& period : {Period::season(QDate(2008, 1, 1)),
                                 Period{QDate(2007, 11, 1), QDate(2007, 11, 30)},
                                 Period{QDate(2010, 1, 1), QDate(2010, 12, 31)}}) {
        SCOPED_TRACE(dateText(period.from).toStdString());
        const Bilan bilan = makeBilan(sources, period);

        const Sheet sales = salesSheet(bilan);
        const ChartData byMonth = salesByMonthChart(bilan);
        QStringList months;
        qsizetype bar = 0;
        for (qsizetype r = 0; r < sales.rows.size() - sales.totalRows; ++r) {
            const QList<Cell>& cells = sales.rows[r];
            if (cells[0].kind != Cell::Kind::Month)
                continue; // "Date illisible" has no bar
            months.append(shortMonthText(cells[0].date));
            ASSERT_LT(bar, byMonth.series[0].values.size());
            EXPECT_EQ(byMonth.series[0].values[bar], number(sales, r, 3));
            EXPECT_EQ(byMonth.series[1].values[bar], number(sales, r, 6));
            ++bar;
        }
        EXPECT_EQ(byMonth.categories, months);
        EXPECT_EQ(byMonth.empty(), months.isEmpty());
        EXPECT_EQ(byMonth.kind, ChartData::Kind::StackedBars);

        const Sheet products = productsSheet(bilan);
        const ChartData top = topProductsChart(bilan);
        // The line whose date cannot be read counts in every period.
        ASSERT_FALSE(top.categories.isEmpty());
        ASSERT_EQ(top.categories.size(), std::min<qsizetype>(10, products.rows.size() - 1));
        for (qsizetype i = 0; i < top.categories.size(); ++i) {
            EXPECT_EQ(top.categories[i], products.rows[i][0].text);
            EXPECT_EQ(top.series[0].values[i], number(products, i, 3));
        }

        // Receipts: each month's bars add up to its rows' totals, each
        // register's bar is its row without the corrections, and the
        // negative corrections stand below the axis.
        const Sheet receipts = receiptsSheet(bilan);
        const ChartData money = receiptsChart(bilan);
        for (qsizetype m = 0; m < money.categories.size(); ++m) {
            double rows = 0;
            double register0 = 0;
            for (const QList<Cell>& cells : receipts.rows)
                if (cells[0].kind == Cell::Kind::Month &&
                    shortMonthText(cells[0].date) == money.categories[m]) {
                    rows += cells[7].number;
                    if (cells[1].text == u"Caisse matériel"_s)
                        register0 = cells[2].number + cells[3].number + cells[6].number;
                }
            double bars = 0;
            for (const ChartData::Series& series : money.series)
                bars += series.values[m];
            EXPECT_NEAR(bars, rows, 1e-9);
            EXPECT_NEAR(money.series[0].values[m], register0, 1e-9);
            EXPECT_LE(money.series[3].values[m], 0);
        }

        // Debts are today's: by age, the "Total des dettes" row's ages
        // (the unreadable one when it holds some); the ten largest, as the
        // table sorted by amount.
        const Sheet debts = debtsSheet(bilan);
        const ChartData ages = debtsByAgeChart(bilan);
        const QList<Cell>& owed = debts.rows[debts.rows.size() - debts.totalRows];
        ASSERT_EQ(owed[0].text, u"Total des dettes"_s);
        EXPECT_EQ(ages.categories, debts.headers.mid(3, 5));
        for (qsizetype a = 0; a < ages.categories.size(); ++a)
            EXPECT_EQ(ages.series[0].values[a], owed[3 + a].number);
        const ChartData debtors = topDebtorsChart(bilan);
        ASSERT_EQ(debtors.categories.size(),
                  std::min<qsizetype>(10, debts.rows.size() - debts.totalRows));
        for (qsizetype i = 0; i < debtors.categories.size(); ++i) {
            EXPECT_EQ(debtors.categories[i], debts.rows[i][0].text);
            EXPECT_EQ(debtors.series[0].values[i], number(debts, i, 1));
        }
    }
}

// The bars by age are the debtors' owed lines, each at its own age; a member
// in credit is in neither chart, and "Date illisible" has a bar only when
// a line's date cannot be read (that bar: TheBarsAreTheTablesRows).
TEST(BilanCharts, DebtsByTheAgeOfEachLineAndOnlyMembersWhoOwe) {
    BilanSources sources;
    sources.today = QDate(2008, 6, 30);
    sources.products.records.append({u"Article"_s, 1, 1});
    for (const QString& name : {u"UN"_s, u"DEUX"_s, u"AVOIR"_s})
        sources.members.records.append({name, u"Prénom"_s});
    const auto line = [&](int age, qint16 member, float quantity) {
        const QDate day = sources.today.addDays(-age);
        sources.ledger.records.append({dateText(day), 1, member, quantity, kOwed});
        sources.lineDates.resize(sources.ledger.count() + 1);
        sources.lineDates[sources.ledger.count()] = day;
    };
    line(400, 1, 1);
    line(10, 1, 2);
    line(40, 1, 4);
    line(100, 2, 8);
    line(5, 3, -16);
    line(500, 3, 1);
    const Bilan bilan = makeBilan(sources, Period::all());
    const ChartData ages = debtsByAgeChart(bilan);
    EXPECT_EQ(ages.categories,
              (QStringList{u"< 30 j"_s, u"30 à 90 j"_s, u"90 j à 1 an"_s, u"> 1 an"_s}));
    EXPECT_EQ(ages.series[0].values, (QList<double>{2, 4, 8, 1}));
    const ChartData debtors = topDebtorsChart(bilan);
    EXPECT_EQ(debtors.categories, (QStringList{u"DEUX Prénom"_s, u"UN Prénom"_s}));
    EXPECT_EQ(debtors.series[0].values, (QList<double>{8, 7}));
}

// Over a long period the charts by month sum their months by quarter, then
// by year: few enough bars to be named whole, each the sum of its table
// rows, named with its year.
TEST(BilanCharts, ALongPeriodIsChartedByQuarterThenByYear) {
    BilanSources sources;
    sources.products.records.append({u"Tee-shirt"_s, 7.3f, 10});
    sources.products.records.append({u"*Bière"_s, 0.1f, 50});
    sources.members.records.append({u"MEMBRE"_s, u"Prénom"_s});
    sources.lineDates.append(std::nullopt);
    for (int m = 0; m < 100; ++m) {
        const QDate day = QDate(2006, 9, 15).addMonths(m);
        for (const qint16 product : {1, 2}) {
            sources.ledger.records.append({dateText(day), product, 1, float(1 + m % 7), kPaid});
            sources.lineDates.append(day);
        }
        ReadEntry sale;
        sale.kind = ReadEntry::Kind::Sale;
        sale.date = dateText(day);
        sale.amounts = {1.1 * (m % 5)};
        sources.entries[m % 2].append({sale, day, false});
    }
    const auto quarter = [](QDate d) { return u"T%1 %2"_s.arg((d.month() + 2) / 3).arg(d.year()); };
    const auto year = [](QDate d) { return QString::number(d.year()); };
    EXPECT_EQ(shortMonthText(QDate(2007, 9, 1)), u"sept. 2007"_s);
    EXPECT_EQ(shortMonthText(QDate(2008, 8, 1)), u"août 2008"_s);
    const struct {
        Period period;
        std::function<QString(QDate)> barOf;
        QString span;
        qsizetype bars;
    } cases[] = {{{QDate(2006, 9, 1), QDate(2008, 8, 31)}, shortMonthText, u"mois"_s, 24},
                 {{QDate(2006, 9, 1), QDate(2008, 9, 30)}, quarter, u"trimestre"_s, 9},
                 {Period::all(), year, u"année"_s, 9}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.span.toStdString());
        const Bilan bilan = makeBilan(sources, c.period);
        const ChartData sales = salesByMonthChart(bilan);
        EXPECT_EQ(sales.title, u"Ventes par "_s + c.span);
        ChartData rows{{}, {}, {}, {{}, {}}};
        const Sheet sheet = salesSheet(bilan);
        for (qsizetype r = 0; r < sheet.rows.size() - sheet.totalRows; ++r) {
            const QString bar = c.barOf(sheet.rows[r][0].date);
            if (rows.categories.isEmpty() || rows.categories.last() != bar) {
                rows.categories.append(bar);
                rows.series[0].values.append(0);
                rows.series[1].values.append(0);
            }
            rows.series[0].values.last() += number(sheet, r, 3);
            rows.series[1].values.last() += number(sheet, r, 6);
        }
        EXPECT_EQ(sales.categories.size(), c.bars);
        ASSERT_EQ(sales.categories, rows.categories);
        for (const int s : {0, 1})
            for (qsizetype b = 0; b < rows.categories.size(); ++b)
                EXPECT_NEAR(sales.series[s].values[b], rows.series[s].values[b], 1e-9);

        const ChartData receipts = receiptsChart(bilan);
        EXPECT_EQ(receipts.title, u"Encaissements par "_s + c.span);
        EXPECT_EQ(receipts.categories, sales.categories);
        QList<double> totals(receipts.categories.size(), 0);
        for (const QList<Cell>& cells : receiptsSheet(bilan).rows)
            if (cells[0].kind == Cell::Kind::Month)
                totals[receipts.categories.indexOf(c.barOf(cells[0].date))] += cells[7].number;
        for (qsizetype b = 0; b < totals.size(); ++b)
            EXPECT_NEAR(receipts.series[0].values[b] + receipts.series[1].values[b], totals[b],
                        1e-9);
    }
}

} // namespace
} // namespace vendalise
