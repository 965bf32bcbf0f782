#pragma once

#include "bilans/Charts.h"
#include "bilans/Figures.h"

#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

namespace vendalise {

// One value of a table, with what it is: the window and the print show its
// text, the spreadsheet writes numbers as numbers and dates as dates.
struct Cell {
    enum class Kind { Empty, Text, Integer, Quantity, Money, Date, Month };
    Kind kind = Kind::Empty;
    QString text;
    double number = 0;
    QDate date;

    static Cell of(const QString& text) { return {Kind::Text, text, 0, {}}; }
    static Cell integer(qint64 n) { return {Kind::Integer, {}, double(n), {}}; }
    static Cell quantity(double q) { return {Kind::Quantity, {}, q, {}}; }
    // Amounts to the cent, as shown and as the spreadsheet holds them.
    static Cell money(double amount) {
        return {Kind::Money, {}, toTheCent(amount), {}};
    }
    static Cell day(QDate date) { return {Kind::Date, {}, 0, date}; }
    static Cell month(QDate first) { return {Kind::Month, {}, 0, first}; }
    bool isNumber() const {
        return kind == Kind::Integer || kind == Kind::Quantity || kind == Kind::Money;
    }
};

// How a total row adds up the rows above it: each of its number cells is
// the sum of its column over `rows` (ranges of row indexes, both ends
// included; an empty range has its last before its first), counting only
// the rows whose `matchColumn` cell reads `match` when one is given. The
// sum is that of the cells as shown (amounts in cents), so that a total
// is its column's sum to the cent; the workbook writes it as a formula.
struct TotalOf {
    QList<std::pair<qsizetype, qsizetype>> rows;
    int matchColumn = -1;
    QString match = {};
};

// A table with French headers; its last `totalRows` rows are totals.
struct Sheet {
    QString name; // the spreadsheet's sheet, the CSV file's name
    QStringList headers;
    QList<QList<Cell>> rows;
    int totalRows = 0;
    QString note; // said under the table
    // The charts the workbook draws beside the table, each from a table of
    // its own data.
    QList<ChartData> charts = {};
    // The column of product or member names, the one a narrow table may
    // cut (none: -1).
    int nameColumn = -1;
    // How each total row adds up, in the order of the total rows.
    QList<TotalOf> totals = {};
    // The workbook's sheet of each chart, which draws it on a page of its own.
    QStringList chartSheets = {};
    // Figures of today whatever the period (debts, stock).
    bool ofToday = false;
};

// A total row added to the sheet: its number cells (their kind given,
// their value not) made the sums that `of` says.
void addTotal(Sheet& sheet, QList<Cell> row, TotalOf of);

// A key figure of the workbook's summary: its label and the cell of a
// sheet's total row that holds it.
struct KeyTotal {
    QString label;
    QString sheet;
    qsizetype row = 0;
    int column = 0;
};
// The sales and the receipts of each register and of both, the debts and
// the credits, the stock's value: those of the sheets that hold them.
QList<KeyTotal> keyTotals(const QList<Sheet>& sheets);

// The views' tables and the export's other sheets, in the workbook's order:
// "Ventes", "Produits", "Encaissements", "Dettes", "Stock", "Lignes",
// "Caisse matériel", "Caisse boissons".
QList<Sheet> bilanSheets(const Bilan& bilan);
Sheet salesSheet(const Bilan& bilan);
Sheet productsSheet(const Bilan& bilan);
Sheet receiptsSheet(const Bilan& bilan);
Sheet debtsSheet(const Bilan& bilan);
// The member of row `row` of the "Dettes" table; 0 for a row of no member
// (the row "Avoirs", the totals).
int debtsSheetMember(const Bilan& bilan, int row);
Sheet stockSheet(const Bilan& bilan);
// Two seasons month by month, September to August, and their difference,
// for both registers, then for each, a total row at the end.
Sheet comparisonSheet(const SeasonComparison& comparison, Compared what);
// The sales' and the receipts' comparisons, each with its chart: the sheets
// the export adds while the window compares two seasons.
QList<Sheet> comparisonSheets(const SeasonComparison& comparison);

// The name of an age of owed lines, as the "Dettes" table and its chart
// head it: "< 30 j" ... "> 1 an", "Date illisible".
QString debtAgeText(DebtAge age);
// The order a click on a header of the "Dettes" table sorts the debts in:
// "Adhérent" by name, the amounts by amount, "Plus ancienne" and "Âge
// (jours)" by age; none for a header that does not sort.
std::optional<DebtOrder> debtOrderOf(const QString& header);
// Which headers of the "Dettes" table sort, as the window tells it.
QString debtSortText();

// The text of a cell as the window and the print show it: amounts with two
// decimals and "€", dates dd/mm/yyyy, months by their French name.
QString cellText(const Cell& cell);
// "septembre 2026".
QString monthText(QDate month);
// A month's French name (1 to 12), "septembre", or abbreviated, "sept.".
QString monthName(int month, bool abbreviated = false);

inline const QString kUnreadableDate = QStringLiteral("Date illisible");

} // namespace vendalise
