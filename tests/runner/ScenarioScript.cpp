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

const std::vector<Verb>& verbs() {
    static const std::vector<Verb> table = [] {
        const struct {
            const char* name;
            int minWords;
            Block block;
            const char* usage;
        } rows[] = {
            {"today", 2, Block::None, "today DD/MM/YYYY"},
            {"setting", 4, Block::None, "setting SECTION KEY VALUE"},
            {"product", 4, Block::None, "product NAME PRICE STOCK"},
            {"member", 3, Block::None, "member NAME FIRSTNAME"},
            {"sale", 6, Block::None, "sale DATE PRODUCT MEMBER QUANTITY paid|owed"},
            {"file", 2, Block::Raw, "file NAME, its lines, end"},
            {"bytes", 2, Block::None, "bytes NAME HEX..."},
            {"empty", 2, Block::None, "empty NAME..."},
            {"repeat", 4, Block::None, "repeat NAME COUNT HEX..."},
            {"folder", 2, Block::None, "folder PATH"},
            {"lock", 2, Block::None, "lock PATH"},
            {"printer", 2, Block::None, "printer fonts F1 F2...|off|on|none|end-fails"},
            {"fail", 2, Block::None, "fail [read] NAME [N]|settings"},
            {"snapshot", 2, Block::None, "snapshot NAME..."},
            {"include", 2, Block::None, "include FILE"},
            {"points", 1, Block::None, "points [PATTERN...]"},
            {"start", 1, Block::None, "start"},
            {"restart", 1, Block::None, "restart"},
            {"answer", 2, Block::None, "answer yes|no"},
            {"input", 2, Block::None, "input TEXT|cancel"},
            {"click", 2, Block::None, "click W.C|W"},
            {"type", 3, Block::None, "type W.C TEXT"},
            {"key", 3, Block::None, "key W.C KEY"},
            {"leave", 2, Block::None, "leave W.C"},
            {"select", 3, Block::None, "select W.C TEXT|#N"},
            {"open", 3, Block::None, "open W.C PATH"},
            {"close", 2, Block::None, "close W"},
            {"screenshot", 3, Block::None, "screenshot W FILE.png"},
            {"expect message", 4, Block::None,
             "expect message TITLE TEXT [none|information|exclamation|critical] [ok|yesno]"},
            {"expect input", 4, Block::None, "expect input TITLE PROMPT [PROPOSED]"},
            {"expect no-message", 2, Block::None, "expect no-message"},
            {"expect text", 4, Block::None, "expect text W.C|W TEXT"},
            {"expect visible", 4, Block::None, "expect visible W.C yes|no"},
            {"expect checked", 4, Block::None, "expect checked W.C yes|no"},
            {"expect shown", 4, Block::None, "expect shown W yes|no"},
            {"expect loaded", 4, Block::None, "expect loaded W yes|no"},
            {"expect selected", 4, Block::None, "expect selected W.C TEXT|none"},
            {"expect rows", 3, Block::Words, "expect rows W.C, one TEXT DATA line per row, end"},
            {"expect bytes", 3, Block::None, "expect bytes NAME HEX..."},
            {"expect missing", 3, Block::None, "expect missing NAME"},
            {"expect size", 4, Block::None, "expect size NAME BYTES"},
            {"expect unchanged", 3, Block::None, "expect unchanged NAME..."},
            {"expect product", 6, Block::None, "expect product N NAME PRICE STOCK"},
            {"expect member", 5, Block::None, "expect member N NAME FIRSTNAME"},
            {"expect sale", 8, Block::None, "expect sale N DATE PRODUCT MEMBER QUANTITY paid|owed"},
            {"expect tooltip", 4, Block::None, "expect tooltip W.C TEXT"},
            {"expect enabled", 4, Block::None, "expect enabled W.C yes|no"},
            {"expect captions", 3, Block::None, "expect captions W..."},
            {"expect file", 3, Block::Raw, "expect file NAME, its lines, end"},
            {"expect folder", 3, Block::Raw, "expect folder PATH, its file names, end"},
            {"expect setting", 5, Block::None, "expect setting SECTION KEY VALUE"},
            {"expect no-setting", 4, Block::None, "expect no-setting SECTION KEY"},
            {"expect printed", 2, Block::Words,
             "expect printed, one [failed] SIZE bold|- underline|- TEXT or enddoc line, end"},
            {"expect ended", 3, Block::None, "expect ended yes|no"},
            {"expect state", 4, Block::None, "expect state NAME VALUE"},
        };
        std::vector<Verb> verbs;
        for (const auto& row : rows)
            verbs.push_back({QString::fromUtf8(row.name), row.minWords, row.block,
                             QString::fromUtf8(row.usage)});
        return verbs;
    }();
    return table;
}

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

std::vector<Step> parseScenario(const QString& text, const QHash<QString, QString>& values,
                                QStringList* errors) {
    QString normalized = text;
    normalized.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    const QStringList lines = normalized.split(QLatin1Char('\n'));
    std::vector<Step> steps;
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
        for (const QString& word : *words)
            step.words.append(substitute(word, values));
        step.verb = findVerb(step.words);
        if (!step.verb) {
            errors->append(QStringLiteral("%1: unknown step: %2")
                               .arg(step.line)
                               .arg(step.words.mid(0, 2).join(QLatin1Char(' '))));
            continue;
        }
        if (step.words.size() < step.verb->minWords)
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
        steps.push_back(std::move(step));
    }
    return steps;
}

std::vector<Step> withIncludes(std::vector<Step> steps, const QString& folder,
                               const QHash<QString, QString>& values, QStringList* errors) {
    std::vector<Step> all;
    all.reserve(steps.size());
    for (Step& step : steps) {
        if (step.verb->name != QLatin1String("include")) {
            all.push_back(std::move(step));
            continue;
        }
        const QString name = step.words[1];
        QFile file(QDir(folder).filePath(name));
        if (!file.open(QIODevice::ReadOnly)) {
            errors->append(QStringLiteral("%1: cannot read %2").arg(step.line).arg(name));
            continue;
        }
        QStringList included;
        for (Step& inner : parseScenario(QString::fromUtf8(file.readAll()), values, &included)) {
            if (inner.verb->name == QLatin1String("include"))
                included.append(QStringLiteral("%1: includes another file").arg(inner.line));
            inner.source = name;
            all.push_back(std::move(inner));
        }
        for (const QString& error : included)
            errors->append(QStringLiteral("%1: in %2:%3").arg(step.line).arg(name, error));
    }
    return all;
}

} // namespace vendalise::testing
