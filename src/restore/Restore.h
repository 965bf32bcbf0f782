#pragma once

#include "restore/BackupSets.h"

#include <QDateTime>
#include <QString>

#include <functional>

namespace vendalise {

class DataFiles;

// The restore's part of the shared state: how every table is read again and
// every list refreshed after a restore, as at start-up (the shell sets it).
struct Restoration {
    std::function<void()> reloadTables;
};

// The set as the restore's messages name it, after "La restauration du":
// "05/12/2007", or "08/12/2026 à 09h41" for a set kept before a restore.
QString restoreDate(const BackupSet& set);

// Puts the five files of `set` in place of the data directory's, all or
// nothing. The current files are kept first, byte for byte, in a folder
// "Avant restauration du dd-MM-yyyy HHhmm" of the data directory (" (2)"...
// after it when a restore of the same minute made one), whose name is
// returned. Then the set is copied beside the files under temporary names
// and a journal naming them is written; each file is then replaced from its
// copy. Removing the journal is the commit: a failure before it puts every
// former file back and removes what the restore made, then throws; a crash
// leaves the journal, which completeRestore settles.
QString restoreSet(const DataFiles& files, const BackupSet& set, const QDateTime& now);

// At start-up, before any table is read: a journal left by a crash is
// carried out to its end (the set restored, or, when the crash came while
// a failure was being put back, the former files). Returns the sentence to
// tell once, or "" when there was nothing to do. Throws FileError when it
// cannot: the journal stays and the next start tries again.
QString completeRestore(const DataFiles& files);

} // namespace vendalise
