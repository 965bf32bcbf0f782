#pragma once

#include "cash/CashLedger.h"

#include <QDate>
#include <QList>
#include <QString>

namespace vendalise {

class DataFiles;

// Before a statement empties a register, its ledger is kept byte for byte
// in the data directory's folder "Relevés", as "Compta du 05-12-2007.orv"
// or "ComptaBoisson du 05-12-2007.orv"; a second statement of the same day
// is " (2)", and so on: nothing is ever replaced.
inline const QString kKeptFolder = QStringLiteral("Relevés");

// The name of the n-th statement of a register on a day (n from 1).
QString keptStatementName(Register cashRegister, QDate day, int n);

struct KeptStatement {
    QString path;
    QDate day;
    int n = 1;
};
// The kept statements of a register, oldest first (by day, then number).
// Names that are not a kept statement's are left out.
QList<KeptStatement> keptStatements(const DataFiles& files, Register cashRegister);

// The statement's writes: keeps the ledger, then empties it. The copy is
// first made under a pending name ("~" before it), the ledger is then
// replaced by an empty file, and the copy renamed to its own name. A
// failure at any step puts back what the steps before changed and throws;
// after a crash, completeStatements settles a pending copy. Returns the
// kept statement's name (none for a missing ledger, which is made empty).
QString keepAndEmpty(const DataFiles& files, Register cashRegister, QDate today);

// Settles the pending copies a crash left, before anything reads the
// ledgers: a ledger that no longer begins with its pending copy was
// emptied, and the copy takes its own name; otherwise the statement did not
// happen, and the copy goes. Failures are left for the next start.
void completeStatements(const DataFiles& files);

} // namespace vendalise
