#include "shell/FrmDir.h"

#include "core/Names.h"
#include "core/Settings.h"
#include "platform/DataFiles.h"
#include "platform/FolderList.h"
#include "shell/ShellState.h"

#include <QDir>
#include <QLineEdit>
#include <QPushButton>

namespace vendalise {

namespace {

const QString kTitle = QStringLiteral("Emplacement des fichiers");

// The files start-up needs, created empty by "Création des fichiers".
const QStringList kStartFiles = {kMemberFile, kMaterialLedgerFile, kDrinksLedgerFile};

} // namespace

FrmDir::FrmDir(App& app) : Window(app, QStringLiteral("FrmDir"), 6435, 6840) {
    setWindowTitle(kTitle);
    const QString blue = QStringLiteral("color: blue;");
    Label1 = addLabel(QStringLiteral("Label1"), QStringLiteral("Choix du répertoire contenant "),
                      twips(840, 240, 4695, 375));
    Label2 = addLabel(QStringLiteral("Label2"), QStringLiteral("les fichiers ORV"),
                      twips(1560, 720, 2895, 375));
    for (ClickLabel* heading : {Label1, Label2}) {
        setFontOf(heading, 13.5, true);
        heading->setStyleSheet(blue);
    }
    Label3 = addLabel(
        QStringLiteral("Label3"),
        QStringLiteral("Faire un double click sur le répertoire contenant les fichiers, puis OK"),
        twips(240, 1320, 6135, 255));
    Label3->setStyleSheet(blue);

    // A path field above the folder list lets the user type a folder too.
    TextChemin = addField(QStringLiteral("TextChemin"), twips(240, 1680, 5895, 315));
    TextChemin->setToolTip(QStringLiteral("Chemin du répertoire (touche <Entrée> pour l'ouvrir)"));
    Dir1 = new FolderList(this);
    Dir1->setObjectName(QStringLiteral("Dir1"));
    Dir1->setGeometry(twips(240, 2040, 5895, 3780));

    OK = addButton(QStringLiteral("OK"), QStringLiteral("OK"), QStringLiteral("Coi du répertoire"),
                   twips(360, 6000, 1695, 495));
    Command1 = addButton(QStringLiteral("Command1"), QStringLiteral("Abandon"),
                         QStringLiteral("Abandonner la gestion"), twips(2160, 6000, 1695, 495));
    Creation =
        addButton(QStringLiteral("Création"), QStringLiteral("Création des fichiers"),
                  QStringLiteral("Création des fichiers vides"), twips(3960, 6000, 1695, 495));

    connect(Dir1, &FolderList::opened, this, [this](const QString& path) {
        app_.run([&] {
            TextChemin->setText(path);
            enterShownFolder();
        });
    });
    handle(Dir1, &FolderList::clicked, [this] { enterShownFolder(); });
    handle(TextChemin, &QLineEdit::returnPressed, [this] { openTypedFolder(); });
    handle(OK, &QPushButton::clicked, [this] { saveAndHide(); });
    handle(Command1, &QPushButton::clicked, [this] { app_.end(); });
    handle(Creation, &QPushButton::clicked, [this] { createFiles(); });

    Dir1->open(app_.files.current());
}

// The folder shown becomes the current directory: files are created, and
// every later opening by bare name takes place, in it.
void FrmDir::enterShownFolder() {
    app_.files.setCurrent(Dir1->path());
}

void FrmDir::openTypedFolder() {
    const QString typed = QDir::fromNativeSeparators(TextChemin->text().trimmed());
    if (typed.isEmpty() || Dir1->open(typed))
        return;
    const QString shown = QDir::toNativeSeparators(typed);
    if (!app_.ask(QStringLiteral("Le répertoire ") + shown + QStringLiteral(" n'existe pas.\r\n") +
                      QStringLiteral("Voulez-vous le créer ?"),
                  kTitle, Messages::Icon::Exclamation)) {
        TextChemin->setText(Dir1->path());
        return;
    }
    if (!QDir().mkpath(typed) || !Dir1->open(typed)) {
        app_.tell(QStringLiteral("Le répertoire ") + shown +
                      QStringLiteral(" n'a pas pu être créé."),
                  kTitle, Messages::Icon::Critical);
        TextChemin->setText(Dir1->path());
    }
}

void FrmDir::saveAndHide() {
    enterShownFolder();
    kDataDirectorySetting.keep(app_, Dir1->path());
    hide();
}

// Existing files are left unchanged; the flag is set only once every file
// is there, so that start-up never stops on a creation that failed.
void FrmDir::createFiles() {
    for (const QString& name : kStartFiles) {
        try {
            app_.files.ensureFile(name);
        } catch (const FileError& error) {
            app_.tell(QStringLiteral("Le fichier ") + name +
                          QStringLiteral(" n'a pas pu être créé dans le répertoire ") +
                          QDir::toNativeSeparators(app_.files.current()) +
                          QStringLiteral(" :\r\n") + error.description(),
                      QStringLiteral("Création des fichiers"), Messages::Icon::Critical);
            return;
        }
    }
    app_.part<ShellState>().filesCreated = true;
}

} // namespace vendalise
