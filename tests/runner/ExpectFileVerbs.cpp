// The verbs that check what the files and the settings hold: bytes, lines,
// sizes, folders, records read with the program's own record formats.

#include "ScenarioRunner.h"

#include "catalogue/ProductTable.h"
#include "core/Names.h"
#include "members/MemberTable.h"
#include "platform/Cp1252.h"
#include "platform/RecordFields.h"
#include "sales/Ledger.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace vendalise::testing {

namespace {

// Numbers are compared as single-precision values, shown with ".".
QString numberText(float value) {
    return QString::number(value, 'g', 9);
}

QString quotedAll(const QStringList& texts) {
    QStringList out;
    for (const QString& text : texts)
        out.append(quoted(text));
    return out.join(QLatin1Char(' '));
}

// The value of a setting, or this text when it is not set.
const QString kAbsent = QStringLiteral("\x01(absent)");

} // namespace

std::vector<Verb> ScenarioRunner::expectFileVerbs() {
    return {
        {"expect bytes", 3, Block::None, "expect bytes NAME HEX...", &ScenarioRunner::expectBytes},
        {"expect missing", 3, Block::None, "expect missing NAME", &ScenarioRunner::expectMissing},
        {"expect size", 4, Block::None, "expect size NAME BYTES", &ScenarioRunner::expectSize},
        {"expect unchanged", 3, Block::None, "expect unchanged NAME...",
         &ScenarioRunner::expectUnchanged},
        {"expect product", 6, Block::None, "expect product N NAME PRICE STOCK",
         &ScenarioRunner::expectProduct},
        {"expect member", 5, Block::None, "expect member N NAME FIRSTNAME",
         &ScenarioRunner::expectMember},
        {"expect sale", 8, Block::None, "expect sale N DATE PRODUCT MEMBER QUANTITY paid|owed",
         &ScenarioRunner::expectSale},
        {"expect file", 3, Block::Raw, "expect file NAME, its lines, end",
         &ScenarioRunner::expectFile},
        {"expect folder", 3, Block::Raw, "expect folder PATH, its file names, end",
         &ScenarioRunner::expectFolder},
        {"expect setting", 5, Block::None, "expect setting SECTION KEY VALUE",
         &ScenarioRunner::expectSetting},
        {"expect no-setting", 4, Block::None, "expect no-setting SECTION KEY",
         &ScenarioRunner::expectNoSetting},
    };
}

void ScenarioRunner::expectBytes(const Step& step) {
    const QString& name = step.words[2];
    const QByteArray expected = hexBytes(step.words.mid(3));
    QFile file(dataPath(name));
    if (!file.open(QIODevice::ReadOnly)) {
        fail(QStringLiteral("%1: expected bytes %2, but there is no such file")
                 .arg(name, QString::fromLatin1(expected.toHex(' '))));
        return;
    }
    const QByteArray actual = file.readAll();
    if (actual != expected)
        fail(QStringLiteral("%1: expected bytes %2, got %3")
                 .arg(name, QString::fromLatin1(expected.toHex(' ')),
                      QString::fromLatin1(actual.toHex(' '))));
}

void ScenarioRunner::expectMissing(const Step& step) {
    if (QFileInfo::exists(dataPath(step.words[2])))
        fail(QStringLiteral("%1 exists, expected missing").arg(step.words[2]));
}

void ScenarioRunner::expectSize(const Step& step) {
    const QStringList& w = step.words;
    const QFileInfo info(dataPath(w[2]));
    compare(QStringLiteral("size of ") + w[2], w[3],
            info.isFile() ? QString::number(info.size()) : QStringLiteral("no file"));
}

void ScenarioRunner::expectUnchanged(const Step& step) {
    for (const QString& name : step.words.mid(2)) {
        if (!snapshots_.contains(name))
            abort(QStringLiteral("no snapshot of ") + name);
        QFile file(dataPath(name));
        const QByteArray now = file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
        if (now != snapshots_.value(name) || !file.exists())
            fail(QStringLiteral("%1 changed: %2 bytes before, %3 now")
                     .arg(name)
                     .arg(snapshots_.value(name).size())
                     .arg(file.exists() ? now.size() : -1));
    }
}

void ScenarioRunner::expectProduct(const Step& step) {
    const QStringList& w = step.words;
    const QByteArray record = recordOf(kProductFile, w[2], kProductRecordLength);
    if (record.isEmpty())
        return;
    compareRecord(QStringLiteral("product ") + w[2],
                  {w[3], numberText(number(w[4])), numberText(number(w[5]))},
                  {withoutTrailingBlanks(textAt(record, 0, kProductNameWidth)),
                   numberText(floatAt(record, kProductNameWidth)),
                   numberText(floatAt(record, kProductNameWidth + 4))});
}

void ScenarioRunner::expectMember(const Step& step) {
    const QStringList& w = step.words;
    const QByteArray record = recordOf(kMemberFile, w[2], kMemberRecordLength);
    if (record.isEmpty())
        return;
    compareRecord(QStringLiteral("member ") + w[2], {w[3], w[4]},
                  {withoutTrailingBlanks(textAt(record, 0, kMemberNameWidth)),
                   withoutTrailingBlanks(textAt(record, kMemberNameWidth, kMemberFirstNameWidth))});
}

void ScenarioRunner::expectSale(const Step& step) {
    const QStringList& w = step.words;
    const QByteArray record = recordOf(kLedgerFile, w[2], kLedgerRecordLength);
    if (record.isEmpty())
        return;
    const LedgerLine line = ledgerLineOf(record);
    compareRecord(QStringLiteral("sale ") + w[2],
                  {w[3], w[4], w[5], numberText(number(w[6])), w[7]},
                  {withoutTrailingBlanks(line.date), QString::number(line.product),
                   QString::number(line.member), numberText(line.quantity),
                   line.paid == kPaid   ? QStringLiteral("paid")
                   : line.paid == kOwed ? QStringLiteral("owed")
                                        : QString::number(line.paid)});
}

void ScenarioRunner::expectFile(const Step& step) {
    const QString& name = step.words[2];
    const QStringList& lines = step.block;
    QFile file(dataPath(name));
    if (!file.open(QIODevice::ReadOnly)) {
        fail(QStringLiteral("%1: expected a file, there is none").arg(name));
        return;
    }
    const QByteArray actual = file.readAll();
    QString text;
    for (const QString& line : lines)
        text += line + QStringLiteral("\r\n");
    if (toCp1252(text) == actual)
        return;
    QStringList shownExpected;
    for (const QString& line : lines)
        shownExpected.append(quoted(line));
    QStringList shownActual;
    for (const QString& line : fromCp1252(actual).split(QStringLiteral("\r\n")))
        shownActual.append(quoted(line));
    fail(QStringLiteral(
             "%1 (each line ends in CR LF, so the last piece is empty):\n  expected:\n    %2\n"
             "    \"\"\n  got:\n    %3")
             .arg(name, shownExpected.join(QStringLiteral("\n    ")),
                  shownActual.join(QStringLiteral("\n    "))));
}

void ScenarioRunner::expectFolder(const Step& step) {
    const QString folder = dataPath(step.words[2]);
    QStringList expected = step.block;
    expected.sort();
    QStringList actual = QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::System);
    actual.sort();
    if (actual != expected)
        fail(QStringLiteral("folder %1: expected %2, got %3")
                 .arg(step.words[2], quoted(expected.join(QStringLiteral(", "))),
                      quoted(actual.join(QStringLiteral(", ")))));
}

void ScenarioRunner::expectSetting(const Step& step) {
    const QStringList& w = step.words;
    const QString actual = settings_.value(w[2], w[3], kAbsent);
    if (actual == kAbsent)
        fail(QStringLiteral("setting %1 %2: expected %3, but it is not set")
                 .arg(w[2], w[3], quoted(w[4])));
    else
        compare(QStringLiteral("setting %1 %2").arg(w[2], w[3]), w[4], actual);
}

void ScenarioRunner::expectNoSetting(const Step& step) {
    const QStringList& w = step.words;
    const QString actual = settings_.value(w[2], w[3], kAbsent);
    if (actual != kAbsent)
        fail(QStringLiteral("setting %1 %2 is %3, expected none").arg(w[2], w[3], quoted(actual)));
}

QByteArray ScenarioRunner::recordOf(const QString& file, const QString& number, int length) {
    bool ok = false;
    const int n = number.toInt(&ok);
    if (!ok || n < 1)
        abort(QStringLiteral("a record number is 1 or more, not ") + number);
    QFile data(dataPath(file));
    if (!data.open(QIODevice::ReadOnly)) {
        fail(QStringLiteral("%1: expected record %2, but there is no such file").arg(file, number));
        return {};
    }
    if (data.size() / length < n || !data.seek(qint64(n - 1) * length)) {
        fail(QStringLiteral("%1: expected record %2, the file holds %3")
                 .arg(file, number)
                 .arg(data.size() / length));
        return {};
    }
    return data.read(length);
}

void ScenarioRunner::compareRecord(const QString& what, const QStringList& expected,
                                   const QStringList& actual) {
    if (expected != actual)
        fail(QStringLiteral("%1:\n  expected: %2\n  got:      %3")
                 .arg(what, quotedAll(expected), quotedAll(actual)));
}

} // namespace vendalise::testing
