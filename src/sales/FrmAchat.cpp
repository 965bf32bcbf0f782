#include "sales/FrmAchat.h"

#include "core/Pictures.h"
#include "platform/RecordList.h"

#include <QCheckBox>
#include <QPushButton>

namespace vendalise {

FrmAchat::FrmAchat(App& app) : Window(app, QStringLiteral("FrmAchat"), 8775, 9735) {
    setWindowTitle(QStringLiteral("Achats"));
    Label1 =
        addLabel(QStringLiteral("Label1"), QStringLiteral("Client :"), twips(480, 240, 1095, 375));
    setFontOf(Label1, 13.5, true, true);
    Acheteur = addLabel(QStringLiteral("Acheteur"), QStringLiteral("Acheteur"),
                        twips(1680, 240, 3975, 375));
    setFontOf(Acheteur, 13.5, true, true);
    Acheteur->setToolTip(QStringLiteral("C'est lui l'achteur"));
    ListProduits = addList(QStringLiteral("ListProduits"), true,
                           QStringLiteral("Choisir une référence"), twips(240, 960, 4935, 8640));
    LabelProduit = addLabel(QStringLiteral("LabelProduit"), QStringLiteral("Article"),
                            twips(5280, 1200, 3255, 255));
    Label4 =
        addLabel(QStringLiteral("Label4"), QStringLiteral("Stock :"), twips(5280, 1680, 735, 255));
    LabelStock = addLabel(QStringLiteral("LabelStock"), QStringLiteral("Stock"),
                          twips(6000, 1680, 1695, 255));
    Label2 = addLabel(QStringLiteral("Label2"), QStringLiteral("Prix unitaire(€) :"),
                      twips(5280, 2160, 1335, 255));
    LabelPU =
        addLabel(QStringLiteral("LabelPU"), QStringLiteral("PU"), twips(6720, 2160, 1095, 255));
    Label3 = addLabel(QStringLiteral("Label3"), QStringLiteral("Quantité désirée"),
                      twips(5280, 3120, 1695, 255));
    TextQté = addField(QStringLiteral("TextQté"), twips(5280, 3360, 1455, 285));
    TextQté->setText(QStringLiteral("1"));
    TextQté->setToolTip(QStringLiteral("Nombre d'unité demandée"));
    CheckPayé = addCheckBox(QStringLiteral("CheckPayé"), QStringLiteral("Achat payé"),
                            twips(5400, 4200, 1215, 255));
    CheckPayé->setToolTip(QStringLiteral("Cochez si réglé"));
    Achat =
        addPictureButton(QStringLiteral("Achat"), basketPicture(),
                         QStringLiteral("Acheter cette référence"), twips(5400, 4800, 975, 495));
    Abandon = addPictureButton(QStringLiteral("Abandon"), exitPicture(),
                               QStringLiteral("Fin des achats"), twips(7560, 8400, 495, 495));

    Catalogue& catalogue = app_.part<Catalogue>();
    connect(&catalogue, &Catalogue::listsFilled, this, &FrmAchat::showList);
    showList(catalogue.fill);
    handle(Abandon, &QPushButton::clicked, [this] { hide(); });
}

// A rebuild of the product lists also resets the chosen product's labels
// and the quantity; the filter only refills the list.
void FrmAchat::showList(Catalogue::Fill fill) {
    ListProduits->setSortedRows(app_.part<Catalogue>().rows);
    if (fill != Catalogue::Fill::Rebuilt)
        return;
    LabelProduit->setText(QStringLiteral("Produit"));
    LabelPU->setText(QStringLiteral("0"));
    LabelStock->setText(QStringLiteral("0"));
    TextQté->setText(QStringLiteral("1"));
}

} // namespace vendalise
