// The inventory reader on any bytes, and a removal written back from it.
#include "core/Names.h"
#include "inventory/Inventory.h"
#include "FuzzFiles.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace vendalise;
    DataFiles& files = filesHolding(kInventoryFile, data, size);
    Inventory inventory;
    if (loadInventory(files, inventory) == InventoryRead::Read && !inventory.items.isEmpty())
        removeArticle(files, inventory, inventory.items.first());
    return 0;
}
