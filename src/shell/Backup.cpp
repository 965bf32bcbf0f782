#include "shell/Backup.h"

#include "core/App.h"
#include "core/Settings.h"

namespace vendalise {

namespace {

// Copies one file; a failure is told with its message and the backup goes on.
void copyOne(App& app, const QString& source, const QString& target, const QString& failure) {
    try {
        app.files.copyFile(source, target);
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

    QString base = folder;
    if (!base.endsWith(QLatin1Char('/')) && !base.endsWith(QLatin1Char('\\')))
        base += QLatin1Char('/');
    for (const BackedUpFile& file : backedUpFiles())
        copyOne(app, file.live, base + file.copy,
                QStringLiteral("Le fichier ") + file.told +
                    QStringLiteral(" n'a pas pu être copié pour mise à jour."));

    const QString suffix = DateMF(app.sys.clock.today());
    for (const BackedUpFile& file : backedUpFiles())
        copyOne(app, file.live, file.copy + suffix,
                QStringLiteral("Le fichier ") + file.told +
                    QStringLiteral(" n'a pas pu être copié sur le disque dur pour mise à jour."));
}

} // namespace vendalise
