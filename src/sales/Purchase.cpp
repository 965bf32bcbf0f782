#include "sales/Purchase.h"

#include "cash/CashLedger.h"
#include "catalogue/Catalogue.h"
#include "core/App.h"
#include "core/Names.h"
#include "platform/DataFiles.h"
#include "platform/Limits.h"
#include "platform/RecordFields.h"
#include "sales/Ledger.h"

namespace vendalise {

Booked bookPurchase(App& app, const Purchase& purchase) {
    Catalogue& catalogue = app.part<Catalogue>();
    LedgerLine line{purchase.date, static_cast<qint16>(purchase.product),
                    static_cast<qint16>(purchase.member), purchase.quantity,
                    purchase.paid ? kPaid : kOwed};

    RecordFile ledger(app.files, kLedgerFile, kLedgerRecordLength);
    if (ledger.count() >= kMaxRecords)
        throw TableFull(kLedgerFile);
    ledger.append(ledgerRecord(line));
    Booked booked;
    try {
        RecordFile products(app.files, kProductFile, kProductRecordLength);
        const QByteArray before = products.read(purchase.product);
        booked.stock = floatAt(before, kProductNameWidth + 4) - purchase.quantity;
        products.write(purchase.product,
                       productRecord(textAt(before, 0, kProductNameWidth),
                                     floatAt(before, kProductNameWidth), booked.stock));
        if (purchase.paid) {
            try {
                const QString productName = catalogue.table[purchase.product].name;
                booked.cashAt =
                    appendCashEntry(app, registerOf(productName), purchase.cashEntry);
            } catch (...) {
                takeBackQuietly([&] { products.write(purchase.product, before); });
                throw;
            }
        }
    } catch (...) {
        takeBackQuietly([&] { ledger.takeBack(); });
        throw;
    }
    catalogue.table[purchase.product].stock = booked.stock;
    return booked;
}

void EnregistreAchat(App& app, const Purchase& purchase) {
    Booked booked;
    try {
        booked = bookPurchase(app, purchase);
    } catch (const TableFull&) {
        app.tell(QStringLiteral("Le fichier des ventes est plein : l'achat n'est pas enregistré."),
                 QStringLiteral("Achat impossible"), Messages::Icon::Critical);
        return;
    } catch (const FileError& error) {
        app.tellNotWritten(QStringLiteral("L'achat n'a pas pu être enregistré :\r\n"), error);
        return;
    }

    const Catalogue& catalogue = app.part<Catalogue>();
    const QString name = catalogue.table[purchase.product].name;
    app.tell(QStringLiteral("Achat enregistré"), QStringLiteral("Achat"),
             Messages::Icon::Information);
    // The first test comes first: with a threshold of 0 or more, a negative
    // stock brings the reorder message.
    if (booked.stock <= catalogue.threshold)
        app.tell(QStringLiteral("Attention, recommander : ") + name,
                 QStringLiteral("Commande à prévoir"), Messages::Icon::Information);
    else if (booked.stock < 0)
        app.tell(QStringLiteral("Stock négatif, Recommander d'urgence"),
                 QStringLiteral("Livraison différée"), Messages::Icon::Critical);

    // The purchase is booked; a refresh that fails is told on its own.
    app.run([&] { ChargeVentes(app); });
    app.run([&] { MajProduits(app); });
    app.run([&] { MajVentes(app); });
    if (purchase.paid)
        app.run([&] {
            showAppendedEntry(app, registerOf(name), purchase.cashEntry, booked.cashAt);
        });
}

} // namespace vendalise
