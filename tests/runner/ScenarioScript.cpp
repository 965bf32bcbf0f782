#include "ScenarioScript.h"

#include <QDir>
#include <QFile>

namespace vendalise::testing {

namespace {

bool isBlank(QChar c) {
    return c == QLatin1Char(' ') || c == QLatin1Char('\t');
}

// Replaces the placeholders. A path that goes on after a placeholder whose
// value is spelt with "\\" (a Windows path) takes "\\" too, up to the next
// blank, so that "<home>/Clé" is one folder on either system.
QString substitute(const QString& text, const QHash<QString, QString>& values) {
    QString result;
    result.reserve(text.size());
    bool backslashes = false;
    for (qsizetype i = 0; i < text.size();) {
        bool replaced = false;
        if (text[i] == QLatin1Char('<')) {
            for (auto it = values.begin(); it != values.end(); ++it) {
                if (QStringView(text).sliced(i).startsWith(it.key())) {
                    result += it.value();
                    backslashes = it.value().contains(QLatin1Char('\\'));
                    i += it.key().size();
                    replaced = true;
                    break;
                }
            }
        }
        if (replaced)
            continue;
        const QChar c = text[i++];
        if (isBlank(c))
            backslashes = false;
        result += backslashes && c == QLatin1Char('/') ? QLatin1Char('\\') : c;
    }
    return result;
}

} // namespace

const Verb* findVerb(const QStringList& words) {
    if (words.isEmpty())
        return nullptr;
    const QString name = words[0] == QLatin1String("expect") && words.size() >= 2
                             ? words[0] + QLatin1Char(' ') + words[1]
                             : words[0];
    for (const Verb& verb : verbs()) {
        if (verb.name == name)
            return &verb;
    }
    return nullptr;
}

std::optional<QStringList> splitWords(const QString& line, QString* error) {
    QStringList words;
    qsizetype i = 0;
    const qsizetype n = line.size();
    while (i < n) {
        while (i < n && isBlank(line[i]))
            ++i;
        if (i >= n)
            break;
        QString word;
        if (line[i] != QLatin1Char('"')) {
            while (i < n && !isBlank(line[i]))
                word += line[i++];
            words.append(word);
            continue;
        }
        ++i;
        bool closed = false;
        while (i < n) {
            const QChar c = line[i++];
            if (c == QLatin1Char('"')) {
                closed = true;
                break;
            }
            if (c != QLatin1Char('\\')) {
                word += c;
                continue;
            }
            if (i >= n)
                break;
            const QChar e = line[i++];
            switch (e.unicode()) {
            case '"':
            case '\\':
                word += e;
                break;
            case 't':
                word += QLatin1Char('\t');
                break;
            case 'r':
                word += QLatin1Char('\r');
                break;
            case 'n':
                word += QLatin1Char('\n');
                break;
            default:
                *error = QStringLiteral("unknown escape \\%1").arg(e);
                return std::nullopt;
            }
        }
        if (!closed) {
            *error = QStringLiteral("unterminated quote");
            return std::nullopt;
        }
        if (i < n && !isBlank(line[i])) {
            *error = QStringLiteral("a quoted word must be followed by a blank");
            return std::nullopt;
        }
        words.append(word);
    }
    return words;
}

namespace {

// Reads the steps of one file into `steps`: the scenario's own (source
// empty) or an included file's, which includes nothing more.
void parseInto(const QString& text, QHash<QString, QString>& values, QStringList* errors,
               const QString& folder, const QString& source, std::vector<Step>& steps);

// The steps of FILE in place of "include FILE".
void include(const Step& step, QHash<QString, QString>& values, QStringList* errors,
             const QString& folder, std::vector<Step>& steps) {
    const QString name = step.words[1];
    QFile file(QDir(folder).filePath(name));
    if (!file.open(QIODevice::ReadOnly)) {
        errors->append(QStringLiteral("%1: cannot read %2").arg(step.line).arg(name));
        return;
    }
    QStringList included;
    parseInto(QString::fromUtf8(file.readAll()), values, &included, folder, name, steps);
    for (const QString& error : included)
        errors->append(QStringLiteral("%1: in %2:%3").arg(step.line).arg(name, error));
}

void parseInto(const QString& text, QHash<QString, QString>& values, QStringList* errors,
               const QString& folder, const QString& source, std::vector<Step>& steps) {
    QString normalized = text;
    normalized.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    const QStringList lines = normalized.split(QLatin1Char('\n'));
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QString& line = lines[i];
        const QString trimmed = line.trimmed();
        if (trimmed.isEmpty() || trimmed.startsWith(QLatin1Char('#')))
            continue;
        QString error;
        const auto words = splitWords(line, &error);
        if (!words) {
            errors->append(QStringLiteral("%1: %2").arg(i + 1).arg(error));
            continue;
        }
        Step step;
        step.line = static_cast<int>(i + 1);
        step.source = source;
        for (const QString& word : *words)
            step.words.append(substitute(word, values));
        step.verb = findVerb(step.words);
        if (!step.verb) {
            errors->append(QStringLiteral("%1: unknown step: %2")
                               .arg(step.line)
                               .arg(step.words.mid(0, 2).join(QLatin1Char(' '))));
            continue;
        }
        const bool whole = step.words.size() >= step.verb->minWords;
        if (!whole)
            errors->append(QStringLiteral("%1: usage: %2").arg(step.line).arg(step.verb->usage));
        const Block kind = step.verb->block;
        if (kind != Block::None) {
            bool ended = false;
            for (++i; i < lines.size(); ++i) {
                const QString& blockLine = lines[i];
                if (blockLine.trimmed() == QLatin1String("end")) {
                    ended = true;
                    break;
                }
                if (kind == Block::Raw) {
                    step.block.append(substitute(blockLine, values));
                    continue;
                }
                if (blockLine.trimmed().isEmpty() ||
                    blockLine.trimmed().startsWith(QLatin1Char('#')))
                    continue;
                const auto rowWords = splitWords(blockLine, &error);
                if (!rowWords) {
                    errors->append(QStringLiteral("%1: %2").arg(i + 1).arg(error));
                    continue;
                }
                QStringList row;
                for (const QString& word : *rowWords)
                    row.append(substitute(word, values));
                step.rows.append(row);
            }
            if (!ended)
                errors->append(
                    QStringLiteral("%1: block without its closing \"end\"").arg(step.line));
        }
        if (whole && step.verb->name == QLatin1String("include") && !folder.isEmpty()) {
            if (!source.isEmpty())
                errors->append(QStringLiteral("%1: includes another file").arg(step.line));
            else
                include(step, values, errors, folder, steps);
            continue;
        }
        // The default directory's placeholders take its value from here on.
        if (whole && step.verb->name == QLatin1String("default")) {
            const QString folderPath = QDir::toNativeSeparators(step.words[1]);
            values.insert(QStringLiteral("<default>"), folderPath);
            values.insert(QStringLiteral("<DEFAULT>"), folderPath.toUpper());
        }
        steps.push_back(std::move(step));
    }
}

} // namespace

std::vector<Step> parseScenario(const QString& text, QHash<QString, QString> values,
                                QStringList* errors, const QString& folder) {
    std::vector<Step> steps;
    parseInto(text, values, errors, folder, {}, steps);
    return steps;
}

} // namespace vendalise::testing
