#pragma once

#include "core/Window.h"
#include "PowerCut.h"
#include "ScenarioScript.h"
#include "ScriptedServices.h"

#include <QPointer>

#include <functional>
#include <memory>
#include <vector>

class QDialog;
class QWidget;

namespace vendalise::testing {

// The folders a scenario runs in, all fresh.
struct ScenarioPaths {
    QString root; // made by the runner, removed when the scenario ends
    QString data;
    QString home;
    QString defaultData;
};

// The name of every scratch folder the runner makes begins so.
inline const QString kScratchPrefix = QStringLiteral("vendalise-scenario-");

// Removes the scratch folder, and only a folder the runner made.
void removeScratch(const ScenarioPaths& paths);

// Runs one scenario against the real windows, headless, with scripted
// message boxes, printer and clock. It is also the program's window system:
// showing a window modally runs the following steps until the window is
// hidden or closed, and the end of the program runs the remaining steps
// (which can then only look at what was left) before the scenario ends.
class ScenarioRunner : public WindowSystem {
public:
    ScenarioRunner(QString file, std::vector<Step> steps, ScenarioPaths paths);
    ~ScenarioRunner() override;

    // Runs every step, reports the failures and ends the process.
    [[noreturn]] void run();

    void showModal(QDialog& window) override;

protected:
    void end() override;

private:
    void runUntil(const std::function<bool()>& done);
    [[noreturn]] void finish();
    void addHandlers();
    void execute(const Step& step);
    // Delivers what a user would see after a step: posted events, queued
    // signals and deferred deletes.
    void settle();
    // A window that is neither one of the program's nor a scripted box.
    bool watchStrayWindows(QObject* watched, QEvent* event);

    // A failed expectation: reported, the scenario goes on.
    void fail(const QString& message);
    // A step that cannot be done: reported, the scenario stops.
    [[noreturn]] void abort(const QString& message);
    // The word "yes" or "no" as a truth value.
    bool yes(const QString& word);

    // Acting.
    void start();
    void click(const QString& target);
    void restart();
    void type(const QString& target, const QString& text);
    void pressKey(const QString& target, const QString& key);
    void leave(const QString& target);
    void select(const QString& target, const QString& row);
    void openFolder(const QString& target, const QString& path);
    void close(const QString& window);

    // Expecting.
    void expectBox(bool input, const QStringList& words);
    void expectRows(const QString& target, const QList<QStringList>& rows);
    void expectPrinted(const QList<QStringList>& rows);
    void expectFile(const QString& name, const QStringList& lines);
    void expectState(const QString& name, const QString& value);
    // Record n of a data file, or empty (a failure told) when it has none.
    QByteArray recordOf(const QString& file, const QString& number, int length);
    static QString numberText(float value);
    void compareRecord(const QString& what, const QStringList& expected, const QStringList& actual);

    // Windows and controls.
    Form* shownWindow(const QString& name);
    QWidget* actionableControl(const QString& target);
    Form* existingWindow(const QString& name);
    QWidget* existingControl(const QString& target);
    QDialog* topModal() const;

    // Files of the scenario: a relative name lies in <data>.
    QString dataPath(const QString& name) const;
    void writeBytes(const QString& name, const QByteArray& bytes, bool append);
    // Makes the next write operation on a data file of this name fail.
    void installFaults(App& app);
    // Files whose write operation, or opening for reading, is to fail: the
    // name and how many of these operations are still to pass before the
    // one that fails.
    struct Failing {
        QString name;
        int pass = 0;
        bool read = false;
    };
    QList<Failing> failing_;

    // Write points: from the step "points" on, the runner counts the write
    // operations on files; with VENDALISE_FAIL_AT=k the k-th fails, and the
    // step that made it fail is the scenario's last: the runner then checks
    // that the user was told, that the data files are as at "points" and
    // that the tables match the files.
    void markPoints(const QStringList& mayAppear);
    [[noreturn]] void checkWritePoint();
    bool counting_ = false;
    int writes_ = 0;
    int failAt_ = 0;
    // With VENDALISE_CRASH_AFTER=k the process is killed right after its
    // k-th write operation; -1: no crash. With VENDALISE_POWER_CUT_AFTER=k
    // the data folder is first left as a power cut would leave it.
    int crashAfter_ = -1;
    bool powerCut_ = false;
    // The lock of a folder held as another Vendalise would hold it.
    FolderLock otherProgram_;
    // What is on the disk of the data folder, from the write operations.
    std::unique_ptr<PowerCut> disk_;
    bool faultFired_ = false;
    qsizetype boxesAtFault_ = 0;
    QHash<QString, QByteArray> atPoints_;
    QStringList mayAppear_;
    QHash<QString, QByteArray> snapshots_;
    QByteArray hexBytes(const QStringList& words);

    QString file_;
    std::vector<Step> steps_;
    ScenarioPaths paths_;
    std::size_t next_ = 0;
    const Step* step_ = nullptr;
    QStringList failures_;

    ScriptedMessages messages_;
    FailableSettings settings_;
    ScriptedPrinter printer_;
    FixedClock clock_;
    Services services_;
    std::unique_ptr<App> app_;
    // Programs ended by "restart": their windows may still be on the stack.
    std::vector<std::unique_ptr<App>> ended_apps_;
    QHash<QString, std::function<void(const Step&)>> handlers_;
    std::unique_ptr<QObject> strayWatcher_;

    std::vector<QPointer<QDialog>> modal_;
    bool started_ = false;
    bool ended_ = false;
    qsizetype boxesExpected_ = 0;
    qsizetype printedExpected_ = 0;
};

} // namespace vendalise::testing
