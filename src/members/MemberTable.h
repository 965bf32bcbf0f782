#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace vendalise {

// "Adhérents.orv": 35-byte records, a 25-character name then a
// 10-character first name, both cp1252 padded with blanks. A member's
// number is the number of its record.
inline const QString kMemberFile = QStringLiteral("Adhérents.orv");
inline constexpr int kMemberRecordLength = 35;
inline constexpr int kMemberNameWidth = 25;
inline constexpr int kMemberFirstNameWidth = 10;

// The member table: names and first names indexed by member number from 1
// (index 0 unused), as read from the file with their trailing blanks.
struct MemberTable {
    QStringList names{QString()};
    QStringList firstNames{QString()};
    int count = 0;
};

// The record of a member: both texts padded or cut to their widths.
QByteArray memberRecord(QStringView name, QStringView firstName);

// Reads the whole member file into the table (at most kMaxRecords members)
// and returns the number of whole records the file holds.
int loadMemberTable(MemberTable& table);

} // namespace vendalise
