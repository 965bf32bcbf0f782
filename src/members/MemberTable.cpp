#include "members/MemberTable.h"

#include "platform/DataFiles.h"
#include "platform/Limits.h"
#include "platform/RecordFields.h"

#include <algorithm>

namespace vendalise {

QByteArray memberRecord(QStringView name, QStringView firstName) {
    return textField(name, kMemberNameWidth) + textField(firstName, kMemberFirstNameWidth);
}

int loadMemberTable(MemberTable& table) {
    const Records records = readRecords(kMemberFile, kMemberRecordLength);
    const int count = std::min(records.count(), kMaxRecords);
    MemberTable loaded;
    loaded.names.reserve(count + 1);
    loaded.firstNames.reserve(count + 1);
    for (int k = 1; k <= count; ++k) {
        const QByteArrayView record = records.record(k);
        loaded.names.append(textAt(record, 0, kMemberNameWidth));
        loaded.firstNames.append(textAt(record, kMemberNameWidth, kMemberFirstNameWidth));
    }
    loaded.count = count;
    table = std::move(loaded);
    return records.count();
}

} // namespace vendalise
