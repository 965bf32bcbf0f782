// The product file reader on any bytes.
#include "catalogue/ProductTable.h"
#include "core/Names.h"
#include "FuzzFiles.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace vendalise;
    ProductTable table;
    loadProductTable(filesHolding(kProductFile, data, size), table);
    for (int n = 1; n <= table.count(); ++n)
        (void)isUnlabelled(table[n].name);
    return 0;
}
