#include "catalogue/FrmStock.h"

#include "core/Names.h"
#include "platform/RecordList.h"
#include "WindowTestProgram.h"

#include "TestHelpers.h"

#include <QLineEdit>
#include <QPushButton>

namespace vendalise {
namespace {

using testing::control;

class StockWindow : public testing::WindowTestProgram {
protected:
    void SetUp() override {
        testing::WindowTestProgram::SetUp();
        QFile file(folder.filePath(kProductFile));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(productRecord(u"Tee-shirt", 7.5f, 10) + productRecord(u"Gourde", 2, 3));
        file.close();
        ChargeProduits(app);
    }
    QByteArray productFile() {
        QFile file(folder.filePath(kProductFile));
        EXPECT_TRUE(file.open(QIODevice::ReadOnly));
        return file.readAll();
    }
};

TEST_F(StockWindow, AddingIsRefusedWhileAFreeRecordExistsEvenByTheHiddenButton) {
    FrmStock& stock = app.window<FrmStock>();
    app.part<Catalogue>().table.records.append({QString(65, u' '), 0, 0});
    MajProduits(app);
    auto& add = control<QPushButton>(stock, u"AjoutProduit"_s);
    EXPECT_TRUE(add.isHidden());
    control<QLineEdit>(stock, u"TextProduit"_s).setText(u"Casquette"_s);
    add.click();
    ASSERT_EQ(messages.shown.size(), 1);
    EXPECT_EQ(messages.shown[0].title, u"Ajout de produit impossible"_s);
    EXPECT_EQ(productFile().size(), 2 * kProductRecordLength);
}

TEST_F(StockWindow, TheReportLeavesOutFreeRecordsAndNamesBeginningWithTenBlanks) {
    ProductTable& table = app.part<Catalogue>().table;
    table.records.append({QString(65, u' '), 1, 1});
    table.records.append({QString(), 1, 1}); // relabelled with an empty name
    table.records.append({QString(10, u' ') + u"Caché"_s, 1, 1});
    table.records.append({QString(9, u' ') + u"Montré"_s, 1, 1});
    control<QPushButton>(app.window<FrmStock>(), u"BtnImprimer"_s).click();
    QStringList lines;
    for (const auto& line : printer.printed)
        lines.append(line.endOfDocument ? u"enddoc"_s : line.text);
    ASSERT_EQ(lines.size(), 5);
    EXPECT_EQ(lines[1], u"             Montré - Prix unitaire : 1 € - En stock : 1"_s);
    EXPECT_EQ(lines[2], u"    Gourde - Prix unitaire : 2 € - En stock : 3"_s);
    EXPECT_EQ(lines[3], u"    Tee-shirt - Prix unitaire : 7,5 € - En stock : 10"_s);
    EXPECT_EQ(lines[4], u"enddoc"_s);
}

TEST(StockReport, SortsByCapitalsInByteOrderKeepingEqualNamesInOrder) {
    ProductTable table;
    for (const char* name : {"banane", "Éclair", "abricot", "Zeste", "", "Banane", "cerise"})
        table.records.append({QString::fromUtf8(name), 0, float(table.count() + 1)});
    QStringList order;
    for (const int n : stockReportOrder(table))
        order.append(table[n].name + u'#' + QString::number(table[n].stock));
    EXPECT_EQ(order, (QStringList{u"#5"_s, u"abricot#3"_s, u"banane#1"_s, u"Banane#6"_s,
                                  u"cerise#7"_s, u"Zeste#4"_s, u"Éclair#2"_s}));
}

TEST(StockReport, ComparesWholeNamesBeyondTheirFirstBytes) {
    ProductTable table;
    for (const char* name : {"ABCDEFGHIJ", "abcdefghi", "ABCDEFGH ", "ABCDEFGH", "abcdefghij",
                             "ABCDEFGHIJKLMNOPQRSTUVWXYZ-2", "abcdefghijklmnopqrstuvwxyz-1"})
        table.records.append({QString::fromUtf8(name), 0, 0});
    QList<int> expected{4, 3, 2, 1, 5, 7, 6};
    EXPECT_EQ(stockReportOrder(table), expected);
}

TEST(RecordRows, SortWithoutRegardToCaseOrAccentsOnce) {
    Rows rows{{u"cerise"_s, 1}, {u"Abricot"_s, 2},   {u"éclair"_s, 3},
              {u"banane"_s, 4}, {u" - résumé"_s, 0}, {u"Banane"_s, 5}};
    sortRows(rows);
    QStringList order;
    for (const Row& row : rows)
        order.append(row.text);
    EXPECT_EQ(order, (QStringList{u" - résumé"_s, u"Abricot"_s, u"banane"_s, u"Banane"_s,
                                  u"cerise"_s, u"éclair"_s}));
}

} // namespace
} // namespace vendalise
