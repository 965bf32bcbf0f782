#include "DocumentLines.h"

#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextDocumentFragment>
#include <QTextFrame>
#include <QTextTable>

namespace vendalise::testing {

namespace {

using Line = ScriptedPrinter::Line;

// The text of a stretch of the document, its objects named.
QString textOf(const QTextDocument& document, int from, int to) {
    QString text;
    for (int position = from; position < to; ++position) {
        const QChar c = document.characterAt(position);
        if (c == QChar::ObjectReplacementCharacter) {
            QTextCursor cursor(const_cast<QTextDocument*>(&document));
            cursor.setPosition(position + 1);
            const QTextCharFormat format = cursor.charFormat();
            if (format.isImageFormat())
                text += QStringLiteral("[image] ") + format.toImageFormat().name();
            else
                text += QStringLiteral("[graphique] ") +
                        format.stringProperty(QTextFormat::ImageAltText);
        } else if (c == QChar::ParagraphSeparator) {
            text += QLatin1Char('\n');
        } else {
            text += c;
        }
    }
    return text;
}

Line lineOf(const QTextDocument& document, int position, const QString& text) {
    QTextCursor cursor(const_cast<QTextDocument*>(&document));
    cursor.setPosition(position + 1);
    const QTextCharFormat format = cursor.charFormat();
    const double size = format.hasProperty(QTextFormat::FontPointSize)
                            ? format.fontPointSize()
                            : document.defaultFont().pointSizeF();
    return Line{false, false, size, format.fontWeight() >= QFont::Bold, format.fontUnderline(),
                text};
}

void readFrame(const QTextDocument& document, const QTextFrame& frame, QList<Line>& lines) {
    for (auto it = frame.begin(); !it.atEnd(); ++it) {
        if (const QTextFrame* child = it.currentFrame()) {
            const auto* table = qobject_cast<const QTextTable*>(child);
            if (!table) {
                readFrame(document, *child, lines);
                continue;
            }
            for (int r = 0; r < table->rows(); ++r) {
                QStringList cells;
                for (int c = 0; c < table->columns(); ++c) {
                    const QTextTableCell cell = table->cellAt(r, c);
                    cells.append(textOf(document, cell.firstPosition(), cell.lastPosition()));
                }
                lines.append(lineOf(document, table->cellAt(r, 0).firstPosition(),
                                    cells.join(QLatin1Char('\t'))));
            }
            continue;
        }
        const QTextBlock block = it.currentBlock();
        if (block.length() <= 1)
            continue; // an empty block, as the document holds around its tables
        lines.append(lineOf(document, block.position(),
                            textOf(document, block.position(),
                                   block.position() + block.length() - 1)));
    }
}

} // namespace

QList<Line> documentLines(const QTextDocument& document) {
    QList<Line> lines;
    readFrame(document, *document.rootFrame(), lines);
    return lines;
}

} // namespace vendalise::testing
