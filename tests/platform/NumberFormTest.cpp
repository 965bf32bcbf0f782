#include "platform/NumberForm.h"

#include "TestHelpers.h"

#include <cmath>

namespace vendalise {
namespace {

// 0.1f and 19.99f are not exact in binary: only 7 digits may show.
TEST(NumberForm, WritesSevenSignificantDigitsWithDecimalComma) {
    const struct {
        float value;
        const char* text;
    } cases[] = {{12.5f, "12,5"},
                 {-3.0f, "-3"},
                 {0.25f, "0,25"},
                 {0.1f, "0,1"},
                 {19.99f, "19,99"},
                 {1234567.0f, "1234567"},
                 {12345678.0f, "1,234568E+07"},
                 {10000000.0f, "1E+07"},
                 {-12345678.0f, "-1,234568E+07"},
                 {0.0001f, "0,0001"},
                 {0.00001f, "1E-05"},
                 {0.000012345f, "1,2345E-05"},
                 {1.5e20f, "1,5E+20"},
                 {0.0f, "0"},
                 {-0.0f, "0"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(numberForm(c.value), QString::fromUtf8(c.text));
    }
}

// Blanks, tabs and line feeds are skipped wherever they are; anything else
// (a carriage return too) ends the number.
TEST(NumberForm, ReadsTheLeadingNumberOfAText) {
    const struct {
        const char16_t* text;
        double value;
    } cases[] = {
        {u"12.5 €", 12.5},  {u"1.5,3", 1.5},     {u"1 000", 1000}, {u"abc", 0},    {u"-2.5", -2.5},
        {u"+4", 4},         {u"1.234.5", 1.234}, {u".5", 0.5},     {u"-.5", -0.5}, {u"1E3", 1000},
        {u"2.5e-2", 0.025}, {u"1E+2x", 100},     {u"1E", 1},       {u"1E+", 1},    {u"", 0},
        {u"-", 0},          {u".", 0},           {u"E5", 0},       {u"--1", 0},    {u"1..2", 1},
        {u"  - 2 5", -25},  {u"\t1\n2", 12},     {u"1 E 2", 100},  {u"1\r2", 1}};
    for (const auto& c : cases) {
        const QString text = QString::fromUtf16(c.text);
        SCOPED_TRACE(text.toStdString());
        EXPECT_DOUBLE_EQ(readNumber(text), c.value);
    }
    // Beyond double precision: an infinity of its sign, or 0.
    EXPECT_EQ(readNumber(u"-1E400"), -HUGE_VAL);
    EXPECT_EQ(readNumber(u"1E-400"), 0.0);
}

TEST(NumberForm, DateTextIsDayMonthYear) {
    EXPECT_EQ(dateText(QDate(2007, 12, 5)), u"05/12/2007"_s);
    EXPECT_EQ(dateText(QDate(2024, 1, 31)), u"31/01/2024"_s);
}

} // namespace
} // namespace vendalise
