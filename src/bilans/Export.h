#pragma once

#include "bilans/Sheets.h"

#include <QList>
#include <QString>
#include <QStringList>

namespace vendalise {

class DataFiles;

// The workbook of the figures: one sheet per table, numbers as numbers,
// dates as dates, amounts in euros with two decimals, the header row bold
// and frozen, the total rows bold, columns as wide as their texts. It is
// written under a temporary name and renamed over `path` once whole, so a
// failure leaves nothing half written there. Throws FileError.
void exportWorkbook(const DataFiles& files, const QList<Sheet>& sheets, const QString& path);

// The same as CSV files, one per sheet, as French spreadsheets open them
// without asking: UTF-8 with a byte order mark, ";" between fields, a
// decimal comma, dd/mm/yyyy dates, quotes where a field needs them, lines
// ending in CR LF. `path` names the set ("Bilans.csv" gives "Bilans -
// Ventes.csv", ...). Every file is written under a temporary name first.
// Returns the files written. Throws FileError.
QStringList exportCsv(const DataFiles& files, const QList<Sheet>& sheets, const QString& path);

// One sheet's CSV text, and the file name it is written to.
QByteArray csvText(const Sheet& sheet);
QString csvFileOf(const QString& path, const Sheet& sheet);

} // namespace vendalise
