#pragma once

#include "bilans/Comparison.h"
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
        // Drawn in the colour of the series before it, lighter: the same
        // figures at an earlier time.
        bool lighter = false;
    };
    QList<Series> series;
    bool empty() const;
};

// The colour of series s, 0xRRGGBB, the same in the window, the picture,
// the print and the workbook: one for each series in turn (material,
// drinks, corrections + and −); a lighter series has the colour of the one
// before it, halfway to white.
quint32 seriesColour(const ChartData& data, qsizetype s);

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
// The debtors' owed lines by their age, as the "Dettes" table's "Total des
// dettes" row: under 30 days, 30 to 90, 90 to a year, over a year, and the
// lines whose date cannot be read when there are some.
ChartData debtsByAgeChart(const Bilan& bilan);
// The ten members who owe the most (members in credit owe nothing).
ChartData topDebtorsChart(const Bilan& bilan);

// The two seasons' amounts (both registers) by month, side by side, the
// one before lighter; the months without a year, as they stand for two.
ChartData seasonsChart(const SeasonComparison& comparison, Compared what);

// A month as the charts name it: "sept. 2007".
QString shortMonthText(QDate month);

} // namespace vendalise
