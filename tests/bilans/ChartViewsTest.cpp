#include "bilans/ChartViews.h"

#include "TestHelpers.h"

#include <QBarCategoryAxis>
#include <QBarSeries>
#include <QBarSet>
#include <QChart>
#include <QGuiApplication>
#include <QHorizontalBarSeries>
#include <QImage>
#include <QPainter>
#include <QStackedBarSeries>
#include <QSysInfo>
#include <QTextDocument>

namespace vendalise {
namespace {

ChartData twoMonths() {
    return {u"Ventes par mois"_s,
            ChartData::Kind::StackedBars,
            {u"sept. 2007"_s, u"oct. 2007"_s},
            {{u"Matériel"_s, {15, 20}}, {u"Boissons"_s, {6, 0}}}};
}

int pixelsOf(const QImage& image, QColor colour) {
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            count += image.pixelColor(x, y) == colour;
    return count;
}

// The chart holds the data's values, in the data's order, whatever its
// kind; its numbers are French, it moves not.
TEST(ChartViews, ShowTheDataAsBars) {
    ChartView view(u"Chart"_s);
    view.resize(400, 300);
    view.show(twoMonths());
    QChart* chart = view.chart();
    EXPECT_EQ(chart->animationOptions(), QChart::NoAnimation);
    EXPECT_TRUE(chart->localizeNumbers());
    EXPECT_EQ(chart->locale().language(), QLocale::French);
    auto* stacked = qobject_cast<QStackedBarSeries*>(chart->series().value(0));
    ASSERT_NE(stacked, nullptr);
    ASSERT_EQ(stacked->barSets().size(), 2);
    EXPECT_EQ(stacked->barSets()[0]->label(), u"Matériel"_s);
    EXPECT_EQ(stacked->barSets()[1]->at(0), 6);
    EXPECT_TRUE(chart->legend()->isVisible());

    // A horizontal chart reads from the top: its sets and categories run
    // from the bottom up.
    view.show({u"Produits"_s,
               ChartData::Kind::HorizontalBars,
               {u"Tee-shirt"_s, u"Corde"_s, u"Bière <blonde> & Co"_s},
               {{u"Montant"_s, {30, 20, 10}}}});
    chart = view.chart();
    auto* bars = qobject_cast<QHorizontalBarSeries*>(chart->series().value(0));
    ASSERT_NE(bars, nullptr);
    EXPECT_EQ(bars->barSets()[0]->at(0), 10);
    EXPECT_EQ(bars->barSets()[0]->at(2), 30);
    auto* axis = qobject_cast<QBarCategoryAxis*>(chart->axes(Qt::Vertical).value(0));
    ASSERT_NE(axis, nullptr);
    EXPECT_EQ(axis->categories().last(), u"Tee-shirt"_s);
    // Labels are rich text there: a name is shown as it is written.
    EXPECT_EQ(axis->categories().first(), u"Bière &lt;blonde&gt; &amp; Co"_s);
    EXPECT_FALSE(chart->legend()->isVisible());
}

// A series drawn lighter takes the colour of the one before it, paler: two
// seasons read as the same figures at two times.
TEST(ChartViews, DrawALighterSeriesInAPalerShadeOfTheOneBefore) {
    ChartView view(u"Chart"_s);
    view.resize(400, 300);
    ChartData data{u"Ventes par mois, deux saisons"_s,
                   ChartData::Kind::Bars,
                   {u"sept."_s, u"oct."_s},
                   {{u"Saison 2007-2008"_s, {15, 20}}, {u"Saison 2006-2007"_s, {10, 25}, true}}};
    view.show(data);
    auto* bars = qobject_cast<QBarSeries*>(view.chart()->series().value(0));
    ASSERT_NE(bars, nullptr);
    const QColor now = bars->barSets()[0]->color();
    const QColor before = bars->barSets()[1]->color();
    EXPECT_EQ(now, QColor(40, 90, 170));
    EXPECT_NEAR(before.hslHue(), now.hslHue(), 2);
    EXPECT_GT(before.lightness(), now.lightness() + 40);
    // Not lighter: a colour of its own.
    data.series[1].lighter = false;
    view.show(data);
    bars = qobject_cast<QBarSeries*>(view.chart()->series().value(0));
    EXPECT_EQ(bars->barSets()[1]->color(), QColor(220, 140, 30));
}

// Names too long for a narrow chart are cut at their end; two that read
// the same once cut, or two members of one name, keep a bar and a label
// each.
TEST(ChartViews, EveryBarKeepsItsLabel) {
    ChartView view(u"Chart"_s);
    view.resize(300, 250);
    view.setVisible(true);
    // Under Wine the offscreen windows have no fonts of their own: how much
    // of a name fits is not Windows' measure.
    if (QSysInfo::productType() == u"windows"_s &&
        QGuiApplication::platformName() == u"offscreen"_s)
        GTEST_SKIP() << "no Windows fonts on the offscreen platform";
    view.show({u"Produits"_s,
               ChartData::Kind::HorizontalBars,
               {u"Corde dynamique 9,8 mm 60 m"_s, u"Corde dynamique 9,8 mm 70 m"_s, u"Gourde"_s,
                u"Gourde"_s},
               {{u"Montant"_s, {40, 30, 20, 10}}}});
    auto* axis = qobject_cast<QBarCategoryAxis*>(view.chart()->axes(Qt::Vertical).value(0));
    ASSERT_NE(axis, nullptr);
    ASSERT_EQ(axis->count(), 4);
    QStringList shown;
    for (const QString& category : axis->categories()) {
        QTextDocument label;
        label.setHtml(category);
        shown.append(label.toPlainText());
    }
    EXPECT_EQ(shown[0], u"Gourde"_s);
    EXPECT_EQ(shown[1], u"Gourde"_s);
    // Each rope whole, or its beginning cut at its end: with the fonts of
    // Linux both read "Corde dynamique 9,8…".
    for (const QString& rope : {u"Corde dynamique 9,8 mm 70 m"_s, u"Corde dynamique 9,8 mm 60 m"_s}) {
        const QString& label = shown[shown.size() - 2 + (rope.contains(u"60"_s) ? 1 : 0)];
        EXPECT_TRUE(label == rope || (label.endsWith(u"…"_s) && label.size() >= 11 &&
                                      rope.startsWith(label.chopped(1))))
            << label.toStdString();
    }
}

// The picture and the print draw the chart even when its view was never
// shown, at twice its size for a picture.
TEST(ChartViews, DrawWithoutBeingShown) {
    ChartView view(u"Chart"_s);
    view.resize(400, 300);
    view.show(twoMonths());
    const QImage picture = view.picture(2);
    EXPECT_EQ(picture.size(), QSize(800, 600));
    EXPECT_GT(pixelsOf(picture, QColor(40, 90, 170)), 1000);
    EXPECT_GT(pixelsOf(picture, QColor(220, 140, 30)), 200);

    QImage page(1000, 1000, QImage::Format_RGB32);
    page.fill(Qt::white);
    QPainter painter(&page);
    view.drawInto(painter, QRectF(0, 500, 1000, 500));
    painter.end();
    EXPECT_GT(pixelsOf(page.copy(0, 500, 1000, 500), QColor(40, 90, 170)), 1000);
    EXPECT_EQ(pixelsOf(page.copy(0, 0, 1000, 500), QColor(40, 90, 170)), 0);
}

} // namespace
} // namespace vendalise
