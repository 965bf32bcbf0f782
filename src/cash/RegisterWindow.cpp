#include "cash/RegisterWindow.h"

#include "access/Access.h"
#include "access/Gate.h"
#include "cash/KeptStatements.h"
#include "core/AmountText.h"
#include "core/Pictures.h"
#include "core/Printing.h"
#include "platform/Cp1252.h"
#include "platform/DataFiles.h"
#include "platform/NumberForm.h"
#include "platform/RecordList.h"

#include <QPushButton>

namespace vendalise {

namespace {

// The texts that differ between the two registers.
struct RegisterTexts {
    QString correctionMarker;
    QString sumRow;
    QString labelPrompt;
    QString printTitle;
    QString printTotal;
};

const RegisterTexts& textsOf(Register cashRegister) {
    static const RegisterTexts material{
        QStringLiteral("Correction de caisse :"), QStringLiteral("Total en caisse : "),
        QStringLiteral("Libellé de la correction de caisse"),
        QStringLiteral("Caisse à la date du : "), QStringLiteral("Montant caisse : ")};
    static const RegisterTexts drinks{QStringLiteral("Correction de caisse Boisson :"),
                                      QStringLiteral("Total en caisse Boisson : "),
                                      QStringLiteral("Libellé de la correction de caisseBoisson"),
                                      QStringLiteral("Caisse Boissons à la date du : "),
                                      QStringLiteral("Montant caisse Boissons : ")};
    return cashRegister == Register::Drinks ? drinks : material;
}

// A failure of a register's print, with the step it had reached.
class PrintFailure : public std::runtime_error {
public:
    explicit PrintFailure(const QString& description)
        : std::runtime_error("print"), description(description) {}
    QString description;
};

} // namespace

RegisterWindow::RegisterWindow(App& app, Register which, const Layout& layout)
    : Window(app, layout.name, layout.width, layout.height), cashRegister(which) {
    setWindowTitle(layout.title);
    Label1 = addLabel(QStringLiteral("Label1"), layout.heading, layout.headingAt);
    setFontOf(Label1, 12, true);
    Label1->setAlignment(Qt::AlignCenter);
    list = addList(layout.listName, false, {}, layout.listAt);
    CmdAjustement =
        addPictureButton(QStringLiteral("CmdAjustement"), correctionPicture(),
                         QStringLiteral("Correction de caisse"), twips(600, 6960, 615, 615));
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
    connect(&cash, &Cash::rowsChanging, this, [this](Register r) {
        if (r == cashRegister)
            list->clear();
    });
    connect(&cash, &Cash::listFilled, this, &RegisterWindow::showRows);
    showRows(cashRegister);
    handle(CmdSomme, &QPushButton::clicked, [this] { sum(); });
    handle(CmdReleve, &QPushButton::clicked, [this] { statement(); });
    handle(CmdAjustement, &QPushButton::clicked, [this] { correction(); });
    handle(BtnImprimer, &QPushButton::clicked, [this] { print(); });
    handle(exit, &QPushButton::clicked, [this] { hide(); });
}

// Two rows at the end of the list, not written to the ledger. A ledger that
// cannot be read is told (through run) and adds no rows.
void RegisterWindow::sum() {
    const float total = registerTotal(app_, cashRegister);
    app_.part<Cash>().totalOf(cashRegister) = total;
    list->appendRows({{textsOf(cashRegister).sumRow + numberForm(total) + QStringLiteral(" €"), 0},
                      {QStringLiteral(" "), 0}});
    list->chooseRow(list->count() - 1);
}

// The ledger is kept in "Relevés", then emptied: replaced by an empty file.
void RegisterWindow::statement() {
    app_.part<Access>().granted = false;
    ControleAcces(app_);
    if (!app_.part<Access>().granted)
        return;
    if (!app_.ask(QStringLiteral("Si vous relevez la caisse, la liste des achats\r\nen cours sera "
                                 "effacée\r\n\r\nEtes vous sûr ?"),
                  QStringLiteral("Confirmation")))
        return;
    try {
        keepAndEmpty(app_.files, cashRegister, app_.sys.clock.today());
    } catch (const FileError& error) {
        app_.tellNotWritten(QStringLiteral("La caisse n'a pas pu être relevée :\r\n"), error);
        return;
    }
    Cash& cash = app_.part<Cash>();
    cash.changeRows(cashRegister, [](Rows& shown) { shown.clear(); });
    cash.filledFrom[static_cast<int>(cashRegister)] = 0;
    cash.totalOf(cashRegister) = 0;
}

void RegisterWindow::correction() {
    app_.part<Access>().granted = false;
    ControleAcces(app_);
    if (!app_.part<Access>().granted)
        return;
    for (;;) {
        if (!app_.ask(QStringLiteral("Cet ajustement ne doit se faire que si vous avez "
                                     "constaté\r\nune différence entre le contenu de la "
                                     "caisse\r\net la somme indiquée dans la liste des "
                                     "opérations.\r\n\r\nEtes vous sûr ?"),
                      QStringLiteral("Confirmation")))
            return;
        const QString title = QStringLiteral("Correction");
        const QString label = app_.sys.messages.input(textsOf(cashRegister).labelPrompt, title);
        const QString amountText =
            app_.sys.messages.input(QStringLiteral("Montant de la correction de caisse"), title);
        const double amount = amountValue(amountText);
        qint64 at = -1;
        QString entry;
        if (fitsSingle(amount)) {
            entry = correctionEntry(cashRegister, dateText(app_.sys.clock.today()), label,
                                    static_cast<float>(amount));
            try {
                at = appendCashEntry(app_, cashRegister, entry);
            } catch (const FileError& error) {
                // Tables read from another folder: told as for every write,
                // and the correction stops.
                if (error.kind() == FileError::Kind::Elsewhere) {
                    app_.tellFileError(error);
                    return;
                }
                at = -1;
            }
        }
        if (at < 0) {
            app_.tell(QStringLiteral("La somme donné n'est pas valable\r\n\r\nLe séparateur "
                                     "décimai doit être une virgule."),
                      QStringLiteral("Saisie incorrecte"), Messages::Icon::Critical);
            continue;
        }
        // The entry stands: a list that cannot be refilled is told, and the
        // correction is not asked again.
        app_.run([&] { showAppendedEntry(app_, cashRegister, entry, at); });
        return;
    }
}

void RegisterWindow::print() {
    const RegisterTexts& texts = textsOf(cashRegister);
    const QString totalMarker = QStringLiteral("Prix total :");
    const QString& correctionMarker = texts.correctionMarker;
    float& total = app_.part<Cash>().totalOf(cashRegister);
    total = 0;
    QString step = QStringLiteral("Ligne 0");
    try {
        ImprimeLigne(app_,
                     texts.printTitle + dateText(app_.sys.clock.today()) + QStringLiteral("\r\n"),
                     12, true, true);
        QByteArray ledger;
        try {
            ledger = app_.files.readText(ledgerFileOf(cashRegister));
        } catch (const FileError& error) {
            throw PrintFailure(error.description());
        }
        const auto add = [&](const QString& amountText) {
            const double value = amountValue(amountText);
            if (!fitsSingle(value))
                throw PrintFailure(QStringLiteral("Dépassement de capacité"));
            total = static_cast<float>(double(total) + value);
        };
        qsizetype p = 0; // 1-based, 0 when not found
        // Line by line, each decoded when it is printed.
        DataFiles::forEachLine(ledger, [&](QByteArrayView bytes) {
            QString line = fromCp1252(bytes);
            step = QStringLiteral("Ligne %1").arg(p);
            if (line.contains(QLatin1String("Prix total")))
                line += QStringLiteral("€");
            const qsizetype q = line.indexOf(correctionMarker) + 1;
            if (q > 0) {
                line += QStringLiteral("€");
                add(line.mid(correctionMarker.size()));
            }
            step = QStringLiteral("Ligne Imprimer %1").arg(q);
            ImprimeLigne(app_, line, 10, false, false);
            step = QStringLiteral("Ligne Instr %1").arg(q);
            p = line.indexOf(totalMarker) + 1;
            if (p > 0) {
                step = QStringLiteral("Ligne CH2 %1").arg(p);
                const QString amountText = line.mid(p - 1 + totalMarker.size());
                step = QStringLiteral("Ligne montant %1").arg(p);
                add(amountText);
            }
        });
        ImprimeLigne(app_, texts.printTotal + numberForm(total) + QStringLiteral(" €"), 12, true,
                     false);
        if (const auto failure = app_.sys.printer.endDocument())
            throw PrintFailure(failure->description);
    } catch (const PrintFailure& failure) {
        app_.tell(QStringLiteral("Ereur impression \r\n") + failure.description +
                  QStringLiteral("\r\n") + step);
    }
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
