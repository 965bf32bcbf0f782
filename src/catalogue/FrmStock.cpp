#include "catalogue/FrmStock.h"

#include "core/AmountText.h"
#include "core/Pictures.h"
#include "core/Printing.h"
#include "core/Settings.h"
#include "platform/Cp1252.h"
#include "platform/DataFiles.h"
#include "platform/Limits.h"
#include "platform/NumberForm.h"
#include "platform/RecordFields.h"
#include "platform/RecordList.h"

#include <QCheckBox>
#include <QPushButton>

#include <algorithm>

namespace vendalise {

namespace {

const QString kInputTitle = QStringLiteral("Saisie incorrecte");

// A product file that cannot be written or read back.
void tellAuthor(App& app) {
    app.tell(QStringLiteral("Si cette erreur se reproduit, contacter l'auteur"),
             QStringLiteral("Erreur programme"), Messages::Icon::Critical);
}

// The first comma of the field becomes a point, in the field itself.
void commaToPointInField(QLineEdit* field) {
    QString text = field->text();
    const qsizetype comma = text.indexOf(QLatin1Char(','));
    if (comma < 0)
        return;
    text[comma] = QLatin1Char('.');
    field->setText(text);
}

} // namespace

FrmStock::FrmStock(App& app) : Window(app, QStringLiteral("FrmStock"), 8730, 10035) {
    setWindowTitle(QStringLiteral("Stock ORV"));

    ListProduits = addList(QStringLiteral("ListProduits"), true,
                           QStringLiteral("Choisir une référence"), twips(120, 240, 5175, 9615));

    Label3 = addLabel(QStringLiteral("Label3"), QStringLiteral("Gestion des articles"),
                      twips(5400, 240, 3015, 975));
    setFontOf(Label3, 18, true);
    Label3->setWordWrap(true);
    Label5 = addLabel(QStringLiteral("Label5"), QStringLiteral("Valeur du stock"),
                      twips(5640, 1320, 2775, 375));
    setFontOf(Label5, 13.5);
    Valeurstock = addLabel(QStringLiteral("Valeurstock"), {}, twips(5640, 1800, 2775, 375));
    setFontOf(Valeurstock, 13.5);

    Label1 =
        addLabel(QStringLiteral("Label1"), QStringLiteral("Article"), twips(5520, 2760, 2895, 240));
    TextProduit = addField(QStringLiteral("TextProduit"), twips(5520, 3000, 2895, 375));
    Label2 =
        addLabel(QStringLiteral("Label2"), QStringLiteral("PU(€)"), twips(5520, 3720, 1335, 240));
    TextPU = addField(QStringLiteral("TextPU"), twips(5520, 3960, 1335, 375));
    Label4 =
        addLabel(QStringLiteral("Label4"), QStringLiteral("Stock"), twips(5520, 4680, 1335, 240));
    TextStock = addField(QStringLiteral("TextStock"), twips(5520, 4920, 1335, 375));

    AjoutProduit = addButton(QStringLiteral("AjoutProduit"), QStringLiteral("Ajouter cet article"),
                             QStringLiteral("Nouvelle référence"), twips(5640, 5640, 2535, 615));
    // A little smaller than designed, so that the caption fits with the
    // wider fonts of other desktops.
    setFontOf(AjoutProduit, 10, true);
    LabelPasAjout =
        addLabel(QStringLiteral("LabelPasAjout"),
                 QStringLiteral(
                     "On ne peut pas ajouter une référence tant qu'il y a une ligne sans libellé"),
                 twips(5520, 5520, 2775, 855));
    LabelPasAjout->setWordWrap(true);
    LabelPasAjout->setVisible(false);
    RenomeProduit =
        addButton(QStringLiteral("RenomeProduit"), QStringLiteral("Modifier ces données"),
                  QStringLiteral("Modification d'une référence"), twips(5640, 6600, 2535, 735));
    setFontOf(RenomeProduit, 10, true);

    BtnImprimer =
        addPictureButton(QStringLiteral("BtnImprimer"), printerPicture(),
                         QStringLiteral("Imprimer le stock"), twips(5520, 8040, 495, 495));
    Fin = addPictureButton(QStringLiteral("Fin"), exitPicture(),
                           QStringLiteral("Retour à l'écran de gestion"),
                           twips(7800, 8040, 495, 495));
    Acommander = addCheckBox(QStringLiteral("Acommander"),
                             QStringLiteral("N'afficher que si le stock est < à :"),
                             twips(5400, 9120, 3255, 375));
    TextPlancher = addField(QStringLiteral("TextPlancher"), twips(6600, 9600, 735, 285));
    TextPlancher->setToolTip(QStringLiteral("Valeur de déclenchement d'alerte"));
    // A window made afresh shows the threshold start-up read, so that
    // leaving the field never stores an empty threshold.
    TextPlancher->setText(app_.part<Catalogue>().thresholdText);

    Catalogue& catalogue = app_.part<Catalogue>();
    connect(&catalogue, &Catalogue::listsFilled, this, &FrmStock::showLists);
    showLists(catalogue.fill);

    connect(ListProduits, &RecordList::chosen, this,
            [this](int row) { app_.run([&] { chooseProduct(row); }); });
    handle(AjoutProduit, &QPushButton::clicked, [this] { addProduct(); });
    handle(RenomeProduit, &QPushButton::clicked, [this] { modifyProduct(); });
    handle(Acommander, &QCheckBox::toggled, [this] { refillByFilter(); });
    handle(TextPlancher, &QLineEdit::returnPressed, [this] { refillByFilter(); });
    handle(TextPlancher, &TextField::left,
           [this] { kThresholdSetting.keep(app_, ThresholdText{TextPlancher->text()}); });
    handle(BtnImprimer, &QPushButton::clicked, [this] { printReport(); });
    handle(Fin, &QPushButton::clicked, [this] { hide(); });
}

void FrmStock::showLists(Catalogue::Fill fill) {
    const Catalogue& catalogue = app_.part<Catalogue>();
    Rows rows = catalogue.rows;
    if (fill == Catalogue::Fill::Rebuilt)
        insertSorted(rows, catalogue.summary);
    ListProduits->setSortedRows(std::move(rows));
    TextProduit->clear();
    TextPU->clear();
    TextStock->clear();
    chosen_ = 0;
    if (fill == Catalogue::Fill::None)
        return;
    AjoutProduit->setVisible(catalogue.unlabelled == 0);
    LabelPasAjout->setVisible(catalogue.unlabelled != 0);
    Valeurstock->setText(numberForm(catalogue.stockValue) + QStringLiteral(" €"));
}

void FrmStock::clearFilter() {
    Acommander->setChecked(false);
}

void FrmStock::refillByFilter() {
    filterProducts(app_, Acommander->isChecked(), TextPlancher->text());
}

void FrmStock::chooseProduct(int row) {
    Catalogue& catalogue = app_.part<Catalogue>();
    const int n = ListProduits->rows().value(row).data;
    const Product& product = catalogue.table.product(n);
    chosen_ = n;
    catalogue.current = static_cast<qint16>(n);
    TextProduit->setText(product.name);
    TextPU->setText(numberForm(product.price));
    TextStock->setText(numberForm(product.stock));
}

void FrmStock::addProduct() {
    const Catalogue& catalogue = app_.part<Catalogue>();
    if (catalogue.unlabelled != 0) {
        app_.tell(QStringLiteral("Il n'est pas possible d'ajouter un produit\r\n"
                                 "tant qu'il reste des produits sans libellés.\r\n\r\n"
                                 "Utiliser le bouton 'Modifier ces données' sur un item "
                                 "disponible."),
                  QStringLiteral("Ajout de produit impossible"), Messages::Icon::Critical);
        MajProduits(app_);
        return;
    }
    const QString name = blanksTrimmed(TextProduit->text());
    commaToPointInField(TextPU);
    const double price = amountValue(TextPU->text());
    const double stock = amountValue(TextStock->text());
    if (!fitsSingle(price) || !fitsSingle(stock)) {
        app_.tell(QStringLiteral("Le nombre donné n'est pas valable."), kInputTitle,
                  Messages::Icon::Critical);
        return;
    }
    const auto authorMessage = [this](const FileError&) { tellAuthor(app_); };
    int n = 0;
    const bool written = app_.run(
        [&] {
            try {
                n = appendProduct(app_.files, name, float(price), float(stock));
            } catch (const TableFull&) {
                app_.tell(QStringLiteral("Le fichier Produits.orv est plein : on ne peut plus "
                                         "y ajouter de produit."),
                          QStringLiteral("Ajout de produit impossible"), Messages::Icon::Critical);
            }
        },
        authorMessage);
    if (!written || n == 0)
        return;
    app_.tell(TextProduit->text() + QStringLiteral("\r\nest ajouté à la liste des produits\r\n") +
                  QStringLiteral("N° d'identification ") + QString::number(n),
              QStringLiteral("Ajout d'un produit"), Messages::Icon::Information);
    app_.run([&] { ChargeProduits(app_); }, authorMessage);
}

void FrmStock::modifyProduct() {
    // Without a chosen product nothing may be written.
    const int n = chosen_;
    Catalogue& catalogue = app_.part<Catalogue>();
    if (!catalogue.table.holds(n))
        return;
    if (!app_.ask(QStringLiteral("Modifier : ") + catalogue.table[n].name +
                      QStringLiteral("\r\ndans le stock ?"),
                  QStringLiteral("Modifier un produit"))) {
        MajProduits(app_);
        return;
    }
    // A stock that is no number, or a number beyond single precision, is
    // refused before anything changes: the fields keep what was typed.
    const QString stockText = TextStock->text().isEmpty() ? QStringLiteral("0") : TextStock->text();
    const std::optional<double> stock = decimalNumber(stockText);
    if (!stock) {
        app_.tell(QStringLiteral("Le stock donné n'est pas un nombre."), kInputTitle,
                  Messages::Icon::Critical);
        return;
    }
    QString priceText = TextPU->text();
    if (const qsizetype comma = priceText.indexOf(QLatin1Char(',')); comma >= 0)
        priceText[comma] = QLatin1Char('.');
    const double price = readNumber(priceText);
    if (!fitsSingle(price) || !fitsSingle(*stock)) {
        app_.tell(QStringLiteral("Le nombre donné n'est pas valable."), kInputTitle,
                  Messages::Icon::Critical);
        return;
    }
    commaToPointInField(TextPU);
    if (TextPU->text().isEmpty())
        TextPU->setText(QStringLiteral(" "));
    if (TextStock->text().isEmpty())
        TextStock->setText(QStringLiteral("0"));

    const QString name = blanksTrimmed(TextProduit->text());
    const bool written =
        app_.run([&] { writeProduct(app_.files, n, name, float(price), float(*stock)); },
                 [this](const FileError&) { tellAuthor(app_); });
    if (written)
        catalogue.table[n] = {name, float(price), float(*stock)};
    MajProduits(app_);
}

void FrmStock::printReport() {
    ImprimeLigne(app_,
                 QStringLiteral("\tEtat du stock à la date du : ") +
                     dateText(app_.sys.clock.today()) + QStringLiteral("\r\n\r\n"),
                 12, true, true);
    const ProductTable& table = app_.part<Catalogue>().table;
    for (const int n : stockReportOrder(table)) {
        const Product& product = table[n];
        // Free records are left out: blank names, the empty name of one
        // relabelled so, and a name that begins with ten blanks.
        if (isUnlabelled(product.name) || product.name.startsWith(QString(10, QLatin1Char(' '))))
            continue;
        ImprimeLigne(app_,
                     QStringLiteral("    ") + withoutTrailingBlanks(product.name) +
                         QStringLiteral(" - Prix unitaire : ") + numberForm(product.price) +
                         QStringLiteral(" € - En stock : ") + numberForm(product.stock),
                     10, false, false);
    }
    FinImpression(app_);
}

} // namespace vendalise
