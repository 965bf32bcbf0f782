#pragma once

#include "cash/CashLedger.h"

#include <QByteArray>
#include <QList>
#include <QString>

namespace vendalise {

// A cash entry as read back from a ledger, for the figures: its kind by
// its first line, the date and the member or label it names, and the
// amounts that the register total reads in its lines.
struct ReadEntry {
    enum class Kind { Sale, Settlement, Correction, Other };
    Kind kind = Kind::Other;
    QString date;    // the date text of its first line, as written
    QString who;     // "Prénom NOM" of a sale or settlement, a correction's label
    QString product; // the second line of a sale or settlement, as written
    // Each amount after "Prix total :" or the register's correction marker,
    // in the order the register total adds them.
    QList<double> amounts;
    // The amounts added as the register total adds them.
    float amount() const;
};

// The entries of a ledger's cp1252 text: the lines up to an empty line make
// one entry. Lines that no writer of the program made (a first line of no
// known kind) are an entry of kind Other, whose amounts still count, as
// the register total counts them. Never fails.
QList<ReadEntry> readCashEntries(const QByteArray& ledgerText, Register cashRegister);

} // namespace vendalise
