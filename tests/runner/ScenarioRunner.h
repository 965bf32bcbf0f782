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
    QString startedIn; // the runner's own working directory
};

// The name of every scratch folder the runner makes begins so.
inline const QString kScratchPrefix = QStringLiteral("vendalise-scenario-");

// Removes the scratch folder, and only a folder the runner made.
void removeScratch(const ScenarioPaths& paths);

// A text as a scenario would write it, so that failures can be read and
// copied into a scenario.
QString quoted(const QString& text);
QString describe(const ShownBox& box);
QString yesNo(bool value);

// Runs one scenario against the real windows, headless, with scripted
// message boxes, printer and clock. It is also the program's window system:
// showing a window modally runs the following steps until the window is
// hidden or closed, and the end of the program runs the remaining steps
// (which can then only look at what was left) before the scenario ends.
// The verbs' handlers are in files by family: SetUpVerbs.cpp,
// ActVerbs.cpp, ExpectVerbs.cpp (windows, boxes, printer, state),
// ExpectFileVerbs.cpp (files, records, settings) and WritePoints.cpp.
class ScenarioRunner : public WindowSystem {
public:
    ScenarioRunner(QString file, std::vector<Step> steps, ScenarioPaths paths);
    ~ScenarioRunner() override;

    // Runs every step, reports the failures and ends the process.
    [[noreturn]] void run();

    void showModal(QDialog& window) override;

    // Every verb of the scenario language, with its handler.
    static const std::vector<Verb>& verbTable();

protected:
    void end() override;

private:
    // The families of verbs, each defined with its handlers.
    static std::vector<Verb> setUpVerbs();
    static std::vector<Verb> actVerbs();
    static std::vector<Verb> expectVerbs();
    static std::vector<Verb> expectFileVerbs();
    static std::vector<Verb> writePointVerbs();

    void runUntil(const std::function<bool()>& done);
    [[noreturn]] void finish();
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
    // A number of the scenario, read as a single-precision value.
    float number(const QString& text);
    void compare(const QString& subject, const QString& expected, const QString& actual);

    // Setting up (SetUpVerbs.cpp).
    void today(const Step& step);
    void setting(const Step& step);
    void product(const Step& step);
    void member(const Step& step);
    void sale(const Step& step);
    void file(const Step& step);
    void bytes(const Step& step);
    void empty(const Step& step);
    void remove(const Step& step);
    void modified(const Step& step);
    void repeat(const Step& step);
    void folder(const Step& step);
    void club(const Step& step);
    void lock(const Step& step);
    void printer(const Step& step);
    void failNext(const Step& step);
    void snapshot(const Step& step);
    void include(const Step& step);
    void defaultFolder(const Step& step);

    // Acting (ActVerbs.cpp).
    void start(const Step& step);
    void restart(const Step& step);
    void answer(const Step& step);
    void input(const Step& step);
    void save(const Step& step);
    void chooseFolder(const Step& step);
    void tables(const Step& step);
    void sort(const Step& step);
    void click(const Step& step);
    void type(const Step& step);
    void key(const Step& step);
    void leave(const Step& step);
    void select(const Step& step);
    void open(const Step& step);
    void close(const Step& step);
    void screenshot(const Step& step);

    // Expecting what a user sees (ExpectVerbs.cpp).
    void expectMessage(const Step& step);
    void expectInput(const Step& step);
    void expectBox(bool input, const QStringList& words);
    void expectNoMessage(const Step& step);
    void expectText(const Step& step);
    void expectVisible(const Step& step);
    void expectChecked(const Step& step);
    void expectShown(const Step& step);
    void expectLoaded(const Step& step);
    void expectSelected(const Step& step);
    void expectRows(const Step& step);
    void expectTooltip(const Step& step);
    void expectEnabled(const Step& step);
    void expectCaptions(const Step& step);
    void expectPrinted(const Step& step);
    void expectEnded(const Step& step);
    void expectState(const Step& step);

    // Expecting what the files hold (ExpectFileVerbs.cpp).
    void expectBytes(const Step& step);
    void expectMissing(const Step& step);
    void expectSize(const Step& step);
    void expectUnchanged(const Step& step);
    void expectProduct(const Step& step);
    void expectMember(const Step& step);
    void expectSale(const Step& step);
    void expectFile(const Step& step);
    void expectFolder(const Step& step);
    void expectSetting(const Step& step);
    void expectNoSetting(const Step& step);
    // Record n of a data file, or empty (a failure told) when it has none.
    QByteArray recordOf(const QString& file, const QString& number, int length);
    void compareRecord(const QString& what, const QStringList& expected, const QStringList& actual);

    // Write points (WritePoints.cpp): from the step "points" on, the runner
    // counts the write operations on files; with VENDALISE_FAIL_AT=k the
    // k-th fails, and the step that made it fail is the scenario's last:
    // the runner then checks that the user was told, that the data files
    // are as at "points" and that the tables match the files.
    void points(const Step& step);
    // Makes the write operations and readings that the scenario names fail.
    void installFaults(App& app);
    [[noreturn]] void checkWritePoint();
    // At the end of a road: the power cut after the last write operation,
    // or the count of write operations.
    void endRoad();

    // Windows and controls.
    Form* shownWindow(const QString& name);
    QWidget* actionableControl(const QString& target);
    Form* existingWindow(const QString& name);
    QWidget* existingControl(const QString& target);
    QDialog* topModal() const;

    // Files of the scenario: a relative name lies in <data>.
    QString dataPath(const QString& name) const;
    // A path as the fault seam's paths are compared with it.
    static QString comparablePath(const QString& path);
    void writeBytes(const QString& name, const QByteArray& bytes, bool append);
    QByteArray hexBytes(const QStringList& words);

    // Files whose write operation, or opening for reading, is to fail: the
    // name and how many of these operations are still to pass before the
    // one that fails.
    struct Failing {
        QString file; // a name, or a whole path
        bool isPath = false;
        int pass = 0;
        bool read = false;
    };
    QList<Failing> failing_;

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
    std::unique_ptr<QObject> strayWatcher_;

    std::vector<QPointer<QDialog>> modal_;
    bool started_ = false;
    bool ended_ = false;
    qsizetype boxesExpected_ = 0;
    qsizetype printedExpected_ = 0;
};

} // namespace vendalise::testing
