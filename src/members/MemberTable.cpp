#include "members/MemberTable.h"

#include "core/Names.h"
#include "platform/DataFiles.h"
#include "platform/Limits.h"
#include "platform/RecordFields.h"

namespace vendalise {

QByteArray memberRecord(QStringView name, QStringView firstName) {
    return textField(name, kMemberNameWidth) + textField(firstName, kMemberFirstNameWidth);
}

qint64 loadMemberTable(const DataFiles& files, MemberTable& table) {
    const Records records = files.readRecords(kMemberFile, kMemberRecordLength, kMaxRecords);
    MemberTable loaded;
    loaded.members.reserve(records.count() + 1);
    for (int k = 1; k <= records.count(); ++k) {
        const QByteArrayView record = records.record(k);
        loaded.members.append({textAt(record, 0, kMemberNameWidth),
                               textAt(record, kMemberNameWidth, kMemberFirstNameWidth)});
    }
    table = std::move(loaded);
    return records.fileRecords();
}

} // namespace vendalise
