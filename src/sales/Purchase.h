#pragma once

#include <QString>

namespace vendalise {

class App;

// A purchase confirmed at the shop counter.
struct Purchase {
    QString date;     // today, in the short date form
    int product = 0;  // the current product
    int member = 0;   // the buyer, the current member
    float quantity = 0;
    bool paid = false;
    // The sale entry for the cash register, written when the purchase is paid.
    QString cashEntry;
};

// Writes the purchase, all or nothing: the ledger line, the product's
// lowered stock, then, when it is paid, the sale entry in the register of
// the product. When one write fails the ones made are taken back and the
// failure is thrown; the product table changes only once all are made.
// A ledger that already holds as many lines as a table can is refused
// (TableFull) before anything is written.
struct Booked {
    float stock = 0;
    // Where the cash entry was appended in its ledger (-1 for none).
    qint64 cashAt = -1;
};
Booked bookPurchase(App& app, const Purchase& purchase);

// Books the purchase and tells the user: "Achat enregistré", a reorder or
// negative-stock warning, then the refreshes (the ledger and debts, the
// product lists, the operations list, the register's list). A purchase that
// could not be booked is told as such, and nothing changes.
void EnregistreAchat(App& app, const Purchase& purchase);

} // namespace vendalise
