#include "bilans/ChartViews.h"

#include <QBarCategoryAxis>
#include <QBarSeries>
#include <QBarSet>
#include <QChart>
#include <QFontMetricsF>
#include <QGraphicsLayout>
#include <QGraphicsScene>
#include <QGraphicsTextItem>
#include <QHorizontalBarSeries>
#include <QImage>
#include <QLocale>
#include <QPainter>
#include <QResizeEvent>
#include <QStackedBarSeries>
#include <QTextDocument>
#include <QValueAxis>

#include <cmath>
#include <optional>

namespace vendalise {

void drawChart(const ChartData& data, const QFont& font, QSizeF size, QPainter& painter,
               const QRectF& area);
void fitLabels(QChart& chart, const ChartData& data, const QFont& font);

namespace {

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

// The category axis's texts for these names: rich text, as the axis reads
// it, so a "<" or "&" of a name is escaped; a text that comes again is
// wrapped in one more <span> each time, which shows the same, so that the
// axis, which holds each text once, keeps a label for every bar. The
// longest first in a horizontal chart reads from the top.
QStringList axisTexts(ChartData::Kind kind, const QStringList& names) {
    QStringList texts;
    for (const QString& name : names) {
        QString text = name.toHtmlEscaped();
        while (texts.contains(text))
            text = QStringLiteral("<span>") + text + QStringLiteral("</span>");
        texts.append(text);
    }
    if (kind == ChartData::Kind::HorizontalBars)
        std::reverse(texts.begin(), texts.end());
    return texts;
}

QBarCategoryAxis* categoryAxis(const QChart& chart) {
    for (QAbstractAxis* axis : chart.axes())
        if (auto* categories = qobject_cast<QBarCategoryAxis*>(axis))
            return categories;
    return nullptr;
}

// A label's size as Qt Charts measures it: its rich text in a text item
// whose document has a margin of half a pixel.
QSizeF labelSize(const QFont& font, const QString& text, qreal angle) {
    QGraphicsTextItem item;
    item.document()->setDocumentMargin(0.5);
    item.setFont(font);
    item.setHtml(text);
    const QSizeF size = item.boundingRect().size();
    return angle == 0 ? size : size.transposed();
}

// The font one step smaller, or none below the smallest that reads.
std::optional<QFont> smaller(QFont font) {
    if (font.pixelSize() > 0) {
        if (font.pixelSize() <= 8)
            return std::nullopt;
        font.setPixelSize(font.pixelSize() - 1);
    } else {
        if (font.pointSizeF() <= 6)
            return std::nullopt;
        font.setPointSizeF(font.pointSizeF() - 0.5);
    }
    return font;
}

// Qt Charts gives an axis at the side of the plot at most this share of
// the chart's inner width (its layout's maxAxisPortion), and puts this
// many pixels between a label and the axis.
constexpr qreal kSideAxisShare = 0.4;
constexpr qreal kLabelPadding = 4;

// A name cut at its end, with "…", to a label that is at most that wide.
QString nameWithin(const QFont& font, const QString& name, qreal width) {
    const QFontMetricsF metrics(font);
    for (qreal room = width; room > 0; room -= 2) {
        const QString shown = metrics.elidedText(name, Qt::ElideRight, room);
        if (labelSize(font, shown.toHtmlEscaped(), 0).width() <= width)
            return shown;
    }
    return metrics.elidedText(name, Qt::ElideRight, 0);
}

} // namespace

// The category labels fitted to the chart's size, so that each shows
// whole. Qt Charts' own truncation is off: it gives a label of a vertical
// axis the height of its row less a margin and shows "..." for any label
// taller than that, whatever its width, and it cuts a label of a
// horizontal axis to its share of the axis's whole width. Here a name at
// the side of the plot is cut at its end only to the width Qt Charts gives
// that axis; labels under the bars stand upright when they do not fit side
// by side; the labels' font is made smaller while they are too tall for
// their row (or too wide, upright, for their bar), and at the smallest
// font labels under the bars are thinned.
void fitLabels(QChart& chart, const ChartData& data, const QFont& font) {
    QBarCategoryAxis* axis = categoryAxis(chart);
    if (axis == nullptr || data.categories.isEmpty() || !axis->isVisible())
        return;
    const bool atTheSide = axis->orientation() == Qt::Vertical;
    qreal left = 0;
    qreal top = 0;
    qreal right = 0;
    qreal bottom = 0;
    chart.layout()->getContentsMargins(&left, &top, &right, &bottom);
    const qreal inner =
        chart.size().width() - left - right - chart.margins().left() - chart.margins().right();
    const qreal sideRoom = std::floor(kSideAxisShare * inner) - kLabelPadding - 2;
    QFont labels = font;
    for (;;) {
        QStringList names = data.categories;
        if (atTheSide)
            for (QString& name : names)
                name = nameWithin(labels, name, sideRoom);
        const QStringList texts = axisTexts(data.kind, names);
        axis->setCategories(texts);
        axis->setLabelsFont(labels);
        axis->setLabelsAngle(0);
        QSizeF largest;
        for (const QString& text : texts)
            largest = largest.expandedTo(labelSize(labels, text, 0));
        chart.layout()->activate();
        const qreal row =
            (atTheSide ? chart.plotArea().height() : chart.plotArea().width()) / texts.size();
        // A pixel to spare, for Qt Charts places labels on whole pixels.
        bool fits = (atTheSide ? largest.height() : largest.width()) + 1 <= row;
        if (!atTheSide && !fits) {
            axis->setLabelsAngle(-90);
            chart.layout()->activate();
            // Upright, above the legend (Qt Charts gives the axis at most a
            // share of the height, whatever its labels' length).
            const qreal floor = chart.legend()->isVisible()
                                    ? chart.legend()->geometry().top()
                                    : chart.size().height() - bottom - chart.margins().bottom();
            fits = largest.height() + 1 <= row &&
                   chart.plotArea().bottom() + kLabelPadding + largest.width() <= floor;
        }
        if (fits)
            return;
        if (const std::optional<QFont> less = smaller(labels)) {
            labels = *less;
            continue;
        }
        // Labels under the bars still too many for their width even so:
        // one in so many is shown, the others are left blank.
        if (!atTheSide && largest.height() + 1 > row) {
            const auto step = qsizetype(std::ceil((largest.height() + 1) / row));
            for (qsizetype i = 0; i < names.size(); ++i)
                if (i % step != 0)
                    names[i].clear();
            axis->setCategories(axisTexts(data.kind, names));
        }
        return;
    }
}

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
        const QColor colour = QColor::fromRgb(QRgb(seriesColour(data, i)));
        set->setColor(colour);
        set->setBorderColor(colour.darker(130));
        series->append(set);
    }
    chart->addSeries(series);

    auto* categories = new QBarCategoryAxis;
    categories->append(axisTexts(data.kind, data.categories));
    categories->setLabelsFont(font);
    categories->setTruncateLabels(false);
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
    // A view not shown has no size of its own yet: its labels are fitted
    // when it is shown.
    if (isVisible())
        fitLabels(*chart(), data_, font());
}

void ChartView::resizeEvent(QResizeEvent* event) {
    QChartView::resizeEvent(event);
    fitLabels(*chart(), data_, font());
}

void ChartView::showEvent(QShowEvent* event) {
    QChartView::showEvent(event);
    fitLabels(*chart(), data_, font());
}

QChart* layOutChart(const ChartData& data, const QFont& font, QSizeF size, QGraphicsScene& scene) {
    QChart* chart = makeChart(data, font);
    scene.addItem(chart);
    chart->setGeometry(QRectF(QPointF(0, 0), size));
    fitLabels(*chart, data, font);
    if (QGraphicsLayout* layout = chart->layout())
        layout->activate();
    scene.setSceneRect(QRectF(QPointF(0, 0), size));
    return chart;
}

// A chart made afresh at the size it has on screen, in a scene of its own:
// drawn whether or not its view was ever shown.
void drawChart(const ChartData& data, const QFont& font, QSizeF size, QPainter& painter,
               const QRectF& area) {
    QGraphicsScene scene;
    layOutChart(data, font, size, scene);
    scene.render(&painter, area, scene.sceneRect(), Qt::KeepAspectRatio);
}

QImage chartsPicture(const QList<const ChartView*>& charts, double scale) {
    QList<QImage> pictures;
    QSize size;
    for (const ChartView* chart : charts) {
        pictures.append(chart->picture(scale));
        size = QSize(size.width() + pictures.last().width(),
                     std::max(size.height(), pictures.last().height()));
    }
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::white);
    QPainter painter(&image);
    int x = 0;
    for (QImage& picture : pictures) {
        picture.setDevicePixelRatio(1);
        painter.drawImage(x, 0, picture);
        x += picture.width();
    }
    return image;
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
