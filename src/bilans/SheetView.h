#pragma once

#include "bilans/Sheets.h"

#include <QFontMetricsF>
#include <QString>

class QTableView;
class QWidget;

namespace vendalise {

// A table of the Bilans window: a view of a sheet, whose texts are made
// when they are shown, so that thousands of rows are set in one go; totals
// in bold, numbers to the right, headers of two words on two lines. The
// total rows stay in view under the rows, in a row of their own that does
// not scroll. The columns share the table's width: numbers, dates and
// headers whole, only a column of names cut at its end (the whole name in
// its tooltip) when there is no room.
//
// The view is made in a frame of its own, its parent widget, which is what
// a layout places.
QTableView* addSheetTable(QWidget* page, const QString& name);
// Shows a sheet in its table.
void showSheet(QTableView* table, Sheet sheet);
// The view that shows a table's total rows.
QTableView* totalsOf(const QTableView* table);

// The width of a column's cells, in the metrics of their font: the widest
// of the texts of its rows (or of its total rows), none measured that could
// not be wider than the widest found, so that a column of thousands of rows
// is measured in a few texts.
qreal widestCell(const QFontMetricsF& metrics, const Sheet& sheet, int column, bool totals);

} // namespace vendalise
