#pragma once

#include "bilans/Sheets.h"

#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>
#include <QTime>

namespace vendalise {

class DataFiles;

// What the workbook says of itself: the club (may be empty), the period
// as the window says it ("du 01/09/2007 au 31/08/2008"), and when it was
// made, which is the day of its debts and stock.
struct ExportHeading {
    QString club;
    QString period;
    QDate today;
    QTime time;
};

// The workbook of the figures: first a summary ("Résumé": the heading and
// the key totals, each a formula referring to its sheet's total), then one
// sheet per table, numbers as numbers, dates as dates, amounts in euros
// with two decimals, formats in French whatever the reader's language, the
// header row bold and frozen, the total rows bold and each a formula with
// its value, columns as wide as their texts; each chart on a sheet of its
// own after its table's. Every sheet prints one page wide, the header row
// on each page, the club, the sheet and the period above, "Page n / N"
// below. It is written under a temporary name and renamed over `path`
// once whole, so a failure leaves nothing half written there. Throws
// FileError.
void exportWorkbook(const DataFiles& files, const QList<Sheet>& sheets, const QString& path,
                    const ExportHeading& heading);

// The same as CSV files, one per sheet, as French spreadsheets open them
// without asking: UTF-8 with a byte order mark, ";" between fields, a
// decimal comma, dd/mm/yyyy dates, quotes where a field needs them, lines
// ending in CR LF. `path` names the set ("Bilans.csv" gives "Bilans -
// Ventes.csv", ...). The files replace those of their names all or nothing
// (DataFiles::replaceTogether). Returns the files written. Throws FileError.
QStringList exportCsv(const DataFiles& files, const QList<Sheet>& sheets, const QString& path);

// One sheet's CSV text, and the file name it is written to.
QByteArray csvText(const Sheet& sheet);
QString csvFileOf(const QString& path, const Sheet& sheet);

} // namespace vendalise
