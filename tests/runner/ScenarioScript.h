#pragma once

#include <QHash>
#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

namespace vendalise::testing {

// One step of a scenario: its words and, for the verbs that take a block
// of lines up to "end", those lines.
struct Step {
    int line = 0;
    QStringList words;
    QStringList block;       // raw lines (file contents)
    QList<QStringList> rows; // the block's lines as words (rows, printed lines)
};

// Splits a line into words: separated by blanks; a word in double quotes
// may hold blanks and the escapes \" \\ \t \r \n. Returns nullopt and sets
// error on an unterminated quote or an unknown escape.
std::optional<QStringList> splitWords(const QString& line, QString* error);

// Reads a scenario. Blank lines and lines starting with '#' are skipped,
// except inside the blocks of "file" and "expect file", which are taken as
// they stand. Every placeholder of `values` ("<data>"...) is replaced in
// every word and block line.
std::vector<Step> parseScenario(const QString& text, const QHash<QString, QString>& values,
                                QStringList* errors);

} // namespace vendalise::testing
