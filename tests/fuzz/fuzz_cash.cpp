// A cash ledger's text on any bytes: its rows and its total.
#include "cash/CashLedger.h"
#include "platform/Cp1252.h"
#include "platform/DataFiles.h"

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace vendalise;
    const QByteArray text(reinterpret_cast<const char*>(data), qsizetype(size));
    (void)registerTotal(text, Register::Material);
    (void)registerTotal(text, Register::Drinks);
    QStringList lines;
    DataFiles::forEachLine(text, [&](QByteArrayView line) { lines.append(fromCp1252(line)); });
    (void)registerRows(lines);
    return 0;
}
