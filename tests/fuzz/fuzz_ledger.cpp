// The sales ledger reader on any bytes, with the debts it gives.
#include "catalogue/ProductTable.h"
#include "core/Names.h"
#include "FuzzFiles.h"
#include "sales/Ledger.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace vendalise;
    LedgerTable ledger;
    loadLedger(filesHolding(kLedgerFile, data, size), ledger);
    ProductTable products;
    products.records.append({QStringLiteral("Tee-shirt"), 7.5f, 10});
    (void)memberDebts(ledger, products, 3);
    return 0;
}
