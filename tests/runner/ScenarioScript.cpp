#include "ScenarioScript.h"

namespace vendalise::testing {

namespace {

QString substitute(QString text, const QHash<QString, QString>& values) {
    for (auto it = values.begin(); it != values.end(); ++it)
        text.replace(it.key(), it.value());
    return text;
}

bool isBlank(QChar c) {
    return c == QLatin1Char(' ') || c == QLatin1Char('\t');
}

enum class BlockKind { None, Raw, Words };

BlockKind blockKind(const QStringList& words) {
    if (words.size() >= 2 && words[0] == QLatin1String("file"))
        return BlockKind::Raw;
    if (words.size() >= 2 && words[0] == QLatin1String("expect")) {
        if (words[1] == QLatin1String("file"))
            return BlockKind::Raw;
        if (words[1] == QLatin1String("rows") || words[1] == QLatin1String("printed"))
            return BlockKind::Words;
    }
    return BlockKind::None;
}

} // namespace

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
        const BlockKind kind = blockKind(step.words);
        if (kind != BlockKind::None) {
            bool ended = false;
            for (++i; i < lines.size(); ++i) {
                const QString& blockLine = lines[i];
                if (blockLine.trimmed() == QLatin1String("end")) {
                    ended = true;
                    break;
                }
                if (kind == BlockKind::Raw) {
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

} // namespace vendalise::testing
