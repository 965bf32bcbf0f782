#include "members/FrmNewAdh.h"

#include "core/Pictures.h"
#include "members/MemberTable.h"
#include "platform/Cp1252.h"
#include "platform/DataFiles.h"
#include "platform/NumberForm.h"
#include "platform/RecordFields.h"
#include "platform/RecordList.h"

#include <QPushButton>

namespace vendalise {

namespace {

const QString kNewMemberTitle = QStringLiteral("Nouvel adhérent");

const QString kNotWritten = QStringLiteral("L'adhérent n'a pas pu être enregistré :\r\n");

} // namespace

FrmNewAdh::FrmNewAdh(App& app) : Window(app, QStringLiteral("FrmNewAdh"), 8190, 9510) {
    setWindowTitle(QStringLiteral("Gestion stock ORV"));
    ListAdhérents = addList(QStringLiteral("ListAdhérents"), true,
                            QStringLiteral("Cliquez sur un adhérent"), twips(240, 240, 4575, 9030));
    Label3 =
        addLabel(QStringLiteral("Label3"), QStringLiteral("Achats"), twips(5640, 2520, 1455, 375));
    Label1 = addLabel(QStringLiteral("Label1"), QStringLiteral("Nom"), twips(5040, 2640, 495, 255));
    TextNom = addField(QStringLiteral("TextNom"), twips(5040, 4080, 1935, 375));
    Label2 =
        addLabel(QStringLiteral("Label2"), QStringLiteral("Prénom"), twips(5040, 4560, 735, 255));
    TextPrénom = addField(QStringLiteral("TextPrénom"), twips(5040, 4800, 975, 375));
    Label4 = addLabel(QStringLiteral("Label4"), QStringLiteral("Somme dûe"),
                      twips(6120, 4560, 975, 255));
    Label5[0] = addLabel(QStringLiteral("Label5"), QStringLiteral("Cliquer sur le client avant"),
                         twips(5160, 3120, 2535, 255));
    Label5[1] = addLabel(QStringLiteral("Label5"), QStringLiteral("d'entrer dans la boutique"),
                         twips(5160, 3360, 2415, 255));
    TextSolde = addField(QStringLiteral("TextSolde"), twips(6120, 4800, 855, 375));
    TextSolde->setReadOnly(true);
    TextSolde->setToolTip(QStringLiteral("Dette de cet adhérent"));
    AjoutAdh = addButton(QStringLiteral("AjoutAdh"), QStringLiteral("Ajouter cet adhérent"),
                         QStringLiteral("Nouvel adhérent client"), twips(5040, 5520, 1815, 255));
    SupAdh = addButton(QStringLiteral("SupAdh"), QStringLiteral("Renomer cet adhérent"),
                       QStringLiteral("Ancien adhérent remplacé"), twips(5040, 5760, 1815, 255));
    Achat = addButton(QStringLiteral("Achat"), QStringLiteral("Boutique"),
                      QStringLiteral("Entrée dans  la boutique"), twips(5040, 6360, 1815, 495));
    Fin = addPictureButton(QStringLiteral("Fin"), exitPicture(),
                           QStringLiteral("Retour à l'écran de gestion"),
                           twips(6360, 7320, 495, 495));

    connect(ListAdhérents, &RecordList::chosen, this,
            [this](int row) { app_.run([&] { chooseMember(row); }); });
    handle(AjoutAdh, &QPushButton::clicked, [this] { addMember(); });
    handle(SupAdh, &QPushButton::clicked, [this] { renameMember(); });
    handle(Achat, &QPushButton::clicked, [this] { enterShop(); });
    handle(Fin, &QPushButton::clicked, [this] { hide(); });
}

void FrmNewAdh::showMembers() {
    TextNom->clear();
    TextPrénom->clear();
    const MemberTable& table = app_.part<Members>().table;
    Rows rows;
    rows.reserve(table.count());
    for (int k = 1; k <= table.count(); ++k)
        rows.append({memberRowText(table[k]), k});
    ListAdhérents->setRows(std::move(rows));
}

void FrmNewAdh::chooseMember(int row) {
    Members& members = app_.part<Members>();
    const int k = ListAdhérents->rows().value(row).data;
    if (!members.table.holds(k))
        return;
    TextNom->setText(members.table[k].name);
    TextPrénom->setText(members.table[k].firstName);
    TextSolde->setText(numberForm(members.debtOf(k)));
    members.current = static_cast<qint16>(k);
}

void FrmNewAdh::addMember() {
    Members& members = app_.part<Members>();
    Rows rows;
    rows.reserve(members.table.count());
    for (int k = 1; k <= members.table.count(); ++k)
        rows.append({blanksTrimmed(members.table[k].name) + QLatin1Char(' ') +
                         blanksTrimmed(members.table[k].firstName),
                     k});
    ListAdhérents->setRows(std::move(rows));

    const QString name = TextNom->text();
    const QString firstName = TextPrénom->text();
    if (!app_.ask(QStringLiteral("Etes vous sûr de vouloir ajouter ") + blanksTrimmed(firstName) +
                      QLatin1Char(' ') + blanksTrimmed(upperCp1252(name)) +
                      QStringLiteral("\r\nà la liste des adhérents ?"),
                  kNewMemberTitle))
        return;
    if (name.isEmpty()) {
        app_.tell(QStringLiteral("C'est l'homme invisible ?"), QStringLiteral("Pas de nom..."),
                  Messages::Icon::Critical);
        return;
    }
    int number = 0;
    try {
        number = appendMember(app_.files, name, firstName);
    } catch (const TableFull&) {
        app_.tell(QStringLiteral("Le fichier Adhérents.orv est plein : on ne peut plus y ajouter "
                                 "d'adhérent."),
                  kNewMemberTitle, Messages::Icon::Critical);
        return;
    } catch (const FileError& error) {
        app_.tellNotWritten(kNotWritten, error);
        return;
    }
    app_.tell(withoutTrailingBlanks(firstName) + QLatin1Char(' ') + withoutTrailingBlanks(name) +
                  QStringLiteral(" est ajouté à la liste des adhérents\r\nN° d'identification ") +
                  QString::number(number),
              QStringLiteral("Ajout d'un adhérent ORV"), Messages::Icon::Information);
    app_.run([&] { loadMemberTable(app_.files, members.table); });
    hide();
}

void FrmNewAdh::renameMember() {
    const int k = ListAdhérents->selectedData();
    Members& members = app_.part<Members>();
    if (!members.table.holds(k))
        return;
    if (app_.ask(QStringLiteral("Renomer (%1) ").arg(k) + blanksTrimmed(members.table[k].name) +
                     QStringLiteral(" sur la liste ?"),
                 QStringLiteral("Renomer un adhérent"))) {
        const QString name = TextNom->text();
        const QString firstName = TextPrénom->text();
        try {
            writeMember(app_.files, k, name, firstName);
            members.table[k] = {upperCp1252(name), firstName};
        } catch (const FileError& error) {
            app_.tellNotWritten(kNotWritten, error);
        }
    }
    hide();
}

void FrmNewAdh::enterShop() {
    if (ListAdhérents->selectedRow() < 0) {
        if (ListAdhérents->count() == 0) {
            app_.tell(QStringLiteral("Il n'y a pas encore d'adhérent : ajoutez-en un avant "
                                     "d'entrer dans la boutique."),
                      QStringLiteral("Boutique"), Messages::Icon::Exclamation);
            return;
        }
        ListAdhérents->chooseRow(0);
    }
    Members& members = app_.part<Members>();
    const int k = members.current;
    const Member& buyer = members.table.member(k);
    if (members.enterShop)
        members.enterShop(blanksTrimmed(buyer.firstName) + QLatin1Char(' ') +
                          blanksTrimmed(buyer.name));
    hide();
}

} // namespace vendalise
