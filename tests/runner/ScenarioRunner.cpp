#include "ScenarioRunner.h"

#include "access/Pass.h"
#include "bilans/FrmBilans.h"
#include "cash/RegisterWindow.h"
#include "catalogue/FrmStock.h"
#include "DocumentLines.h"
#include "inventory/Inventaire.h"
#include "members/FrmNewAdh.h"
#include "DocumentLines.h"
#include "platform/DataFiles.h"
#include "restore/FrmRestauration.h"
#include "sales/FrmAchat.h"
#include "sales/FrmES.h"
#include "shell/FrmDir.h"
#include "shell/FrmORV.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include <cstdio>
#include <cstdlib>

namespace vendalise::testing {

namespace {

QString iconWord(Messages::Icon icon) {
    switch (icon) {
    case Messages::Icon::None:
        return QStringLiteral("none");
    case Messages::Icon::Information:
        return QStringLiteral("information");
    case Messages::Icon::Exclamation:
        return QStringLiteral("exclamation");
    case Messages::Icon::Critical:
        return QStringLiteral("critical");
    }
    return {};
}

// Hands every event of the application to a function first.
class EventWatcher : public QObject {
public:
    explicit EventWatcher(std::function<bool(QObject*, QEvent*)> watch)
        : watch_(std::move(watch)) {}
    bool eventFilter(QObject* watched, QEvent* event) override { return watch_(watched, event); }

private:
    std::function<bool(QObject*, QEvent*)> watch_;
};

} // namespace

QString quoted(const QString& text) {
    QString out = QStringLiteral("\"");
    for (const QChar c : text) {
        switch (c.unicode()) {
        case '"':
            out += QStringLiteral("\\\"");
            break;
        case '\\':
            out += QStringLiteral("\\\\");
            break;
        case '\t':
            out += QStringLiteral("\\t");
            break;
        case '\r':
            out += QStringLiteral("\\r");
            break;
        case '\n':
            out += QStringLiteral("\\n");
            break;
        default:
            out += c;
        }
    }
    return out + QLatin1Char('"');
}

QString describe(const ShownBox& box) {
    if (box.isInput)
        return QStringLiteral("input ") + quoted(box.title) + QLatin1Char(' ') + quoted(box.text) +
               QLatin1Char(' ') + quoted(box.proposed);
    return QStringLiteral("message ") + quoted(box.title) + QLatin1Char(' ') + quoted(box.text) +
           QLatin1Char(' ') + iconWord(box.icon) +
           (box.buttons == Messages::Buttons::Ok ? QStringLiteral(" ok")
                                                 : QStringLiteral(" yesno"));
}

QString yesNo(bool value) {
    return value ? QStringLiteral("yes") : QStringLiteral("no");
}

void removeScratch(const ScenarioPaths& paths) {
    const QFileInfo root(paths.root);
    if (paths.root.isEmpty() || !root.isAbsolute() || !root.fileName().startsWith(kScratchPrefix))
        return;
    QDir(paths.root).removeRecursively();
}

const std::vector<Verb>& verbs() {
    return ScenarioRunner::verbTable();
}

const std::vector<Verb>& ScenarioRunner::verbTable() {
    static const std::vector<Verb> table = [] {
        std::vector<Verb> all;
        for (const auto& family :
             {setUpVerbs(), writePointVerbs(), actVerbs(), expectVerbs(), expectFileVerbs()})
            all.insert(all.end(), family.begin(), family.end());
        return all;
    }();
    return table;
}

ScenarioRunner::ScenarioRunner(QString file, std::vector<Step> steps, ScenarioPaths paths)
    : file_(std::move(file)), steps_(std::move(steps)), paths_(std::move(paths)),
      settings_(paths_.home + QStringLiteral("/.config/Vendalise/Vendalise.conf")),
      services_{
          messages_,
          settings_,
          printer_,
          clock_,
          *this,
          {QDir::toNativeSeparators(paths_.defaultData), QDir::toNativeSeparators(paths_.home)}} {
    app_ = std::make_unique<App>(services_);
    installFaults(*app_);
    printer_.readDocument = documentLines;
    // Nothing is told while a write of the operation is not yet on the disk.
    messages_.onShown = [this](const ShownBox& box) {
        if (!counting_ || !disk_ || faultFired_)
            return;
        const QStringList unsynced = disk_->unsynced();
        if (!unsynced.isEmpty())
            fail(describe(box) + QStringLiteral(" shown while not on the disk: ") +
                 unsynced.join(QStringLiteral(", ")));
    };
    messages_.onUnanswered = [this](const ShownBox& box) {
        abort(QStringLiteral("no answer queued for ") + describe(box));
    };
    strayWatcher_ = std::make_unique<EventWatcher>(
        [this](QObject* watched, QEvent* event) { return watchStrayWindows(watched, event); });
    qApp->installEventFilter(strayWatcher_.get());
}

bool ScenarioRunner::watchStrayWindows(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::Show || !watched->isWidgetType())
        return false;
    auto* widget = static_cast<QWidget*>(watched);
    if (!widget->isWindow() || qobject_cast<Form*>(widget))
        return false;
    const Qt::WindowType type = widget->windowType();
    if (type != Qt::Window && type != Qt::Dialog && type != Qt::Sheet)
        return false; // tooltips, pop-up lists
    // A real message box or file dialog would wait for a user who is not there.
    abort(QStringLiteral("a window that is not one of the program's was shown: %1 %2")
              .arg(QString::fromLatin1(widget->metaObject()->className()),
                   quoted(widget->windowTitle())));
}

ScenarioRunner::~ScenarioRunner() = default;

void ScenarioRunner::run() {
    runUntil([] { return false; });
    finish(); // not reached: runUntil finishes when the steps run out
}

void ScenarioRunner::runUntil(const std::function<bool()>& done) {
    while (!done()) {
        if (next_ >= steps_.size())
            finish();
        step_ = &steps_[next_++];
        (this->*step_->verb->run)(*step_);
        settle();
        if (faultFired_)
            checkWritePoint();
    }
}

void ScenarioRunner::settle() {
    QCoreApplication::sendPostedEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
}

void ScenarioRunner::showModal(QDialog& window) {
    QPointer<QDialog> shown(&window);
    modal_.push_back(shown);
    window.show();
    runUntil([&] { return !shown || !shown->isVisible(); });
    modal_.pop_back();
}

void ScenarioRunner::end() {
    ended_ = true;
    for (Form* window : app_->windows().all())
        window->hide();
    runUntil([] { return false; });
    finish();
}

void ScenarioRunner::finish() {
    step_ = nullptr;
    if (counting_)
        endRoad();
    for (qsizetype i = boxesExpected_; i < messages_.shown.size(); ++i)
        fail(QStringLiteral("not expected: ") + describe(messages_.shown[i]));
    for (Answer answer : messages_.answers)
        fail(QStringLiteral("answer %1 queued but not used")
                 .arg(answer == Answer::Yes ? QStringLiteral("yes") : QStringLiteral("no")));
    for (const QString& path : messages_.savePaths)
        fail(QStringLiteral("save %1 queued but not used")
                 .arg(path.isEmpty() ? QStringLiteral("cancel") : quoted(path)));
    for (const QString& path : messages_.folderPaths)
        fail(QStringLiteral("choose-folder %1 queued but not used")
                 .arg(path.isEmpty() ? QStringLiteral("cancel") : quoted(path)));
    for (const auto& input : messages_.inputs)
        fail(QStringLiteral("input %1 queued but not used")
                 .arg(input ? quoted(*input) : QStringLiteral("cancel")));
    for (const Failing& failing : failing_)
        fail(failing.read
                 ? QStringLiteral("fail read %1 given but the file was not opened for reading")
                       .arg(failing.file)
                 : QStringLiteral("fail %1 given but the write to fail was not made")
                       .arg(failing.file));
    if (settings_.failNext)
        fail(QStringLiteral("fail settings given but no setting was stored"));
    for (const QString& failure : failures_)
        std::fprintf(stdout, "%s\n", qUtf8Printable(failure));
    std::fflush(stdout);
    // Windows removes neither a folder that is a process's current
    // directory nor a file still open: the locks are given up first.
    otherProgram_.release();
    app_->folderLock.release();
    for (const auto& ended : ended_apps_)
        ended->folderLock.release();
    QDir::setCurrent(paths_.startedIn);
    removeScratch(paths_);
    std::_Exit(failures_.isEmpty() ? 0 : 1);
}

void ScenarioRunner::fail(const QString& message) {
    const QString where = step_ ? QStringLiteral("%1:%2: ")
                                      .arg(step_->source.isEmpty() ? file_ : step_->source)
                                      .arg(step_->line)
                                : file_ + QStringLiteral(": ");
    failures_.append(where + message);
}

void ScenarioRunner::abort(const QString& message) {
    fail(message + QStringLiteral(" (scenario stopped)"));
    next_ = steps_.size();
    finish();
}

bool ScenarioRunner::yes(const QString& word) {
    if (word != QLatin1String("yes") && word != QLatin1String("no"))
        abort(QStringLiteral("yes or no expected, not ") + word);
    return word == QLatin1String("yes");
}

float ScenarioRunner::number(const QString& text) {
    bool ok = false;
    const float value = text.toFloat(&ok);
    if (!ok)
        abort(QStringLiteral("not a number: ") + text);
    return value;
}

void ScenarioRunner::compare(const QString& subject, const QString& expected,
                             const QString& actual) {
    if (expected != actual)
        fail(QStringLiteral("%1: expected %2, got %3")
                 .arg(subject, quoted(expected), quoted(actual)));
}

QString ScenarioRunner::dataPath(const QString& name) const {
    DataFiles data;
    data.setCurrent(paths_.data);
    return data.path(name);
}

QString ScenarioRunner::comparablePath(const QString& path) {
    return QDir::cleanPath(QDir::fromNativeSeparators(path));
}

void ScenarioRunner::writeBytes(const QString& name, const QByteArray& bytes, bool append) {
    QFile file(dataPath(name));
    QDir().mkpath(QFileInfo(file).path()); // a file may be set up in a folder still to make
    if (!file.open(append ? QIODevice::Append : QIODevice::WriteOnly | QIODevice::Truncate) ||
        file.write(bytes) != bytes.size())
        abort(QStringLiteral("cannot write ") + file.fileName() + QStringLiteral(": ") +
              file.errorString());
}

QByteArray ScenarioRunner::hexBytes(const QStringList& words) {
    const QString hex = words.join(QString());
    static const QRegularExpression valid(QStringLiteral("^([0-9A-Fa-f]{2})*$"));
    if (!valid.match(hex).hasMatch())
        abort(QStringLiteral("not hex pairs: ") + hex);
    return QByteArray::fromHex(hex.toLatin1());
}

// --- Windows and controls ---------------------------------------------

QDialog* ScenarioRunner::topModal() const {
    for (auto it = modal_.rbegin(); it != modal_.rend(); ++it) {
        if (*it && (*it)->isVisible())
            return it->data();
    }
    return nullptr;
}

Form* ScenarioRunner::shownWindow(const QString& name) {
    if (ended_)
        abort(QStringLiteral("the program has ended"));
    Form* window = app_->windows().find(name);
    if (!window || !window->isVisible())
        abort(QStringLiteral("the window %1 is not shown").arg(name));
    QDialog* top = topModal();
    if (top && top != window)
        abort(QStringLiteral("the window %1 is behind the modal window %2")
                  .arg(name, top->objectName()));
    return window;
}

QWidget* ScenarioRunner::actionableControl(const QString& target) {
    const qsizetype dot = target.indexOf(QLatin1Char('.'));
    if (dot < 0)
        abort(QStringLiteral("W.C expected, not ") + target);
    Form* window = shownWindow(target.left(dot));
    auto* control = window->findChild<QWidget*>(target.mid(dot + 1));
    if (!control)
        abort(QStringLiteral("no control %1").arg(target));
    if (!control->isVisible())
        abort(QStringLiteral("the control %1 is hidden").arg(target));
    if (!control->isEnabled())
        abort(QStringLiteral("the control %1 is disabled").arg(target));
    return control;
}

// A window not yet made is made as its first use makes it, hidden: what a
// user who opened it would see of its part.
Form* ScenarioRunner::existingWindow(const QString& name) {
    if (Form* window = app_->windows().find(name))
        return window;
    App& app = *app_;
    const QHash<QString, std::function<Form*()>> makers{
        {QStringLiteral("FrmORV"), [&] { return &app.window<FrmORV>(); }},
        {QStringLiteral("FrmDir"), [&] { return &app.window<FrmDir>(); }},
        {QStringLiteral("FrmStock"), [&] { return &app.window<FrmStock>(); }},
        {QStringLiteral("FrmBilans"), [&] { return &app.window<FrmBilans>(); }},
        {QStringLiteral("FrmRestauration"), [&] { return &app.window<FrmRestauration>(); }},
        {QStringLiteral("FrmNewAdh"), [&] { return &app.window<FrmNewAdh>(); }},
        {QStringLiteral("FrmAchat"), [&] { return &app.window<FrmAchat>(); }},
        {QStringLiteral("FrmES"), [&] { return &app.window<FrmES>(); }},
        {QStringLiteral("Compta"), [&] { return &app.window<Compta>(); }},
        {QStringLiteral("ComptaBoisson"), [&] { return &app.window<ComptaBoisson>(); }},
        {QStringLiteral("Inventaire"), [&] { return &app.window<Inventaire>(); }},
        {QStringLiteral("Pass"), [&] { return &app.window<Pass>(); }},
    };
    const auto maker = makers.find(name);
    if (maker == makers.end()) {
        fail(QStringLiteral("no window is named %1").arg(name));
        return nullptr;
    }
    Form* window = (*maker)();
    settle();
    return window;
}

QWidget* ScenarioRunner::existingControl(const QString& target) {
    const qsizetype dot = target.indexOf(QLatin1Char('.'));
    Form* window = existingWindow(target.left(dot));
    if (!window)
        return nullptr;
    auto* control = window->findChild<QWidget*>(target.mid(dot + 1));
    if (!control)
        fail(QStringLiteral("no control %1").arg(target));
    return control;
}

} // namespace vendalise::testing
