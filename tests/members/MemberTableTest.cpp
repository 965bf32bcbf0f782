#include "members/MemberTable.h"

#include "platform/Limits.h"

#include "../platform/TestHelpers.h"

#include <cstring>

namespace vendalise {
namespace {

// A 35-byte record as the file holds it: cp1252 name on 25 bytes, first
// name on 10, both padded with blanks.
QByteArray record(const char* name, const char* firstName) {
    QByteArray bytes(name);
    bytes.append(25 - int(std::strlen(name)), ' ');
    bytes.append(firstName);
    bytes.append(10 - int(std::strlen(firstName)), ' ');
    return bytes;
}

const QString kFile = u"Adhérents.orv"_s;

using MemberTableFile = InScratchDir;

TEST_F(MemberTableFile, LoadsEveryMemberWithTrailingBlanks) {
    writeBytes(kFile, record("Dupont", "Jean") + record("Lef\xE8vre", "Zo\xE9") +
                          record("ABCDEFGHIJKLMNOPQRSTUVWXY", "0123456789"));
    MemberTable table;
    table.members.append(Member{u"ancien"_s, u"x"_s});

    EXPECT_EQ(loadMemberTable(files, table), 3);
    ASSERT_EQ(table.count(), 3);
    EXPECT_EQ(table[1].name, u"Dupont"_s + QString(19, QLatin1Char(' ')));
    EXPECT_EQ(table[1].firstName, u"Jean      "_s);
    EXPECT_EQ(table[2].name, u"Lefèvre"_s + QString(18, QLatin1Char(' ')));
    EXPECT_EQ(table[2].firstName, u"Zoé       "_s);
    EXPECT_EQ(table[3].name, u"ABCDEFGHIJKLMNOPQRSTUVWXY"_s);
    EXPECT_EQ(table[3].firstName, u"0123456789"_s);
}

TEST(MemberRecord, IsTheLayoutOfTheFile) {
    EXPECT_EQ(memberRecord(u"Lefèvre", u"Zoé"), record("Lef\xE8vre", "Zo\xE9"));
    EXPECT_EQ(memberRecord(u"De La Fontaine-Beaumarchais", u"Jean-Baptiste"),
              record("De La Fontaine-Beaumarcha", "Jean-Bapti"));
}

TEST_F(MemberTableFile, WritersPutTheNameInCapitalsAndKeepTheNumber) {
    EXPECT_EQ(appendMember(files, u"lefèvre", u"Zoé"), 1);
    EXPECT_EQ(appendMember(files, u"de la fontaine-beaumarchais", u"Jean-Baptiste"), 2);
    EXPECT_EQ(appendMember(files, u"weiß", u"anne"), 3);
    writeMember(files, 2, u"martin", u"paul");
    EXPECT_EQ(bytesOf(kFile), record("LEF\xC8VRE", "Zo\xE9") + record("MARTIN", "paul") +
                                  record("WEI\xDF", "anne"));
}

} // namespace
} // namespace vendalise
