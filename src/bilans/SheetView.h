#pragma once

#include "bilans/Sheets.h"

#include <QRect>
#include <QString>

class QTableView;
class QWidget;

namespace vendalise {

// A table of the Bilans window: a view of a sheet, whose texts are made
// when they are shown, so that thousands of rows are set in one go; totals
// in bold, numbers to the right, headers of two words on two lines.
QTableView* addSheetTable(QWidget* page, const QString& name, const QRect& where);
// Shows a sheet in its table, the columns as wide as their texts.
void showSheet(QTableView* table, Sheet sheet);

} // namespace vendalise
