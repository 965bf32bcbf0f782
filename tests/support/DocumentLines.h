#pragma once

#include "ScriptedServices.h"

class QTextDocument;

namespace vendalise::testing {

// A document as ScriptedPrinter keeps it: each block that holds text a
// line, each row of a table a line of its cells' texts joined by tabs,
// with the size (in points), bold and underline of its first character;
// an object (a chart drawn into the document) as "[graphique] " and its
// alternative text, an image as "[image] " and its name.
QList<ScriptedPrinter::Line> documentLines(const QTextDocument& document);

} // namespace vendalise::testing
