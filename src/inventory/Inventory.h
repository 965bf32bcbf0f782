#pragma once

#include <QString>
#include <QStringList>

namespace vendalise {

class DataFiles;

// The free inventory: one text per article, in the order of the file
// "Inventaire.orv".
struct Inventory {
    // items[k - 1] is line k of the file as last loaded.
    QStringList items;
    // The file was read whole and matches items; false after a load that
    // failed or stopped at the table's limit, so that the file is never
    // rewritten from a part of it.
    bool whole = true;
    // The file's last line has no CR LF: an append starts a line of its own.
    bool openEnd = false;
};

// The outcome of reading the inventory file.
enum class InventoryRead {
    Missing, // no file yet: no article was ever added
    Read,    // every line read
    Failed,  // the file could not be read, or holds more lines than a table
};

// Reads the file into inventory, at most a table's worth of lines. A
// missing file is an empty inventory.
InventoryRead loadInventory(const DataFiles& files, Inventory& inventory);
// Appends one line at the end of the file, creating it if missing.
void appendArticle(const DataFiles& files, const Inventory& inventory, const QString& text);
// The file written anew, in one step, without the lines equal to text
// (compared exactly, with case).
void removeArticle(const DataFiles& files, const Inventory& inventory, const QString& text);

} // namespace vendalise
