#include "inventory/Inventory.h"

#include "core/Names.h"
#include "platform/Cp1252.h"
#include "platform/DataFiles.h"
#include "platform/Limits.h"

#include <QFileInfo>

namespace vendalise {

InventoryRead loadInventory(const DataFiles& files, Inventory& inventory) {
    inventory.items.clear();
    if (!QFileInfo::exists(files.path(kInventoryFile))) {
        inventory.whole = true;
        inventory.openEnd = false;
        return InventoryRead::Missing;
    }
    inventory.whole = false;
    inventory.openEnd = false;
    QByteArray bytes;
    try {
        bytes = files.readText(kInventoryFile);
    } catch (const FileError&) {
        return InventoryRead::Failed;
    }
    bool beyond = false;
    DataFiles::forEachLine(bytes, [&](QByteArrayView line) {
        if (inventory.items.size() < kMaxRecords)
            inventory.items.append(fromCp1252(line));
        else
            beyond = true;
    });
    if (beyond)
        return InventoryRead::Failed;
    inventory.whole = true;
    inventory.openEnd = !bytes.isEmpty() && !bytes.endsWith("\r\n");
    return InventoryRead::Read;
}

void appendArticle(const DataFiles& files, const Inventory& inventory, const QString& text) {
    const QString line = text + QStringLiteral("\r\n");
    files.appendText(kInventoryFile, inventory.openEnd ? QStringLiteral("\r\n") + line : line);
}

void removeArticle(const DataFiles& files, const Inventory& inventory, const QString& text) {
    QByteArray bytes;
    for (const QString& item : inventory.items) {
        if (item != text) {
            bytes += toCp1252(item);
            bytes += "\r\n";
        }
    }
    files.replaceFile(kInventoryFile, bytes);
}

} // namespace vendalise
