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
    lxw_format* note;

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
            quantity[bold] = make("General");
            money[bold] = make("#,##0.00\\ \"\xe2\x82\xac\"");
            date[bold] = make("dd/mm/yyyy");
            month[bold] = make("mmmm yyyy");
        }
        header = workbook_add_format(book);
        format_set_bold(header);
        format_set_bottom(header, LXW_BORDER_THIN);
        note = workbook_add_format(book);
        format_set_italic(note);
    }
};

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
    QString quoted = sheet;
    quoted.replace(QLatin1Char('\''), QStringLiteral("''"));
    const QString name = columnName(column);
    return (QStringLiteral("='") + quoted + QStringLiteral("'!$") + name + QLatin1Char('$') +
            QString::number(firstRow + 1) + QStringLiteral(":$") + name + QLatin1Char('$') +
            QString::number(lastRow + 1))
        .toUtf8();
}

// The chart's data as a small table (its title, then the categories and a
// column per series) and a native chart of it below.
void writeChart(lxw_workbook* book, lxw_worksheet* worksheet, const QString& sheetName,
                lxw_col_t column, const ChartData& data, const Formats& formats,
                const QString& path) {
    const auto check = [&](lxw_error error) {
        if (error != LXW_NO_ERROR)
            throw exportError(path, QString::fromUtf8(lxw_strerror(error)));
    };
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
    if (data.categories.isEmpty())
        return;
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
    chart_axis_set_num_format(type == LXW_CHART_BAR ? chart->x_axis : chart->y_axis,
                              "#,##0\\ \"\xe2\x82\xac\"");
    // A horizontal chart reads from the top, largest first.
    if (type == LXW_CHART_BAR)
        chart_axis_set_reverse(chart->y_axis);
    chart_legend_set_position(chart, data.series.size() > 1 ? LXW_CHART_LEGEND_BOTTOM
                                                            : LXW_CHART_LEGEND_NONE);
    lxw_chart_options options{};
    options.x_scale = 1.3;
    options.y_scale = 1.2;
    check(worksheet_insert_chart_opt(worksheet, lxw_row_t(last + 3), column, chart, &options));
}

void writeSheet(lxw_workbook* book, const Sheet& sheet, const Formats& formats,
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
    const auto check = [&](lxw_error error) {
        if (error != LXW_NO_ERROR)
            throw exportError(path, QString::fromUtf8(lxw_strerror(error)));
    };
    for (int c = 0; c < sheet.headers.size(); ++c) {
        check(worksheet_write_string(worksheet, 0, lxw_col_t(c),
                                     sheet.headers[c].toUtf8().constData(), formats.header));
        fit(c, sheet.headers[c]);
    }
    const qsizetype firstTotal = sheet.rows.size() - sheet.totalRows;
    for (qsizetype r = 0; r < sheet.rows.size(); ++r) {
        const QList<Cell>& row = sheet.rows[r];
        const int bold = r >= firstTotal ? 1 : 0;
        for (int c = 0; c < row.size() && c < widths.size(); ++c) {
            check(writeCell(worksheet, lxw_row_t(r + 1), lxw_col_t(c), row[c], formats, bold));
            fit(c, cellText(row[c]));
        }
    }
    if (!sheet.note.isEmpty())
        check(worksheet_write_string(worksheet, lxw_row_t(sheet.rows.size() + 2), 0,
                                     sheet.note.toUtf8().constData(), formats.note));
    for (int c = 0; c < widths.size(); ++c)
        worksheet_set_column(worksheet, lxw_col_t(c), lxw_col_t(c), widths[c], nullptr);
    worksheet_freeze_panes(worksheet, 1, 0);
    // Each chart's data right of the table, the chart below its data.
    lxw_col_t column = lxw_col_t(sheet.headers.size() + 1);
    for (const ChartData& chart : sheet.charts) {
        writeChart(book, worksheet, sheet.name, column, chart, formats, path);
        column += lxw_col_t(std::max<qsizetype>(chart.series.size() + 2, 8));
    }
}

void writeWorkbook(const QList<Sheet>& sheets, const QString& temporary, const QString& target) {
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
        for (const Sheet& sheet : sheets)
            writeSheet(book, sheet, formats, target);
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

void exportWorkbook(const DataFiles& files, const QList<Sheet>& sheets, const QString& path) {
    files.saveThrough(path, [&](const QString& temporary) {
        try {
            writeWorkbook(sheets, temporary, path);
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
    for (const Sheet& sheet : sheets) {
        const QString target = csvFileOf(path, sheet);
        const QByteArray bytes = csvText(sheet);
        files.saveThrough(target, [&](const QString& temporary) {
            QFile file(temporary);
            if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
                file.write(bytes) != bytes.size() || !file.flush())
                throw FileError(FileError::Kind::Other, target, file.errorString());
        });
        written.append(target);
    }
    return written;
}

} // namespace vendalise
