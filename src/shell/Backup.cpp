#include "shell/Backup.h"

#include "backup/Manifest.h"
#include "cash/KeptStatements.h"
#include "core/App.h"
#include "core/Settings.h"

#include <QDir>
#include <QFileInfo>

namespace vendalise {

namespace {

// Copies one file; a failure is told with its message and the backup goes
// on. Returns whether the copy was made.
bool copyOne(App& app, const QString& source, const QString& target, const QString& failure) {
    try {
        app.files.copyFile(source, target);
        return true;
    } catch (const FileError&) {
        app.tell(failure);
        return false;
    }
}

// The manifest's entry of a file as it is now; none when it cannot be read
// (its copies fail and are told).
void addEntry(const App& app, Manifest& manifest, const QString& source, const QString& name) {
    try {
        manifest.entries.append(manifestEntry(name, app.files.readText(source)));
    } catch (const FileError&) {
    }
}

// The kept files go into "Relevés" beside the backup folder's copies, each
// read back as the five are; one already there with the same bytes is not
// copied again.
void copyKept(App& app, const QString& base, const QStringList& names) {
    if (names.isEmpty())
        return;
    const QString live = app.files.path(kKeptFolder) + QLatin1Char('/');
    const QString target = base + kKeptFolder + QLatin1Char('/');
    try {
        app.files.makeFolder(base + kKeptFolder);
    } catch (const FileError&) {
        // Each copy fails, and is told.
    }
    for (const QString& name : names) {
        if (QFileInfo(target + name).size() == QFileInfo(live + name).size()) {
            try {
                if (app.files.readText(target + name) == app.files.readText(live + name))
                    continue;
            } catch (const FileError&) {
                // Copied again.
            }
        }
        copyOne(app, live + name, target + name,
                QStringLiteral("Le fichier ") + keptEntryName(name) +
                    QStringLiteral(" n'a pas pu être copié pour mise à jour."));
    }
}

// The manifest goes last, once every copy is made, as a whole file.
void writeManifest(App& app, const QString& target, const Manifest& manifest,
                   const QString& failure) {
    try {
        app.files.replaceText(target, manifestText(manifest));
    } catch (const FileError&) {
        app.tell(failure);
    }
}

} // namespace

void Sauvegarde(App& app) {
    const QString stored = kBackupFolderSetting.read(app.sys.settings);
    const QString folder = app.sys.messages.input(
        QStringLiteral("Dossier de la copie de sauvegarde (disquette, clé USB) :"),
        QStringLiteral("Sauvegarde des fichiers"),
        stored.isEmpty() ? app.sys.defaults.backup : stored);
    if (folder.isEmpty())
        return;
    // A folder that cannot be stored is told, and the backup goes on.
    kBackupFolderSetting.keep(app, folder);

    // What the set holds, as it is now: the five and the kept files.
    Manifest manifest{QDateTime(app.sys.clock.today(), app.sys.clock.time()), {}};
    for (const BackedUpFile& file : backedUpFiles())
        addEntry(app, manifest, file.live, file.copy);
    const QStringList kept = keptFileNames(app.files.path(kKeptFolder));
    for (const QString& name : kept)
        addEntry(app, manifest, kKeptFolder + QLatin1Char('/') + name, keptEntryName(name));

    QString base = folder;
    if (!base.endsWith(QLatin1Char('/')) && !base.endsWith(QLatin1Char('\\')))
        base += QLatin1Char('/');
    int copied = 0;
    for (const BackedUpFile& file : backedUpFiles())
        copied += copyOne(app, file.live, base + file.copy,
                          QStringLiteral("Le fichier ") + file.told +
                              QStringLiteral(" n'a pas pu être copié pour mise à jour."));
    // A folder that took none of the five (none there, or the data
    // directory itself) gets nothing more.
    if (copied > 0) {
        copyKept(app, base, kept);
        writeManifest(app, base + kManifestFile, manifest,
                      QStringLiteral("Le fichier ") + kManifestFile +
                          QStringLiteral(" n'a pas pu être copié pour mise à jour."));
    }

    const QString suffix = DateMF(app.sys.clock.today());
    copied = 0;
    for (const BackedUpFile& file : backedUpFiles())
        copied += copyOne(app, file.live, file.copy + suffix,
                          QStringLiteral("Le fichier ") + file.told +
                              QStringLiteral(" n'a pas pu être copié sur le disque dur pour "
                                             "mise à jour."));
    // The dated set's kept files are those of "Relevés" itself.
    if (copied > 0)
        writeManifest(app, kManifestFile + suffix, manifest,
                      QStringLiteral("Le fichier ") + kManifestFile +
                          QStringLiteral(" n'a pas pu être copié sur le disque dur pour mise à "
                                         "jour."));
}

} // namespace vendalise
