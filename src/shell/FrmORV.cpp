#include "shell/FrmORV.h"

#include "access/Access.h"
#include "access/Gate.h"
#include "bilans/FrmBilans.h"
#include "cash/CombinedStatement.h"
#include "cash/RegisterWindow.h"
#include "catalogue/FrmStock.h"
#include "core/Pictures.h"
#include "inventory/Inventaire.h"
#include "members/FrmNewAdh.h"
#include "platform/NumberForm.h"
#include "restore/FrmRestauration.h"
#include "sales/FrmES.h"
#include "sales/Ledger.h"
#include "shell/Backup.h"
#include "shell/FrmDir.h"
#include "Version.h"

#include <QCloseEvent>
#include <QPushButton>

namespace vendalise {

namespace {

QPushButton* withPicture(QPushButton* button, const QIcon& picture) {
    button->setIcon(picture);
    button->setIconSize(button->size() - QSize(8, 8));
    return button;
}

} // namespace

FrmORV::FrmORV(App& app) : Window(app, QStringLiteral("FrmORV"), 6735, 5340) {
    setWindowTitle(QStringLiteral("Vendalise - T.B - Version %1.%2.%3")
                       .arg(kVersionMajor)
                       .arg(kVersionMinor)
                       .arg(kVersionPatch));
    Label1 = addLabel(QStringLiteral("Label1"), QStringLiteral("Gestion de stock"),
                      twips(720, 360, 5415, 495));
    setFontOf(Label1, 18, true);
    Label1->setAlignment(Qt::AlignCenter);

    NewAdh =
        addButton(QStringLiteral("NewAdh"), QStringLiteral("Achats"),
                  QStringLiteral("Gestion des adhérents, achats"), twips(960, 1320, 1815, 495));
    BtnStock = addButton(QStringLiteral("BtnStock"), QStringLiteral("Stock"),
                         QStringLiteral("Etat du stock"), twips(3600, 1320, 1815, 495));
    BtnStock->setIcon(stockPicture());
    BtnSorties = addButton(QStringLiteral("BtnSorties"), QStringLiteral("Bilan des ventes"),
                           QStringLiteral("Ventes effectuées"), twips(2040, 2160, 2415, 495));
    CmdCaisseBoisson =
        withPicture(addButton(QStringLiteral("CmdCaisseBoisson"), {},
                              QStringLiteral("Caisse boissons"), twips(1080, 3240, 615, 615)),
                    drinksRegisterPicture());
    SommeCaisses = addButton(QStringLiteral("SommeCaisses"), QStringLiteral("+"),
                             QStringLiteral("Somme des deux caisses"), twips(1800, 3480, 255, 255));
    CmdCompta =
        withPicture(addButton(QStringLiteral("CmdCompta"), {}, QStringLiteral("Caisse matériel"),
                              twips(2160, 3240, 615, 615)),
                    materialRegisterPicture());
    Command1 = withPicture(addButton(QStringLiteral("Command1"), {},
                                     QStringLiteral("Sauvegarde des fichiers sur disquette"),
                                     twips(3360, 3240, 615, 615)),
                           backupPicture());
    Command2 = withPicture(addButton(QStringLiteral("Command2"), {}, QStringLiteral("Inventaire"),
                                     twips(4560, 3240, 615, 615)),
                           inventoryPicture());
    Fin = withPicture(addButton(QStringLiteral("Fin"), {}, QStringLiteral("Fin de programme"),
                                twips(5640, 3240, 615, 615)),
                      exitPicture());

    Image1 = addLabel(QStringLiteral("Image1"), {}, twips(1200, 3960, 480, 480));
    Image1->setPixmap(bottlePicture(Image1->width()));
    Image2 = addLabel(QStringLiteral("Image2"), {}, twips(2235, 3990, 480, 480));
    Image2->setPixmap(shirtPicture(Image2->width()));

    LblDir = addLabel(QStringLiteral("LblDir"), {}, twips(120, 4920, 6375, 255));
    LblDir->setStyleSheet(QStringLiteral("color: blue;"));
    LblDir->setToolTip(QStringLiteral("Double click pour changer l'emplacement des données"));
    LblDir->setVisible(false);
    CeJour = addLabel(QStringLiteral("CeJour"), {}, twips(5640, 5040, 975, 255));
    CeJour->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    CeJour->setText(dateText(app_.sys.clock.today()));

    // Two hot spots without caption, found only by those who know them.
    Label2 = addLabel(QStringLiteral("Label2"), {}, twips(6360, 120, 255, 255));
    ActiverPsw = addLabel(QStringLiteral("ActiverPsw"), {}, twips(6360, 480, 255, 255));

    // Beside "Bilan des ventes", made last so that the tab order of the
    // others stays as it was.
    CmdBilans =
        withPicture(addButton(QStringLiteral("CmdBilans"), {}, QStringLiteral("Bilans et exports"),
                              twips(4680, 2100, 615, 615)),
                    bilansPicture());
    // Below the backup button.
    CmdRestauration = withPicture(addButton(QStringLiteral("CmdRestauration"), {},
                                            QStringLiteral("Restaurer une sauvegarde"),
                                            twips(3360, 3960, 615, 615)),
                                  restorePicture());

    handle(NewAdh, &QPushButton::clicked, [this] { openMembers(); });
    handle(BtnStock, &QPushButton::clicked, [this] { openStock(); });
    handle(BtnSorties, &QPushButton::clicked, [this] { openOperations(); });
    const auto drinks = [this] { app_.showModal(app_.window<ComptaBoisson>()); };
    const auto material = [this] { app_.showModal(app_.window<Compta>()); };
    handle(CmdCaisseBoisson, &QPushButton::clicked, drinks);
    handle(Image1, &ClickLabel::clicked, drinks);
    handle(CmdCompta, &QPushButton::clicked, material);
    handle(Image2, &ClickLabel::clicked, material);
    handle(SommeCaisses, &QPushButton::clicked, [this] { vendalise::SommeCaisses(app_); });
    handle(Command1, &QPushButton::clicked, [this] { Sauvegarde(app_); });
    handle(CmdBilans, &QPushButton::clicked, [this] { openBilans(); });
    handle(CmdRestauration, &QPushButton::clicked, [this] { openRestore(); });
    handle(Command2, &QPushButton::clicked, [this] {
        Inventaire& inventory = app_.window<Inventaire>();
        inventory.loadOnce();
        app_.showModal(inventory);
    });
    handle(ActiverPsw, &ClickLabel::clicked, [this] { vendalise::ActiverPsw(app_); });
    handle(Fin, &QPushButton::clicked, [this] { app_.end(); });
    handle(LblDir, &ClickLabel::clicked, [this] { chooseDirectory(); });
    handle(Label2, &ClickLabel::clicked, [this] { LblDir->setVisible(true); });
    handle(this, &Form::backgroundClicked, [this] { clearAccess(); });
}

// The figures are read afresh each time the window opens; a file that
// cannot be read is told and the window opens on what was shown before.
void FrmORV::openBilans() {
    FrmBilans& bilans = app_.window<FrmBilans>();
    app_.run([&] { bilans.refresh(); });
    app_.showModal(bilans);
}

// The sets are listed afresh each time the window opens.
void FrmORV::openRestore() {
    FrmRestauration& restore = app_.window<FrmRestauration>();
    app_.run([&] { restore.refresh(); });
    app_.showModal(restore);
}

void FrmORV::showDataDirectory(const QString& directory) {
    LblDir->setText(directory);
}

// The next guarded operation will ask for the password again.
void FrmORV::clearAccess() {
    app_.part<Access>().granted = false;
}

// The member list as the main window fills it, the debts brought up to
// date; a step that fails is told and the next one runs.
void FrmORV::openMembers() {
    FrmNewAdh& members = app_.window<FrmNewAdh>();
    app_.run([&] { members.showMembers(); });
    app_.run([this] { ChargeVentes(app_); });
    app_.showModal(members);
}

// Debts and lists are brought up to date first; a step that fails is told
// and the window opens on what could be loaded.
void FrmORV::openStock() {
    clearAccess();
    app_.run([this] { ChargeVentes(app_); });
    app_.run([this] { MajProduits(app_); });
    FrmStock& stock = app_.window<FrmStock>();
    stock.clearFilter();
    app_.showModal(stock);
}

void FrmORV::openOperations() {
    clearAccess();
    app_.run([this] { ChargeVentes(app_); });
    app_.part<Sales>().currentLine = 0;
    app_.showModal(app_.window<FrmES>());
}

// The chooser changes the current directory for every later opening of a
// data file; the tables and LblDir keep what start-up read.
void FrmORV::chooseDirectory() {
    app_.showModal(app_.window<FrmDir>());
}

void FrmORV::closeEvent(QCloseEvent* event) {
    event->accept();
    app_.end();
}

} // namespace vendalise
