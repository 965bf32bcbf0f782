#include "platform/Form.h"

#include <QCheckBox>
#include <QPushButton>

#include <gtest/gtest.h>

namespace vendalise {

namespace {

class Captions : public Form {
public:
    Captions() : Form(QStringLiteral("Captions"), 6000, 3000) {}
    using Form::addButton;
    using Form::addCheckBox;
    using Form::addLabel;
};

bool fits(const QWidget& control) {
    const QSize needed = captionExtent(control);
    return needed.width() <= control.width() && needed.height() <= control.height();
}

} // namespace

// A caption too wide for its control gets the largest font, a pixel at a
// time, with which it fits; one that fits keeps the window's font; one that
// cannot fit stops at 6 points (8 pixels).
TEST(Captions, OnlyTheControlsThatDoNotFitShrinkAndOnlyAsMuchAsNeeded) {
    Captions window;
    QPushButton* wide = window.addButton(QStringLiteral("Wide"), QStringLiteral("Renomer"), {},
                                         twips(0, 0, 1815, 255));
    const int natural = captionExtent(*wide).width();
    QPushButton* narrow =
        window.addButton(QStringLiteral("Narrow"), QStringLiteral("Renomer cet adhérent"), {},
                         QRect(0, 20, natural * 2, 17));
    narrow->setFixedWidth(captionExtent(*narrow).width() - 4);
    QCheckBox* hopeless = window.addCheckBox(
        QStringLiteral("Hopeless"), QStringLiteral("Dettes seulement"), QRect(0, 40, 30, 13));
    ASSERT_FALSE(fits(*narrow));

    window.fitCaptions();
    EXPECT_EQ(wide->font().pixelSize(), 11);
    EXPECT_TRUE(fits(*narrow));
    EXPECT_LT(narrow->font().pixelSize(), 11);
    QPushButton larger(narrow->text(), &window);
    larger.setGeometry(narrow->geometry());
    QFont font = narrow->font();
    font.setPixelSize(font.pixelSize() + 1);
    larger.setFont(font);
    EXPECT_FALSE(fits(larger));
    EXPECT_EQ(hopeless->font().pixelSize(), 8);
}

// A check box 195 twips high shows its indicator whole, whatever the style.
TEST(Captions, ACheckBoxOfThirteenPixelsHoldsItsIndicator) {
    Captions window;
    QCheckBox* box =
        window.addCheckBox(QStringLiteral("Box"), QStringLiteral("Payé"), twips(0, 0, 1500, 195));
    EXPECT_EQ(box->height(), 13);
    EXPECT_LE(captionExtent(*box).height(), 13);
    EXPECT_GE(captionExtent(*box).width(), 13 + box->fontMetrics().horizontalAdvance(box->text()));
}

} // namespace vendalise
