#include "ScriptedServices.h"

namespace vendalise::testing {

Answer ScriptedMessages::message(const QString& text, const QString& title, Icon icon,
                                 Buttons buttons) {
    shown.append({false, title.isEmpty() ? kApplicationName : title, text, icon, buttons, {}});
    if (onShown)
        onShown(shown.last());
    if (buttons == Buttons::Ok)
        return Answer::Ok;
    if (answers.empty()) {
        if (onUnanswered)
            onUnanswered(shown.last());
        return Answer::No;
    }
    const Answer answer = answers.front();
    answers.pop_front();
    return answer;
}

QString ScriptedMessages::input(const QString& prompt, const QString& title,
                                const QString& proposed) {
    shown.append({true, title.isEmpty() ? kApplicationName : title, prompt, Icon::None, Buttons::Ok,
                  proposed});
    if (onShown)
        onShown(shown.last());
    if (inputs.empty()) {
        if (onUnanswered)
            onUnanswered(shown.last());
        return {};
    }
    const std::optional<QString> typed = inputs.front();
    inputs.pop_front();
    return typed.value_or(QString());
}

QString ScriptedMessages::saveFileName(const QString& title, const QString& proposed,
                                       const QString& filter) {
    saveDialogs.append({title, proposed, filter});
    if (savePaths.empty()) {
        if (onUnanswered)
            onUnanswered({true, title, QStringLiteral("(enregistrer sous) ") + proposed, Icon::None,
                          Buttons::Ok, proposed});
        return {};
    }
    const QString path = savePaths.front();
    savePaths.pop_front();
    return path;
}

QString ScriptedMessages::folderName(const QString& title, const QString& proposed) {
    folderDialogs.append({title, proposed, {}});
    if (folderPaths.empty()) {
        if (onUnanswered)
            onUnanswered({true, title, QStringLiteral("(choisir un dossier) ") + proposed,
                          Icon::None, Buttons::Ok, proposed});
        return {};
    }
    const QString path = folderPaths.front();
    folderPaths.pop_front();
    return path;
}

std::optional<QStringList> ScriptedPrinter::fonts() {
    if (mode == Mode::None)
        return std::nullopt;
    return fontList;
}

std::optional<Printer::Failure> ScriptedPrinter::setFont(const QString& name, bool bold) {
    if (mode == Mode::None)
        return Failure{false, QStringLiteral("Aucune imprimante n'est installée.")};
    font = name;
    fontBold = bold;
    return std::nullopt;
}

std::optional<Printer::Failure> ScriptedPrinter::printLine(const QString& text, double size,
                                                           bool bold, bool underline) {
    Line line{false, mode != Mode::On, size, bold, underline, text};
    printed.append(line);
    switch (mode) {
    case Mode::On:
        return std::nullopt;
    case Mode::Off:
        return Failure{true, QStringLiteral("L'imprimante ne répond pas.")};
    case Mode::None:
        break;
    }
    return Failure{false, QStringLiteral("Aucune imprimante n'est installée.")};
}

// A drawing is kept as a line of size 0 naming it; it is not drawn.
std::optional<Printer::Failure> ScriptedPrinter::printDrawing(const QString& title, double,
                                                              const Drawing&) {
    return printLine(QStringLiteral("[graphique] ") + title, 0, false, false);
}

std::optional<Printer::Failure> ScriptedPrinter::endDocument() {
    printed.append(Line{true, end != End::Sent, 0, false, false, {}});
    switch (end) {
    case End::Sent:
        break;
    case End::Fails:
        return Failure{false, QStringLiteral("Le travail d'impression n'a pas pu être envoyé")};
    case End::Aborted:
        return Failure{true, QStringLiteral("L'imprimante a abandonné le travail d'impression")};
    }
    return std::nullopt;
}

Printer::Printed ScriptedPrinter::printDocument(const QString& title, QTextDocument& document,
                                                Orientation orientation) {
    const bool fails = mode == Mode::Off;
    printed.append(
        Line{false, fails, 0, false, false,
             (orientation == Orientation::Landscape ? QStringLiteral("[document paysage] ")
                                                    : QStringLiteral("[document portrait] ")) +
                 title});
    if (readDocument) {
        for (Line line : readDocument(document)) {
            line.failed = fails;
            printed.append(line);
        }
    }
    if (fails) {
        printed.append(Line{true, true, 0, false, false, {}});
        return {Failure{true, QStringLiteral("L'imprimante ne répond pas.")}, {}};
    }
    if (const std::optional<Failure> failure = endDocument())
        return {failure, {}};
    return {std::nullopt, mode == Mode::None ? noPrinterPdf : QString()};
}

} // namespace vendalise::testing
