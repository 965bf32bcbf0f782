#include "platform/RecordFields.h"

#include "TestHelpers.h"

namespace vendalise {
namespace {

// Text fields are checked through the member and product records.
TEST(RecordFields, NumbersAreLittleEndian) {
    const QByteArray record("\x34\x12\xFE\xFF\x00\x00\xC0\x3F\x00\x00\x80\xBF", 12);
    EXPECT_EQ(int16At(record, 0), 0x1234);
    EXPECT_EQ(int16At(record, 2), -2);
    EXPECT_EQ(floatAt(record, 4), 1.5f);
    EXPECT_EQ(floatAt(record, 8), -1.0f);

    QByteArray written;
    appendInt16(written, 0x1234);
    appendInt16(written, -2);
    appendFloat(written, 1.5f);
    appendFloat(written, -1.0f);
    EXPECT_EQ(written, record);
}

TEST(RecordFields, OnlyBlanksAreTrimmed) {
    EXPECT_EQ(blanksTrimmed(u"  Tee-shirt   "), u"Tee-shirt"_s);
    EXPECT_EQ(blanksTrimmed(u"\tThé\t "), u"\tThé\t"_s);
    EXPECT_EQ(blanksTrimmed(u"     "), QString());
    EXPECT_EQ(withoutTrailingBlanks(u"  DUPONT   "), u"  DUPONT"_s);
}

} // namespace
} // namespace vendalise
