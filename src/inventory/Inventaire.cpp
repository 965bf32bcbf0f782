#include "inventory/Inventaire.h"

#include "core/Names.h"
#include "core/Pictures.h"
#include "core/Printing.h"
#include "platform/Cp1252.h"
#include "platform/DataFiles.h"
#include "platform/Limits.h"
#include "platform/NumberForm.h"
#include "platform/RecordList.h"

#include <QFileInfo>
#include <QPushButton>

namespace vendalise {

namespace {

const QString kCountCaption = QStringLiteral("Nombre de ligne d'inventaire : ");

void tellLoadFailure(App& app) {
    app.tell(QStringLiteral("Erreur lors de l'ouverture du fichier d'inventaire.\r\n"
                            "Veuillez contacter l'auteur"),
             QStringLiteral("Erreur non traitée"), Messages::Icon::Critical);
}

} // namespace

Inventaire::Inventaire(App& app) : Window(app, QStringLiteral("Inventaire"), 7875, 8340) {
    setWindowTitle(QStringLiteral("Inventaire"));
    LblTitre = addLabel(QStringLiteral("LblTitre"), QStringLiteral("Inventaire"),
                        twips(240, 120, 2295, 495));
    setFontOf(LblTitre, 18, true);
    LabelNbElements = addLabel(QStringLiteral("LabelNbElements"), kCountCaption + QLatin1Char('0'),
                               twips(3720, 480, 3735, 255));
    ListInventaire =
        addList(QStringLiteral("ListInventaire"), true, {}, twips(240, 720, 7335, 6300));
    TextArticle = addField(QStringLiteral("TextArticle"), twips(240, 7320, 7335, 285));
    TextArticle->setText(QStringLiteral("Article"));
    BtnImprimer =
        addPictureButton(QStringLiteral("BtnImprimer"), printerPicture(),
                         QStringLiteral("Imprimer l'inventaire"), twips(3240, 7680, 495, 495));
    FinInventaire = addPictureButton(QStringLiteral("FinInventaire"), exitPicture(),
                                     QStringLiteral("Retour à l'écran de gestion"),
                                     twips(4320, 7680, 495, 495));
    Ajout =
        addButton(QStringLiteral("Ajout"), QStringLiteral("Ajout d'un article"),
                  QStringLiteral("Ajouter un élément à l'inventaire"), twips(840, 7800, 1935, 375));
    Sup =
        addButton(QStringLiteral("Sup"), QStringLiteral("Suppression d'un article"),
                  QStringLiteral("Oter un élément de l'inventaire"), twips(5280, 7800, 1935, 375));

    handle(ListInventaire, &RecordList::chosen, [this] {
        const int line = ListInventaire->selectedData();
        if (line >= 1 && line <= table_.items.size())
            TextArticle->setText(table_.items[line - 1]);
    });
    handle(Ajout, &QPushButton::clicked, [this] { add(); });
    handle(TextArticle, &QLineEdit::returnPressed, [this] { add(); });
    handle(Sup, &QPushButton::clicked, [this] { remove(TextArticle->text()); });
    handle(BtnImprimer, &QPushButton::clicked, [this] { print(); });
    handle(FinInventaire, &QPushButton::clicked, [this] { hide(); });
}

void Inventaire::loadOnce() {
    if (!loaded_)
        app_.run([this] { load(); });
    loaded_ = true;
}

// The list is made from the file; a missing file leaves it empty and the
// count as it was. A file that cannot be read whole shows the lines read.
void Inventaire::load() {
    ListInventaire->clear();
    const InventoryRead read = loadInventory(app_.files, table_);
    if (read == InventoryRead::Missing)
        return;
    Rows rows;
    rows.reserve(table_.items.size());
    for (qsizetype k = 0; k < table_.items.size(); ++k)
        rows.append({table_.items[k], static_cast<int>(k + 1)});
    ListInventaire->setRows(std::move(rows));
    LabelNbElements->setText(kCountCaption + QString::number(table_.items.size()));
    if (read == InventoryRead::Failed)
        tellLoadFailure(app_);
}

// An empty text or one that is already a line is not added: the user may
// remove it instead.
void Inventaire::add() {
    const QString text = TextArticle->text();
    if (text.isEmpty() || table_.items.contains(text)) {
        if (app_.ask(QStringLiteral("L'article ") + text +
                         QStringLiteral(" existe déjà. Voulez-vous le supprimer ?"),
                     QStringLiteral("Doublons interdits dans l'inventaire")))
            remove(text);
        return;
    }
    if (table_.items.size() >= kMaxRecords) {
        app_.tell(QStringLiteral("L'inventaire ne peut pas contenir plus de 32767 lignes."),
                  QStringLiteral("Ajout impossible"), Messages::Icon::Critical);
        return;
    }
    if (!writeInventory([&] { appendArticle(app_.files, table_, text); }))
        return;
    load();
}

// Every line equal to the text goes, without a question. A table that does
// not hold the whole file is never written back.
void Inventaire::remove(const QString& text) {
    if (!table_.whole) {
        tellLoadFailure(app_);
        return;
    }
    if (!writeInventory([&] { removeArticle(app_.files, table_, text); }))
        return;
    load();
}

bool Inventaire::writeInventory(const std::function<void()>& write) {
    try {
        write();
        return true;
    } catch (const FileError& error) {
        app_.tellNotWritten(QStringLiteral("L'inventaire n'a pas pu être enregistré :\r\n"), error);
        return false;
    }
}

// The lines in the order of the file, under a title; without a file the
// title alone is printed.
void Inventaire::print() {
    ImprimeLigne(app_,
                 QStringLiteral("Inventaire à la date du : ") + dateText(app_.sys.clock.today()) +
                     QStringLiteral("\r\n"),
                 12, true, true);
    app_.run([this] {
        if (!QFileInfo::exists(app_.files.path(kInventoryFile)))
            return;
        const QByteArray bytes = app_.files.readText(kInventoryFile);
        DataFiles::forEachLine(bytes, [this](QByteArrayView line) {
            ImprimeLigne(app_, fromCp1252(line), 10, false, false);
        });
    });
    FinImpression(app_);
}

} // namespace vendalise
