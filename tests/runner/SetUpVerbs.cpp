// The verbs that set a scenario up: the clock, settings, data files and
// folders, a lock held elsewhere, the printer, the failures to come.

#include "ScenarioRunner.h"

#include "RealisticClub.h"

#include "catalogue/ProductTable.h"
#include "core/Names.h"
#include "members/MemberTable.h"
#include "platform/Cp1252.h"
#include "sales/Ledger.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace vendalise::testing {

std::vector<Verb> ScenarioRunner::setUpVerbs() {
    return {
        {"today", 2, Block::None, "today DD/MM/YYYY [HH:MM]", &ScenarioRunner::today},
        {"setting", 4, Block::None, "setting SECTION KEY VALUE", &ScenarioRunner::setting},
        {"product", 4, Block::None, "product NAME PRICE STOCK", &ScenarioRunner::product},
        {"member", 3, Block::None, "member NAME FIRSTNAME", &ScenarioRunner::member},
        {"sale", 6, Block::None, "sale DATE PRODUCT MEMBER QUANTITY paid|owed [COUNT]",
         &ScenarioRunner::sale},
        {"club", 1, Block::None, "club [long-names]", &ScenarioRunner::club},
        {"file", 2, Block::Raw, "file NAME, its lines, end", &ScenarioRunner::file},
        {"bytes", 2, Block::None, "bytes NAME HEX...", &ScenarioRunner::bytes},
        {"empty", 2, Block::None, "empty NAME...", &ScenarioRunner::empty},
        {"remove", 2, Block::None, "remove NAME...", &ScenarioRunner::remove},
        {"modified", 4, Block::None, "modified DD/MM/YYYY HH:MM NAME...",
         &ScenarioRunner::modified},
        {"repeat", 4, Block::None, "repeat NAME COUNT HEX...", &ScenarioRunner::repeat},
        {"folder", 2, Block::None, "folder PATH", &ScenarioRunner::folder},
        {"lock", 2, Block::None, "lock PATH", &ScenarioRunner::lock},
        {"printer", 2, Block::None, "printer fonts F1 F2...|off|on|none|end-fails|end-aborts",
         &ScenarioRunner::printer},
        {"fail", 2, Block::None, "fail [read] NAME [N]|settings", &ScenarioRunner::failNext},
        {"snapshot", 2, Block::None, "snapshot NAME...", &ScenarioRunner::snapshot},
        {"include", 2, Block::None, "include FILE", &ScenarioRunner::include},
        {"default", 2, Block::None, "default PATH", &ScenarioRunner::defaultFolder},
    };
}

void ScenarioRunner::today(const Step& step) {
    const QDate date = QDate::fromString(step.words[1], QStringLiteral("dd/MM/yyyy"));
    if (!date.isValid())
        abort(QStringLiteral("not a date: ") + step.words[1]);
    clock_.date = date;
    if (step.words.size() > 2) {
        const QTime time = QTime::fromString(step.words[2], QStringLiteral("HH:mm"));
        if (!time.isValid())
            abort(QStringLiteral("not a time: ") + step.words[2]);
        clock_.at = time;
    }
}

void ScenarioRunner::setting(const Step& step) {
    const QStringList& w = step.words;
    settings_.setValue(w[1], w[2], w[3]);
}

// Records written with the program's own record formats.
void ScenarioRunner::product(const Step& step) {
    const QStringList& w = step.words;
    writeBytes(kProductFile, productRecord(w[1], number(w[2]), number(w[3])), true);
}

void ScenarioRunner::member(const Step& step) {
    writeBytes(kMemberFile, memberRecord(step.words[1], step.words[2]), true);
}

void ScenarioRunner::sale(const Step& step) {
    const QStringList& w = step.words;
    if (w[5] != QLatin1String("paid") && w[5] != QLatin1String("owed"))
        abort(QStringLiteral("paid or owed expected, not ") + w[5]);
    const LedgerLine line{w[1], static_cast<qint16>(w[2].toInt()),
                          static_cast<qint16>(w[3].toInt()), number(w[4]),
                          w[5] == QLatin1String("paid") ? kPaid : kOwed};
    const int count = w.size() > 6 ? w[6].toInt() : 1;
    if (count < 1)
        abort(QStringLiteral("a count of records expected, not ") + w[6]);
    writeBytes(kLedgerFile, ledgerRecord(line).repeated(count), true);
}

// The realistic club's files in the data directory, and its day as today.
void ScenarioRunner::club(const Step& step) {
    RealisticClub club = realisticClub();
    if (step.words.size() > 1) {
        if (step.words[1] != QLatin1String("long-names"))
            abort(QStringLiteral("long-names expected, not ") + step.words[1]);
        club = club.withLongNames();
    }
    QDir().mkpath(paths_.data);
    if (!writeClub(club, paths_.data))
        abort(QStringLiteral("cannot write the club into ") + paths_.data);
    clock_.date = club.today;
}

void ScenarioRunner::file(const Step& step) {
    QString text;
    for (const QString& line : step.block)
        text += line + QStringLiteral("\r\n");
    writeBytes(step.words[1], toCp1252(text), false);
}

void ScenarioRunner::bytes(const Step& step) {
    writeBytes(step.words[1], hexBytes(step.words.mid(2)), false);
}

void ScenarioRunner::empty(const Step& step) {
    for (const QString& name : step.words.mid(1))
        writeBytes(name, {}, false);
}

void ScenarioRunner::remove(const Step& step) {
    for (const QString& name : step.words.mid(1))
        if (!QFile::remove(dataPath(name)))
            abort(QStringLiteral("cannot remove ") + name);
}

void ScenarioRunner::modified(const Step& step) {
    const QDateTime when = QDateTime::fromString(step.words[1] + u' ' + step.words[2],
                                                 QStringLiteral("dd/MM/yyyy HH:mm"));
    if (!when.isValid())
        abort(QStringLiteral("not a day and time: ") + step.words[1] + u' ' + step.words[2]);
    for (const QString& name : step.words.mid(3)) {
        QFile file(dataPath(name));
        if (!file.open(QIODevice::ReadWrite) ||
            !file.setFileTime(when, QFileDevice::FileModificationTime))
            abort(QStringLiteral("cannot date ") + name);
    }
}

void ScenarioRunner::repeat(const Step& step) {
    const QStringList& w = step.words;
    bool ok = false;
    const int count = w[2].toInt(&ok);
    if (!ok || count < 0)
        abort(QStringLiteral("not a count: ") + w[2]);
    writeBytes(w[1], hexBytes(w.mid(3)).repeated(count), false);
}

void ScenarioRunner::folder(const Step& step) {
    if (!QDir().mkpath(dataPath(step.words[1])))
        abort(QStringLiteral("cannot create the folder ") + step.words[1]);
}

void ScenarioRunner::lock(const Step& step) {
    const QString folder = dataPath(step.words[1]);
    if (otherProgram_.take(folder + QLatin1Char('/') + kLockFile).state != FolderLock::State::Held)
        abort(QStringLiteral("cannot lock the folder ") + folder);
}

void ScenarioRunner::printer(const Step& step) {
    const QStringList& w = step.words;
    if (w[1] == QLatin1String("fonts")) {
        printer_.fontList = w.mid(2);
    } else if (w[1] == QLatin1String("off")) {
        printer_.mode = ScriptedPrinter::Mode::Off;
    } else if (w[1] == QLatin1String("on")) {
        printer_.mode = ScriptedPrinter::Mode::On;
        printer_.end = ScriptedPrinter::End::Sent;
    } else if (w[1] == QLatin1String("none")) {
        printer_.mode = ScriptedPrinter::Mode::None;
    } else if (w[1] == QLatin1String("end-fails")) {
        printer_.end = ScriptedPrinter::End::Fails;
    } else if (w[1] == QLatin1String("end-aborts")) {
        printer_.end = ScriptedPrinter::End::Aborted;
    } else {
        abort(QStringLiteral("unknown printer state ") + w[1]);
    }
}

void ScenarioRunner::failNext(const Step& step) {
    const QStringList& w = step.words;
    if (w[1] == QLatin1String("settings")) {
        settings_.failNext = true;
        return;
    }
    const bool read = w[1] == QLatin1String("read");
    const qsizetype at = read ? 2 : 1;
    if (at >= w.size())
        abort(QStringLiteral("fail read needs the file's name"));
    bool ok = true;
    const int n = w.size() > at + 1 ? w[at + 1].toInt(&ok) : 1;
    if (!ok || n < 1)
        abort(QStringLiteral("not a count: ") + w[at + 1]);
    // A path (the backup folder's copy) is that file only; a name is that
    // name in any folder.
    const bool path = w[at].contains(QLatin1Char('/')) || w[at].contains(QLatin1Char('\\'));
    failing_.append({path ? comparablePath(QDir(paths_.data).absoluteFilePath(w[at])) : w[at], path,
                     n - 1, read});
}

void ScenarioRunner::snapshot(const Step& step) {
    for (const QString& name : step.words.mid(1)) {
        QFile file(dataPath(name));
        if (!file.open(QIODevice::ReadOnly))
            abort(QStringLiteral("cannot read ") + name);
        snapshots_[name] = file.readAll();
    }
}

// Read in place before the run.
void ScenarioRunner::include(const Step&) {
    abort(QStringLiteral("include met while running"));
}

// The placeholders took the folder when the scenario was read; the program
// gets it as its default data directory.
void ScenarioRunner::defaultFolder(const Step& step) {
    if (started_)
        abort(QStringLiteral("default comes before start"));
    services_.defaults.data = QDir::toNativeSeparators(step.words[1]);
}

} // namespace vendalise::testing
