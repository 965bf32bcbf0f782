#include "restore/BackupSets.h"

#include "cash/CashEntries.h"
#include "cash/CashLedger.h"
#include "cash/KeptStatements.h"
#include "catalogue/ProductTable.h"
#include "members/MemberTable.h"
#include "platform/DataFiles.h"
#include "platform/Limits.h"
#include "sales/Ledger.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QHash>

#include <algorithm>

namespace vendalise {

namespace {

// The most a set's file may hold to be read: what its table can hold, or a
// register's text as the program reads one.
qint64 sizeBound(BackedUp kind) {
    const int length = backedUp(kind).recordLength;
    return length ? qint64(kMaxRecords) * length + length - 1 : DataFiles::kMaxTextBytes;
}

// Reads one file of a set with the program's own rules, and compares it
// with its manifest entry when there is one.
BackupFile readFile(BackedUp kind, const QString& path, const ManifestEntry* listed,
                    bool manifested) {
    BackupFile file;
    file.path = path;
    QFile source(path);
    if (!source.open(QIODevice::ReadOnly))
        return file;
    if (source.size() > sizeBound(kind)) {
        file.tooLarge = true;
        return file;
    }
    const QByteArray bytes = source.read(sizeBound(kind) + 1);
    if (source.error() != QFileDevice::NoError || bytes.size() > sizeBound(kind))
        return file;
    file.readable = true;
    file.differs = manifested && (!listed || !listed->matches(bytes));
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

// The bytes of a file, when it is not larger than a register may be.
std::optional<QByteArray> readBounded(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.size() > DataFiles::kMaxTextBytes)
        return std::nullopt;
    QByteArray bytes = file.read(DataFiles::kMaxTextBytes + 1);
    if (file.error() != QFileDevice::NoError || bytes.size() > DataFiles::kMaxTextBytes)
        return std::nullopt;
    return bytes;
}

// The files of a folder's set: the five under their own names.
BackupSet setIn(BackupSet::Kind kind, const QString& folder) {
    BackupSet set;
    set.kind = kind;
    set.keptFolder = folder + QLatin1Char('/') + kKeptFolder;
    QDirIterator entries(folder, QDir::Files | QDir::Hidden);
    while (entries.hasNext()) {
        entries.next();
        if (entries.fileName().compare(kManifestFile, Qt::CaseInsensitive) == 0)
            set.manifestPath = entries.filePath();
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

QStringList BackupSet::faults() const {
    QStringList missing, faults;
    for (int f = 0; f < kBackedUpCount; ++f) {
        const BackupFile& file = files[f];
        const QString name = backedUp(BackedUp(f)).copy;
        if (file.path.isEmpty())
            missing.append(name);
        else if (file.tooLarge)
            faults.append(name + QStringLiteral(" trop grand pour être lu"));
        else if (!file.readable)
            faults.append(name + QStringLiteral(" illisible"));
        else if (file.partial)
            faults.append(name + QStringLiteral(" : fiche incomplète"));
        else if (file.differs)
            faults.append(name + QStringLiteral(" autre que dans ") + kManifestFile);
    }
    if (!manifestPath.isEmpty() && !manifest)
        faults.append(kManifestFile + QStringLiteral(" illisible"));
    for (const Kept& file : kept)
        if (file.path.isEmpty())
            missing.append(keptEntryName(file.name));
    if (!missing.isEmpty())
        faults.prepend(QStringLiteral("Il manque ") + missing.join(QStringLiteral(", ")));
    return faults;
}

bool BackupSet::restorable() const {
    return read && faults().isEmpty();
}

void readBackupSet(BackupSet& set) {
    set.manifest.reset();
    set.kept.clear();
    if (!set.manifestPath.isEmpty())
        if (const auto bytes = readBounded(set.manifestPath))
            set.manifest = readManifest(*bytes);
    const bool manifested = !set.manifestPath.isEmpty();
    // A folder kept before a restore says its time in its name.
    set.made = set.manifest                                 ? set.manifest->made
               : set.kind == BackupSet::Kind::BeforeRestore ? set.when
                                                            : QDateTime();
    for (int f = 0; f < kBackedUpCount; ++f) {
        if (set.files[f].path.isEmpty())
            continue;
        const ManifestEntry* listed =
            set.manifest ? set.manifest->find(backedUp(BackedUp(f)).copy) : nullptr;
        set.files[f] = readFile(BackedUp(f), set.files[f].path, listed, manifested);
        if (!set.manifest && set.kind != BackupSet::Kind::BeforeRestore)
            set.made = std::max(set.made, QFileInfo(set.files[f].path).lastModified());
    }
    set.sameAsLive = std::all_of(std::begin(set.files), std::end(set.files),
                                 [&](const BackupFile& file) { return file.readable; });
    for (int f = 0; f < kBackedUpCount && set.sameAsLive; ++f) {
        // Most sets differ from the current files in size: no byte is read.
        const QString live = set.liveFolder + QLatin1Char('/') + backedUp(BackedUp(f)).live;
        const QString& copy = set.files[f].path;
        if (QFileInfo(live).size() != QFileInfo(copy).size()) {
            set.sameAsLive = false;
        } else {
            const auto a = readBounded(live), b = readBounded(copy);
            set.sameAsLive = a && b && *a == *b;
        }
    }
    if (set.manifest)
        for (const QString& name : set.manifest->keptNames()) {
            const ManifestEntry* listed = set.manifest->find(keptEntryName(name));
            BackupSet::Kept file{name, {}};
            const QStringList folders =
                QStringList{set.keptFolder, set.liveKeptFolder} + set.formerKeptFolders;
            for (const QString& folder : folders) {
                const QString path = folder + QLatin1Char('/') + name;
                // Most files of another size are other files: no byte is read.
                if (folder.isEmpty() || QFileInfo(path).size() != listed->size)
                    continue;
                const auto bytes = readBounded(path);
                if (bytes && listed->matches(*bytes)) {
                    file.path = path;
                    break;
                }
            }
            set.kept.append(file);
        }
    set.read = true;
}

QList<BackupSet> findBackupSets(const QString& dataFolder, const QString& backupFolder) {
    QList<BackupSet> sets;
    // The dated copies, "<name> du dd-mm-yy", a set a day, and the folders
    // kept before a restore, found in one listing of the folder.
    QHash<QDate, qsizetype> days;
    QStringList formerKeptFolders;
    for (const QString& name : DataFiles::namesIn(dataFolder)) {
        const QString path = dataFolder + QLatin1Char('/') + name;
        if (const auto when = readBeforeRestoreName(name)) {
            if (!QFileInfo(path).isDir())
                continue;
            formerKeptFolders.append(path + QLatin1Char('/') + kKeptFolder);
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
        const QStringView stem = QStringView(name).left(dated->stem);
        const int f = backedUpIndex(stem);
        const bool manifest = stem.compare(kManifestFile, Qt::CaseInsensitive) == 0;
        if (f < 0 && !manifest)
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
        if (manifest) {
            sets[*found].manifestPath = path;
            continue;
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
    // A manifest alone is no set.
    sets.removeIf([](const BackupSet& set) { return !holdsAny(set); });
    for (BackupSet& set : sets) {
        set.liveFolder = dataFolder;
        set.liveKeptFolder = dataFolder + QLatin1Char('/') + kKeptFolder;
        set.formerKeptFolders = formerKeptFolders;
        if (set.kind == BackupSet::Kind::Dated)
            set.keptFolder.clear();
    }
    // Newest first; two sets of one time (a restore's, the same minute) in
    // the order of their names.
    std::sort(sets.begin(), sets.end(), [](const BackupSet& a, const BackupSet& b) {
        return a.when != b.when ? a.when > b.when : a.label > b.label;
    });
    return sets;
}

} // namespace vendalise
