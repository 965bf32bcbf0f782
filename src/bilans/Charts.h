#pragma once

#include "bilans/Figures.h"

#include <QList>
#include <QString>
#include <QStringList>

namespace vendalise {

// What a chart shows, made from the figures the tables show: its
// categories (months, products, ages, members) and one list of values per
// series, a value per category.
struct ChartData {
    enum class Kind { Bars, StackedBars, HorizontalBars };
    QString title;
    Kind kind = Kind::Bars;
    QStringList categories;
    struct Series {
        QString name;
        QList<double> values;
    };
    QList<Series> series;
    bool empty() const;
};

// The amount by month of the period, material and drinks stacked (the
// months whose date could be read). Over a long period a chart by month
// sums its months by quarter ("T3 2007", titled "par trimestre"), or by
// year ("2007", "par année"), so that its bars are few enough to be named
// whole.
ChartData salesByMonthChart(const Bilan& bilan);
// The ten products with the largest amounts, largest first.
ChartData topProductsChart(const Bilan& bilan);
// The receipts by month (or quarter, or year, as the sales): sales and
// settlements of each register, and the corrections of both apart, a
// negative one below the axis.
ChartData receiptsChart(const Bilan& bilan);
// The amount owed by the age of each debtor's oldest owed line: under 30
// days, 30 to 90, 90 to a year, over a year (a debt whose dates cannot be
// read counts in none).
ChartData debtsByAgeChart(const Bilan& bilan);
// The ten members who owe the most.
ChartData topDebtorsChart(const Bilan& bilan);

// A month as the charts name it: "sept. 2007".
QString shortMonthText(QDate month);

} // namespace vendalise
