#include "core/Printing.h"

#include "core/App.h"

#include <QDir>

namespace vendalise {

void ChoixPolice(App& app) {
    Printer& printer = app.sys.printer;
    const std::optional<QStringList> fonts = printer.fonts();
    if (!fonts || fonts->isEmpty())
        return;
    // Font 0 is the fallback; the search itself starts at font 1.
    qsizetype chosen = 0;
    for (qsizetype i = 1; i < fonts->size(); ++i) {
        if (fonts->at(i).toUpper() == QStringLiteral("ARIAL")) {
            chosen = i;
            break;
        }
    }
    printer.setFont(fonts->at(chosen), false);
}

namespace {

void tellPrintFailure(App& app, const Printer::Failure& failure, bool lineOwn) {
    if (lineOwn && failure.printerError) {
        app.tell(QStringLiteral("Vous avez indiqué Annuler lors d'une impression.\r\n\r\n"
                                "Cette action risque de ne plus permettre d'imprimer."),
                 QStringLiteral("   Erreur impression"), Messages::Icon::Exclamation);
    } else {
        app.tell(failure.description +
                     QStringLiteral("\n\nL'impression n'a pas été possible.\n\nContactez l'auteur"),
                 QStringLiteral("Erreur dans l'impression"), Messages::Icon::Critical);
    }
}

} // namespace

void ImprimeLigne(App& app, const QString& text, double size, bool bold, bool underline) {
    if (const auto failure = app.sys.printer.printLine(text, size, bold, underline))
        tellPrintFailure(app, *failure, true);
}

void ImprimeDessin(App& app, const QString& title, double aspect, const Printer::Drawing& draw) {
    if (const auto failure = app.sys.printer.printDrawing(title, aspect, draw))
        tellPrintFailure(app, *failure, true);
}

void FinImpression(App& app) {
    if (const auto failure = app.sys.printer.endDocument())
        tellPrintFailure(app, *failure, false);
}

void ImprimeDocument(App& app, const QString& title, QTextDocument& document,
                     Printer::Orientation orientation) {
    const Printer::Printed printed = app.sys.printer.printDocument(title, document, orientation);
    if (printed.failure)
        tellPrintFailure(app, *printed.failure, true);
    else if (!printed.pdf.isEmpty())
        app.tell(QStringLiteral("Aucune imprimante n'est disponible : le document a été "
                                "enregistré en PDF :\r\n") +
                     QDir::toNativeSeparators(printed.pdf),
                 QStringLiteral("Impression"), Messages::Icon::Information);
}

} // namespace vendalise
