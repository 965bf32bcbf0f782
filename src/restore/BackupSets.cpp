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
#include <QRegularExpression>

#include <algorithm>

namespace vendalise {

namespace {

// The names of the copies, as the backup writes them.
const QString kNames[kBackedUpCount] = {
    QStringLiteral("es.orv"), QStringLiteral("Produits.orv"), QStringLiteral("Adhérents.orv"),
    QStringLiteral("compta.orv"), QStringLiteral("ComptaBoisson.orv")};

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

// Which of the five a file's name is ("es.orv", matched without regard to
// case), or -1.
int backedUpIndex(const QString& name) {
    for (int f = 0; f < kBackedUpCount; ++f)
        if (name.compare(kNames[f], Qt::CaseInsensitive) == 0)
            return f;
    return -1;
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

QString backedUpName(BackedUp file) {
    return kNames[int(file)];
}

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
    static const QRegularExpression before(
        QStringLiteral("^Avant restauration du (\\d\\d)-(\\d\\d)-(\\d\\d\\d\\d) "
                       "(\\d\\d)h(\\d\\d)(?: \\(\\d+\\))?$"));
    const QString kSuffix = QStringLiteral(" du dd-mm-yy");
    QHash<QDate, qsizetype> days;
    for (const QString& name : DataFiles::namesIn(dataFolder)) {
        const QString path = dataFolder + QLatin1Char('/') + name;
        if (name.startsWith(u"Avant restauration du ")) {
            const QRegularExpressionMatch match = before.match(name);
            if (!match.hasMatch() || !QFileInfo(path).isDir())
                continue;
            const QDateTime when(QDate(match.captured(3).toInt(), match.captured(2).toInt(),
                                       match.captured(1).toInt()),
                                 QTime(match.captured(4).toInt(), match.captured(5).toInt()));
            BackupSet set = setIn(BackupSet::Kind::BeforeRestore, path);
            if (!when.isValid() || !holdsAny(set))
                continue;
            set.when = when;
            set.label = name;
            sets.append(set);
            continue;
        }
        // Most names are dated copies: told apart without a pattern.
        if (name.size() <= kSuffix.size())
            continue;
        const QStringView suffix = QStringView(name).right(kSuffix.size());
        const auto number = [&](int at) {
            const char16_t tens = suffix[at].unicode(), units = suffix[at + 1].unicode();
            if (tens < u'0' || tens > u'9' || units < u'0' || units > u'9')
                return -1;
            return (tens - u'0') * 10 + (units - u'0');
        };
        if (!suffix.startsWith(u" du ") || suffix[6] != u'-' || suffix[9] != u'-')
            continue;
        const int f = backedUpIndex(name.left(name.size() - kSuffix.size()));
        // A two-digit year, taken in 1970 to 2069.
        const int year = number(10);
        const QDate day(year < 70 ? 2000 + year : 1900 + year, number(7), number(4));
        if (f < 0 || year < 0 || !day.isValid())
            continue;
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
