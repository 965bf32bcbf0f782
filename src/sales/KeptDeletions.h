#pragma once

#include "cash/KeptStatements.h"

#include <QByteArray>
#include <QDate>
#include <QList>
#include <QString>

namespace vendalise {

class DataFiles;

// The records a deletion of ledger lines removes are kept byte for byte,
// in the ledger's own record format, in "Relevés" as "es du
// 05-12-2007.orv" (cash/KeptStatements), so that the sales they were stay
// counted where the whole history is read.

// The kept deletions, oldest first.
QList<KeptFile> keptDeletions(const DataFiles& files);

// Replaces the ledger by the records `kept`, keeping the records `removed`
// first when there are any: the new ledger is staged as "~ES.orv", the
// removed records written under a pending name in "Relevés", the staged
// ledger renamed over "es.orv", and the kept file renamed to its own name.
// A failure at any step puts back what the steps before did and throws.
// Returns the kept file's name (none when nothing is removed).
QString replaceLedgerKeeping(const DataFiles& files, const QByteArray& kept,
                             const QByteArray& removed, QDate today);

// Settles the pending kept deletion a crash left, before the ledger is
// read: the ledger was replaced when its staged replacement is no longer
// there (the rename took it), and the kept file takes its name; otherwise
// the deletion did not happen, and the kept file goes, then the staged
// ledger.
void completeDeletions(const DataFiles& files);

} // namespace vendalise
