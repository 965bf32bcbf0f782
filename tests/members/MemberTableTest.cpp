#include "members/MemberTable.h"

#include "platform/Limits.h"

#include "TestHelpers.h"

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
