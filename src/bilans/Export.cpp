#include "bilans/Export.h"

#include "platform/DataFiles.h"
#include "platform/NumberForm.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <xlsxwriter.h>

#include <algorithm>

namespace vendalise {

namespace {

// Widths in characters, as a spreadsheet counts them.
constexpr double kMinWidth = 8;
constexpr double kMaxWidth = 60;
// The widest table an A4 page holds upright at full size, its margins
// taken; a wider one prints across the page.
constexpr double kUprightWidth = 90;
constexpr uint8_t kA4 = 9;

// Number and date forms that say they are French: months and amounts read
// in French whatever language the spreadsheet runs in (a reader that
// follows the PC's separators, as Excel does, still names the months in
// French).
#define FRENCH "[$-40C]"
constexpr const char* kMoneyForm = FRENCH "#,##0.00\\ \"\xe2\x82\xac\"";
constexpr const char* kAxisForm = FRENCH "#,##0\\ \"\xe2\x82\xac\"";
constexpr const char* kDateForm = FRENCH "dd/mm/yyyy";
constexpr const char* kMonthForm = FRENCH "mmmm yyyy";
constexpr const char* kQuantityForm = FRENCH "General";
#undef FRENCH

FileError exportError(const QString& path, const QString& description) {
    return FileError(FileError::Kind::Other, path, description);
}

// The cell's formats of one workbook, plain and bold.
struct Formats {
    lxw_format* text[2];
    lxw_format* integer[2];
    lxw_format* quantity[2];
    lxw_format* money[2];
    lxw_format* date[2];
    lxw_format* month[2];
    lxw_format* header;
    lxw_format* numberHeader; // over a column of numbers, right as they are
    lxw_format* note;
    lxw_format* title;

    explicit Formats(lxw_workbook* book) {
        for (const int bold : {0, 1}) {
            const auto make = [&](const char* numberFormat) {
                lxw_format* format = workbook_add_format(book);
                if (bold)
                    format_set_bold(format);
                if (numberFormat)
                    format_set_num_format(format, numberFormat);
                return format;
            };
            text[bold] = make(nullptr);
            integer[bold] = make("0");
            // As many decimals as the quantity has, none for a whole one.
            quantity[bold] = make(kQuantityForm);
            money[bold] = make(kMoneyForm);
            // Dates and months head their rows: left, as the names beside them.
            date[bold] = make(kDateForm);
            month[bold] = make(kMonthForm);
            format_set_align(date[bold], LXW_ALIGN_LEFT);
            format_set_align(month[bold], LXW_ALIGN_LEFT);
        }
        header = workbook_add_format(book);
        format_set_bold(header);
        format_set_bottom(header, LXW_BORDER_THIN);
        numberHeader = workbook_add_format(book);
        format_set_bold(numberHeader);
        format_set_bottom(numberHeader, LXW_BORDER_THIN);
        format_set_align(numberHeader, LXW_ALIGN_RIGHT);
        note = workbook_add_format(book);
        format_set_italic(note);
        title = workbook_add_format(book);
        format_set_bold(title);
        format_set_font_size(title, 14);
    }
};

// What every page of the workbook says above and below its sheet.
struct Pages {
    QString club;   // escaped for a page header
    QString period; // escaped
    QString today;  // "Au JJ/MM/AAAA", escaped
    QString footer;
    // The pages of a sheet: those of today's figures (debts, stock) are
    // headed with the day they were read, not the period.
    Pages of(const Sheet& sheet) const {
        Pages pages = *this;
        if (sheet.ofToday)
            pages.period = today;
        return pages;
    }
};

// A text as a page header or footer shows it: "&" stands for itself.
QString pageText(QString text) {
    return text.replace(QLatin1Char('&'), QStringLiteral("&&"));
}

Pages pagesOf(const ExportHeading& heading) {
    // A page header holds 255 characters in all.
    return {pageText(heading.club.left(80)),
            pageText(QStringLiteral("Période : ") + heading.period.left(80)),
            pageText(QStringLiteral("Au ") + dateText(heading.today)),
            QStringLiteral("&L") +
                pageText(QStringLiteral("Exporté le ") + dateText(heading.today) +
                         QStringLiteral(" à ") + heading.time.toString(QStringLiteral("HH:mm"))) +
                QStringLiteral("&CPage &P / &N")};
}

QByteArray headerOf(const Pages& pages, const QString& sheet) {
    const QString club = pages.club.isEmpty() ? QString() : QStringLiteral("&L") + pages.club;
    return (club + QStringLiteral("&C") + pageText(sheet) + QStringLiteral("&R") + pages.period)
        .toUtf8();
}

void check(lxw_error error, const QString& path) {
    if (error != LXW_NO_ERROR)
        throw exportError(path, QString::fromUtf8(lxw_strerror(error)));
}

// A sheet's pages: upright or across, one page wide and as many tall as it
// takes, its header row on each, the club, the sheet and the period above,
// the export's day and "Page n / N" below.
void setPages(lxw_worksheet* worksheet, const QString& name, bool wide, const Pages& pages,
              const QString& path) {
    worksheet_set_paper(worksheet, kA4);
    if (wide)
        worksheet_set_landscape(worksheet);
    else
        worksheet_set_portrait(worksheet);
    worksheet_fit_to_pages(worksheet, 1, 0);
    check(worksheet_set_header(worksheet, headerOf(pages, name).constData()), path);
    check(worksheet_set_footer(worksheet, pages.footer.toUtf8().constData()), path);
}

// A sheet's name in a formula: 'Caisse matériel'.
QString quotedSheet(const QString& name) {
    QString quoted = name;
    quoted.replace(QLatin1Char('\''), QStringLiteral("''"));
    return QLatin1Char('\'') + quoted + QLatin1Char('\'');
}

lxw_datetime dayOf(QDate date) {
    return {date.year(), date.month(), date.day(), 0, 0, 0};
}

// Writes the cell in its kind's format, bold on a total row.
lxw_error writeCell(lxw_worksheet* sheet, lxw_row_t row, lxw_col_t column, const Cell& cell,
                    const Formats& formats, int bold) {
    switch (cell.kind) {
    case Cell::Kind::Empty:
        return bold ? worksheet_write_blank(sheet, row, column, formats.text[1]) : LXW_NO_ERROR;
    case Cell::Kind::Text:
        return worksheet_write_string(sheet, row, column, cell.text.toUtf8().constData(),
                                      formats.text[bold]);
    case Cell::Kind::Integer:
        return worksheet_write_number(sheet, row, column, cell.number, formats.integer[bold]);
    case Cell::Kind::Quantity:
        return worksheet_write_number(sheet, row, column, cell.number, formats.quantity[bold]);
    case Cell::Kind::Money:
        return worksheet_write_number(sheet, row, column, cell.number, formats.money[bold]);
    case Cell::Kind::Date: {
        lxw_datetime day = dayOf(cell.date);
        return worksheet_write_datetime(sheet, row, column, &day, formats.date[bold]);
    }
    case Cell::Kind::Month: {
        lxw_datetime day = dayOf(cell.date);
        return worksheet_write_datetime(sheet, row, column, &day, formats.month[bold]);
    }
    }
    return LXW_NO_ERROR;
}

// "A", "B", ... "AA": a column's name in a formula.
QString columnName(lxw_col_t column) {
    QString name;
    for (int n = int(column) + 1; n > 0; n = (n - 1) / 26)
        name.prepend(QLatin1Char(char('A' + (n - 1) % 26)));
    return name;
}

// "='Ventes'!$L$2:$L$5": a range of one column, rows counted from 0.
QByteArray rangeOf(const QString& sheet, lxw_col_t column, int firstRow, int lastRow) {
    const QString name = columnName(column);
    return (QLatin1Char('=') + quotedSheet(sheet) + QStringLiteral("!$") + name + QLatin1Char('$') +
            QString::number(firstRow + 1) + QStringLiteral(":$") + name + QLatin1Char('$') +
            QString::number(lastRow + 1))
        .toUtf8();
}

// "C2:C13", a column's cells of the table's rows (counted from 0 under the
// header row).
QString cellsOf(lxw_col_t column, qsizetype first, qsizetype last, bool fixed = false) {
    const QString name = columnName(column);
    const QString dollar = fixed ? QStringLiteral("$") : QString();
    return dollar + name + dollar + QString::number(first + 2) + QLatin1Char(':') + dollar + name +
           dollar + QString::number(last + 2);
}

// The formula of a total's column: SUM of its rows, or SUMIF of those that
// the total counts; none when there is no row to add.
QByteArray totalFormula(const TotalOf& total, lxw_col_t column) {
    QStringList parts;
    QString quoted = total.match;
    quoted.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    for (const auto& [first, last] : total.rows) {
        if (last < first)
            continue;
        if (total.matchColumn < 0)
            parts.append(cellsOf(column, first, last));
        else
            parts.append(QStringLiteral("SUMIF(") +
                         cellsOf(lxw_col_t(total.matchColumn), first, last, true) +
                         QStringLiteral(",\"") + quoted + QStringLiteral("\",") +
                         cellsOf(column, first, last) + QLatin1Char(')'));
    }
    if (parts.isEmpty())
        return {};
    if (total.matchColumn < 0)
        return (QStringLiteral("=SUM(") + parts.join(QLatin1Char(',')) + QLatin1Char(')')).toUtf8();
    return (QLatin1Char('=') + parts.join(QLatin1Char('+'))).toUtf8();
}

// The chart's data as a small table (its title, then the categories and a
// column per series) beside the sheet's table, and a native chart of it on
// a sheet of its own, a page across.
void writeChart(lxw_workbook* book, lxw_worksheet* worksheet, const QString& sheetName,
                lxw_col_t column, const ChartData& data, const QString& chartSheet,
                const Formats& formats, const Pages& pages, const QString& path) {
    const auto check = [&](lxw_error error) { vendalise::check(error, path); };
    check(worksheet_write_string(worksheet, 0, column, data.title.toUtf8().constData(),
                                 formats.header));
    for (qsizetype s = 0; s < data.series.size(); ++s)
        check(worksheet_write_string(worksheet, 0, lxw_col_t(column + 1 + s),
                                     data.series[s].name.toUtf8().constData(), formats.header));
    for (qsizetype c = 0; c < data.categories.size(); ++c) {
        check(worksheet_write_string(worksheet, lxw_row_t(c + 1), column,
                                     data.categories[c].toUtf8().constData(), formats.text[0]));
        for (qsizetype s = 0; s < data.series.size(); ++s)
            check(worksheet_write_number(worksheet, lxw_row_t(c + 1), lxw_col_t(column + 1 + s),
                                         data.series[s].values.value(c), formats.money[0]));
    }
    worksheet_set_column(worksheet, column, column, 24, nullptr);
    worksheet_set_column(worksheet, column + 1, lxw_col_t(column + data.series.size()), 16,
                         nullptr);
    // No category, no chart (a chart needs a series of values).
    if (data.categories.isEmpty())
        return;
    lxw_chartsheet* sheet = workbook_add_chartsheet(book, chartSheet.toUtf8().constData());
    if (!sheet)
        throw exportError(
            path, QStringLiteral("La feuille « %1 » n'a pas pu être créée.").arg(chartSheet));
    chartsheet_set_paper(sheet, kA4);
    chartsheet_set_landscape(sheet);
    check(chartsheet_set_header(sheet, headerOf(pages, chartSheet).constData()));
    check(chartsheet_set_footer(sheet, pages.footer.toUtf8().constData()));
    const uint8_t type = data.kind == ChartData::Kind::StackedBars      ? LXW_CHART_COLUMN_STACKED
                         : data.kind == ChartData::Kind::HorizontalBars ? LXW_CHART_BAR
                                                                        : LXW_CHART_COLUMN;
    lxw_chart* chart = workbook_add_chart(book, type);
    const int last = int(data.categories.size());
    const QByteArray sheetUtf8 = sheetName.toUtf8();
    for (qsizetype s = 0; s < data.series.size(); ++s) {
        const QByteArray categories = rangeOf(sheetName, column, 1, last);
        const QByteArray values = rangeOf(sheetName, lxw_col_t(column + 1 + s), 1, last);
        lxw_chart_series* series =
            chart_add_series(chart, categories.constData(), values.constData());
        chart_series_set_name_range(series, sheetUtf8.constData(), 0, lxw_col_t(column + 1 + s));
        lxw_chart_fill fill{seriesColour(data, s), 0, 0};
        chart_series_set_fill(series, &fill);
    }
    chart_title_set_name(chart, data.title.toUtf8().constData());
    chart_axis_set_num_format(type == LXW_CHART_BAR ? chart->x_axis : chart->y_axis, kAxisForm);
    // A horizontal chart reads from the top, largest first.
    if (type == LXW_CHART_BAR)
        chart_axis_set_reverse(chart->y_axis);
    chart_legend_set_position(chart, data.series.size() > 1 ? LXW_CHART_LEGEND_BOTTOM
                                                            : LXW_CHART_LEGEND_NONE);
    check(chartsheet_set_chart(sheet, chart));
}

void writeSheet(lxw_workbook* book, const Sheet& sheet, const Formats& formats, const Pages& pages,
                const QString& path) {
    const QByteArray name = sheet.name.toUtf8();
    lxw_worksheet* worksheet = workbook_add_worksheet(book, name.constData());
    if (!worksheet)
        throw exportError(
            path, QStringLiteral("La feuille « %1 » n'a pas pu être créée.").arg(sheet.name));
    QList<double> widths(sheet.headers.size(), kMinWidth);
    const auto fit = [&](int column, const QString& text) {
        widths[column] = std::clamp(double(text.size()) + 2, widths[column], kMaxWidth);
    };
    const auto check = [&](lxw_error error) { vendalise::check(error, path); };
    for (int c = 0; c < sheet.headers.size(); ++c) {
        const bool numbers =
            std::any_of(sheet.rows.begin(), sheet.rows.end(),
                        [c](const QList<Cell>& row) { return row.value(c).isNumber(); });
        check(worksheet_write_string(worksheet, 0, lxw_col_t(c),
                                     sheet.headers[c].toUtf8().constData(),
                                     numbers ? formats.numberHeader : formats.header));
        fit(c, sheet.headers[c]);
    }
    const qsizetype firstTotal = sheet.rows.size() - sheet.totalRows;
    for (qsizetype r = 0; r < sheet.rows.size(); ++r) {
        const QList<Cell>& row = sheet.rows[r];
        const int bold = r >= firstTotal ? 1 : 0;
        for (int c = 0; c < row.size() && c < widths.size(); ++c) {
            fit(c, cellText(row[c]));
            // A total adds up its rows in a formula, its value stored for the
            // readers that do not compute.
            const QByteArray formula =
                bold && row[c].isNumber()
                    ? totalFormula(sheet.totals.value(r - firstTotal), lxw_col_t(c))
                    : QByteArray();
            if (formula.isEmpty())
                check(writeCell(worksheet, lxw_row_t(r + 1), lxw_col_t(c), row[c], formats, bold));
            else
                check(worksheet_write_formula_num(
                    worksheet, lxw_row_t(r + 1), lxw_col_t(c), formula.constData(),
                    row[c].kind == Cell::Kind::Money     ? formats.money[1]
                    : row[c].kind == Cell::Kind::Integer ? formats.integer[1]
                                                         : formats.quantity[1],
                    row[c].number));
        }
    }
    if (!sheet.note.isEmpty())
        check(worksheet_write_string(worksheet, lxw_row_t(sheet.rows.size() + 2), 0,
                                     sheet.note.toUtf8().constData(), formats.note));
    for (int c = 0; c < widths.size(); ++c)
        worksheet_set_column(worksheet, lxw_col_t(c), lxw_col_t(c), widths[c], nullptr);
    worksheet_freeze_panes(worksheet, 1, 0);
    // The table and its note printed, not the charts' data beside it (each
    // chart prints on its own page).
    double width = 0;
    for (const double w : widths)
        width += w;
    setPages(worksheet, sheet.name, width > kUprightWidth, pages, path);
    worksheet_repeat_rows(worksheet, 0, 0);
    const lxw_row_t lastRow = lxw_row_t(sheet.rows.size() + (sheet.note.isEmpty() ? 0 : 2));
    check(worksheet_print_area(worksheet, 0, 0, lastRow,
                               lxw_col_t(std::max<qsizetype>(sheet.headers.size(), 1) - 1)));
    // Each chart's data right of the table, the chart on a sheet of its own.
    lxw_col_t column = lxw_col_t(sheet.headers.size() + 1);
    for (qsizetype n = 0; n < sheet.charts.size(); ++n) {
        const ChartData& chart = sheet.charts[n];
        const QString chartSheet = sheet.chartSheets.value(
            n, QStringLiteral("Graphique %1 %2").arg(sheet.name).arg(n + 1));
        writeChart(book, worksheet, sheet.name, column, chart, chartSheet, formats, pages, path);
        column += lxw_col_t(chart.series.size() + 2);
    }
}

// The first sheet: what the workbook is of, and its key totals, each
// referring to the total it repeats.
void writeSummary(lxw_workbook* book, const QList<Sheet>& sheets, const ExportHeading& heading,
                  const Formats& formats, const Pages& pages, const QString& path) {
    const QString name = QStringLiteral("Résumé");
    lxw_worksheet* worksheet = workbook_add_worksheet(book, name.toUtf8().constData());
    if (!worksheet)
        throw exportError(path,
                          QStringLiteral("La feuille « %1 » n'a pas pu être créée.").arg(name));
    const auto check = [&](lxw_error error) { vendalise::check(error, path); };
    const auto text = [&](lxw_row_t row, lxw_col_t column, const QString& value,
                          lxw_format* format) {
        check(worksheet_write_string(worksheet, row, column, value.toUtf8().constData(), format));
    };
    const QString today = dateText(heading.today);
    text(0, 0, QStringLiteral("Bilans"), formats.title);
    text(1, 0, QStringLiteral("Club"), formats.text[1]);
    text(1, 1, heading.club, formats.text[0]);
    text(2, 0, QStringLiteral("Période"), formats.text[1]);
    text(2, 1, heading.period, formats.text[0]);
    text(3, 0, QStringLiteral("Exporté le"), formats.text[1]);
    text(3, 1, today + QStringLiteral(" à ") + heading.time.toString(QStringLiteral("HH:mm")),
         formats.text[0]);
    text(4, 0, QStringLiteral("Dettes et stock au ") + today, formats.note);
    text(6, 0, QStringLiteral("Total"), formats.header);
    text(6, 1, QStringLiteral("Montant"), formats.numberHeader);
    lxw_row_t row = 7;
    for (const KeyTotal& key : keyTotals(sheets)) {
        const Sheet* sheet = nullptr;
        for (const Sheet& each : sheets)
            if (each.name == key.sheet)
                sheet = &each;
        text(row, 0, key.label, formats.text[0]);
        const QByteArray formula =
            (QLatin1Char('=') + quotedSheet(key.sheet) + QLatin1Char('!') +
             columnName(lxw_col_t(key.column)) + QString::number(key.row + 2))
                .toUtf8();
        check(worksheet_write_formula_num(worksheet, row, 1, formula.constData(), formats.money[0],
                                          sheet->rows[key.row][key.column].number));
        ++row;
    }
    worksheet_set_column(worksheet, 0, 0, 38, nullptr);
    worksheet_set_column(worksheet, 1, 1, 30, nullptr);
    setPages(worksheet, name, false, pages, path);
}

void writeWorkbook(const QList<Sheet>& sheets, const ExportHeading& heading,
                   const QString& temporary, const QString& target) {
    // The library writes its numbers with printf: with a decimal point,
    // whatever the locale.
    const ClassicNumbers classic;
    const QByteArray file = QFile::encodeName(QDir::toNativeSeparators(temporary));
    const QByteArray folder =
        QFile::encodeName(QDir::toNativeSeparators(QFileInfo(temporary).absolutePath()));
    lxw_workbook_options options{};
    options.tmpdir = const_cast<char*>(folder.constData());
    lxw_workbook* book = workbook_new_opt(file.constData(), &options);
    if (!book)
        throw exportError(target, QStringLiteral("Le classeur n'a pas pu être créé."));
    try {
        const Formats formats(book);
        const Pages pages = pagesOf(heading);
        writeSummary(book, sheets, heading, formats, pages, target);
        for (const Sheet& sheet : sheets)
            writeSheet(book, sheet, formats, pages.of(sheet), target);
    } catch (const FileError&) {
        workbook_close(book);
        throw;
    }
    if (const lxw_error error = workbook_close(book); error != LXW_NO_ERROR)
        throw exportError(target, QString::fromUtf8(lxw_strerror(error)));
}

QString csvNumber(const Cell& cell) {
    switch (cell.kind) {
    case Cell::Kind::Integer:
        return QString::number(qint64(cell.number));
    case Cell::Kind::Money:
        return frenchNumber(cell.number, 2);
    default:
        return frenchNumber(cell.number);
    }
}

QString csvField(const Cell& cell) {
    QString text;
    if (cell.isNumber())
        text = csvNumber(cell);
    else if (cell.kind == Cell::Kind::Date || cell.kind == Cell::Kind::Month)
        text = dateText(cell.date);
    else
        text = cell.text;
    const bool quoted = text.contains(QLatin1Char(';')) || text.contains(QLatin1Char('"')) ||
                        text.contains(QLatin1Char('\n')) || text.contains(QLatin1Char('\r')) ||
                        text.startsWith(QLatin1Char(' ')) || text.endsWith(QLatin1Char(' '));
    if (!quoted)
        return text;
    text.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    return QLatin1Char('"') + text + QLatin1Char('"');
}

} // namespace

void exportWorkbook(const DataFiles& files, const QList<Sheet>& sheets, const QString& path,
                    const ExportHeading& heading) {
    files.saveThrough(path, [&](const QString& temporary) {
        try {
            writeWorkbook(sheets, heading, temporary, path);
        } catch (const FileError&) {
            QFile::remove(temporary);
            throw;
        }
    });
}

QByteArray csvText(const Sheet& sheet) {
    QString text;
    const auto line = [&](const QStringList& fields) {
        text += fields.join(QLatin1Char(';'));
        text += QStringLiteral("\r\n");
    };
    QStringList headers;
    for (const QString& header : sheet.headers)
        headers.append(csvField(Cell::of(header)));
    line(headers);
    for (const QList<Cell>& row : sheet.rows) {
        QStringList fields;
        fields.reserve(row.size());
        for (const Cell& cell : row)
            fields.append(csvField(cell));
        line(fields);
    }
    return QByteArray("\xEF\xBB\xBF") + text.toUtf8();
}

QString csvFileOf(const QString& path, const Sheet& sheet) {
    const QFileInfo chosen(path);
    QString base = chosen.fileName();
    if (base.endsWith(QLatin1String(".csv"), Qt::CaseInsensitive))
        base.chop(4);
    return chosen.dir().filePath(base + QStringLiteral(" - ") + sheet.name +
                                 QStringLiteral(".csv"));
}

QStringList exportCsv(const DataFiles& files, const QList<Sheet>& sheets, const QString& path) {
    QStringList written;
    QList<DataFiles::NewFile> newFiles;
    for (const Sheet& sheet : sheets) {
        written.append(csvFileOf(path, sheet));
        newFiles.append({written.last(), csvText(sheet)});
    }
    files.replaceTogether(newFiles);
    return written;
}

} // namespace vendalise
