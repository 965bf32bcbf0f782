#include "catalogue/ProductTable.h"

#include "TestHelpers.h"

#include <QFileInfo>

#include <cstring>

namespace vendalise {
namespace {

// A 73-byte record as the file holds it: cp1252 name on 65 bytes padded
// with blanks, then price and stock as little-endian floats (given here
// as their raw bytes).
QByteArray record(const char* name, const char (&price)[5], const char (&stock)[5]) {
    QByteArray bytes(name);
    bytes.append(65 - int(std::strlen(name)), ' ');
    bytes.append(price, 4);
    bytes.append(stock, 4);
    return bytes;
}

const QString kFile = u"Produits.orv"_s;

using ProductTableFile = InScratchDir;

TEST_F(ProductTableFile, LoadsNamesPricesAndStocks) {
    writeBytes(kFile,
               record("Caf\xE9", "\x00\x00\xC0\x3F", "\x00\x00\x40\x41") +         // 1,5 and 12
                   record("Th\xE9 vert", "\x00\x00\x30\x40", "\x00\x00\x80\xBF") + // 2,75 and -1
                   record("Eau", "\xCD\xCC\xCC\x3D", "\x00\x00\x00\x00"));         // 0,1 and 0
    ProductTable table;
    EXPECT_EQ(loadProductTable(files, table), 3);
    ASSERT_EQ(table.count(), 3);
    EXPECT_EQ(table[1].name, u"Café"_s + QString(61, QLatin1Char(' ')));
    EXPECT_EQ(table[2].name.trimmed(), u"Thé vert"_s);
    EXPECT_EQ(table[1].price, 1.5f);
    EXPECT_EQ(table[1].stock, 12.0f);
    EXPECT_EQ(table[2].price, 2.75f);
    EXPECT_EQ(table[2].stock, -1.0f);
    EXPECT_EQ(table[3].price, 0.1f);
    EXPECT_EQ(table[3].stock, 0.0f);
}

TEST(ProductRecord, IsTheLayoutOfTheFile) {
    EXPECT_EQ(productRecord(u"Café", 1.5f, 12.0f),
              record("Caf\xE9", "\x00\x00\xC0\x3F", "\x00\x00\x40\x41"));
    const QString longName = QString(70, QLatin1Char('N'));
    EXPECT_EQ(productRecord(longName, 2.75f, -1.0f),
              record(QByteArray(65, 'N').constData(), "\x00\x00\x30\x40", "\x00\x00\x80\xBF"));
}

} // namespace
} // namespace vendalise
