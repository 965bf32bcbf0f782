#pragma once

#include "bilans/Charts.h"

#include <QChartView>

class QChart;
class QPainter;

namespace vendalise {

// A chart of the Bilans window, drawn by Qt Charts from its data: bars by
// category, a legend when there is more than one series, a value axis in
// euros in the French form, the window's font, no animation.
class ChartView : public QChartView {
    Q_OBJECT
public:
    explicit ChartView(const QString& name, QWidget* parent = nullptr);

    // Shows the data in a chart made afresh.
    void show(const ChartData& data);
    const ChartData& data() const { return data_; }

    // Draws the chart, as vectors, into the painter's area (a printed page).
    void drawInto(QPainter& painter, const QRectF& area) const;
    // The chart as a picture `scale` times its size on screen.
    QImage picture(double scale = 2) const;

private:
    ChartData data_;
};

// The chart of some data, made as the window shows it.
QChart* makeChart(const ChartData& data, const QFont& font);

} // namespace vendalise
