#include "shell/Backup.h"

#include "core/App.h"
#include "core/Names.h"
#include "core/Settings.h"
#include "platform/NumberForm.h"

#include <array>

namespace vendalise {

namespace {

struct Copied {
    QString source;
    // The name of the copy, and the name the messages give the file.
    QString copy;
    QString told;
};

// In the order of the backup. The inventory is not part of it.
const std::array<Copied, 5> kCopied{{
    {kLedgerFile, QStringLiteral("es.orv"), QStringLiteral("es.orv")},
    {kProductFile, QStringLiteral("Produits.orv"), QStringLiteral("Produits.orv")},
    {kMemberFile, QStringLiteral("Adhérents.orv"), QStringLiteral("Adhérents.orv")},
    {kMaterialLedgerFile, QStringLiteral("compta.orv"), QStringLiteral("Compta.orv")},
    {kDrinksLedgerFile, QStringLiteral("ComptaBoisson.orv"), QStringLiteral("comptaBoisson.orv")},
}};

// Copies one file; a failure is told with its message and the backup goes on.
void copyOne(App& app, const QString& source, const QString& target, const QString& failure) {
    try {
        app.files.copyFile(source, target);
    } catch (const FileError&) {
        app.tell(failure);
    }
}

} // namespace

QString DateMF(QDate today) {
    const QString date = dateText(today);
    return QStringLiteral(" du ") + date.mid(0, 2) + QLatin1Char('-') + date.mid(3, 2) +
           QLatin1Char('-') + date.right(2);
}

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
    for (const Copied& file : kCopied)
        copyOne(app, file.source, base + file.copy,
                QStringLiteral("Le fichier ") + file.told +
                    QStringLiteral(" n'a pas pu être copié pour mise à jour."));

    const QString suffix = DateMF(app.sys.clock.today());
    for (const Copied& file : kCopied)
        copyOne(app, file.source, file.copy + suffix,
                QStringLiteral("Le fichier ") + file.told +
                    QStringLiteral(" n'a pas pu être copié sur le disque dur pour mise à jour."));
}

} // namespace vendalise
