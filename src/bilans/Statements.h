#pragma once

#include "bilans/Figures.h"

#include <QDate>
#include <QList>
#include <QRectF>
#include <QSizeF>
#include <QString>
#include <QStringList>

#include <memory>
#include <optional>

class QPainter;
class QTextDocument;

namespace vendalise {

class DataFiles;

// A line a member owes, at today's unit price of its product.
struct StatementLine {
    QString dateText; // as written in the ledger
    std::optional<QDate> date;
    QString product;
    float quantity = 0;
    float price = 0;
    qint64 cents = 0;       // the line's amount, to the cent
    std::optional<int> age; // days from its date to today; none when unreadable
};

// What a member owes today, line by line: a "Relevé de dettes".
struct Statement {
    int member = 0;
    QString name; // "NOM Prénom"
    QString club;
    QDate today;
    QList<StatementLine> lines; // oldest first, the unreadable dates last
    float owed = 0;             // the member's debt, as the program computes it
};

// The statements of the members who owe (a debt above zero), by name; or
// of one member, when `member` is one of them (a member in credit or
// owing nothing gets none).
QList<Statement> debtStatements(const BilanSources& sources, const QString& club, int member = 0);

// The statements' PDF files' names, "Relevé de dettes - NOM Prénom -
// JJ-MM-AAAA.pdf", each with the member's number after the name when
// another member of the club bears the same one, and the characters that
// Windows forbids in a name replaced by "-".
QStringList statementFileNames(const QList<Statement>& statements, const MemberTable& members);

// A statement laid out on A4 pages: its header, the table of its lines
// (its header row repeated on each page), the total and the closing line,
// "Page n / N" under each page when there are several.
class StatementPages {
public:
    explicit StatementPages(const Statement& statement);
    ~StatementPages();
    StatementPages(const StatementPages&) = delete;
    StatementPages& operator=(const StatementPages&) = delete;

    int count() const;
    // What a page holds, in points, without the paper's margins: the text
    // and the page number under it.
    static QSizeF contentSize();
    // Draws page `page` (from 0) into `area`, scaled to fit it.
    void draw(QPainter& painter, int page, const QRectF& area) const;
    // The page on which the text `text` first appears (from 0), or -1.
    int pageOf(const QString& text) const;
    // The whole statement, which a printer may lay out on its own pages.
    QTextDocument& document() { return *document_; }
    const QTextDocument& document() const { return *document_; }

private:
    std::unique_ptr<QTextDocument> document_;
    QString name_;
};

// Writes the statement as a PDF file of A4 pages at `path`, all or nothing.
// Throws FileError.
void writeStatementPdf(const DataFiles& files, const Statement& statement, const QString& path);

} // namespace vendalise
