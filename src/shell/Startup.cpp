#include "shell/Startup.h"

#include "access/Access.h"
#include "cash/CashLedger.h"
#include "cash/KeptStatements.h"
#include "catalogue/Catalogue.h"
#include "core/Names.h"
#include "core/Printing.h"
#include "core/Settings.h"
#include "core/Window.h"
#include "members/MemberTable.h"
#include "platform/DataFiles.h"
#include "platform/Limits.h"
#include "restore/Restore.h"
#include "sales/FrmAchat.h"
#include "sales/KeptDeletions.h"
#include "sales/Ledger.h"
#include "shell/FrmDir.h"
#include "shell/FrmORV.h"
#include "shell/ShellState.h"

#include <QDir>
#include <QFileInfo>
#include <QLocale>

#include <cmath>
#include <functional>
#include <optional>

namespace vendalise {

namespace {

const QString kFilesTitle = QStringLiteral("Fichiers de travail");

QString inDirectory(const QString& directory, const QString& name) {
    if (directory.endsWith(QLatin1Char('/')) || directory.endsWith(QDir::separator()))
        return directory + name;
    return directory + QDir::separator() + name;
}

// A table file holding more records than a table can hold is read up to
// the limit, and the user is told once. Nothing is rewritten.
void warnIfTruncated(App& app, const QString& file, qint64 records) {
    if (records <= kMaxRecords)
        return;
    app.tell(QStringLiteral("Le fichier %1 contient %2 fiches.\r\n"
                            "Seules les %3 premières sont lues ; le fichier n'est pas modifié.")
                 .arg(file)
                 .arg(records)
                 .arg(kMaxRecords),
             kFilesTitle, Messages::Icon::Exclamation);
}

// Runs one loading step. A missing file or folder brings up the chooser,
// then the step is tried again; start-up ends the program instead when the
// user has just created the data files. Returns false when start-up must
// stop here.
bool runStep(App& app, const std::function<void()>& step) {
    for (;;) {
        try {
            step();
            return true;
        } catch (const FileError& error) {
            if (error.kind() != FileError::Kind::Missing) {
                app.tell(
                    QStringLiteral("Le fichier %1 n'a pas pu être lu :\r\n%2\r\n\r\n"
                                   "Les données qui suivent ne sont pas chargées.")
                        .arg(QDir::toNativeSeparators(QFileInfo(error.file()).absoluteFilePath()),
                             error.description()),
                    kFilesTitle, Messages::Icon::Critical);
                return false;
            }
            ShellState& shell = app.part<ShellState>();
            shell.filesCreated = false;
            app.showModal(app.window<FrmDir>());
            app.tell(
                QStringLiteral("Si vous avez créé les fichiers de travail, relancez le programme"),
                kFilesTitle, Messages::Icon::Information);
            if (shell.filesCreated)
                app.end();
        }
    }
}

// Takes the data directory's lock, so that a second Vendalise cannot work on
// the same files. Returns false when another one holds it: the user is told
// and nothing is opened. A lock that cannot be made is told and start-up
// goes on, since reading must stay possible.
bool lockDataDirectory(App& app, const QString& directory) {
    const QString shown = QDir::toNativeSeparators(directory);
    const FolderLock::Outcome outcome =
        app.folderLock.take(app.files.current() + QLatin1Char('/') + kLockFile);
    switch (outcome.state) {
    case FolderLock::State::Held:
        return true;
    case FolderLock::State::HeldElsewhere: {
        QString text =
            QStringLiteral("Vendalise est déjà ouvert sur les fichiers de ce répertoire\r\n") +
            shown;
        if (!outcome.host.isEmpty())
            text += QStringLiteral("\r\nsur le poste ") + outcome.host + QStringLiteral(".");
        app.tell(text, QStringLiteral("Vendalise"), Messages::Icon::Exclamation);
        return false;
    }
    case FolderLock::State::Unavailable:
        app.tell(QStringLiteral("Le répertoire ") + shown +
                     QStringLiteral(" ne peut pas être réservé à ce Vendalise :\r\n") +
                     outcome.description +
                     QStringLiteral(".\r\nUn autre Vendalise pourrait y travailler en même temps."),
                 QStringLiteral("Vendalise"), Messages::Icon::Exclamation);
        return true;
    }
    return true;
}

// Carries out a restore that a crash interrupted, and says so once. One
// that cannot be carried out is told and the program stops, rather than
// work on files of which some are restored and some not; the next start
// tries again.
bool completeInterruptedRestore(App& app) {
    try {
        const QString done = completeRestore(app.files);
        if (!done.isEmpty())
            app.tell(done, QStringLiteral("Restaurer une sauvegarde"), Messages::Icon::Information);
        return true;
    } catch (const FileError& error) {
        app.tell(
            QStringLiteral("Une restauration interrompue n'a pas pu être terminée :\r\n%1\r\n%2"
                           "\r\n\r\nLe programme s'arrête ; il la reprendra à son prochain "
                           "démarrage.")
                .arg(QDir::toNativeSeparators(error.file()), error.description()),
            QStringLiteral("Restaurer une sauvegarde"), Messages::Icon::Critical);
        return false;
    }
}

} // namespace

void connectHooks(App& app) {
    app.part<Members>().enterShop = [&app](const QString& buyer) {
        FrmAchat& shop = app.window<FrmAchat>();
        shop.setBuyer(buyer);
        app.showModal(shop);
    };
    app.part<Restoration>().reloadTables = [&app] { reloadTables(app); };
}

void reloadTables(App& app) {
    app.run([&] {
        warnIfTruncated(app, kMemberFile, loadMemberTable(app.files, app.part<Members>().table));
        app.files.tablesReadHere();
    });
    app.run([&] { warnIfTruncated(app, kLedgerFile, ChargeVentes(app)); });
    app.run([&] { fillRegisterList(app, Register::Material); });
    app.run([&] { fillRegisterList(app, Register::Drinks); });
    app.run([&] {
        warnIfTruncated(app, kProductFile, ChargeProduits(app));
        app.files.tablesReadHere();
    });
}

void startUp(App& app) {
    connectHooks(app);
    Access& access = app.part<Access>();
    ShellState& shell = app.part<ShellState>();
    Catalogue& catalogue = app.part<Catalogue>();
    MemberTable& members = app.part<Members>().table;
    SettingsStore& settings = app.sys.settings;
    FrmORV& main = app.window<FrmORV>();

    access.granted = kAccessOpenSetting.read(settings);
    access.password = kPasswordSetting.read(settings);
    // Without a printer the font is simply not chosen.
    ChoixPolice(app);

    shell.dataDirectory = kDataDirectorySetting.read(settings);
    const QString defaultDirectory = QDir::toNativeSeparators(app.sys.defaults.data);
    if (shell.dataDirectory.toUpper() != defaultDirectory.toUpper()) {
        const bool keep =
            app.ask(QStringLiteral("Vous voulez vraiment travailler avec les fichiers\r\n"
                                   "qui sont dans le répertoire ") +
                        shell.dataDirectory + QStringLiteral(" ?"),
                    QStringLiteral("Par défaut on travaille dans ") + defaultDirectory);
        if (!keep)
            shell.dataDirectory = defaultDirectory;
    }

    // A threshold that is no number leaves it at 0.
    if (const auto threshold = kThresholdSetting.read(settings).value())
        catalogue.threshold = *threshold;
    catalogue.thresholdText = QString::number(catalogue.threshold);

    // A folder that does not exist leaves the current directory as it was.
    if (app.files.setCurrent(shell.dataDirectory)) {
        if (!lockDataDirectory(app, shell.dataDirectory))
            app.end();
        // A restore, a statement or a deletion that a crash interrupted is
        // settled before any table is read.
        if (!completeInterruptedRestore(app))
            app.end();
        completeStatements(app.files);
        completeDeletions(app.files);
    }

    main.showDataDirectory(shell.dataDirectory);

    const std::function<void()> steps[] = {
        // The member file must be in the data directory itself.
        [&] {
            if (shell.dataDirectory.isEmpty())
                throw FileError(FileError::Kind::Missing, kMemberFile,
                                QStringLiteral("Aucun répertoire de données"));
            app.files.checkReadable(inDirectory(shell.dataDirectory, kMemberFile));
        },
        [&] {
            warnIfTruncated(app, kMemberFile, loadMemberTable(app.files, members));
            app.files.tablesReadHere();
        },
        [&] { warnIfTruncated(app, kLedgerFile, ChargeVentes(app)); },
        [&] { fillRegisterList(app, Register::Material); },
        [&] { fillRegisterList(app, Register::Drinks); },
        [&] {
            warnIfTruncated(app, kProductFile, ChargeProduits(app));
            app.files.tablesReadHere();
        },
    };
    for (const auto& step : steps) {
        if (!runStep(app, step))
            return;
    }
}

void runProgram(App& app) {
    startUp(app);
    app.showModal(app.window<FrmORV>());
    app.end();
}

} // namespace vendalise
