// A cash ledger's text on any bytes: its rows and its total.
#include "cash/CashLedger.h"

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace vendalise;
    const QByteArray text(reinterpret_cast<const char*>(data), qsizetype(size));
    (void)registerTotal(text, Register::Material);
    (void)registerTotal(text, Register::Drinks);
    (void)registerRows(text);
    return 0;
}
