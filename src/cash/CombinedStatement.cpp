#include "cash/CombinedStatement.h"

#include "cash/CashLedger.h"
#include "core/App.h"
#include "core/Printing.h"
#include "platform/DataFiles.h"
#include "platform/NumberForm.h"

namespace vendalise {

namespace {

void tellPrintFailure(App& app, const QString& description) {
    app.tell(QStringLiteral("Ereur impression \r\n") + description);
}

} // namespace

void SommeCaisses(App& app) {
    Cash& cash = app.part<Cash>();
    try {
        cash.totalOf(Register::Material) = registerTotal(app, Register::Material);
        cash.totalOf(Register::Drinks) = registerTotal(app, Register::Drinks);
    } catch (const FileError& error) {
        tellPrintFailure(app, error.description());
        return;
    }
    const float material = cash.totalOf(Register::Material);
    const float drinks = cash.totalOf(Register::Drinks);
    const float grand = static_cast<float>(double(drinks) + material);
    const QString euro = QStringLiteral("€");
    if (!app.ask(QStringLiteral("Contenu de la caisse\r\n\r\nMatériel : ") + numberForm(material) +
                     euro + QStringLiteral("\r\nBoisson : ") + numberForm(drinks) + euro +
                     QStringLiteral("\r\n\r\nContenu de la caisse ") + numberForm(grand) + euro +
                     QStringLiteral("\r\n\r\nVoulez-vous imprimer ce total ?"),
                 QStringLiteral("Etat de la caisse")))
        return;
    ImprimeLigne(app, {}, 12, true, true);
    ImprimeLigne(app,
                 QStringLiteral("\tCaisse à la date du : ") + dateText(app.sys.clock.today()) +
                     QStringLiteral("\r\n"),
                 12, true, true);
    ImprimeLigne(app, {}, 12, true, true);
    ImprimeLigne(app, QStringLiteral("Matériel : ") + numberForm(material) + euro, 12, false,
                 false);
    ImprimeLigne(app, QStringLiteral("Boissons : ") + numberForm(drinks) + euro, 12, false, false);
    ImprimeLigne(app, {}, 12, true, true);
    ImprimeLigne(app, QStringLiteral("Total : ") + numberForm(grand) + euro, 12, false, false);
    if (const auto failure = app.sys.printer.endDocument())
        tellPrintFailure(app, failure->description);
}

} // namespace vendalise
