#include "restore/BackupSets.h"

#include "cash/CashEntries.h"
#include "cash/CashLedger.h"
#include "catalogue/ProductTable.h"
#include "members/MemberTable.h"
#include "platform/DataFiles.h"
#include "sales/Ledger.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QHash>

#include <algorithm>

namespace vendalise {

namespace {

// Reads one file of a set with the program's own rules.
BackupFile readFile(BackedUp kind, const QString& path) {
    BackupFile file;
    file.path = path;
    QFile source(path);
    if (!source.open(QIODevice::ReadOnly))
        return file;
    const QByteArray bytes = source.readAll();
    if (source.error() != QFileDevice::NoError)
        return file;
    file.readable = true;
    if (const int length = backedUp(kind).recordLength) {
        file.records = bytes.size() / length;
        file.partial = bytes.size() % length != 0;
        return file;
    }
    const Register r = kind == BackedUp::DrinksLedger ? Register::Drinks : Register::Material;
    file.entries = int(readCashEntries(bytes, r).size());
    file.total = registerTotal(bytes, r);
    return file;
}

// The files of a folder's set: the five under their own names.
BackupSet setIn(BackupSet::Kind kind, const QString& folder) {
    BackupSet set;
    set.kind = kind;
    QDirIterator entries(folder, QDir::Files | QDir::Hidden);
    while (entries.hasNext()) {
        entries.next();
        const int f = backedUpIndex(entries.fileName());
        // Of two spellings (where names differ by case), the first in code order.
        if (f >= 0 && (set.files[f].path.isEmpty() || entries.filePath() < set.files[f].path))
            set.files[f].path = entries.filePath();
    }
    return set;
}

bool holdsAny(const BackupSet& set) {
    return std::any_of(std::begin(set.files), std::end(set.files),
                       [](const BackupFile& file) { return !file.path.isEmpty(); });
}

} // namespace

bool BackupSet::restorable() const {
    return read && std::all_of(std::begin(files), std::end(files), [](const BackupFile& file) {
               return !file.path.isEmpty() && file.readable && !file.partial;
           });
}

void readBackupSet(BackupSet& set) {
    for (int f = 0; f < kBackedUpCount; ++f)
        if (!set.files[f].path.isEmpty())
            set.files[f] = readFile(BackedUp(f), set.files[f].path);
    set.read = true;
}

QList<BackupSet> findBackupSets(const QString& dataFolder, const QString& backupFolder) {
    QList<BackupSet> sets;
    // The dated copies, "<name> du dd-mm-yy", a set a day, and the folders
    // kept before a restore, found in one listing of the folder.
    QHash<QDate, qsizetype> days;
    for (const QString& name : DataFiles::namesIn(dataFolder)) {
        const QString path = dataFolder + QLatin1Char('/') + name;
        if (const auto when = readBeforeRestoreName(name)) {
            if (!QFileInfo(path).isDir())
                continue;
            BackupSet set = setIn(BackupSet::Kind::BeforeRestore, path);
            if (!holdsAny(set))
                continue;
            set.when = *when;
            set.label = name;
            sets.append(set);
            continue;
        }
        const auto dated = readDatedName(name);
        if (!dated)
            continue;
        const int f = backedUpIndex(QStringView(name).left(dated->stem));
        if (f < 0)
            continue;
        const QDate day = dated->day;
        auto found = days.constFind(day);
        if (found == days.cend()) {
            BackupSet set;
            set.kind = BackupSet::Kind::Dated;
            set.when = day.startOfDay();
            set.label = QStringLiteral("Copies du ") + day.toString(QStringLiteral("dd/MM/yyyy"));
            sets.append(set);
            found = days.insert(day, sets.size() - 1);
        }
        // Of two spellings (where names differ by case), the first in code order.
        BackupFile& file = sets[*found].files[f];
        if (file.path.isEmpty() || path < file.path)
            file.path = path;
    }
    // The backup folder's set, dated by its newest file.
    if (!backupFolder.isEmpty() && QFileInfo(backupFolder).isDir() &&
        QDir(backupFolder).absolutePath() != QDir(dataFolder).absolutePath()) {
        BackupSet set = setIn(BackupSet::Kind::BackupFolder, backupFolder);
        for (const BackupFile& file : set.files)
            if (!file.path.isEmpty())
                set.when = std::max(set.when, QFileInfo(file.path).lastModified());
        if (set.when.isValid()) {
            set.label = QStringLiteral("Sauvegarde de ") + QDir::toNativeSeparators(backupFolder);
            sets.append(set);
        }
    }
    // Newest first; two sets of one time (a restore's, the same minute) in
    // the order of their names.
    std::sort(sets.begin(), sets.end(), [](const BackupSet& a, const BackupSet& b) {
        return a.when != b.when ? a.when > b.when : a.label > b.label;
    });
    return sets;
}

} // namespace vendalise
