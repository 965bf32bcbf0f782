#include "catalogue/ProductTable.h"

#include "../platform/TestHelpers.h"

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
    EXPECT_EQ(loadProductTable(table), 3);
    EXPECT_EQ(table.count, 3);
    ASSERT_EQ(table.names.size(), 4);
    ASSERT_EQ(table.prices.size(), 4);
    ASSERT_EQ(table.stocks.size(), 4);
    EXPECT_EQ(table.names[1], u"Café"_s + QString(61, QLatin1Char(' ')));
    EXPECT_EQ(table.names[2].trimmed(), u"Thé vert"_s);
    EXPECT_EQ(table.prices[1], 1.5f);
    EXPECT_EQ(table.stocks[1], 12.0f);
    EXPECT_EQ(table.prices[2], 2.75f);
    EXPECT_EQ(table.stocks[2], -1.0f);
    EXPECT_EQ(table.prices[3], 0.1f);
    EXPECT_EQ(table.stocks[3], 0.0f);
}

TEST_F(ProductTableFile, MissingFileIsCreatedEmpty) {
    ProductTable table;
    table.names.append(u"ancien"_s);
    table.count = 1;
    EXPECT_EQ(loadProductTable(table), 0);
    EXPECT_EQ(table.count, 0);
    EXPECT_EQ(table.names.size(), 1);
    EXPECT_TRUE(QFileInfo::exists(kFile));
    EXPECT_EQ(QFileInfo(kFile).size(), 0);
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
