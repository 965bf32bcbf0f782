#include "core/AmountText.h"

#include "TestHelpers.h"

namespace vendalise {
namespace {

TEST(AmountText, OteBlancsDevantRemovesLeadingBlanksOnly) {
    QString text = u"  \t5 "_s; // a tab is not a blank here
    EXPECT_EQ(OteBlancsDevant(text), u"\t5 "_s);
    EXPECT_EQ(text, u"\t5 "_s);
    text = u"   "_s;
    EXPECT_EQ(OteBlancsDevant(text), QString());
}

TEST(AmountText, VirguleEnPointTurnsTheFirstCommaIntoAPointInPlace) {
    const struct {
        const char16_t* before;
        const char16_t* after;
        double value;
    } cases[] = {{u" 12,5", u"12.5", 12.5},
                 {u"1,5,3", u"1.5,3", 1.5},
                 {u",5", u".5", 0.5},
                 {u"5,", u"5.", 5},
                 {u"12.5", u"12.5", 12.5},
                 {u"   ", u"", 0},
                 {u" 3 ", u"3 ", 3},
                 {u"", u"", 0},
                 {u"-2,5", u"-2.5", -2.5},
                 {u"2,5 €", u"2.5 €", 2.5},
                 {u"1.234,5", u"1.234.5", 1.234}};
    for (const auto& c : cases) {
        const QString original = QString::fromUtf16(c.before);
        SCOPED_TRACE(original.toStdString());
        QString text = original;
        const QString returned = VirguleEnPoint(text);
        EXPECT_EQ(text, QString::fromUtf16(c.after));
        EXPECT_EQ(returned, text);
        EXPECT_DOUBLE_EQ(amountValue(original), c.value);
    }
}

} // namespace
} // namespace vendalise
