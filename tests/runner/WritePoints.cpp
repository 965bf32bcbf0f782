// The write points: the fault seam the runner gives the program, the step
// "points" from which the write operations are counted, and the checks
// after one of them failed, was killed after, or was cut by a power cut.

#include "ScenarioRunner.h"

#include "catalogue/Catalogue.h"
#include "members/MemberTable.h"
#include "sales/Ledger.h"
#include "SystemTraps.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include <algorithm>
#include <cstdio>

namespace vendalise::testing {

namespace {

// The files of a folder and of every folder below it.
void copyFiles(const QString& from, const QString& to) {
    QDir().mkpath(to);
    for (const QString& name : PowerCut::filesBelow(from)) {
        const QString target = to + QLatin1Char('/') + name;
        QDir().mkpath(QFileInfo(target).absolutePath());
        QFile::remove(target);
        QFile::copy(from + QLatin1Char('/') + name, target);
    }
}

} // namespace

std::vector<Verb> ScenarioRunner::writePointVerbs() {
    return {{"points", 1, Block::None, "points [PATTERN...]", &ScenarioRunner::points}};
}

void ScenarioRunner::installFaults(App& app) {
    app.files.setFaults([this](FileOp op, const QString& path) -> std::optional<QString> {
        // Readings are not write points.
        const bool reading = op == FileOp::OpenRead || op == FileOp::ReadBack;
        if (counting_ && !reading) {
            if (crashAfter_ >= 0 && writes_ == crashAfter_) {
                // The operation before was the k-th.
                if (powerCut_)
                    disk_->apply();
                killThisProcess();
            }
            if (disk_)
                disk_->record(op, path);
            if (!faultFired_ && ++writes_ == failAt_) {
                faultFired_ = true;
                boxesAtFault_ = messages_.shown.size();
                return QStringLiteral("Le disque est plein.");
            }
        }
        const QString name = QFileInfo(path).fileName();
        const QString whole = comparablePath(path);
        for (qsizetype i = 0; i < failing_.size(); ++i) {
            const Failing& failing = failing_[i];
            if (failing.read != reading ||
                failing.file.compare(failing.isPath ? whole : name, Qt::CaseInsensitive) != 0)
                continue;
            if (failing_[i].pass-- > 0)
                return std::nullopt;
            failing_.removeAt(i);
            return reading ? QStringLiteral("Le disque est illisible.")
                           : QStringLiteral("Le disque est plein.");
        }
        return std::nullopt;
    });
}

void ScenarioRunner::points(const Step& step) {
    counting_ = true;
    writes_ = 0;
    failAt_ = qEnvironmentVariableIntValue("VENDALISE_FAIL_AT");
    mayAppear_ = step.words.mid(1);
    // The data folder and the folders below it (the kept statements, a
    // restore's folders).
    const QDir data(paths_.data);
    for (const QString& name : PowerCut::filesBelow(paths_.data)) {
        QFile file(data.filePath(name));
        if (!file.open(QIODevice::ReadOnly))
            abort(QStringLiteral("cannot read ") + file.fileName());
        atPoints_.insert(name, file.readAll());
    }
    // A power cut reaches the backup folder too, which is in the home.
    disk_ = std::make_unique<PowerCut>(QStringList{paths_.data, paths_.home});
    powerCut_ = qEnvironmentVariableIsSet("VENDALISE_POWER_CUT_AFTER");
    if (qEnvironmentVariableIsSet("VENDALISE_CRASH_AFTER") || powerCut_) {
        crashAfter_ = qEnvironmentVariableIntValue(powerCut_ ? "VENDALISE_POWER_CUT_AFTER"
                                                             : "VENDALISE_CRASH_AFTER");
        copyFiles(paths_.data, paths_.root + QStringLiteral("/before"));
        std::fprintf(stdout, "data: %s\n", qUtf8Printable(paths_.data));
        std::fflush(stdout);
    }
    if (failAt_ > 0) {
        // After the failure the road may ask what the script did not plan.
        messages_.onUnanswered = [](const ShownBox&) {};
    }
}

void ScenarioRunner::endRoad() {
    // A power cut after the last write operation.
    if (powerCut_ && writes_ == crashAfter_) {
        disk_->apply();
        killThisProcess();
    }
    if (failAt_ != 0) {
        fail(QStringLiteral("the write operation %1 to fail was never made").arg(failAt_));
        return;
    }
    std::fprintf(stdout, "write operations: %d\n", writes_);
    // The files after the road, for the crash points to compare with.
    const QString keep = qEnvironmentVariable("VENDALISE_KEEP_AFTER");
    if (!keep.isEmpty())
        copyFiles(paths_.data, keep);
    // A write-point road is about its files, not its boxes.
    boxesExpected_ = messages_.shown.size();
}

// The write operation failed in the last step.
void ScenarioRunner::checkWritePoint() {
    const QString point = QStringLiteral("write %1 failing: ").arg(failAt_);
    // The user was told, and never of a success.
    if (messages_.shown.size() == boxesAtFault_)
        fail(point + QStringLiteral("no message told the failure"));
    for (qsizetype i = boxesAtFault_; i < messages_.shown.size(); ++i) {
        const QString& text = messages_.shown[i].text;
        if (text == QLatin1String("Achat enregistré") || text.contains(u"a été restaurée"))
            fail(point + QStringLiteral("a success was told: ") + describe(messages_.shown[i]));
    }
    // The data files are as before the operation; no other file appeared,
    // in the data folder or below it (a register's kept statements).
    const QDir data(paths_.data);
    const QStringList now = PowerCut::filesBelow(paths_.data);
    for (auto it = atPoints_.cbegin(); it != atPoints_.cend(); ++it) {
        QFile file(data.filePath(it.key()));
        if (!file.open(QIODevice::ReadOnly))
            fail(point + it.key() + QStringLiteral(" is gone"));
        else if (file.readAll() != it.value())
            fail(point + it.key() + QStringLiteral(" changed"));
    }
    for (const QString& name : now) {
        const bool allowed =
            std::any_of(mayAppear_.cbegin(), mayAppear_.cend(), [&](const QString& p) {
                return QRegularExpression::fromWildcard(p).match(name).hasMatch();
            });
        if (!atPoints_.contains(name) && !allowed)
            fail(point + QStringLiteral("a file was left: ") + name);
    }
    // The tables match the files: a reload gives the same tables.
    ProductTable products;
    MemberTable members;
    LedgerTable ledger;
    try {
        loadProductTable(app_->files, products);
        loadMemberTable(app_->files, members);
        loadLedger(app_->files, ledger);
    } catch (const FileError& error) {
        fail(point + QStringLiteral("the files cannot be read again: ") + error.description());
    }
    // Each table equals its reload, record for record.
    const auto sameTable = [](const auto& read, const auto& shown, auto equal) {
        if (read.count() != shown.count())
            return false;
        for (int n = 1; n <= read.count(); ++n)
            if (!equal(read[n], shown[n]))
                return false;
        return true;
    };
    if (!sameTable(products, app_->part<Catalogue>().table, [](const Product& a, const Product& b) {
            return a.name == b.name && a.price == b.price && a.stock == b.stock;
        }))
        fail(point + QStringLiteral("the product table differs from its file"));
    if (!sameTable(members, app_->part<Members>().table, [](const Member& a, const Member& b) {
            return a.name == b.name && a.firstName == b.firstName;
        }))
        fail(point + QStringLiteral("the member table differs from its file"));
    if (!sameTable(ledger, app_->part<Sales>().ledger,
                   [](const LedgerLine& a, const LedgerLine& b) {
                       return ledgerRecord(a) == ledgerRecord(b);
                   }))
        fail(point + QStringLiteral("the ledger table differs from its file"));
    counting_ = false;
    // What the script expected after the failing step no longer holds.
    boxesExpected_ = messages_.shown.size();
    messages_.answers.clear();
    messages_.inputs.clear();
    messages_.savePaths.clear();
    messages_.folderPaths.clear();
    failing_.clear();
    settings_.failNext = false;
    finish();
}

} // namespace vendalise::testing
