#pragma once

#include "platform/RecordTable.h"

#include <QByteArray>
#include <QList>
#include <QString>

#include <functional>

namespace vendalise {

class DataFiles;

// "Adhérents.orv": 35-byte records, a 25-character name then a
// 10-character first name, both cp1252 padded with blanks. A member's
// number is the number of its record.
inline constexpr int kMemberRecordLength = 35;
inline constexpr int kMemberNameWidth = 25;
inline constexpr int kMemberFirstNameWidth = 10;

// A member as read from the file, both fields with their trailing blanks.
struct Member {
    QString name;
    QString firstName;
};

// The member table, indexed by member number.
struct MemberTable : RecordTable<Member> {
    // Member n, or an empty member for a number the table does not hold.
    const Member& member(int n) const { return entry(n); }
};

// The members' part of the shared state.
struct Members {
    MemberTable table;
    // The member last chosen in the member window, 0 for none.
    qint16 current = 0;
    // Every member's debt, indexed by member number from 1, as the sales
    // ledger last gave it.
    QList<float> debts{0.0f};
    float debtOf(int member) const {
        return member >= 1 && member < debts.size() ? debts[member] : 0.0f;
    }
    // Shows the purchase window for the current member, with the buyer's
    // name; the shell connects it, since the shop lies above this folder.
    std::function<void(const QString& buyer)> enterShop;
};

// A member's row in the lists the main window fills: the name up to its
// first run of four blanks (the whole field when it has none), a blank,
// the first-name field as held.
QString memberRowText(const Member& member);

// The record of a member: both texts padded or cut to their widths, as
// given (the writers below put the name in capitals).
QByteArray memberRecord(QStringView name, QStringView firstName);

// Writes a new member after the last whole record, the name in capitals and
// the first name as typed, and returns the new member number. A file that
// already holds as many members as a table can is refused.
int appendMember(const DataFiles& files, QStringView name, QStringView firstName);
// Rewrites member k in place, the name in capitals.
void writeMember(const DataFiles& files, int k, QStringView name, QStringView firstName);

// Reads the member file into the table (at most as many members as a table
// holds) and returns the number of whole records the file holds.
qint64 loadMemberTable(const DataFiles& files, MemberTable& table);

} // namespace vendalise
