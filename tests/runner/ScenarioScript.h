#pragma once

#include <QHash>
#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

namespace vendalise::testing {

// What follows a step up to "end": nothing, lines taken as they stand
// (file contents), or lines split into words (rows, printed lines).
enum class Block { None, Raw, Words };

class ScenarioRunner;
struct Step;

// A verb of the scenario language: its name ("click", or "expect rows" for
// an expectation), how many words a step needs at least, its block, its
// usage line and the runner's handler. The parser, the runner and the
// usage in failures all read this one table, which the runner's files
// fill by family (ScenarioRunner.cpp).
struct Verb {
    QString name;
    int minWords;
    Block block;
    QString usage;
    void (ScenarioRunner::*run)(const Step& step);
};
const std::vector<Verb>& verbs();
// The verb of a step's words, or nullptr.
const Verb* findVerb(const QStringList& words);

// One step of a scenario: its words and, for the verbs that take a block
// of lines up to "end", those lines.
struct Step {
    int line = 0;
    QString source; // the included file the step comes from; empty for the scenario's own
    const Verb* verb = nullptr;
    QStringList words;
    QStringList block;       // raw lines (file contents)
    QList<QStringList> rows; // the block's lines as words (rows, printed lines)
};

// Splits a line into words: separated by blanks; a word in double quotes
// may hold blanks and the escapes \" \\ \t \r \n. Returns nullopt and sets
// error on an unterminated quote or an unknown escape.
std::optional<QStringList> splitWords(const QString& line, QString* error);

// Reads a scenario. Blank lines and lines starting with '#' are skipped,
// except inside raw blocks, which are taken as they stand. An unknown verb
// or a step with too few words is an error. Every placeholder of `values`
// ("<data>"...) is replaced in every word and block line; after a step
// "default PATH", "<default>" and "<DEFAULT>" stand for PATH. With a
// folder, each "include FILE" is replaced by the steps of FILE, a path
// from that folder, so that scenarios that set up the same data say it
// once; an included file includes nothing more.
std::vector<Step> parseScenario(const QString& text, QHash<QString, QString> values,
                                QStringList* errors, const QString& folder = {});

} // namespace vendalise::testing
