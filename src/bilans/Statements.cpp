#include "bilans/Statements.h"

#include "bilans/Sheets.h"
#include "platform/DataFiles.h"
#include "platform/NumberForm.h"

#include <QAbstractTextDocumentLayout>
#include <QBuffer>
#include <QHash>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextTable>

#include <algorithm>

namespace vendalise {

namespace {

// The page: A4, 15 mm margins, in points; the page number in a strip at
// the bottom of the text's room.
constexpr double kMillimetre = 72 / 25.4;
constexpr double kMargin = 15 * kMillimetre;
constexpr double kFooter = 24;

QSizeF a4() {
    return QPageSize(QPageSize::A4).size(QPageSize::Point);
}

double bodyHeight() {
    return StatementPages::contentSize().height() - kFooter;
}

QFont statementFont(int points, bool bold = false) {
    QFont font;
    font.setFamilies({QStringLiteral("Arial"), QStringLiteral("Liberation Sans")});
    font.setPointSize(points);
    font.setBold(bold);
    return font;
}

QString money(qint64 cents) {
    return cellText(Cell::money(double(cents) / 100));
}

// A name as a file name may hold it on Windows.
QString fileNamePart(QString text) {
    static const QString forbidden = QStringLiteral("\\/:*?\"<>|");
    for (QChar& c : text)
        if (c.unicode() < 0x20 || forbidden.contains(c))
            c = QLatin1Char('-');
    return text;
}

// Points a document's layout at a PDF writer of 72 dots an inch that never
// paints: the pages are laid out one unit a point, their text measured as
// a PDF and a printer draw it.
struct LayoutDevice {
    QBuffer buffer;
    QPdfWriter writer{&buffer};
    LayoutDevice() { writer.setResolution(72); }
};

LayoutDevice& layoutDevice() {
    static LayoutDevice device;
    return device;
}

} // namespace

QList<Statement> debtStatements(const BilanSources& sources, const QString& club, int member) {
    const ProductTable& products = sources.products;
    const MemberTable& members = sources.members;
    const LedgerTable& ledger = sources.ledger;
    const QList<float> debts = memberDebts(ledger, products, members.count());
    QHash<int, Statement> byMember;
    for (int m = 1; m <= members.count(); ++m) {
        if ((member != 0 && m != member) || toCents(debts[m]) <= 0)
            continue;
        byMember.insert(m, {m, memberName(members[m]), club, sources.today, {}, debts[m]});
    }
    // The lines memberDebts counts, each at today's price of its product.
    for (int n = 1; n <= ledger.count(); ++n) {
        const LedgerLine& line = ledger[n];
        if (line.isPaid() || !products.holds(line.product))
            continue;
        const auto statement = byMember.find(line.member);
        if (statement == byMember.end())
            continue;
        const Product& product = products[line.product];
        const std::optional<QDate>& date = sources.lineDates.value(n);
        const float amount = static_cast<float>(double(product.price) * line.quantity);
        statement->lines.append(
            {line.date.trimmed(), date, product.name.trimmed(), line.quantity, product.price,
             toCents(amount),
             date ? std::optional<int>(int(date->daysTo(sources.today))) : std::nullopt});
    }
    QList<Statement> statements = byMember.values();
    for (Statement& statement : statements)
        std::stable_sort(statement.lines.begin(), statement.lines.end(),
                         [](const StatementLine& a, const StatementLine& b) {
                             if (a.date.has_value() != b.date.has_value())
                                 return a.date.has_value();
                             return a.date && *a.date < *b.date;
                         });
    std::sort(statements.begin(), statements.end(), [](const Statement& a, const Statement& b) {
        const int byName = a.name.compare(b.name, Qt::CaseInsensitive);
        return byName != 0 ? byName < 0 : a.member < b.member;
    });
    return statements;
}

QStringList statementFileNames(const QList<Statement>& statements, const MemberTable& members) {
    QHash<QString, int> bearers; // how many members bear each name, as a file name
    for (int m = 1; m <= members.count(); ++m)
        ++bearers[fileNamePart(memberName(members[m])).toCaseFolded()];
    QStringList names;
    for (const Statement& statement : statements) {
        QString name = fileNamePart(statement.name);
        if (name.isEmpty() || bearers.value(name.toCaseFolded()) > 1)
            name = (name + QStringLiteral(" (%1)").arg(statement.member)).trimmed();
        names.append(QStringLiteral("Relevé de dettes - %1 - %2.pdf")
                         .arg(name, statement.today.toString(QStringLiteral("dd-MM-yyyy"))));
    }
    return names;
}

StatementPages::StatementPages(const Statement& statement)
    : document_(std::make_unique<QTextDocument>()), name_(statement.name) {
    QTextDocument& document = *document_;
    document.setDocumentMargin(0);
    document.setDefaultFont(statementFont(10));
    QTextOption option = document.defaultTextOption();
    option.setUseDesignMetrics(true);
    document.setDefaultTextOption(option);

    // Laid out once, when whole: a table laid out again at each cell
    // filled would take seconds.
    QTextCursor cursor(&document);
    cursor.beginEditBlock();
    QTextBlockFormat paragraph;
    const auto line = [&](const QString& text, const QFont& font, double spaceAfter,
                          Qt::Alignment align = Qt::AlignLeft) {
        QTextBlockFormat format = paragraph;
        format.setAlignment(align);
        format.setBottomMargin(spaceAfter);
        QTextCharFormat chars;
        chars.setFont(font);
        // The empty block the document starts with, or that follows the
        // table, takes the first line after it.
        if (!cursor.block().text().isEmpty())
            cursor.insertBlock(format, chars);
        else {
            cursor.setBlockFormat(format);
            cursor.setBlockCharFormat(chars);
        }
        cursor.insertText(text, chars);
    };
    if (!statement.club.trimmed().isEmpty())
        line(statement.club.trimmed(), statementFont(13, true), 10);
    line(QStringLiteral("Relevé de dettes"), statementFont(16, true), 6);
    line(statement.name, statementFont(13, true), 3);
    line(QStringLiteral("Le %1").arg(dateText(statement.today)), statementFont(10), 6);
    line(QStringLiteral("Vos achats dus, au prix unitaire actuel de chaque produit :"),
         statementFont(10), 8);

    const QStringList headers{QStringLiteral("Date"),     QStringLiteral("Produit"),
                              QStringLiteral("Quantité"), QStringLiteral("Prix unitaire"),
                              QStringLiteral("Montant"),  QStringLiteral("Âge (jours)")};
    const QList<double> widths{13, 39, 10, 14, 13, 11};
    QTextTableFormat table;
    table.setHeaderRowCount(1);
    // A thin grid: the cells' borders, collapsed into single lines.
    const QColor grid(0xA0, 0xA0, 0xA0);
    table.setBorderCollapse(true);
    table.setBorder(0.75);
    table.setBorderStyle(QTextFrameFormat::BorderStyle_Solid);
    table.setBorderBrush(grid);
    table.setTopMargin(6);
    table.setCellPadding(3);
    table.setCellSpacing(0);
    table.setWidth(QTextLength(QTextLength::PercentageLength, 100));
    QList<QTextLength> columns;
    for (const double width : widths)
        columns.append(QTextLength(QTextLength::PercentageLength, width));
    table.setColumnWidthConstraints(columns);
    QTextTable* lines = cursor.insertTable(int(statement.lines.size()) + 1, 6, table);
    const auto setCell = [&](int row, int column, const QString& text, bool bold) {
        QTextTableCell cell = lines->cellAt(row, column);
        QTextTableCellFormat format = cell.format().toTableCellFormat();
        format.setBorder(0.75);
        format.setBorderStyle(QTextFrameFormat::BorderStyle_Solid);
        format.setBorderBrush(grid);
        if (row == 0)
            format.setBackground(QColor(0xE8, 0xE8, 0xE8));
        cell.setFormat(format);
        QTextCursor at = cell.firstCursorPosition();
        QTextBlockFormat alignment;
        // Names and dates to the left, numbers to the right.
        alignment.setAlignment(column == 0 || column == 1 ? Qt::AlignLeft : Qt::AlignRight);
        at.setBlockFormat(alignment);
        QTextCharFormat chars;
        chars.setFont(statementFont(9, bold));
        at.insertText(text, chars);
    };
    for (int c = 0; c < headers.size(); ++c)
        setCell(0, c, headers[c], true);
    for (int r = 0; r < statement.lines.size(); ++r) {
        const StatementLine& owed = statement.lines[r];
        const QStringList cells{owed.date ? dateText(*owed.date) : owed.dateText,
                                owed.product,
                                frenchNumber(owed.quantity),
                                cellText(Cell::money(owed.price)),
                                money(owed.cents),
                                owed.age ? QString::number(*owed.age) : QString()};
        for (int c = 0; c < cells.size(); ++c)
            setCell(r + 1, c, cells[c], false);
    }
    cursor.movePosition(QTextCursor::End);
    paragraph.setTopMargin(10);
    line(QStringLiteral("Total dû : %1").arg(money(toCents(statement.owed))),
         statementFont(12, true), 12, Qt::AlignRight);
    paragraph.setTopMargin(0);
    line(QStringLiteral("À régler auprès du trésorier du club."), statementFont(10), 0);
    cursor.endEditBlock();
    document.documentLayout()->setPaintDevice(&layoutDevice().writer);
    document.setPageSize(QSizeF(contentSize().width(), bodyHeight()));
}

StatementPages::~StatementPages() = default;

int StatementPages::count() const {
    return document_->pageCount();
}

QSizeF StatementPages::contentSize() {
    return a4() - QSizeF(2 * kMargin, 2 * kMargin);
}

void StatementPages::draw(QPainter& painter, int page, const QRectF& area) const {
    const QSizeF content = contentSize();
    const double scale =
        std::min(area.width() / content.width(), area.height() / content.height());
    const double body = bodyHeight();
    painter.save();
    painter.translate(area.topLeft());
    painter.scale(scale, scale);
    painter.save();
    painter.translate(0, -page * body);
    const QRectF clip(0, page * body, content.width(), body);
    painter.setClipRect(clip);
    QAbstractTextDocumentLayout::PaintContext context;
    context.clip = clip;
    context.palette.setColor(QPalette::Text, Qt::black);
    document_->documentLayout()->draw(&painter, context);
    painter.restore();
    // A page of several names its member too, should it be read apart.
    if (count() > 1) {
        painter.setFont(statementFont(9));
        painter.setPen(Qt::black);
        const QRectF footer(0, body, content.width(), kFooter);
        painter.drawText(footer, Qt::AlignLeft | Qt::AlignBottom,
                         QStringLiteral("Relevé de dettes - ") + name_);
        painter.drawText(footer, Qt::AlignRight | Qt::AlignBottom,
                         QStringLiteral("Page %1 / %2").arg(page + 1).arg(count()));
    }
    painter.restore();
}

int StatementPages::pageOf(const QString& text) const {
    const QTextCursor found = document_->find(text);
    if (found.isNull())
        return -1;
    const QRectF block = document_->documentLayout()->blockBoundingRect(found.block());
    return int(block.top() / bodyHeight());
}

void writeStatementPdf(const DataFiles& files, const Statement& statement, const QString& path) {
    const StatementPages pages(statement);
    files.saveThrough(path, [&](const QString& temporary) {
        const auto refused = [&] {
            return FileError(FileError::Kind::Other, path,
                             QStringLiteral("Le relevé n'a pas pu être écrit."));
        };
        QPdfWriter writer(temporary);
        writer.setResolution(72);
        writer.setTitle(QStringLiteral("Relevé de dettes - ") + statement.name);
        writer.setCreator(QStringLiteral("Vendalise"));
        writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                         QMarginsF(kMargin, kMargin, kMargin, kMargin),
                                         QPageLayout::Point));
        QPainter painter;
        if (!painter.begin(&writer))
            throw refused();
        for (int page = 0; page < pages.count(); ++page) {
            if (page > 0)
                writer.newPage();
            pages.draw(painter, page, QRectF(QPointF(0, 0), StatementPages::contentSize()));
        }
        if (!painter.end())
            throw refused();
    });
}

} // namespace vendalise
