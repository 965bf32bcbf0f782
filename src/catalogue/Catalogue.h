#pragma once

#include "catalogue/ProductTable.h"
#include "platform/Rows.h"

#include <QObject>

namespace vendalise {

class App;

// The catalogue's part of the shared state: the product table, the current
// product, the reorder threshold, and the product lists as last built, which
// the stock and purchase windows show.
class Catalogue : public QObject {
    Q_OBJECT
public:
    ProductTable table;
    // The product last chosen in the stock or purchase window, 0 for none.
    qint16 current = 0;
    // Stock level at or below which a product is to be ordered, and its
    // text as start-up gave it to the stock window's threshold field.
    qint16 threshold = 0;
    QString thresholdText = QStringLiteral("0");

    // Counted by MajProduits.
    qint16 unlabelled = 0;
    float stockValue = 0;

    // How the product lists were last filled.
    enum class Fill { None, Rebuilt, Filtered };
    Fill fill = Fill::None;
    // The rows of both product lists, sorted, and the stock window's
    // summary row (rebuilt lists only).
    Rows rows;
    Row summary;
    // The table the rebuilt rows were made from, so that a rebuild after a
    // purchase only moves the rows whose stock changed.
    ProductTable listed;

Q_SIGNALS:
    // The product lists were filled again: every window showing them refills.
    void listsFilled(Catalogue::Fill fill);
};

// Reads the product file into the table, then MajProduits. Returns the
// number of whole records the file holds.
qint64 ChargeProduits(App& app);
// Rebuilds both product lists, the unlabelled count and the stock value.
void MajProduits(App& app);
// Refills both product lists by the filter rule: every product when not
// ticked, else those whose stock is below the threshold text.
void filterProducts(App& app, bool ticked, const QString& thresholdText);

// The product numbers in the order of the stock report: upper-cased names
// in cp1252 byte order, equal names in product-number order.
QList<int> stockReportOrder(const ProductTable& table);

// The text of a product in the lists.
QString productRowText(const Product& product);

} // namespace vendalise
