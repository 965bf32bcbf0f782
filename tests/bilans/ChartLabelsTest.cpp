#include "bilans/ChartViews.h"
#include "bilans/FrmBilans.h"
#include "RealisticClub.h"
#include "WindowTestProgram.h"

#include "TestHelpers.h"

#include <QChart>
#include <QCoreApplication>
#include <QGraphicsScene>
#include <QGraphicsTextItem>
#include <QLegend>
#include <QPushButton>
#include <QTabWidget>

#include <algorithm>

namespace vendalise {
namespace {

using testing::control;

// The category labels Qt Charts draws: the visible texts of the chart's
// scene beside its plot on the categories' side (left of it for bars lying
// down, under it otherwise), in the categories' order (from the top, from
// the left). The title, the legend and the value axis lie elsewhere.
QList<const QGraphicsTextItem*> categoryLabels(const QChart& chart, bool atTheSide) {
    const QRectF plot = chart.mapRectToScene(chart.plotArea());
    QList<const QGraphicsTextItem*> labels;
    for (const QGraphicsItem* item : chart.scene()->items()) {
        const auto* text = qgraphicsitem_cast<const QGraphicsTextItem*>(item);
        if (!text || !text->isVisible() || text->toPlainText().isEmpty() ||
            !chart.isAncestorOf(text) || chart.legend()->isAncestorOf(text))
            continue;
        const QPointF c = text->sceneBoundingRect().center();
        if (atTheSide ? c.x() < plot.left() && c.y() > plot.top() && c.y() < plot.bottom()
                      : c.y() > plot.bottom() && c.x() > plot.left() && c.x() < plot.right())
            labels.append(text);
    }
    std::sort(labels.begin(), labels.end(), [atTheSide](auto* a, auto* b) {
        const QPointF p = a->sceneBoundingRect().center();
        const QPointF q = b->sceneBoundingRect().center();
        return atTheSide ? p.y() < q.y() : p.x() < q.x();
    });
    return labels;
}

// Every category has its label (a blank one is none), whole and inside
// the chart, apart from the others; only a name beside bars lying down may
// be cut, at its end, after ten characters at least. The labels' texts.
QStringList expectWholeLabels(const QChart& chart, const ChartData& data) {
    const bool atTheSide = data.kind == ChartData::Kind::HorizontalBars;
    const QList<const QGraphicsTextItem*> labels = categoryLabels(chart, atTheSide);
    QStringList texts;
    EXPECT_EQ(labels.size(), data.categories.size()) << data.title.toStdString();
    for (qsizetype i = 0; i < std::min(labels.size(), data.categories.size()); ++i) {
        const QString shown = labels[i]->toPlainText();
        const QString& name = data.categories[i];
        bool cut = false;
        for (const QString& ellipsis : {u"…"_s, u"..."_s}) {
            const QString kept = shown.chopped(std::min(shown.size(), ellipsis.size()));
            cut |=
                atTheSide && shown.endsWith(ellipsis) && kept.size() >= 10 && name.startsWith(kept);
        }
        EXPECT_TRUE(shown == name || cut) << shown.toStdString() << " for " << name.toStdString();
        const QRectF box = labels[i]->sceneBoundingRect();
        EXPECT_TRUE(chart.mapRectToScene(chart.rect()).contains(box)) << shown.toStdString();
        if (i > 0) {
            EXPECT_FALSE(box.adjusted(1, 1, -1, -1)
                             .intersects(labels[i - 1]->sceneBoundingRect().adjusted(1, 1, -1, -1)))
                << shown.toStdString();
        }
        texts.append(shown);
    }
    return texts;
}

class BilansChartLabels : public testing::WindowTestProgram {
protected:
    // Each chart of the Bilans window opened on the club, as the window
    // lays it out, in the season and over all dates; and as a picture or a
    // print draws it, at the view's size.
    void expectEveryLabelWhole(const testing::RealisticClub& club) {
        ASSERT_TRUE(testing::writeClub(club, folder.path()));
        clock.date = club.today;
        FrmBilans& window = app.window<FrmBilans>();
        app.run([&] { window.refresh(); });
        window.show();
        auto& tabs = control<QTabWidget>(window, u"TabVues"_s);
        int charts = 0;
        for (const QString& period : {u"CmdSaison"_s, u"CmdTout"_s}) {
            control<QPushButton>(window, period).click();
            for (int tab = 0; tab < tabs.count(); ++tab) {
                tabs.setCurrentIndex(tab);
                QCoreApplication::processEvents();
                for (const ChartView* view : tabs.widget(tab)->findChildren<ChartView*>()) {
                    SCOPED_TRACE((period + u' ' + view->objectName()).toStdString());
                    ASSERT_FALSE(view->data().empty());
                    const QStringList shown = expectWholeLabels(*view->chart(), view->data());
                    QGraphicsScene scene;
                    const QChart* drawn =
                        layOutChart(view->data(), view->font(), QSizeF(view->size()), scene);
                    EXPECT_EQ(expectWholeLabels(*drawn, view->data()), shown);
                    ++charts;
                }
            }
        }
        EXPECT_EQ(charts, 10);
    }
};

TEST_F(BilansChartLabels, EveryCategoryIsNamedWhole) {
    expectEveryLabelWhole(testing::realisticClub());
}

TEST_F(BilansChartLabels, LongNamesKeepTheirBeginning) {
    expectEveryLabelWhole(testing::realisticClub().withLongNames());
}

// Two years of months under a narrow chart: one month in so many is named,
// whole, apart from the next, rather than every month overlapping.
TEST(ChartLabels, ANarrowChartNamesOneMonthInSoMany) {
    ChartData data{u"Ventes par mois"_s, ChartData::Kind::Bars, {}, {{u"Matériel"_s, {}}}};
    for (int m = 0; m < 24; ++m) {
        data.categories.append(shortMonthText(QDate(2006, 9, 1).addMonths(m)));
        data.series[0].values.append(10 + m);
    }
    ChartView view(u"Chart"_s);
    view.resize(300, 220);
    view.show(data);
    view.QWidget::show();
    QCoreApplication::processEvents();
    const QList<const QGraphicsTextItem*> labels = categoryLabels(*view.chart(), false);
    ASSERT_GE(labels.size(), 4);
    for (qsizetype i = 0; i < labels.size(); ++i) {
        EXPECT_TRUE(data.categories.contains(labels[i]->toPlainText()))
            << labels[i]->toPlainText().toStdString();
        if (i > 0) {
            EXPECT_FALSE(labels[i]->sceneBoundingRect().intersects(
                labels[i - 1]->sceneBoundingRect().adjusted(1, 1, -1, -1)));
        }
    }
}

} // namespace
} // namespace vendalise
