#include "bilans/Charts.h"

#include "bilans/Sheets.h"

#include <QLocale>

#include <algorithm>
#include <cmath>

namespace vendalise {

namespace {

constexpr int kTopCount = 10;

// The amounts to the cent, as the tables show them.
double cents(double amount) {
    return std::round(amount * 100) / 100;
}

} // namespace

bool ChartData::empty() const {
    return categories.isEmpty() || std::all_of(series.cbegin(), series.cend(), [](const Series& s) {
               return std::all_of(s.values.cbegin(), s.values.cend(),
                                  [](double v) { return v == 0; });
           });
}

QString shortMonthText(QDate month) {
    static const QLocale french(QLocale::French, QLocale::France);
    return french.monthName(month.month(), QLocale::ShortFormat) + QLatin1Char(' ') +
           QString::number(month.year());
}

ChartData salesByMonthChart(const Bilan& bilan) {
    ChartData chart{QStringLiteral("Ventes par mois"),
                    ChartData::Kind::StackedBars,
                    {},
                    {{QStringLiteral("Matériel"), {}}, {QStringLiteral("Boissons"), {}}}};
    for (const SalesMonth& month : bilan.salesMonths) {
        if (!month.month)
            continue;
        chart.categories.append(shortMonthText(*month.month));
        for (const int r : {0, 1})
            chart.series[r].values.append(cents(month.registers[r].amount));
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
        chart.series[0].values.append(cents(product.amount));
    }
    return chart;
}

ChartData receiptsChart(const Bilan& bilan) {
    ChartData chart{QStringLiteral("Encaissements par mois"),
                    ChartData::Kind::Bars,
                    {},
                    {{QStringLiteral("Caisse matériel"), {}},
                     {QStringLiteral("Caisse boissons"), {}},
                     {QStringLiteral("Corrections +"), {}},
                     {QStringLiteral("Corrections −"), {}}}};
    for (const ReceiptsMonth& month : bilan.receiptsMonths) {
        if (!month.month)
            continue;
        chart.categories.append(shortMonthText(*month.month));
        for (const int r : {0, 1}) {
            const Receipts& receipts = month.registers[r];
            chart.series[r].values.append(
                cents(double(receipts.sales) + receipts.settlements + receipts.other));
        }
        const Receipts& m = month.registers[0];
        const Receipts& d = month.registers[1];
        chart.series[2].values.append(cents(double(m.plus) + d.plus));
        chart.series[3].values.append(cents(double(m.minus) + d.minus));
    }
    return chart;
}

ChartData seasonsChart(const SeasonComparison& comparison, Compared what) {
    static const QLocale french(QLocale::French, QLocale::France);
    ChartData chart{what == Compared::Sales
                        ? QStringLiteral("Ventes par mois, deux saisons")
                        : QStringLiteral("Encaissements par mois, deux saisons"),
                    ChartData::Kind::Bars,
                    {},
                    {}};
    for (int m = 0; m < 12; ++m)
        chart.categories.append(french.monthName(calendarMonth(m), QLocale::ShortFormat));
    for (const SeasonFigures& season : comparison.seasons) {
        ChartData::Series series{
            QStringLiteral("Saison ") + seasonYears(season.period), {}, !chart.series.isEmpty()};
        for (const SeasonAmounts& month : season.months)
            series.values.append(cents(month.of(what)[2]));
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
        chart.series[0].values.append(cents(debt.owed));
    }
    return chart;
}

} // namespace vendalise
