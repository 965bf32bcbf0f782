#include "catalogue/Catalogue.h"

#include "core/App.h"
#include "platform/Cp1252.h"
#include "platform/NumberForm.h"

#include <algorithm>

namespace vendalise {

QString productRowText(const Product& product) {
    return product.name.trimmed() + QStringLiteral(" - Dispo : ") + numberForm(product.stock);
}

QList<Product> stockReportOrder(const ProductTable& table) {
    struct Keyed {
        QByteArray key;
        int n;
    };
    std::vector<Keyed> keys;
    keys.reserve(table.count());
    for (int n = 1; n <= table.count(); ++n)
        keys.push_back({upperCp1252Bytes(table[n].name), n});
    // QByteArray compares its bytes as unsigned values: the binary order.
    std::stable_sort(keys.begin(), keys.end(),
                     [](const Keyed& a, const Keyed& b) { return a.key < b.key; });
    QList<Product> sorted;
    sorted.reserve(table.count());
    for (const Keyed& k : keys)
        sorted.append(table[k.n]);
    return sorted;
}

qint64 ChargeProduits(App& app) {
    Catalogue& catalogue = app.part<Catalogue>();
    const qint64 records = loadProductTable(app.files, catalogue.table);
    MajProduits(app);
    return records;
}

void MajProduits(App& app) {
    Catalogue& catalogue = app.part<Catalogue>();
    const ProductTable& table = catalogue.table;
    Rows rows;
    rows.reserve(table.count());
    int unlabelled = 0;
    float value = 0;
    for (int n = 1; n <= table.count(); ++n) {
        const Product& product = table[n];
        if (!isUnlabelled(product.name)) {
            rows.append({productRowText(product), n});
            value = static_cast<float>(double(value) + double(product.price) * product.stock);
        } else if (++unlabelled == 1) {
            // Only the first free record is offered, for relabelling.
            rows.append({productRowText(product), n});
        }
    }
    sortRows(rows);
    catalogue.unlabelled = static_cast<qint16>(unlabelled);
    catalogue.stockValue = value;
    catalogue.rows = std::move(rows);
    catalogue.summary = {
        QStringLiteral(" -  Nombre de produits sans libellé : ") + QString::number(unlabelled), 0};
    catalogue.fill = Catalogue::Fill::Rebuilt;
    Q_EMIT catalogue.listsFilled(catalogue.fill);
}

void filterProducts(App& app, bool ticked, const QString& thresholdText) {
    Catalogue& catalogue = app.part<Catalogue>();
    const ProductTable& table = catalogue.table;
    // Read in double precision, so that a huge threshold lists everything.
    const double threshold = readNumber(thresholdText);
    Rows rows;
    rows.reserve(table.count());
    for (int n = 1; n <= table.count(); ++n) {
        if (!ticked || table[n].stock < threshold)
            rows.append({productRowText(table[n]), n});
    }
    sortRows(rows);
    catalogue.rows = std::move(rows);
    catalogue.fill = Catalogue::Fill::Filtered;
    Q_EMIT catalogue.listsFilled(catalogue.fill);
}

} // namespace vendalise
