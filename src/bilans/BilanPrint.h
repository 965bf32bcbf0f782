#pragma once

#include "bilans/Charts.h"
#include "bilans/Sheets.h"
#include "platform/Services.h"

#include <QDate>
#include <QList>
#include <QString>

#include <memory>

class QTextDocument;

namespace vendalise {

// A view of the Bilans window as it is printed: its name, what its figures
// are of ("du 01/09/2007 au 31/08/2008", "à la date du 05/12/2007"), the
// club, the day it is printed, its tables and its charts.
struct BilanPrintView {
    QString view;
    QString when;
    QString club; // left out when empty
    QDate printed;
    QList<Sheet> sheets;
    QList<ChartData> charts;
    // The font family it is printed in (the printer's); "" for Qt's
    // default.
    QString family = {};
};

// "Bilans – Ventes": the document's title and first line.
QString bilanTitle(const BilanPrintView& view);

// The view as a document, laid out by Qt's text layout: the title, the
// club, the period or day, "Imprimé le ...", then each table (its header
// row repeated on each page, amounts right-aligned, its total rows bold,
// names wrapped) with its note, then each chart drawn as vectors on a page
// of its own, as large as the page, its labels fitted to that size.
std::unique_ptr<QTextDocument> bilanDocument(const BilanPrintView& view);

// Landscape when one of the view's tables, its names wrapped at most to a
// third of the page, is wider than a portrait page's text.
Printer::Orientation bilanOrientation(const BilanPrintView& view);

} // namespace vendalise
