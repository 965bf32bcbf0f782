// A restore, all or nothing. Its part of the contract with the write-point
// roads: until the journal is written only new files are made, in a work
// folder of the data directory (the former files kept, the set copied), and
// a failure removes them; once it is written, the journal says how to carry
// the restore to its end, each step a whole-file copy that can be made again,
// and removing it is the commit. A failure before the commit turns the
// journal round (the kept files are put back) and carries that out, so the
// files are as before; a crash leaves a journal that start-up carries out.
// Everything the restore makes is in its work folder, so that a start finds
// in one look that there is nothing to do.

#include "restore/Restore.h"

#include "backup/Manifest.h"
#include "cash/KeptStatements.h"
#include "platform/Cp1252.h"
#include "platform/DataFiles.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>

namespace vendalise {

namespace {

// The work folder; the journal, the set's copies ("~Restauration/es.orv"...)
// and, while the restore is being prepared, the former files are in it.
const QString& kWorkFolder = kRestoreWorkFolder;
const QString& kJournal = kRestoreJournal;
const QString kJournalHeading = QStringLiteral("Vendalise restauration");
const QString kForward = QStringLiteral("terminer");
const QString kBack = QStringLiteral("annuler");
// The folder of the former files while the restore is being prepared; it
// takes its dated name in the data directory before the journal is written.
const QString kPendingFolder = kWorkFolder + QStringLiteral("/Avant");

struct Step {
    QString source; // relative to the data directory; "" removes the target
    QString target;
};

// What is left to do, as the journal says it.
struct Journal {
    bool forward = true;
    QString date;
    QString kept; // the folder of the former files
    QList<Step> steps;
};

QString journalText(const Journal& journal) {
    QString text = kJournalHeading + QStringLiteral("\r\n") + (journal.forward ? kForward : kBack) +
                   QStringLiteral("\r\n") + journal.date + QStringLiteral("\r\n") + journal.kept +
                   QStringLiteral("\r\n");
    for (const Step& step : journal.steps)
        text += step.source + QLatin1Char('\t') + step.target + QStringLiteral("\r\n");
    return text;
}

Journal readJournal(const DataFiles& files) {
    const QStringList lines = files.readLines(kJournal);
    Journal journal;
    // The five files' steps, then those of the kept files, if any.
    const bool known = lines.size() >= 4 + kBackedUpCount && lines[0] == kJournalHeading &&
                       (lines[1] == kForward || lines[1] == kBack);
    if (!known)
        throw FileError(FileError::Kind::Other, files.path(kJournal),
                        QStringLiteral("Le journal de la restauration est illisible"));
    journal.forward = lines[1] == kForward;
    journal.date = lines[2];
    journal.kept = lines[3];
    for (qsizetype i = 4; i < lines.size(); ++i) {
        const qsizetype tab = lines[i].indexOf(QLatin1Char('\t'));
        if (tab < 0)
            throw FileError(FileError::Kind::Other, files.path(kJournal),
                            QStringLiteral("Le journal de la restauration est illisible"));
        journal.steps.append({lines[i].left(tab), lines[i].mid(tab + 1)});
    }
    return journal;
}

QString stagingName(BackedUp file) {
    return kWorkFolder + QLatin1Char('/') + backedUp(file).live;
}

// A file or folder that only the restore makes, always under this spelling:
// its path needs no look-up of other spellings, which in a folder of years
// of dated copies would list them all at every start.
QString own(const DataFiles& files, const QString& name) {
    return files.current() + QLatin1Char('/') + name;
}

// Each step is a whole-file copy (or a removal), so a journal carried out
// halfway can be carried out again from its start. The copies it names are
// removed only once every step is made: a copy missing is one whose step
// was made.
void carryOut(const DataFiles& files, const Journal& journal) {
    for (const Step& step : journal.steps) {
        if (step.source.isEmpty())
            files.removeFile(files.path(step.target));
        else if (QFileInfo::exists(files.path(step.source)))
            files.copyFile(step.source, step.target);
    }
}

// Removes a folder of the restore's and what it holds.
void removeFolder(const DataFiles& files, const QString& name) {
    const QString folder = own(files, name);
    if (!QFileInfo(folder).isDir())
        return;
    const QDir dir(folder);
    for (const QString& below : dir.entryList(QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden))
        removeFolder(files, name + QLatin1Char('/') + below);
    for (const QString& file : dir.entryList(QDir::Files | QDir::Hidden))
        files.removeFile(dir.filePath(file));
    QDir().rmdir(folder);
}

// The set's kept files, copied into the work folder.
const QString kStagedKept = kWorkFolder + QLatin1Char('/') + kKeptFolder;

void removeStaging(const DataFiles& files) {
    for (int f = 0; f < kBackedUpCount; ++f)
        files.removeFile(own(files, stagingName(BackedUp(f))));
    removeFolder(files, kStagedKept);
}

// After the journal is carried out: what the restore made is removed, and
// the kept files too when they were put back; the journal goes last, then
// its folder.
void finish(const DataFiles& files, const Journal& journal) {
    removeStaging(files);
    if (!journal.forward) {
        removeFolder(files, journal.kept);
        removeFolder(files, kPendingFolder);
    }
    files.removeFile(own(files, kJournal));
    // With whatever a crash left in it (a journal's temporary file).
    removeFolder(files, kWorkFolder);
}

} // namespace

QString restoreDate(const BackupSet& set) {
    if (set.kind == BackupSet::Kind::Dated)
        return set.when.toString(QStringLiteral("dd/MM/yyyy"));
    // The backup folder's set by the time it was made, as the list shows it.
    const QDateTime& when =
        set.kind == BackupSet::Kind::BackupFolder && set.made.isValid() ? set.made : set.when;
    return when.toString(QStringLiteral("dd/MM/yyyy 'à' HH'h'mm"));
}

QString restoreSet(const DataFiles& files, const BackupSet& set, const QDateTime& now) {
    for (int f = 0; f < kBackedUpCount; ++f)
        files.checkWritable(backedUp(BackedUp(f)).live);
    if (restoreState(files) == RestoreState::Pending)
        throw FileError(FileError::Kind::Other, own(files, kJournal),
                        QStringLiteral("Une restauration interrompue reste à terminer : "
                                       "relancez le programme"));
    for (int f = 0; f < kBackedUpCount; ++f)
        if (set.files[f].path.isEmpty())
            throw FileError(FileError::Kind::Missing, backedUp(BackedUp(f)).copy,
                            QStringLiteral("La sauvegarde ne contient pas ce fichier"));
    for (const BackupSet::Kept& file : set.kept)
        if (file.path.isEmpty())
            throw FileError(FileError::Kind::Missing, keptEntryName(file.name),
                            QStringLiteral("La sauvegarde ne contient pas ce fichier"));

    // The history as the set knew it: the kept files its manifest does not
    // list go with the former files, those it lists and the data directory
    // lacks come back. One it lists that the data directory holds with other
    // bytes (kept after a restore took the listed one, under the name that
    // became free) does both. A set without a manifest leaves the history
    // as it is.
    const QString liveKept = files.path(kKeptFolder);
    const QStringList current = keptFileNames(liveKept);
    QStringList leaving, replaced;
    QList<BackupSet::Kept> coming;
    if (set.manifest) {
        const QStringList listed = set.manifest->keptNames();
        for (const QString& name : current)
            if (!listed.contains(name, Qt::CaseInsensitive))
                leaving.append(name);
        for (const BackupSet::Kept& file : set.kept) {
            const auto live =
                std::find_if(current.cbegin(), current.cend(), [&](const QString& name) {
                    return name.compare(file.name, Qt::CaseInsensitive) == 0;
                });
            if (live != current.cend()) {
                const QByteArray bytes = files.readText(liveKept + QLatin1Char('/') + *live);
                if (set.manifest->find(keptEntryName(file.name))->matches(bytes))
                    continue;
                leaving.append(*live);
                replaced.append(*live);
            }
            coming.append(file);
        }
    }

    const QString kept = freeBeforeRestoreName(files.current(), now);

    Journal forward{true, restoreDate(set), kept, {}};
    Journal back{false, forward.date, kept, {}};
    // Until the journal is written, only new files are made.
    try {
        removeFolder(files, kWorkFolder);
        files.makeFolder(kWorkFolder);
        const QString folder = files.makeFolder(kPendingFolder);
        // The former files and history, with their manifest, so that
        // restoring this folder puts them back as they are.
        Manifest former{now, {}};
        for (int f = 0; f < kBackedUpCount; ++f) {
            const QString live = backedUp(BackedUp(f)).live;
            const QString copy = kept + QLatin1Char('/') + backedUp(BackedUp(f)).copy;
            if (QFileInfo::exists(files.path(live))) {
                const QString target = folder + QLatin1Char('/') + backedUp(BackedUp(f)).copy;
                files.copyFile(live, target);
                former.entries.append(
                    manifestEntry(backedUp(BackedUp(f)).copy, files.readText(target)));
                back.steps.append({copy, live});
            } else {
                back.steps.append({{}, live});
            }
        }
        for (const QString& name : current)
            former.entries.append(manifestEntry(
                keptEntryName(name), files.readText(liveKept + QLatin1Char('/') + name)));
        if (!leaving.isEmpty())
            files.makeFolder(kPendingFolder + QLatin1Char('/') + kKeptFolder);
        for (const QString& name : leaving) {
            files.copyFile(liveKept + QLatin1Char('/') + name,
                           folder + QLatin1Char('/') + keptEntryName(name));
            back.steps.append({kept + QLatin1Char('/') + keptEntryName(name), keptEntryName(name)});
        }
        files.replaceText(kPendingFolder + QLatin1Char('/') + kManifestFile, manifestText(former));
        for (int f = 0; f < kBackedUpCount; ++f) {
            const QString staging = stagingName(BackedUp(f));
            files.copyFile(set.files[f].path, staging);
            const int length = backedUp(BackedUp(f)).recordLength;
            if (length && QFileInfo(files.path(staging)).size() % length != 0)
                throw FileError(FileError::Kind::Other, set.files[f].path,
                                QStringLiteral("Le fichier se termine par une fiche incomplète"));
            forward.steps.append({staging, backedUp(BackedUp(f)).live});
        }
        // One replaced is only copied over, never removed: a journal carried
        // out again after its copies were removed must not remove it.
        for (const QString& name : leaving)
            if (!replaced.contains(name))
                forward.steps.append({{}, keptEntryName(name)});
        if (!coming.isEmpty()) {
            files.makeFolder(kStagedKept);
            files.makeFolder(kKeptFolder);
        }
        for (const BackupSet::Kept& file : coming) {
            const QString staging = kWorkFolder + QLatin1Char('/') + keptEntryName(file.name);
            files.copyFile(file.path, staging);
            forward.steps.append({staging, keptEntryName(file.name)});
            // One replaced is put back by its own copy.
            if (!replaced.contains(file.name, Qt::CaseInsensitive))
                back.steps.append({{}, keptEntryName(file.name)});
        }
        // The folder of the former files takes its name under a journal
        // that puts them back, so that a crash never leaves it behind.
        files.replaceText(kJournal, journalText(back));
        files.renameFile(folder, files.path(kept));
        files.replaceText(kJournal, journalText(forward));
    } catch (const FileError&) {
        takeBackQuietly([&] {
            removeFolder(files, kept);
            removeFolder(files, kWorkFolder);
        });
        throw;
    }
    try {
        carryOut(files, forward);
        finish(files, forward);
    } catch (const FileError& error) {
        // The former files are put back; should that fail too, the journal
        // on the disk says what start-up is to finish.
        try {
            files.replaceText(kJournal, journalText(back));
            carryOut(files, back);
            finish(files, back);
        } catch (const FileError&) {
            throw FileError(FileError::Kind::Other, error.file(),
                            error.description() +
                                QStringLiteral("\r\nLe programme s'arrête ; les fichiers seront "
                                               "remis en ordre à son prochain démarrage."));
        }
        throw;
    }
    return kept;
}

QString completeRestore(const DataFiles& files) {
    const RestoreState state = restoreState(files);
    if (state == RestoreState::None)
        return {};
    if (state == RestoreState::Leftovers) {
        // A restore that a crash stopped before its journal, or after its
        // commit, left only files of its own: they are removed.
        takeBackQuietly([&] { removeFolder(files, kWorkFolder); });
        return {};
    }
    const Journal journal = readJournal(files);
    carryOut(files, journal);
    finish(files, journal);
    if (journal.forward)
        return QStringLiteral("La restauration du %1 a été terminée.").arg(journal.date);
    return QStringLiteral("La restauration du %1 n'avait pas pu être faite : les fichiers "
                          "d'avant elle ont été remis.")
        .arg(journal.date);
}

} // namespace vendalise
