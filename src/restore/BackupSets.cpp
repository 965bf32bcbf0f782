#include "restore/BackupSets.h"

#include "cash/CashEntries.h"
#include "cash/CashLedger.h"
#include "catalogue/ProductTable.h"
#include "members/MemberTable.h"
#include "sales/Ledger.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QRegularExpression>

#include <algorithm>

namespace vendalise {

namespace {

// The names of the copies, as the backup writes them.
const QString kNames[kBackedUpCount] = {
    QStringLiteral("es.orv"), QStringLiteral("Produits.orv"), QStringLiteral("Adhérents.orv"),
    QStringLiteral("compta.orv"), QStringLiteral("ComptaBoisson.orv")};

int recordLengthOf(BackedUp file) {
    switch (file) {
    case BackedUp::Ledger:
        return kLedgerRecordLength;
    case BackedUp::Products:
        return kProductRecordLength;
    case BackedUp::Members:
        return kMemberRecordLength;
    case BackedUp::MaterialLedger:
    case BackedUp::DrinksLedger:
        break;
    }
    return 0;
}

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
    if (const int length = recordLengthOf(kind)) {
        file.records = bytes.size() / length;
        file.partial = bytes.size() % length != 0;
        return file;
    }
    const Register r = kind == BackedUp::DrinksLedger ? Register::Drinks : Register::Material;
    file.entries = int(readCashEntries(bytes, r).size());
    file.total = registerTotal(bytes, r);
    return file;
}

// The file of a folder whose name is `name`, matched without regard to case.
QString findIn(const QStringList& names, const QString& folder, const QString& name) {
    for (const QString& entry : names)
        if (entry.compare(name, Qt::CaseInsensitive) == 0)
            return QDir(folder).filePath(entry);
    return {};
}

BackupSet setIn(BackupSet::Kind kind, const QString& folder, const QString& suffix) {
    BackupSet set;
    set.kind = kind;
    const QStringList names = QDir(folder).entryList(QDir::Files | QDir::Hidden);
    for (int f = 0; f < kBackedUpCount; ++f) {
        const QString path = findIn(names, folder, kNames[f] + suffix);
        if (!path.isEmpty())
            set.files[f] = readFile(BackedUp(f), path);
    }
    return set;
}

} // namespace

QString backedUpName(BackedUp file) {
    return kNames[int(file)];
}

bool BackupSet::restorable() const {
    return std::all_of(std::begin(files), std::end(files), [](const BackupFile& file) {
        return !file.path.isEmpty() && file.readable && !file.partial;
    });
}

QList<BackupSet> findBackupSets(const QString& dataFolder, const QString& backupFolder) {
    QList<BackupSet> sets;
    // The dated copies: "<name> du dd-mm-yy", a set a day.
    static const QRegularExpression dated(
        QStringLiteral("^(?:es|produits|adhérents|compta|comptaboisson)\\.orv"
                       "( du (\\d\\d)-(\\d\\d)-(\\d\\d))$"),
        QRegularExpression::CaseInsensitiveOption);
    QHash<QString, QDate> days;
    for (const QString& name : QDir(dataFolder).entryList(QDir::Files | QDir::Hidden)) {
        const QRegularExpressionMatch match = dated.match(name);
        if (!match.hasMatch())
            continue;
        // A two-digit year, taken in 1970 to 2069.
        const int year = match.captured(4).toInt();
        const QDate day(year < 70 ? 2000 + year : 1900 + year, match.captured(3).toInt(),
                        match.captured(2).toInt());
        if (day.isValid())
            days.insert(match.captured(1), day);
    }
    for (auto it = days.cbegin(); it != days.cend(); ++it) {
        BackupSet set = setIn(BackupSet::Kind::Dated, dataFolder, it.key());
        set.when = it.value().startOfDay();
        set.label =
            QStringLiteral("Copies du ") + it.value().toString(QStringLiteral("dd/MM/yyyy"));
        sets.append(set);
    }
    // The sets kept before a restore.
    static const QRegularExpression before(QStringLiteral(
        "^Avant restauration du (\\d\\d)-(\\d\\d)-(\\d\\d\\d\\d) (\\d\\d)h(\\d\\d)$"));
    for (const QString& name : QDir(dataFolder).entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        const QRegularExpressionMatch match = before.match(name);
        if (!match.hasMatch())
            continue;
        const QDateTime when(
            QDate(match.captured(3).toInt(), match.captured(2).toInt(), match.captured(1).toInt()),
            QTime(match.captured(4).toInt(), match.captured(5).toInt()));
        if (!when.isValid())
            continue;
        BackupSet set = setIn(BackupSet::Kind::BeforeRestore, QDir(dataFolder).filePath(name), {});
        set.when = when;
        set.label = name;
        sets.append(set);
    }
    // The backup folder's set, dated by its newest file.
    if (!backupFolder.isEmpty() && QFileInfo(backupFolder).isDir() &&
        QDir(backupFolder).absolutePath() != QDir(dataFolder).absolutePath()) {
        BackupSet set = setIn(BackupSet::Kind::BackupFolder, backupFolder, {});
        for (const BackupFile& file : set.files)
            if (!file.path.isEmpty())
                set.when = std::max(set.when, QFileInfo(file.path).lastModified());
        if (set.when.isValid()) {
            set.label = QStringLiteral("Sauvegarde de ") + QDir::toNativeSeparators(backupFolder);
            sets.append(set);
        }
    }
    std::stable_sort(sets.begin(), sets.end(),
                     [](const BackupSet& a, const BackupSet& b) { return a.when > b.when; });
    return sets;
}

} // namespace vendalise
