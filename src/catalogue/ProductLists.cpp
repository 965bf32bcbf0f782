#include "catalogue/Catalogue.h"

#include "core/App.h"
#include "platform/Cp1252.h"
#include "platform/NumberForm.h"
#include "platform/RecordFields.h"

#include <algorithm>
#include <cstring>
#include <optional>
#include <utility>
#include <vector>

namespace vendalise {

QString productRowText(const Product& product) {
    return blanksTrimmed(product.name) + QStringLiteral(" - Dispo : ") + numberForm(product.stock);
}

QList<int> stockReportOrder(const ProductTable& table) {
    // Every key in one buffer; its first eight bytes, read as a big-endian
    // number, settle most comparisons without reading the buffer.
    struct Key {
        quint64 head;
        qsizetype at;
        qsizetype size;
        int n;
    };
    qsizetype room = 0;
    for (int n = 1; n <= table.count(); ++n)
        room += table[n].name.size();
    std::vector<char> bytes(std::size_t(room) + 8, 0);
    std::vector<Key> keys;
    keys.reserve(std::size_t(table.count()));
    qsizetype at = 0;
    for (int n = 1; n <= table.count(); ++n) {
        const qsizetype size = upperCp1252Into(table[n].name, bytes.data() + at);
        quint64 head = 0;
        for (qsizetype i = 0; i < 8; ++i)
            head = head << 8 | (i < size ? static_cast<unsigned char>(bytes[at + i]) : 0u);
        keys.push_back({head, at, size, n});
        at += size;
    }
    const char* data = bytes.data();
    // Bytes compare as unsigned values: the binary order. Equal names keep
    // their product-number order, as the exchange sort leaves them.
    std::sort(keys.begin(), keys.end(), [data](const Key& a, const Key& b) {
        if (a.head != b.head)
            return a.head < b.head;
        const qsizetype common = std::min(a.size, b.size);
        if (common > 8) {
            if (const int c = std::memcmp(data + a.at + 8, data + b.at + 8, common - 8); c != 0)
                return c < 0;
        }
        if (a.size != b.size)
            return a.size < b.size;
        return a.n < b.n;
    });
    QList<int> order;
    order.reserve(table.count());
    for (const Key& key : keys)
        order.append(key.n);
    return order;
}

qint64 ChargeProduits(App& app) {
    Catalogue& catalogue = app.part<Catalogue>();
    const qint64 records = loadProductTable(app.files, catalogue.table);
    MajProduits(app);
    return records;
}

namespace {

bool sameText(const QString& a, const QString& b) {
    return (a.constData() == b.constData() && a.size() == b.size()) || a == b;
}

// The products whose stock alone changed since the rows were rebuilt, or
// nullopt when anything else changed (or too much for moving rows).
std::optional<QList<int>> stocksChanged(const Catalogue& catalogue) {
    const ProductTable& table = catalogue.table;
    const ProductTable& listed = catalogue.listed;
    if (catalogue.fill != Catalogue::Fill::Rebuilt || listed.count() != table.count())
        return std::nullopt;
    QList<int> changed;
    for (int n = 1; n <= table.count(); ++n) {
        if (!sameText(table[n].name, listed[n].name))
            return std::nullopt;
        if (std::memcmp(&table[n].stock, &listed[n].stock, sizeof(float)) != 0) {
            changed.append(n);
            if (changed.size() > 16)
                return std::nullopt;
        }
    }
    return changed;
}

// The rows of the products, sorted: every labelled product, and the first
// unlabelled one, offered for relabelling.
Rows productRows(const ProductTable& table) {
    Rows rows;
    rows.reserve(table.count());
    bool unlabelledListed = false;
    for (int n = 1; n <= table.count(); ++n) {
        const Product& product = table[n];
        if (!isUnlabelled(product.name) || !std::exchange(unlabelledListed, true))
            rows.append({productRowText(product), n});
    }
    sortRows(rows);
    return rows;
}

} // namespace

void MajProduits(App& app) {
    Catalogue& catalogue = app.part<Catalogue>();
    const ProductTable& table = catalogue.table;
    int unlabelled = 0;
    for (int n = 1; n <= table.count(); ++n)
        if (isUnlabelled(table[n].name))
            ++unlabelled;
    const float value = stockValue(table);
    if (const std::optional<QList<int>> changed = stocksChanged(catalogue)) {
        // Same names: the same rows, only those of the changed stocks move.
        for (const int n : *changed) {
            for (qsizetype i = 0; i < catalogue.rows.size(); ++i) {
                if (catalogue.rows[i].data == n) {
                    replaceSorted(catalogue.rows, i, {productRowText(table[n]), n});
                    break;
                }
            }
        }
    } else {
        catalogue.rows = productRows(table);
    }
    catalogue.listed = table;
    catalogue.unlabelled = static_cast<qint16>(unlabelled);
    catalogue.stockValue = value;
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
