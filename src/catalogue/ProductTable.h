#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

namespace vendalise {

// "Produits.orv": 73-byte records, a 65-character cp1252 name padded with
// blanks, then the unit price and the stock as little-endian
// single-precision values. A product's number is the number of its record.
inline const QString kProductFile = QStringLiteral("Produits.orv");
inline constexpr int kProductRecordLength = 73;
inline constexpr int kProductNameWidth = 65;

// The product table, indexed by product number from 1 (index 0 unused).
struct ProductTable {
    QStringList names{QString()};
    QList<float> prices{0.0f};
    QList<float> stocks{0.0f};
    int count = 0;
};

// The record of a product: the name padded or cut to its width.
QByteArray productRecord(QStringView name, float price, float stock);

// Reads the whole product file into the table (at most kMaxRecords
// products; a missing file is created empty) and returns the number of
// whole records the file holds.
int loadProductTable(ProductTable& table);

} // namespace vendalise
