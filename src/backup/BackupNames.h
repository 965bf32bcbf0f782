#pragma once

#include "platform/DataFiles.h"

#include <QDate>
#include <QDateTime>
#include <QString>
#include <QStringView>

#include <array>
#include <optional>

// What a backup is, in one place: the files it holds, the names of its
// copies and folders, and whether a restore is still to be finished.
namespace vendalise {

// The five data files a backup holds, in the order of the backup (the
// inventory is not part of one).
enum class BackedUp { Ledger, Products, Members, MaterialLedger, DrinksLedger };
inline constexpr int kBackedUpCount = 5;

struct BackedUpFile {
    QString live;     // the data file
    QString copy;     // its copy's name, in the backup folder and before a date suffix
    QString told;     // its name in the backup's messages
    int recordLength; // of a record file, or 0 for a register's text
};
const std::array<BackedUpFile, kBackedUpCount>& backedUpFiles();
const BackedUpFile& backedUp(BackedUp file);
// Which of the five a copy's name is (without regard to case), or -1.
int backedUpIndex(QStringView copyName);

// The suffix of the dated copies, " du dd-mm-yy", built from the user's
// short date form by character positions.
QString DateMF(QDate today);
// The day of a name ending in a date suffix, and the length of the name
// before it; nullopt for any other name. A two-digit year is taken in 1970
// to 2069.
struct Dated {
    QDate day;
    qsizetype stem = 0;
};
std::optional<Dated> readDatedName(QStringView name);

// The folder that keeps the current files before a restore, "Avant
// restauration du dd-MM-yyyy HHhmm", with " (2)"... after it when a restore
// of the same minute made one.
QString beforeRestoreName(const QDateTime& when, int n = 1);
// The name a restore made at `when` gives its folder in `dataFolder`.
QString freeBeforeRestoreName(const QString& dataFolder, const QDateTime& when);
// The time of such a folder's name, or nullopt.
std::optional<QDateTime> readBeforeRestoreName(const QString& name);

// A restore's work folder, its journal, and whether a restore is left to
// finish: Pending when its journal is there (start-up carries it out, and
// nothing may be recorded until then), Leftovers when only files of its own
// are (a crash before its journal or after its commit).
inline const QString kRestoreWorkFolder = QStringLiteral("~Restauration");
inline const QString kRestoreJournal = kRestoreWorkFolder + QStringLiteral("/Restauration.jnl");
enum class RestoreState { None, Leftovers, Pending };
RestoreState restoreState(const DataFiles& files);

} // namespace vendalise
