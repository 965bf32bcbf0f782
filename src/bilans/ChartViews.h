#pragma once

#include "bilans/Charts.h"

#include <QChartView>

class QChart;
class QGraphicsScene;
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

protected:
    // The labels fitted to the chart's new size.
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    ChartData data_;
};

// The charts side by side in one picture, each `scale` times its size on
// screen, on white.
QImage chartsPicture(const QList<const ChartView*>& charts, double scale = 2);

// The chart of some data, made as the window shows it.
QChart* makeChart(const ChartData& data, const QFont& font);
// The chart of some data in the scene, laid out at that size with its
// labels fitted to it, as a picture or a print draws it.
QChart* layOutChart(const ChartData& data, const QFont& font, QSizeF size, QGraphicsScene& scene);

} // namespace vendalise
