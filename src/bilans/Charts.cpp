#include "bilans/Charts.h"

#include "bilans/Sheets.h"


#include <algorithm>

namespace vendalise {

namespace {

constexpr int kTopCount = 10;
// A chart by month holds at most this many bars: beyond, its months are
// summed by quarter, then by year, so that each bar's name can be shown
// whole under it.
constexpr qsizetype kMostBars = 24;

// The bars of a chart by month: what a bar spans ("mois", "trimestre",
// "année"), each bar's name, and the bar of each month of the figures (-1
// for the one of unreadable dates).
struct MonthBars {
    QString span;
    QStringList names;
    QList<qsizetype> barOf;
};

// The bar that holds a month when a bar spans that many months.
QString barText(QDate month, int months) {
    if (months == 1)
        return shortMonthText(month);
    if (months == 3)
        return QStringLiteral("T%1 %2").arg((month.month() + 2) / 3).arg(month.year());
    return QString::number(month.year());
}

// The months of the figures (in order) by month, or by quarter or year
// when they would make more than kMostBars bars.
template <class Month> MonthBars monthBars(const QList<Month>& months) {
    struct Span {
        int months;
        const char* name;
    };
    const Span spans[] = {{1, "mois"}, {3, "trimestre"}, {12, "année"}};
    MonthBars bars;
    for (const Span& span : spans) {
        bars = {QString::fromUtf8(span.name), {}, {}};
        for (const Month& month : months) {
            if (!month.month) {
                bars.barOf.append(-1);
                continue;
            }
            const QString name = barText(*month.month, span.months);
            if (bars.names.isEmpty() || bars.names.last() != name)
                bars.names.append(name);
            bars.barOf.append(bars.names.size() - 1);
        }
        if (bars.names.size() <= kMostBars)
            break;
    }
    return bars;
}

// A chart by month's bar of a series: the sum of its months' amounts as
// the table shows them, to the cent.
void addToBar(ChartData& chart, qsizetype bar, qsizetype series, double amount) {
    QList<double>& values = chart.series[series].values;
    values.resize(chart.categories.size());
    values[bar] = toTheCent(values[bar] + toTheCent(amount));
}

} // namespace

quint32 seriesColour(const ChartData& data, qsizetype s) {
    static const quint32 colours[] = {0x285AAA, 0xDC8C1E, 0x3C9650, 0xBE3232};
    const bool lighter = data.series.value(s).lighter && s > 0;
    const quint32 colour = colours[(lighter ? s - 1 : s) % std::size(colours)];
    return lighter ? (colour >> 1 & 0x7F7F7F) + 0x808080 : colour;
}

bool ChartData::empty() const {
    return categories.isEmpty() || std::all_of(series.cbegin(), series.cend(), [](const Series& s) {
               return std::all_of(s.values.cbegin(), s.values.cend(),
                                  [](double v) { return v == 0; });
           });
}

QString shortMonthText(QDate month) {
    return monthName(month.month(), true) + QLatin1Char(' ') +
           QString::number(month.year());
}

ChartData salesByMonthChart(const Bilan& bilan) {
    const MonthBars bars = monthBars(bilan.salesMonths);
    ChartData chart{QStringLiteral("Ventes par ") + bars.span,
                    ChartData::Kind::StackedBars,
                    bars.names,
                    {{QStringLiteral("Matériel"), {}}, {QStringLiteral("Boissons"), {}}}};
    for (qsizetype m = 0; m < bilan.salesMonths.size(); ++m) {
        if (bars.barOf[m] < 0)
            continue;
        for (const int r : {0, 1})
            addToBar(chart, bars.barOf[m], r, bilan.salesMonths[m].registers[r].amount);
    }
    return chart;
}

ChartData topProductsChart(const Bilan& bilan) {
    ChartData chart{QStringLiteral("Les dix produits les plus vendus"),
                    ChartData::Kind::HorizontalBars,
                    {},
                    {{QStringLiteral("Montant"), {}}}};
    for (const ProductSales& product : bilan.products.mid(0, kTopCount)) {
        chart.categories.append(product.name);
        chart.series[0].values.append(toTheCent(product.amount));
    }
    return chart;
}

ChartData receiptsChart(const Bilan& bilan) {
    const MonthBars bars = monthBars(bilan.receiptsMonths);
    ChartData chart{QStringLiteral("Encaissements par ") + bars.span,
                    ChartData::Kind::Bars,
                    bars.names,
                    {{QStringLiteral("Caisse matériel"), {}},
                     {QStringLiteral("Caisse boissons"), {}},
                     {QStringLiteral("Corrections +"), {}},
                     {QStringLiteral("Corrections −"), {}}}};
    for (qsizetype n = 0; n < bilan.receiptsMonths.size(); ++n) {
        const qsizetype bar = bars.barOf[n];
        if (bar < 0)
            continue;
        const ReceiptsMonth& month = bilan.receiptsMonths[n];
        for (const int r : {0, 1}) {
            const Receipts& receipts = month.registers[r];
            addToBar(chart, bar, r, double(receipts.sales) + receipts.settlements + receipts.other);
        }
        const Receipts& m = month.registers[0];
        const Receipts& d = month.registers[1];
        addToBar(chart, bar, 2, double(m.plus) + d.plus);
        addToBar(chart, bar, 3, double(m.minus) + d.minus);
    }
    return chart;
}

ChartData seasonsChart(const SeasonComparison& comparison, Compared what) {
    ChartData chart{what == Compared::Sales
                        ? QStringLiteral("Ventes par mois, deux saisons")
                        : QStringLiteral("Encaissements par mois, deux saisons"),
                    ChartData::Kind::Bars,
                    {},
                    {}};
    for (int m = 0; m < 12; ++m)
        chart.categories.append(monthName(calendarMonth(m), true));
    for (const SeasonFigures& season : comparison.seasons) {
        ChartData::Series series{
            QStringLiteral("Saison ") + seasonYears(season.period), {}, !chart.series.isEmpty()};
        for (const SeasonAmounts& month : season.months)
            series.values.append(toTheCent(month.of(what)[2]));
        chart.series.append(series);
    }
    return chart;
}

ChartData debtsByAgeChart(const Bilan& bilan) {
    ChartData chart{QStringLiteral("Dettes selon leur âge"),
                    ChartData::Kind::Bars,
                    {},
                    {{QStringLiteral("Montant dû"), {}}}};
    DebtSum debts;
    for (const DebtRow& debt : bilan.debts)
        if (!debt.isCredit())
            debts.add(debt);
    for (int a = 0; a < kDebtAges; ++a) {
        const DebtAge age = DebtAge(a);
        if (age == DebtAge::Unreadable && debts.byAge[a] == 0)
            continue;
        chart.categories.append(debtAgeText(age));
        chart.series[0].values.append(debts.byAge[a] / 100.0);
    }
    return chart;
}

ChartData topDebtorsChart(const Bilan& bilan) {
    QList<DebtRow> debts;
    for (const DebtRow& debt : bilan.debts)
        if (debt.owed > 0)
            debts.append(debt);
    sortDebts(debts, DebtOrder::Amount);
    ChartData chart{QStringLiteral("Les dix plus grandes dettes"),
                    ChartData::Kind::HorizontalBars,
                    {},
                    {{QStringLiteral("Montant dû"), {}}}};
    for (const DebtRow& debt : debts.mid(0, kTopCount)) {
        chart.categories.append(debt.name);
        chart.series[0].values.append(toTheCent(debt.owed));
    }
    return chart;
}

} // namespace vendalise
