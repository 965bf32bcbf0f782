#pragma once

#include "platform/Services.h"

#include <QString>

namespace vendalise {

class App;

// Chooses the printer's font once: the first font named Arial (in any case)
// after font 0, else font 0; bold off. Without a usable printer nothing
// happens.
void ChoixPolice(App& app);

// Prints one report line with its size, bold and underline. A failure is
// reported to the user and the line is lost; the caller goes on.
void ImprimeLigne(App& app, const QString& text, double size, bool bold, bool underline);

// Prints a drawing below the lines, `aspect` times as high as wide; a
// failure is told as a line's.
void ImprimeDessin(App& app, const QString& title, double aspect, const Printer::Drawing& draw);

// Ends the document, which sends it to the printer; a failure is reported
// with the message of a line's other failures.
void FinImpression(App& app);

// Prints a whole document (Printer::printDocument); a failure is told as a
// line's. A document written as a PDF for want of a printer is told with
// the PDF's path.
void ImprimeDocument(App& app, const QString& title, QTextDocument& document,
                     Printer::Orientation orientation);

} // namespace vendalise
