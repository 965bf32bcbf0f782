#include "bilans/ChartViews.h"

#include <QBarCategoryAxis>
#include <QBarSeries>
#include <QBarSet>
#include <QChart>
#include <QGraphicsLayout>
#include <QGraphicsScene>
#include <QHorizontalBarSeries>
#include <QImage>
#include <QLocale>
#include <QPainter>
#include <QStackedBarSeries>
#include <QValueAxis>

namespace vendalise {

void drawChart(const ChartData& data, const QFont& font, QSizeF size, QPainter& painter,
               const QRectF& area);

namespace {

// One colour per series, the same in every chart: material, drinks,
// corrections + and −.
const QColor kColours[] = {QColor(40, 90, 170), QColor(220, 140, 30), QColor(60, 150, 80),
                           QColor(190, 50, 50)};

QAbstractBarSeries* seriesOf(ChartData::Kind kind) {
    switch (kind) {
    case ChartData::Kind::StackedBars:
        return new QStackedBarSeries;
    case ChartData::Kind::HorizontalBars:
        return new QHorizontalBarSeries;
    case ChartData::Kind::Bars:
        break;
    }
    return new QBarSeries;
}

} // namespace

QChart* makeChart(const ChartData& data, const QFont& font) {
    auto* chart = new QChart;
    chart->setAnimationOptions(QChart::NoAnimation);
    chart->setLocale(QLocale(QLocale::French, QLocale::France));
    chart->setLocalizeNumbers(true);
    chart->setBackgroundRoundness(0);
    chart->setMargins(QMargins(4, 4, 4, 4));
    QFont title = font;
    title.setBold(true);
    chart->setTitleFont(title);
    chart->setTitle(data.empty() ? data.title + QStringLiteral(" : aucune donnée") : data.title);

    QAbstractBarSeries* series = seriesOf(data.kind);
    for (qsizetype i = 0; i < data.series.size(); ++i) {
        auto* set = new QBarSet(data.series[i].name);
        for (const double value : data.series[i].values)
            *set << value;
        const bool lighter = data.series[i].lighter && i > 0;
        QColor colour = kColours[(lighter ? i - 1 : i) % std::size(kColours)];
        if (lighter)
            colour = colour.lighter(190);
        set->setColor(colour);
        set->setBorderColor(colour.darker(130));
        series->append(set);
    }
    chart->addSeries(series);

    auto* categories = new QBarCategoryAxis;
    // The longest first in a horizontal chart reads from the top.
    // The axis reads its labels as rich text: a "<" or "&" of a name is
    // written as such.
    QStringList names;
    for (const QString& category : data.categories)
        names.append(category.toHtmlEscaped());
    if (data.kind == ChartData::Kind::HorizontalBars)
        std::reverse(names.begin(), names.end());
    categories->append(names);
    categories->setLabelsFont(font);
    auto* values = new QValueAxis;
    values->setLabelFormat(QStringLiteral("%.0f €"));
    values->setLabelsFont(font);
    double low = 0;
    double high = 0;
    for (const ChartData::Series& s : data.series) {
        for (const double v : s.values) {
            low = std::min(low, v);
            high = std::max(high, v);
        }
    }
    if (data.kind == ChartData::Kind::StackedBars) {
        high = 0;
        for (qsizetype c = 0; c < data.categories.size(); ++c) {
            double sum = 0;
            for (const ChartData::Series& s : data.series)
                sum += std::max(0.0, s.values.value(c));
            high = std::max(high, sum);
        }
    }
    values->setRange(low, high > low ? high : low + 1);
    values->applyNiceNumbers();
    // Small amounts keep a decimal, so that no two ticks read the same.
    if (values->max() - values->min() < 10)
        values->setLabelFormat(QStringLiteral("%.1f €"));
    const bool horizontal = data.kind == ChartData::Kind::HorizontalBars;
    chart->addAxis(categories, horizontal ? Qt::AlignLeft : Qt::AlignBottom);
    chart->addAxis(values, horizontal ? Qt::AlignBottom : Qt::AlignLeft);
    series->attachAxis(categories);
    series->attachAxis(values);
    // The horizontal charts hold their rows in reverse order: the sets too.
    if (horizontal) {
        for (QBarSet* set : series->barSets()) {
            QList<qreal> reversed;
            for (int i = set->count() - 1; i >= 0; --i)
                reversed.append(set->at(i));
            set->remove(0, set->count());
            set->append(reversed);
        }
    }
    // Nothing to show: no axis, no legend, the title says so.
    if (data.empty()) {
        categories->setVisible(false);
        values->setVisible(false);
    }
    chart->legend()->setVisible(data.series.size() > 1 && !data.empty());
    chart->legend()->setAlignment(Qt::AlignBottom);
    chart->legend()->setFont(font);
    return chart;
}

ChartView::ChartView(const QString& name, QWidget* parent) : QChartView(parent) {
    setObjectName(name);
    setRenderHint(QPainter::Antialiasing);
    setFrameShape(QFrame::StyledPanel);
}

void ChartView::show(const ChartData& data) {
    data_ = data;
    QChart* former = chart();
    setChart(makeChart(data, font()));
    delete former;
}

// A chart made afresh at the size it has on screen, in a scene of its own:
// drawn whether or not its view was ever shown.
void drawChart(const ChartData& data, const QFont& font, QSizeF size, QPainter& painter,
               const QRectF& area) {
    QGraphicsScene scene;
    QChart* chart = makeChart(data, font);
    scene.addItem(chart);
    chart->setGeometry(QRectF(QPointF(0, 0), size));
    if (QGraphicsLayout* layout = chart->layout())
        layout->activate();
    scene.setSceneRect(QRectF(QPointF(0, 0), size));
    scene.render(&painter, area, scene.sceneRect(), Qt::KeepAspectRatio);
}

void ChartView::drawInto(QPainter& painter, const QRectF& area) const {
    drawChart(data_, font(), QSizeF(size()), painter, area);
}

QImage ChartView::picture(double scale) const {
    QImage image((QSizeF(size()) * scale).toSize(), QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(scale);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    drawChart(data_, font(), QSizeF(size()), painter, QRectF(QPointF(0, 0), QSizeF(size())));
    return image;
}

} // namespace vendalise
