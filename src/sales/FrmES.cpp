#include "sales/FrmES.h"

#include "catalogue/Catalogue.h"
#include "core/Pictures.h"
#include "members/MemberTable.h"
#include "platform/NumberForm.h"
#include "platform/RecordFields.h"
#include "platform/RecordList.h"
#include "sales/Ledger.h"

#include <QCheckBox>
#include <QFrame>
#include <QPushButton>

namespace vendalise {

namespace {

QFrame* addLine(QWidget* parent, const QString& name, QFrame::Shape shape, const QRect& where) {
    auto* line = new QFrame(parent);
    line->setObjectName(name);
    line->setFrameShape(shape);
    line->setGeometry(where);
    line->setVisible(false);
    return line;
}

void setShown(std::initializer_list<QWidget*> controls, bool shown) {
    for (QWidget* control : controls)
        control->setVisible(shown);
}

} // namespace

FrmES::FrmES(App& app) : Window(app, QStringLiteral("FrmES"), 11685, 9690) {
    setWindowTitle(QStringLiteral("Opérations effectuées"));

    ListES =
        addList(QStringLiteral("ListES"), false, QStringLiteral("Liste des ventes (tri par date)"),
                twips(360, 2040, 11055, 7275));
    ListDettes = addList(QStringLiteral("ListDettes"), true, QStringLiteral("Liste des dettes"),
                         twips(360, 2040, 11055, 7275));
    ListDettes->setVisible(false);

    Label1 = addLabel(QStringLiteral("Label1"), QStringLiteral("Le"), twips(360, 120, 975, 255));
    TextDate = addField(QStringLiteral("TextDate"), twips(360, 360, 1215, 375));
    TextDate->setText(QStringLiteral("Date"));
    Label2 = addLabel(QStringLiteral("Label2"), QStringLiteral("Par"), twips(1800, 120, 975, 255));
    TextNom = addField(QStringLiteral("TextNom"), twips(1800, 360, 6855, 375));
    TextNom->setText(QStringLiteral("Nom"));
    ARecouvrer = addLabel(QStringLiteral("ARecouvrer"), QStringLiteral("A Recouvrer"),
                          twips(3480, 120, 5535, 375));
    setBoldOf(ARecouvrer);
    ARecouvrer->setStyleSheet(QStringLiteral("color: red;"));
    ARecouvrer->setVisible(false);
    Label3 =
        addLabel(QStringLiteral("Label3"), QStringLiteral("Achat de"), twips(360, 840, 1095, 255));
    TextQté = addField(QStringLiteral("TextQté"), twips(360, 1080, 975, 285));
    TextQté->setText(QStringLiteral("Quantité"));
    TextDésignation = addField(QStringLiteral("TextDésignation"), twips(360, 1560, 2055, 285));
    TextDésignation->setText(QStringLiteral("Désignation"));

    BtnES = addButton(QStringLiteral("BtnES"), QStringLiteral("Retour aux E/S"), {},
                      twips(1560, 840, 1455, 255));
    BtnES->setVisible(false);
    BtnDette = addButton(QStringLiteral("BtnDette"), QStringLiteral("Dettes adhérents"), {},
                         twips(2520, 1560, 1455, 255));
    CheckPayé = addCheckBox(QStringLiteral("CheckPayé"), QStringLiteral("Payé"),
                            twips(3240, 840, 735, 255));
    CheckDettes = addCheckBox(QStringLiteral("CheckDettes"), QStringLiteral("Dettes seulement"),
                              twips(4200, 840, 1695, 255));
    CheckDettes->setToolTip(QStringLiteral("Afficher tout ou seulement les opérations à régler"));
    BtnMaj = addButton(QStringLiteral("BtnMaj"), QStringLiteral("Mise à jour règlement"),
                       QStringLiteral("Cochez ci contre avant mise à jour si dettes payées"),
                       twips(4080, 1200, 1815, 255));
    Command1 =
        addButton(QStringLiteral("Command1"), QStringLiteral("Suppression de lignes"),
                  QStringLiteral("Suppression d'une opération"), twips(4080, 1560, 1815, 255));
    BtnReglement =
        addButton(QStringLiteral("BtnReglement"), QStringLiteral(" Règlement des dettes"),
                  QStringLiteral("Cochez ci contre avant mise à jour si dettes payées"),
                  twips(4080, 1560, 1935, 255));
    BtnReglement->setVisible(false);
    BtnImprimer =
        addPictureButton(QStringLiteral("BtnImprimer"), printerPicture(),
                         QStringLiteral("Imprimer les dettes"), twips(6240, 840, 375, 375));
    BtnImprimer->setVisible(false);
    Sortie = addPictureButton(QStringLiteral("Sortie"), exitPicture(),
                              QStringLiteral("Retour gestion"), twips(6720, 840, 375, 375));
    Client = addCheckBox(QStringLiteral("Client"),
                         QStringLiteral("Cocher pour le compte d'un client particulier"),
                         twips(6240, 1320, 5175, 195));
    Client->setToolTip(QStringLiteral("Affiche un client seulement"));
    ComboClient = new RecordCombo(this);
    ComboClient->setObjectName(QStringLiteral("ComboClient"));
    ComboClient->setToolTip(QStringLiteral("Choix d'un client"));
    ComboClient->setGeometry(twips(6240, 1560, 3135, 315));
    ComboClient->setEditText(QStringLiteral("Client"));
    // The bracket under "Payé" that leads to "Mise à jour règlement".
    Line2 = addLine(this, QStringLiteral("Line2"), QFrame::VLine, twips(3353, 1200, 15, 135));
    Line1 = addLine(this, QStringLiteral("Line1"), QFrame::HLine, twips(3360, 1313, 615, 15));

    // The load step.
    MajEs();
    fillClients();

    // Every line, whatever the check boxes say: MajEs applies them next time.
    connect(&app_.part<Sales>(), &Sales::salesListed, this, [this] { listLines(false); });
    connect(ListES, &RecordList::chosen, this,
            [this](int row) { app_.run([&] { chooseLine(row); }); });
    connect(ComboClient, &RecordCombo::chosen, this,
            [this](int row) { app_.run([&] { chooseClient(row); }); });
    handle(Client, &QCheckBox::toggled, [this] {
        if (Client->isChecked()) {
            MajClient();
        } else {
            MajEs();
            BtnImprimer->setVisible(false);
        }
    });
    handle(CheckDettes, &QCheckBox::toggled, [this] { refreshForDebtsBox(); });
    handle(BtnDette, &QPushButton::clicked, [this] { showDebts(); });
    handle(BtnMaj, &QPushButton::clicked, [this] { settleLine(); });
    handle(BtnReglement, &QPushButton::clicked, [this] { settleDebts(); });
    handle(Command1, &QPushButton::clicked, [this] { deleteLines(); });
    handle(BtnImprimer, &QPushButton::clicked, [this] { printReport(); });
    handle(BtnES, &QPushButton::clicked, [this] { backToSales(); });
    handle(Sortie, &QPushButton::clicked, [this] {
        backToSales();
        hide();
    });
}

void FrmES::refreshForDebtsBox() {
    if (Client->isChecked())
        MajClient();
    else
        MajEs();
}

void FrmES::fillClients() {
    const MemberTable& members = app_.part<Members>().table;
    Rows rows;
    rows.reserve(members.count());
    for (int m = 1; m <= members.count(); ++m)
        rows.append({memberRowText(members[m]), m});
    ComboClient->setRows(std::move(rows));
    // Shows the first row without choosing it.
    if (ComboClient->count() > 0)
        ComboClient->setCurrentIndex(0);
}

void FrmES::showBracket() {
    Line1->setVisible(CheckDettes->isChecked());
    Line2->setVisible(CheckDettes->isChecked());
}

void FrmES::MajEs() {
    if (Client->isChecked()) {
        MajClient();
        return;
    }
    listLines(CheckDettes->isChecked());
    showBracket();
}

void FrmES::listLines(bool owedOnly) {
    // The list lets go of the rows it shows, so that they are brought up to
    // date in place rather than copied.
    ListES->clear();
    const Rows& all = allLineRows(app_);
    if (!owedOnly) {
        ListES->setRows(all);
        return;
    }
    const LedgerTable& ledger = app_.part<Sales>().ledger;
    Rows rows;
    rows.reserve(all.size());
    for (const Row& row : all) {
        if (!ledger[row.data].isPaid())
            rows.append(row);
    }
    ListES->setRows(std::move(rows));
}

void FrmES::MajClient() {
    Sales& sales = app_.part<Sales>();
    if (sales.currentLine == 0 && ListES->count() > 0) {
        sales.currentLine = 1;
        ListES->chooseRow(0);
    }
    clientReport_.clear();
    clientTotal_ = 0;
    BtnImprimer->setVisible(true);
    clientOfView_ = sales.ledger.line(sales.currentLine).member;
    buildClientView(clientOfView_);
}

void FrmES::buildClientView(int member) {
    const LedgerTable& ledger = app_.part<Sales>().ledger;
    const MemberTable& members = app_.part<Members>().table;
    const QString& name = members.member(member).name;
    const bool owedOnly = CheckDettes->isChecked();
    Rows rows{{QStringLiteral("Client : ") + blanksTrimmed(name), 0}, {QStringLiteral(" "), 0}};
    for (int n = 1; n <= ledger.count(); ++n) {
        if (ledger[n].member != member || (owedOnly && ledger[n].isPaid()))
            continue;
        const QString text = clientLineText(app_, n);
        rows.append({text, n});
        clientReport_.append(text);
        if (owedOnly)
            clientTotal_ = static_cast<float>(double(clientTotal_) + lineAmount(app_, n));
    }
    if (owedOnly) {
        const QString total =
            QStringLiteral(" Total dû : ") + numberForm(clientTotal_) + QStringLiteral("€");
        clientReport_.append(QStringLiteral(" "));
        clientReport_.append(total);
        rows.append({QStringLiteral(" "), 0});
        rows.append({total, 0});
    }
    ListES->setRows(std::move(rows));
    showBracket();
}

void FrmES::chooseLine(int row) {
    Sales& sales = app_.part<Sales>();
    const int n = ListES->rows().value(row).data;
    sales.currentLine = static_cast<qint16>(n);
    const LedgerLine& line = sales.ledger.line(n);
    const Product& product = app_.part<Catalogue>().table.product(line.product);
    const Member& member = app_.part<Members>().table.member(line.member);
    const QString who = withoutTrailingBlanks(member.firstName) + QLatin1Char(' ') +
                        withoutTrailingBlanks(member.name);
    TextDésignation->setText(withoutTrailingBlanks(product.name));
    TextNom->setText(who);
    Client->setText(QStringLiteral("Si coché, compte de :  ") + who + QStringLiteral(" seulement"));
    TextDate->setText(line.date);
    TextQté->setText(numberForm(line.quantity));
    CheckPayé->setChecked(line.isPaid() || CheckDettes->isChecked());
    showBracket();
}

void FrmES::chooseClient(int row) {
    Client->setChecked(true);
    clientReport_.clear();
    clientTotal_ = 0;
    clientOfView_ = ComboClient->rows().value(row).data;
    buildClientView(clientOfView_);
}

void FrmES::showDebts() {
    setShown({ListES, BtnDette, BtnMaj, TextNom, Label2, CheckPayé, CheckDettes, Command1, Line1,
              Line2, Client},
             false);
    setShown({ListDettes, BtnES, BtnImprimer, BtnReglement}, true);
    TextDate->clear();
    TextQté->clear();
    TextDésignation->clear();
    fillDebts();
}

// The debtors, each with a debt that is not 0, and the amount to recover.
void FrmES::fillDebts() {
    clientTotal_ = 0;
    const Members& members = app_.part<Members>();
    Rows rows;
    for (int m = 1; m <= members.table.count(); ++m) {
        const float debt = members.debtOf(m);
        if (debt == 0)
            continue;
        rows.append({withoutTrailingBlanks(members.table[m].name) + QLatin1Char(' ') +
                         withoutTrailingBlanks(members.table[m].firstName) + QStringLiteral(" - ") +
                         numberForm(debt) + QStringLiteral(" €"),
                     m});
        clientTotal_ = static_cast<float>(double(clientTotal_) + debt);
    }
    ListDettes->setRows(std::move(rows));
    ARecouvrer->setText(QStringLiteral("Montant à recouvrer : ") + numberForm(clientTotal_) +
                        QStringLiteral("€"));
    ARecouvrer->setVisible(true);
}

void FrmES::backToSales() {
    setShown({ARecouvrer, ListDettes, BtnES, BtnImprimer, BtnReglement}, false);
    setShown({ListES, BtnDette, BtnMaj, TextNom, Label2, CheckPayé, CheckDettes, Command1, Client},
             true);
    if (CheckDettes->isChecked()) {
        Line1->setVisible(true);
        Line2->setVisible(true);
    }
    // With an empty list nothing is chosen and the fields keep their texts.
    ListES->chooseRow(0);
}

} // namespace vendalise
