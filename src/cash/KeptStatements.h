#pragma once

#include "cash/CashLedger.h"

#include <QDate>
#include <QList>
#include <QString>

#include <functional>

namespace vendalise {

class DataFiles;

// What a change that loses bytes keeps of them, byte for byte, in the data
// directory's folder "Relevés": a statement keeps its register's ledger
// ("Compta du 05-12-2007.orv", "ComptaBoisson du 05-12-2007.orv"), a
// deletion of ledger lines the records it removes ("es du
// 05-12-2007.orv"). A second of the same kind and day is " (2)", and so on:
// nothing kept is ever replaced.
inline const QString kKeptFolder = QStringLiteral("Relevés");

// The name of the n-th kept file of a kind (the base of its names) on a
// day (n from 1).
QString keptName(const QString& base, QDate day, int n);
// The name of the n-th statement of a register on a day.
QString keptStatementName(Register cashRegister, QDate day, int n);

struct KeptFile {
    QString path;
    QDate day;
    int n = 1;
};
using KeptStatement = KeptFile;
// The kept files of a kind, oldest first (by day, then number). Names that
// are not a kept file's, and pending ones, are left out.
QList<KeptFile> keptFiles(const DataFiles& files, const QString& base);
// The kept statements of a register.
QList<KeptStatement> keptStatements(const DataFiles& files, Register cashRegister);

// A change kept all or nothing with the bytes it loses.
struct Keeping {
    // Writes the kept file whole under the pending path it is given.
    std::function<void(const QString& pending)> keep;
    // Makes the change; a failure leaves the files as before and throws.
    std::function<void()> change;
    // Undoes the change, when the kept file cannot take its name.
    std::function<void()> undo;
    // What a failure to keep is told as, before the system's description.
    QString keepFailure;
    // Takes back what was made ready for the change, once the pending file
    // is gone after a failure (none when nothing was).
    std::function<void()> abandon = {};
};
// Keeps, then changes: the kept file is first written under a pending name
// ("~" before its own), the change is then made, and the kept file renamed
// to its own name, the first of the day that is free. A failure at any
// step puts back what the steps before did and throws; after a crash,
// settlePending settles the pending file. Returns the kept file's name.
QString keepWith(const DataFiles& files, const QString& base, QDate today, const Keeping& keeping);

// Settles the pending files of a kind that a crash left, before anything
// reads the files they go with: when `changed` says the change was made,
// the pending file takes its own name (the next free one when that was
// taken since); otherwise the change did not happen, and it goes.
// Failures are left for the next start. Returns whether no pending file
// of the kind is left.
bool settlePending(const DataFiles& files, const QString& base,
                   const std::function<bool(const QString& pending)>& changed);

// The statement's writes: keeps the ledger, then empties it (keepWith).
// Returns the kept statement's name (none for a missing ledger, which is
// made empty).
QString keepAndEmpty(const DataFiles& files, Register cashRegister, QDate today);

// Settles the statements' pending copies: a ledger that no longer begins
// with its pending copy was emptied.
void completeStatements(const DataFiles& files);

} // namespace vendalise
