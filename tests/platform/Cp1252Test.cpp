#include "platform/Cp1252.h"

#include "TestHelpers.h"

namespace vendalise {
namespace {

TEST(Cp1252, EncodesFrenchTextAndTheCharactersOfBytes80To9F) {
    EXPECT_EQ(toCp1252(u"Prix: 5 €"), QByteArray("Prix: 5 \x80"));
    EXPECT_EQ(toCp1252(u"élève Œuvre l’été"), QByteArray("\xE9l\xE8ve \x8Cuvre l\x92\xE9t\xE9"));
    EXPECT_EQ(fromCp1252("\x80\xE9\x8C\x92\xFF"), u"€éŒ’ÿ"_s);
}

TEST(Cp1252, WritesOneQuestionMarkPerCharacterItCannotHold) {
    EXPECT_EQ(toCp1252(u"a😀b"), QByteArray("a?b")); // a surrogate pair is one character
    EXPECT_EQ(toCp1252(u"中文"), QByteArray("??"));
    EXPECT_EQ(toCp1252(u"Ā"), QByteArray("?"));
    // U+0080 is not the euro sign: writing it as byte 0x80 would read back as €.
    EXPECT_EQ(toCp1252(u"\u0080"), QByteArray("?"));
}

TEST(Cp1252, UndefinedBytesReadAsControlCharactersAndWriteBack) {
    for (const int b : {0x81, 0x8D, 0x8F, 0x90, 0x9D}) {
        SCOPED_TRACE(b);
        const QByteArray byte(1, char(b));
        const QString control = QChar(char16_t(b));
        EXPECT_EQ(fromCp1252(byte), control);
        EXPECT_EQ(toCp1252(control), byte);
    }
}

TEST(Cp1252, EveryByteSurvivesARoundTrip) {
    QByteArray all;
    for (int b = 0; b < 256; ++b)
        all.append(char(b));
    const QString text = fromCp1252(all);
    EXPECT_EQ(text.size(), 256);
    EXPECT_EQ(toCp1252(text), all);
}

TEST(Cp1252, UpperCaseGoesCharacterByCharacterAndKeepsTheLength) {
    EXPECT_EQ(upperCp1252(u"lefèvre zoé"), u"LEFÈVRE ZOÉ"_s);
    EXPECT_EQ(upperCp1252(u"œuvre ÿ š ž"), u"ŒUVRE Ÿ Š Ž"_s);
    // "ß" has no one-character capital, "µ" none in cp1252: both stay.
    EXPECT_EQ(upperCp1252(u"Straße µ"), u"STRAßE µ"_s);
    const QString padded = u"Weiß"_s + QString(21, QLatin1Char(' '));
    EXPECT_EQ(upperCp1252(padded).size(), 25);
    EXPECT_EQ(toCp1252(upperCp1252(padded)).size(), 25);
}

TEST(Cp1252, UpperBytesAreTheBytesOfTheCapitals) {
    for (const QString& text :
         {u"lefèvre zoé"_s, u"Straße µ"_s, u"œuvre ÿ š ž €"_s, u"a😀b中"_s, u"  *bière 12,5"_s}) {
        SCOPED_TRACE(text.toStdString());
        EXPECT_EQ(upperCp1252Bytes(text), toCp1252(upperCp1252(text)));
    }
}

} // namespace
} // namespace vendalise
