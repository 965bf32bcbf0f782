// The member file reader on any bytes.
#include "core/Names.h"
#include "members/MemberTable.h"
#include "FuzzFiles.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace vendalise;
    MemberTable table;
    loadMemberTable(filesHolding(kMemberFile, data, size), table);
    for (int n = 1; n <= table.count(); ++n)
        (void)memberRowText(table[n]);
    return 0;
}
