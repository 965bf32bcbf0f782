#include "bilans/BilanPrint.h"

#include "bilans/ChartViews.h"
#include "bilans/SheetView.h"
#include "platform/NumberForm.h"

#include <QAbstractTextDocumentLayout>
#include <QFontMetricsF>
#include <QGraphicsScene>
#include <QImage>
#include <QPageSize>
#include <QPainter>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextObjectInterface>
#include <QTextTable>

#include <algorithm>

namespace vendalise {

namespace {

constexpr double kTextPoints = 9;
// A table's cells: their padding and their lines, in the layout's pixels
// (1/96 inch, which it scales to its device).
constexpr double kCellPadding = 4;
constexpr double kCellBorder = 0.5;

// A chart drawn into the document: an object of this type whose format
// holds the chart's index and, as its alternative text, its title.
constexpr int kChartObject = QTextFormat::UserObject + 1;
constexpr int kChartIndex = QTextFormat::UserProperty + 1;

QFont documentFont(const BilanPrintView& view) {
    QFont font;
    if (!view.family.isEmpty())
        font.setFamily(view.family);
    font.setPointSizeF(kTextPoints);
    return font;
}

QTextCharFormat textFormat(double points, bool bold) {
    QTextCharFormat format;
    format.setFontPointSize(points);
    format.setFontWeight(bold ? QFont::Bold : QFont::Normal);
    return format;
}

// The charts of a document, each drawn where its object stands, as large as
// the page's text, with its labels fitted to that size.
class ChartObjects : public QObject, public QTextObjectInterface {
    Q_OBJECT
    Q_INTERFACES(QTextObjectInterface)
public:
    ChartObjects(QList<ChartData> charts, QObject* parent)
        : QObject(parent), charts_(std::move(charts)) {}

    QSizeF intrinsicSize(QTextDocument* document, int, const QTextFormat&) override {
        const QSizeF page = document->pageSize();
        const double width = page.width() > 0 ? page.width() : 800;
        // Three quarters as high as wide at most, leaving room for the
        // line's descent below it on a page of its own.
        const bool paged = page.height() > 0 && page.height() < 1e6;
        return {width, paged ? std::min(page.height() * 0.95, width * 0.75) : width * 0.6};
    }

    void drawObject(QPainter* painter, const QRectF& rect, QTextDocument* document, int,
                    const QTextFormat& format) override {
        const qsizetype index = format.intProperty(kChartIndex);
        if (index < 0 || index >= charts_.size())
            return;
        // Laid out in pixels of 1/96 inch, its font in pixels too, then
        // scaled to the area: the chart reads as it would on a screen of
        // the page's size.
        const QPaintDevice* device = document->documentLayout()->paintDevice();
        const double dpi = device ? device->logicalDpiX() : 96;
        QFont font = document->defaultFont();
        font.setPixelSize(qRound(kTextPoints * 96 / 72));
        QGraphicsScene scene;
        layOutChart(charts_.at(index), font, rect.size() * 96 / dpi, scene);
        painter->save();
        painter->setRenderHint(QPainter::Antialiasing);
        scene.render(painter, rect, scene.sceneRect(), Qt::KeepAspectRatio);
        painter->restore();
    }

private:
    QList<ChartData> charts_;
};

void addParagraph(QTextCursor& cursor, const QString& text, double points, bool bold,
                  double topMargin = 0) {
    QTextBlockFormat block;
    block.setTopMargin(topMargin);
    if (!cursor.block().text().isEmpty() || cursor.block().position() > 0)
        cursor.insertBlock(block, textFormat(points, bold));
    else {
        cursor.setBlockFormat(block);
        cursor.setBlockCharFormat(textFormat(points, bold));
    }
    cursor.insertText(text, textFormat(points, bold));
}

void addCell(QTextTable& table, int row, int column, const QString& text, bool bold,
             bool alignRight, bool wraps, const QBrush& background) {
    QTextTableCell cell = table.cellAt(row, column);
    if (background.style() != Qt::NoBrush) {
        QTextCharFormat shade = cell.format();
        shade.setBackground(background);
        cell.setFormat(shade);
    }
    QTextCursor cursor = cell.firstCursorPosition();
    QTextBlockFormat block;
    block.setAlignment(alignRight ? Qt::AlignRight : Qt::AlignLeft);
    block.setNonBreakableLines(!wraps);
    cursor.setBlockFormat(block);
    cursor.insertText(text, textFormat(kTextPoints, bold));
}

void addTable(QTextCursor& cursor, const Sheet& sheet) {
    QTextTableFormat format;
    format.setHeaderRowCount(1);
    format.setBorder(kCellBorder);
    format.setBorderStyle(QTextFrameFormat::BorderStyle_Solid);
    format.setBorderBrush(Qt::darkGray);
    format.setBorderCollapse(true);
    format.setCellPadding(kCellPadding);
    format.setCellSpacing(0);
    format.setTopMargin(10);
    format.setBottomMargin(4);
    const int columns = int(sheet.headers.size());
    QTextTable* table = cursor.insertTable(int(sheet.rows.size()) + 1, columns, format);
    const QBrush headerShade(QColor(0xE8, 0xE8, 0xE8));
    // Numbers are right-aligned as their column's header; only the names
    // wrap.
    QList<bool> numeric(columns, false);
    for (const QList<Cell>& row : sheet.rows)
        for (int c = 0; c < std::min<int>(columns, int(row.size())); ++c)
            numeric[c] = numeric[c] || row[c].isNumber();
    for (int c = 0; c < columns; ++c)
        addCell(*table, 0, c, sheet.headers[c], true, numeric[c], true, headerShade);
    const qsizetype firstTotal = sheet.rows.size() - sheet.totalRows;
    for (qsizetype r = 0; r < sheet.rows.size(); ++r) {
        const QList<Cell>& row = sheet.rows[r];
        for (int c = 0; c < std::min<int>(columns, int(row.size())); ++c)
            addCell(*table, int(r) + 1, c, cellText(row[c]), r >= firstTotal, row[c].isNumber(),
                    c == sheet.nameColumn, QBrush());
    }
    cursor.movePosition(QTextCursor::End);
}

} // namespace

QString bilanTitle(const BilanPrintView& view) {
    return QStringLiteral("Bilans – ") + view.view;
}

std::unique_ptr<QTextDocument> bilanDocument(const BilanPrintView& view) {
    auto document = std::make_unique<QTextDocument>();
    document->setDefaultFont(documentFont(view));
    document->setDocumentMargin(0);
    QTextCursor cursor(document.get());
    addParagraph(cursor, bilanTitle(view), 14, true);
    if (!view.club.isEmpty())
        addParagraph(cursor, view.club, 12, true, 2);
    addParagraph(cursor, view.when, 10, false, 4);
    addParagraph(cursor, QStringLiteral("Imprimé le ") + dateText(view.printed), 8, false, 2);
    for (const Sheet& sheet : view.sheets) {
        cursor.insertBlock(QTextBlockFormat(), textFormat(kTextPoints, false));
        addTable(cursor, sheet);
        if (!sheet.note.isEmpty()) {
            QTextBlockFormat block;
            block.setTopMargin(2);
            cursor.setBlockFormat(block);
            cursor.insertText(sheet.note, textFormat(8, false));
        }
    }
    for (qsizetype i = 0; i < view.charts.size(); ++i) {
        QTextBlockFormat block;
        block.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
        block.setAlignment(Qt::AlignHCenter);
        cursor.insertBlock(block);
        QTextCharFormat chart;
        chart.setObjectType(kChartObject);
        chart.setProperty(kChartIndex, int(i));
        chart.setProperty(QTextFormat::ImageAltText, view.charts[i].title);
        cursor.insertText(QString(QChar::ObjectReplacementCharacter), chart);
    }
    // The layout is made only now, and lays nothing out until its page is
    // known: made before, it would lay each table out again after every cell
    // written, which takes minutes on a long table.
    document->setPageSize(QSizeF(0, 0));
    document->documentLayout()->registerHandler(kChartObject,
                                                new ChartObjects(view.charts, document.get()));
    return document;
}

Printer::Orientation bilanOrientation(const BilanPrintView& view) {
    // Measured in points: on a device of 72 dots an inch.
    QImage points(1, 1, QImage::Format_ARGB32_Premultiplied);
    points.setDotsPerMeterX(qRound(72 / 0.0254));
    points.setDotsPerMeterY(qRound(72 / 0.0254));
    QFont bold = documentFont(view);
    bold.setBold(true);
    const QFontMetricsF plainMetrics(documentFont(view), &points);
    const QFontMetricsF boldMetrics(bold, &points);
    const double portrait = (QPageSize(QPageSize::A4).size(QPageSize::Millimeter).width() -
                             2 * Printer::kDocumentMarginMm) *
                            72 / 25.4;
    const double cellRoom = 2 * (kCellPadding + kCellBorder) * 72 / 96;
    for (const Sheet& sheet : view.sheets) {
        double width = 0;
        for (int c = 0; c < sheet.headers.size(); ++c) {
            double column =
                std::max({boldMetrics.horizontalAdvance(sheet.headers[c]),
                          widestCell(plainMetrics, sheet, c, false),
                          widestCell(boldMetrics, sheet, c, true)});
            if (c == sheet.nameColumn)
                column = std::min(column, portrait / 3);
            width += column + cellRoom;
        }
        if (width > portrait)
            return Printer::Orientation::Landscape;
    }
    return Printer::Orientation::Portrait;
}

} // namespace vendalise

// The chart objects' meta-object, which Qt needs to find their interface.
#include <BilanPrint.moc>
