#include "members/MemberTable.h"

#include "core/Names.h"
#include "platform/Cp1252.h"
#include "platform/DataFiles.h"
#include "platform/Limits.h"
#include "platform/RecordFields.h"

namespace vendalise {

QByteArray memberRecord(QStringView name, QStringView firstName) {
    return textField(name, kMemberNameWidth) + textField(firstName, kMemberFirstNameWidth);
}

QString memberRowText(const Member& member) {
    const qsizetype blanks = member.name.indexOf(QStringLiteral("    "));
    return (blanks < 0 ? member.name : member.name.left(blanks)) + QLatin1Char(' ') +
           member.firstName;
}

qint64 loadMemberTable(const DataFiles& files, MemberTable& table) {
    const Records records = files.readRecords(kMemberFile, kMemberRecordLength, kMaxRecords);
    MemberTable loaded;
    loaded.records.reserve(records.count() + 1);
    for (int k = 1; k <= records.count(); ++k) {
        const QByteArrayView record = records.record(k);
        loaded.records.append({textAt(record, 0, kMemberNameWidth),
                               textAt(record, kMemberNameWidth, kMemberFirstNameWidth)});
    }
    table = std::move(loaded);
    return records.fileRecords();
}

int appendMember(const DataFiles& files, QStringView name, QStringView firstName) {
    RecordFile file(files, kMemberFile, kMemberRecordLength);
    if (file.count() >= kMaxRecords)
        throw TableFull(kMemberFile);
    return file.append(memberRecord(upperCp1252(name), firstName));
}

void writeMember(const DataFiles& files, int k, QStringView name, QStringView firstName) {
    RecordFile file(files, kMemberFile, kMemberRecordLength);
    file.write(k, memberRecord(upperCp1252(name), firstName));
}

} // namespace vendalise
