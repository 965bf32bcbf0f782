#include "sales/FrmAchat.h"

#include "access/Access.h"
#include "access/Gate.h"
#include "cash/CashLedger.h"
#include "core/AmountText.h"
#include "core/Pictures.h"
#include "members/MemberTable.h"
#include "platform/NumberForm.h"
#include "platform/RecordFields.h"
#include "platform/RecordList.h"
#include "sales/Purchase.h"

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
    // Made afresh, the window shows what the product lists last held, with
    // its labels as a rebuild leaves them.
    ListProduits->setSortedRows(catalogue.rows);
    if (catalogue.fill != Catalogue::Fill::None)
        resetChoice();

    connect(ListProduits, &RecordList::chosen, this,
            [this](int row) { app_.run([&] { chooseProduct(row); }); });
    handle(Achat, &QPushButton::clicked, [this] { buy(); });
    handle(Abandon, &QPushButton::clicked, [this] { hide(); });
}

void FrmAchat::setBuyer(const QString& buyer) {
    Acheteur->setText(buyer);
}

// A rebuild of the product lists also resets the chosen product's labels
// and the quantity; the filter only refills the list.
void FrmAchat::showList(Catalogue::Fill fill) {
    ListProduits->setSortedRows(app_.part<Catalogue>().rows);
    if (fill == Catalogue::Fill::Rebuilt)
        resetChoice();
}

void FrmAchat::resetChoice() {
    LabelProduit->setText(QStringLiteral("Produit"));
    LabelPU->setText(QStringLiteral("0"));
    LabelStock->setText(QStringLiteral("0"));
    TextQté->setText(QStringLiteral("1"));
}

void FrmAchat::chooseProduct(int row) {
    Catalogue& catalogue = app_.part<Catalogue>();
    const int n = ListProduits->rows().value(row).data;
    if (!catalogue.table.holds(n))
        return;
    catalogue.current = static_cast<qint16>(n);
    const Product& product = catalogue.table[n];
    LabelProduit->setText(product.name);
    LabelPU->setText(numberForm(product.price));
    LabelStock->setText(numberForm(product.stock));
}

void FrmAchat::buy() {
    Catalogue& catalogue = app_.part<Catalogue>();
    const int current = catalogue.current;
    const bool known = catalogue.table.holds(current);
    const Product& product = catalogue.table.product(current);
    const QString freeTitle = QStringLiteral("Là, c'est gratuit !");

    // The first comma becomes a point in the field itself.
    QString typed = TextQté->text();
    if (const qsizetype comma = typed.indexOf(QLatin1Char(',')); comma >= 0) {
        typed[comma] = QLatin1Char('.');
        TextQté->setText(typed);
    }
    const double value = readNumber(typed);
    if (!fitsSingle(value)) {
        app_.tell(QStringLiteral("La quantité demandée n'est pas valable"),
                  QStringLiteral("Saisie incorrecte"), Messages::Icon::Critical);
        return;
    }
    const float quantity = static_cast<float>(value);
    if (quantity == 0) {
        app_.tell(QStringLiteral("Il doit y avoir au moins 1 unité demandée"), freeTitle,
                  Messages::Icon::Critical);
        return;
    }
    if (!known) {
        app_.tell(QStringLiteral("Pas de produit sélectionné"), freeTitle,
                  Messages::Icon::Critical);
        return;
    }

    const Members& members = app_.part<Members>();
    const Member& buyer = members.table.member(members.current);
    const QString firstName = blanksTrimmed(buyer.firstName);
    const QString name = blanksTrimmed(buyer.name);
    const float total = static_cast<float>(double(quantity) * product.price);
    Purchase purchase{dateText(app_.sys.clock.today()), current, members.current, quantity,
                      CheckPayé->isChecked(), {}};
    purchase.cashEntry = saleEntry(purchase.date, firstName, name, blanksTrimmed(typed),
                                   blanksTrimmed(product.name), product.price, total);

    const bool confirmed = app_.ask(
        QStringLiteral("Achat demandé par : ") + firstName + QLatin1Char(' ') + name +
            QStringLiteral("\r\nQuantité : ") + typed + QStringLiteral("\r\nDésignation : ") +
            product.name + QStringLiteral("\r\nPrix unitaire : ") + numberForm(product.price) +
            QStringLiteral("\r\nPrix total : ") + numberForm(total),
        QStringLiteral("Confirmation"));
    if (confirmed) {
        Access& access = app_.part<Access>();
        // A paid purchase needs the access; an owed one is booked without it.
        if (!access.granted && purchase.paid)
            ControleAcces(app_);
        if (access.granted || !purchase.paid)
            EnregistreAchat(app_, purchase);
    }
    TextQté->setText(QStringLiteral("1"));
    ListProduits->clearChoice();
}

} // namespace vendalise
