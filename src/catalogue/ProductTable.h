#pragma once

#include "platform/RecordTable.h"

#include <QByteArray>
#include <QList>
#include <QString>

namespace vendalise {

class DataFiles;

// "Produits.orv": 73-byte records, a 65-character cp1252 name padded with
// blanks, then the unit price and the stock as little-endian
// single-precision values. A product's number is the number of its record.
inline constexpr int kProductRecordLength = 73;
inline constexpr int kProductNameWidth = 65;

// A product: its name as read (65 characters with trailing blanks) or as
// last entered, its unit price and its stock.
struct Product {
    QString name;
    float price = 0;
    float stock = 0;
};

// The product table, indexed by product number.
struct ProductTable : RecordTable<Product> {
    // Product n, or an empty product for a number the table does not hold.
    const Product& product(int n) const { return entry(n); }
};

// The record of a product: the name padded or cut to its width.
QByteArray productRecord(QStringView name, float price, float stock);

// Reads the product file into the table (at most as many products as a
// table holds; a missing file is created empty) and returns the number of
// whole records the file holds.
qint64 loadProductTable(const DataFiles& files, ProductTable& table);

// Writes a new product after the last whole record and returns its number.
// A file that already holds as many products as a table can is refused.
int appendProduct(const DataFiles& files, QStringView name, float price, float stock);
// Rewrites product n in place.
void writeProduct(const DataFiles& files, int n, QStringView name, float price, float stock);
// Reads product n from the file.
Product readProduct(const DataFiles& files, int n);

// A product is unlabelled when its name is made of blanks only.
bool isUnlabelled(const QString& name);

// The stock value: price × stock of every labelled product, each added in
// double precision and the sum rounded to single at each step.
float stockValue(const ProductTable& table);
// One product's price × stock, rounded to single precision.
float productValue(const Product& product);

} // namespace vendalise
