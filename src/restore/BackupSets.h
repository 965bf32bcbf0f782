#pragma once

#include "backup/BackupNames.h"
#include "backup/Manifest.h"

#include <QDateTime>
#include <QList>
#include <QString>

namespace vendalise {

// One file of a backup set, as the program's own readers find it once the
// set is read (readBackupSet); before, only its path is known.
struct BackupFile {
    QString path;          // empty when the set lacks it
    bool readable = false; // there and read whole
    bool tooLarge = false; // more than its table (or a register) can hold: not read
    bool differs = false;  // not as the set's manifest lists it
    bool partial = false;  // a record file ending in a partial record
    qint64 records = 0;    // members, products or ledger lines
    int entries = 0;       // a register's cash entries
    float total = 0;       // a register's total, as its sum gives it
};

// A set of the five files: the dated copies of one day in the data
// directory ("es.orv du 05-12-07"...), the copies of the backup folder, or
// those kept in a folder "Avant restauration du JJ-MM-AAAA HHhMM".
struct BackupSet {
    enum class Kind { Dated, BackupFolder, BeforeRestore };
    Kind kind = Kind::Dated;
    QDateTime when; // the day (at midnight), or the day and time of a restore
    QString label;  // as the list shows it
    BackupFile files[kBackedUpCount];
    // Its manifest ("" for a set made before backups wrote one), its own
    // folder of kept files ("" for the dated sets, whose kept files are the
    // data directory's), and the data directory's.
    QString manifestPath;
    QString keptFolder;
    QString liveKeptFolder;
    bool read = false; // what its files hold is known
    // The folders "Relevés" of the folders kept before a restore, where a
    // later restore may have taken a kept file that the set lists.
    QStringList formerKeptFolders;
    // Once read: the manifest, and the kept files it lists, each where it
    // is found (the set's own folder first, then the data directory's,
    // then those kept before a restore; "" when none holds it as listed).
    std::optional<Manifest> manifest;
    struct Kept {
        QString name;
        QString path;
    };
    QList<Kept> kept;
    QDateTime made;          // from the manifest, or the newest of its five files
    QString liveFolder;      // the data directory
    bool sameAsLive = false; // its five files byte for byte the current ones
    // Every file there and read whole, none ending in a partial record, and,
    // when it has a manifest, every file it lists as it lists it.
    bool restorable() const;
    // What keeps it from being restored ("" for none).
    QStringList faults() const;
};

// Every set found, newest first: the dated sets of the data directory
// `dataFolder`, the sets kept before a restore there, and the set of the
// backup folder (when there is one; its date is that of its newest file).
// Each folder is listed once and no file is opened, so that years of daily
// copies are listed at once; a set's files are read when it is shown.
QList<BackupSet> findBackupSets(const QString& dataFolder, const QString& backupFolder);

// Reads what the set's files hold with the program's own readers. Reading
// never writes, and a file that cannot be read is shown so.
void readBackupSet(BackupSet& set);

} // namespace vendalise
