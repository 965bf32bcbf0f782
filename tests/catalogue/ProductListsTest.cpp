#include "catalogue/Catalogue.h"

#include "TestProgram.h"

#include "TestHelpers.h"

namespace vendalise {
namespace {

using ProductLists = testing::TestProgram;

QStringList rowTexts(const Rows& rows) {
    QStringList texts;
    for (const Row& row : rows)
        texts.append(row.text + u" #"_s + QString::number(row.data));
    return texts;
}

TEST_F(ProductLists, ARefillAfterStockChangesGivesTheRowsOfAFullRebuild) {
    Catalogue& catalogue = app.part<Catalogue>();
    ProductTable& table = catalogue.table;
    for (const auto& [name, stock] : {std::pair{u"Gourde"_s, 3.0f}, {u"gourde"_s, 3.0f},
                                      {u"Casquette"_s, 12.0f}, {u"Gourde"_s, 1.0f},
                                      {QString(65, u' '), 0.0f}, {u"Écharpe"_s, 2.0f}})
        table.records.append({name, 2.5f, stock});
    MajProduits(app);
    const auto rebuilt = [&] {
        const Rows kept = catalogue.rows;
        const ProductTable listed = std::exchange(catalogue.listed, {});
        MajProduits(app);
        const QStringList texts = rowTexts(catalogue.rows);
        catalogue.rows = kept;
        catalogue.listed = listed;
        return texts;
    };
    // Stocks that make rows of equal text, that move a row to the front
    // or to the end, and that of the unlabelled product.
    for (const auto& [n, stock] : {std::pair{4, 3.0f}, {1, 100.0f}, {3, -1.0f}, {5, 7.0f},
                                   {2, 1.0f}, {1, 3.0f}}) {
        table[n].stock = stock;
        const QStringList expected = rebuilt();
        MajProduits(app);
        EXPECT_EQ(rowTexts(catalogue.rows), expected) << "after product " << n;
    }
    EXPECT_EQ(catalogue.stockValue, 2.5f * (3 + 1 - 1 + 3 + 2));
    EXPECT_EQ(catalogue.unlabelled, 1);

    // A name changed: everything is made again.
    table[3].name = u"Bonnet"_s;
    MajProduits(app);
    EXPECT_EQ(catalogue.rows[1].text, u"Bonnet - Dispo : -1"_s); // after the unlabelled row
}

} // namespace
} // namespace vendalise
