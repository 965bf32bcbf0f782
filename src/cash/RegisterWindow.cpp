#include "cash/RegisterWindow.h"

#include "core/Pictures.h"
#include "platform/RecordList.h"

#include <QPushButton>

namespace vendalise {

RegisterWindow::RegisterWindow(App& app, Register which, const Layout& layout)
    : Window(app, layout.name, layout.width, layout.height), cashRegister(which) {
    setWindowTitle(layout.title);
    Label1 = addLabel(QStringLiteral("Label1"), layout.heading, layout.headingAt);
    setFontOf(Label1, 12, true);
    Label1->setAlignment(Qt::AlignCenter);
    list = addList(layout.listName, false, {}, layout.listAt);
    CmdAjustement = addPictureButton(QStringLiteral("CmdAjustement"), correctionPicture(),
                                     QStringLiteral("Correction de caisse"),
                                     twips(600, 6960, 615, 615));
    CmdSomme = addPictureButton(QStringLiteral("CmdSomme"), sumPicture(),
                                QStringLiteral("Faire la somme"), twips(1920, 6960, 615, 615));
    CmdReleve = addPictureButton(QStringLiteral("CmdReleve"), statementPicture(),
                                 QStringLiteral("Relever la caisse"), twips(3240, 6960, 615, 615));
    BtnImprimer = addPictureButton(QStringLiteral("BtnImprimer"), printerPicture(),
                                   QStringLiteral("Imprimer la caisse"),
                                   twips(4560, 6960, layout.printWidth, 615));
    exit = addPictureButton(layout.exitName, exitPicture(), QStringLiteral("Retour"),
                            twips(5880, 6960, 615, 615));
    Image1 = addLabel(QStringLiteral("Image1"), {}, twips(240, 600, 480, 480));
    Image1->setPixmap(which == Register::Drinks ? bottlePicture(Image1->width())
                                                : shirtPicture(Image1->width()));

    Cash& cash = app_.part<Cash>();
    connect(&cash, &Cash::listFilled, this, &RegisterWindow::showRows);
    showRows(cashRegister);
    handle(exit, &QPushButton::clicked, [this] { hide(); });
}

void RegisterWindow::showRows(Register filled) {
    if (filled == cashRegister)
        list->setRows(app_.part<Cash>().rowsOf(cashRegister));
}

Compta::Compta(App& app)
    : RegisterWindow(app, Register::Material,
                     {QStringLiteral("Compta"), QStringLiteral("Etat caisse"), 7155, 7725,
                      QStringLiteral("Contenu de la caisse matériel"), twips(600, 120, 5655, 375),
                      QStringLiteral("ListCaisse"), twips(360, 1320, 6375, 5520), 615,
                      QStringLiteral("Fin")}) {}

ComptaBoisson::ComptaBoisson(App& app)
    : RegisterWindow(app, Register::Drinks,
                     {QStringLiteral("ComptaBoisson"), QStringLiteral("Etat caisse boissons"), 6975,
                      7755, QStringLiteral("Contenu de la caisse boissons"),
                      twips(240, 240, 6375, 375), QStringLiteral("ListCaisseBoisson"),
                      twips(240, 1440, 6375, 5325), 735, QStringLiteral("CmdExit")}) {}

} // namespace vendalise
