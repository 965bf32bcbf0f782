#include "ScenarioRunner.h"

#include "access/Access.h"
#include "access/Pass.h"
#include "CaptionFit.h"
#include "cash/CashLedger.h"
#include "cash/RegisterWindow.h"
#include "catalogue/Catalogue.h"
#include "catalogue/FrmStock.h"
#include "core/Names.h"
#include "inventory/Inventaire.h"
#include "members/FrmNewAdh.h"
#include "members/MemberTable.h"
#include "platform/Cp1252.h"
#include "platform/DataFiles.h"
#include "platform/FolderList.h"
#include "platform/NumberForm.h"
#include "platform/RecordFields.h"
#include "sales/FrmAchat.h"
#include "sales/FrmES.h"
#include "sales/Ledger.h"
#include "shell/FrmDir.h"
#include "shell/FrmORV.h"
#include "shell/ShellState.h"
#include "shell/Startup.h"
#include "SystemTraps.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QRegularExpression>
#include <QTextEdit>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <map>

namespace vendalise::testing {

namespace {

// A text as a scenario would write it, so that failures can be read and
// copied into a scenario.
QString quoted(const QString& text);

QString quotedAll(const QStringList& texts) {
    QStringList out;
    for (const QString& text : texts)
        out.append(quoted(text));
    return out.join(QLatin1Char(' '));
}

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

QString describePrinted(const ScriptedPrinter::Line& line) {
    if (line.endOfDocument)
        return QStringLiteral("enddoc");
    return (line.failed ? QStringLiteral("failed ") : QString()) + QString::number(line.size) +
           (line.bold ? QStringLiteral(" bold") : QStringLiteral(" -")) +
           (line.underline ? QStringLiteral(" underline ") : QStringLiteral(" - ")) +
           quoted(line.text);
}

void sendClick(QWidget* widget, QPoint where) {
    QMouseEvent press(QEvent::MouseButtonPress, where, widget->mapToGlobal(where), Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(widget, &press);
    QMouseEvent release(QEvent::MouseButtonRelease, where, widget->mapToGlobal(where),
                        Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(widget, &release);
}

void sendKey(QWidget* widget, int key, const QString& text) {
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
    QApplication::sendEvent(widget, &press);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, text);
    QApplication::sendEvent(widget, &release);
}

// The key code a keyboard gives for a character: Qt's codes of printable
// ASCII characters are their upper-case codes; other characters come as
// text alone.
int keyFor(QChar c) {
    const char16_t u = c.toUpper().unicode();
    return (u >= 0x20 && u < 0x7f) ? u : 0;
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

// Key names of the "key" verb; any other single character is its own key.
int namedKey(const QString& name) {
    static const QHash<QString, int> keys{
        {QStringLiteral("enter"), Qt::Key_Return},
        {QStringLiteral("escape"), Qt::Key_Escape},
        {QStringLiteral("tab"), Qt::Key_Tab},
        {QStringLiteral("backspace"), Qt::Key_Backspace},
        {QStringLiteral("delete"), Qt::Key_Delete},
        {QStringLiteral("space"), Qt::Key_Space},
        {QStringLiteral("up"), Qt::Key_Up},
        {QStringLiteral("down"), Qt::Key_Down},
        {QStringLiteral("left"), Qt::Key_Left},
        {QStringLiteral("right"), Qt::Key_Right},
        {QStringLiteral("home"), Qt::Key_Home},
        {QStringLiteral("end"), Qt::Key_End},
        {QStringLiteral("pageup"), Qt::Key_PageUp},
        {QStringLiteral("pagedown"), Qt::Key_PageDown},
    };
    if (const auto it = keys.find(name.toLower()); it != keys.end())
        return *it;
    if (name.size() >= 2 && name.size() <= 3 && name[0].toLower() == QLatin1Char('f')) {
        bool ok = false;
        const int n = name.mid(1).toInt(&ok);
        if (ok && n >= 1 && n <= 12)
            return Qt::Key_F1 + n - 1;
    }
    return 0;
}

} // namespace

void removeScratch(const ScenarioPaths& paths) {
    const QFileInfo root(paths.root);
    if (paths.root.isEmpty() || !root.isAbsolute() || !root.fileName().startsWith(kScratchPrefix))
        return;
    QDir(paths.root).removeRecursively();
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
    addHandlers();
    // The verb table and the handlers must match, one for one.
    for (const Verb& verb : verbs()) {
        if (!handlers_.contains(verb.name))
            abort(QStringLiteral("the runner has no handler for ") + verb.name);
    }
    if (handlers_.size() != qsizetype(verbs().size()))
        abort(QStringLiteral("the runner handles a verb that the verb table lacks"));
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
        execute(*step_);
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

namespace {

void copyFiles(const QString& from, const QString& to) {
    QDir().mkpath(to);
    const QDir source(from);
    for (const QString& name : source.entryList(QDir::Files | QDir::Hidden)) {
        QFile::remove(to + QLatin1Char('/') + name);
        QFile::copy(source.filePath(name), to + QLatin1Char('/') + name);
    }
}

} // namespace

void ScenarioRunner::finish() {
    step_ = nullptr;
    // A power cut after the last write operation.
    if (counting_ && powerCut_ && writes_ == crashAfter_) {
        disk_->apply();
        killThisProcess();
    }
    if (counting_ && failAt_ == 0) {
        std::fprintf(stdout, "write operations: %d\n", writes_);
        // The files after the road, for the crash points to compare with.
        const QString keep = qEnvironmentVariable("VENDALISE_KEEP_AFTER");
        if (!keep.isEmpty())
            copyFiles(paths_.data, keep);
        // A write-point road is about its files, not its boxes.
        boxesExpected_ = messages_.shown.size();
    } else if (counting_)
        fail(QStringLiteral("the write operation %1 to fail was never made").arg(failAt_));
    for (qsizetype i = boxesExpected_; i < messages_.shown.size(); ++i)
        fail(QStringLiteral("not expected: ") + describe(messages_.shown[i]));
    for (Answer answer : messages_.answers)
        fail(QStringLiteral("answer %1 queued but not used")
                 .arg(answer == Answer::Yes ? QStringLiteral("yes") : QStringLiteral("no")));
    for (const auto& input : messages_.inputs)
        fail(QStringLiteral("input %1 queued but not used")
                 .arg(input ? quoted(*input) : QStringLiteral("cancel")));
    for (const Failing& failing : failing_)
        fail(failing.read
                 ? QStringLiteral("fail read %1 given but the file was not opened for reading")
                       .arg(failing.name)
                 : QStringLiteral("fail %1 given but the write to fail was not made")
                       .arg(failing.name));
    if (settings_.failNext)
        fail(QStringLiteral("fail settings given but no setting was stored"));
    for (const QString& failure : failures_)
        std::fprintf(stdout, "%s\n", qUtf8Printable(failure));
    std::fflush(stdout);
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

QString ScenarioRunner::dataPath(const QString& name) const {
    DataFiles data;
    data.setCurrent(paths_.data);
    return data.path(name);
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

void ScenarioRunner::installFaults(App& app) {
    app.files.setFaults([this](FileOp op, const QString& path) -> std::optional<QString> {
        // Readings are not write points.
        const bool reading = op == FileOp::OpenRead;
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
        for (qsizetype i = 0; i < failing_.size(); ++i) {
            if (failing_[i].read != reading ||
                failing_[i].name.compare(name, Qt::CaseInsensitive) != 0)
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

void ScenarioRunner::addHandlers() {
    auto number = [this](const QString& text) {
        bool ok = false;
        const float value = text.toFloat(&ok);
        if (!ok)
            abort(QStringLiteral("not a number: ") + text);
        return value;
    };
    auto compare = [this](const QString& subject, const QString& expected, const QString& actual) {
        if (expected != actual)
            fail(QStringLiteral("%1: expected %2, got %3")
                     .arg(subject, quoted(expected), quoted(actual)));
    };
    (void)number;
    (void)compare;
    handlers_[QStringLiteral("today")] = [=, this](const Step& step) {
        const QStringList& w = step.words;
        const QDate date = QDate::fromString(w[1], QStringLiteral("dd/MM/yyyy"));
        if (!date.isValid())
            abort(QStringLiteral("not a date: ") + w[1]);
        clock_.date = date;
    };
    handlers_[QStringLiteral("setting")] = [=, this](const Step& step) {
        const QStringList& w = step.words;
        settings_.setValue(w[1], w[2], w[3]);
    };
    handlers_[QStringLiteral("product")] = [=, this](const Step& step) {
        const QStringList& w = step.words;
        writeBytes(kProductFile, productRecord(w[1], number(w[2]), number(w[3])), true);
    };
    handlers_[QStringLiteral("member")] = [=, this](const Step& step) {
        const QStringList& w = step.words;
        writeBytes(kMemberFile, memberRecord(w[1], w[2]), true);
    };
    handlers_[QStringLiteral("sale")] = [=, this](const Step& step) {
        const QStringList& w = step.words;
        if (w[5] != QLatin1String("paid") && w[5] != QLatin1String("owed"))
            abort(QStringLiteral("paid or owed expected, not ") + w[5]);
        QByteArray record = textField(w[1], 10);
        appendInt16(record, static_cast<qint16>(w[2].toInt()));
        appendInt16(record, static_cast<qint16>(w[3].toInt()));
        appendFloat(record, number(w[4]));
        appendInt16(record, w[5] == QLatin1String("paid") ? -1 : 0);
        writeBytes(QStringLiteral("es.orv"), record, true);
    };
    handlers_[QStringLiteral("file")] = [=, this](const Step& step) {
        const QStringList& w = step.words;
        QString text;
        for (const QString& line : step.block)
            text += line + QStringLiteral("\r\n");
        writeBytes(w[1], toCp1252(text), false);
    };
    handlers_[QStringLiteral("bytes")] = [=, this](const Step& step) {
        const QStringList& w = step.words;
        writeBytes(w[1], hexBytes(w.mid(2)), false);
    };
    handlers_[QStringLiteral("empty")] = [=, this](const Step& step) {
        for (const QString& name : step.words.mid(1))
            writeBytes(name, {}, false);
    };
    handlers_[QStringLiteral("repeat")] = [=, this](const Step& step) {
        const QStringList& w = step.words;
        bool ok = false;
        const int count = w[2].toInt(&ok);
        if (!ok || count < 0)
            abort(QStringLiteral("not a count: ") + w[2]);
        writeBytes(w[1], hexBytes(w.mid(3)).repeated(count), false);
    };
    handlers_[QStringLiteral("folder")] = [=, this](const Step& step) {
        const QStringList& w = step.words;
        if (!QDir().mkpath(dataPath(w[1])))
            abort(QStringLiteral("cannot create the folder ") + w[1]);
    };
    handlers_[QStringLiteral("lock")] = [=, this](const Step& step) {
        const QString folder = dataPath(step.words[1]);
        if (otherProgram_.take(folder + QLatin1Char('/') + kLockFile).state !=
            FolderLock::State::Held)
            abort(QStringLiteral("cannot lock the folder ") + folder);
    };
    handlers_[QStringLiteral("printer")] = [=, this](const Step& step) {
        const QStringList& w = step.words;
        if (w[1] == QLatin1String("fonts"))
            printer_.fontList = w.mid(2);
        else if (w[1] == QLatin1String("off"))
            printer_.mode = ScriptedPrinter::Mode::Off;
        else if (w[1] == QLatin1String("on")) {
            printer_.mode = ScriptedPrinter::Mode::On;
            printer_.endFails = false;
        } else if (w[1] == QLatin1String("none"))
            printer_.mode = ScriptedPrinter::Mode::None;
        else if (w[1] == QLatin1String("end-fails"))
            printer_.endFails = true;
        else
            abort(QStringLiteral("unknown printer state ") + w[1]);
    };
    handlers_[QStringLiteral("fail")] = [=, this](const Step& step) {
        const QStringList& w = step.words;
        if (w[1] == QLatin1String("settings"))
            settings_.failNext = true;
        else {
            const bool read = w[1] == QLatin1String("read");
            const qsizetype at = read ? 2 : 1;
            if (at >= w.size())
                abort(QStringLiteral("fail read needs the file's name"));
            bool ok = true;
            const int n = w.size() > at + 1 ? w[at + 1].toInt(&ok) : 1;
            if (!ok || n < 1)
                abort(QStringLiteral("not a count: ") + w[at + 1]);
            failing_.append({QFileInfo(w[at]).fileName(), n - 1, read});
        }
    };
    // Read in place before the run.
    handlers_[QStringLiteral("include")] = [=, this](const Step&) {
        abort(QStringLiteral("include met while running"));
    };
    handlers_[QStringLiteral("points")] = [=, this](const Step& step) {
        markPoints(step.words.mid(1));
    };
    handlers_[QStringLiteral("snapshot")] = [=, this](const Step& step) {
        for (const QString& name : step.words.mid(1)) {
            QFile file(dataPath(name));
            if (!file.open(QIODevice::ReadOnly))
                abort(QStringLiteral("cannot read ") + name);
            snapshots_[name] = file.readAll();
        }
    };
    handlers_[QStringLiteral("expect unchanged")] = [=, this](const Step& step) {
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
    };
    handlers_[QStringLiteral("start")] = [=, this](const Step&) { start(); };
    handlers_[QStringLiteral("restart")] = [=, this](const Step&) { restart(); };
    handlers_[QStringLiteral("answer")] = [=, this](const Step& step) {
        const QStringList& w = step.words;
        messages_.answers.push_back(yes(w[1]) ? Answer::Yes : Answer::No);
    };
    handlers_[QStringLiteral("input")] = [=, this](const Step& step) {
        const QStringList& w = step.words;
        messages_.inputs.push_back(w[1] == QLatin1String("cancel") ? std::nullopt
                                                                   : std::optional(w[1]));
    };
    handlers_[QStringLiteral("click")] = [=, this](const Step& step) {
        const QStringList& w = step.words;
        click(w[1]);
    };
    handlers_[QStringLiteral("type")] = [=, this](const Step& step) {
        const QStringList& w = step.words;
        type(w[1], w[2]);
    };
    handlers_[QStringLiteral("key")] = [=, this](const Step& step) {
        const QStringList& w = step.words;
        pressKey(w[1], w[2]);
    };
    handlers_[QStringLiteral("leave")] = [=, this](const Step& step) {
        const QStringList& w = step.words;
        leave(w[1]);
    };
    handlers_[QStringLiteral("select")] = [=, this](const Step& step) {
        const QStringList& w = step.words;
        select(w[1], w[2]);
    };
    handlers_[QStringLiteral("open")] = [=, this](const Step& step) {
        const QStringList& w = step.words;
        openFolder(w[1], w[2]);
    };
    handlers_[QStringLiteral("close")] = [=, this](const Step& step) {
        const QStringList& w = step.words;
        close(w[1]);
    };
    handlers_[QStringLiteral("expect message")] = [=, this](const Step& step) {
        const QStringList& w = step.words;
        expectBox(false, w.mid(2));
    };
    handlers_[QStringLiteral("expect input")] = [=, this](const Step& step) {
        const QStringList& w = step.words;
        expectBox(true, w.mid(2));
    };
    handlers_[QStringLiteral("expect no-message")] = [=, this](const Step&) {
        for (; boxesExpected_ < messages_.shown.size(); ++boxesExpected_)
            fail(QStringLiteral("not expected: ") + describe(messages_.shown[boxesExpected_]));
    };
    handlers_[QStringLiteral("expect text")] = [=, this](const Step& step) {
        const QStringList& w = step.words;
        if (!w[2].contains(QLatin1Char('.'))) {
            if (Form* window = existingWindow(w[2]))
                compare(QStringLiteral("title of ") + w[2], w[3], window->windowTitle());
            return;
        }
        QWidget* control = existingControl(w[2]);
        if (!control)
            return;
        QString actual;
        if (auto* label = qobject_cast<QLabel*>(control))
            actual = label->text();
        else if (auto* field = qobject_cast<QLineEdit*>(control))
            actual = field->text();
        else if (auto* button = qobject_cast<QAbstractButton*>(control))
            actual = button->text();
        else if (auto* combo = qobject_cast<QComboBox*>(control))
            actual = combo->currentText();
        else if (auto* folders = qobject_cast<FolderList*>(control))
            actual = folders->path();
        else if (auto* edit = qobject_cast<QTextEdit*>(control))
            actual = edit->toPlainText();
        else if (auto* plain = qobject_cast<QPlainTextEdit*>(control))
            actual = plain->toPlainText();
        else
            abort(w[2] + QStringLiteral(" has no text"));
        compare(QStringLiteral("text of ") + w[2], w[3], actual);
    };
    handlers_[QStringLiteral("expect visible")] = [=, this](const Step& step) {
        const QStringList& w = step.words;
        if (QWidget* control = existingControl(w[2]))
            compare(QStringLiteral("visible ") + w[2], yesNo(yes(w[3])),
                    yesNo(control->isVisibleTo(control->window())));
    };
    handlers_[QStringLiteral("expect checked")] = [=, this](const Step& step) {
        const QStringList& w = step.words;
        if (QWidget* control = existingControl(w[2])) {
            auto* button = qobject_cast<QAbstractButton*>(control);
            if (!button)
                abort(w[2] + QStringLiteral(" cannot be checked"));
            compare(QStringLiteral("checked ") + w[2], yesNo(yes(w[3])),
                    yesNo(button->isChecked()));
        }
    };
    handlers_[QStringLiteral("expect loaded")] = [=, this](const Step& step) {
        const QStringList& w = step.words;
        compare(QStringLiteral("loaded ") + w[2], yesNo(yes(w[3])),
                yesNo(app_->windows().find(w[2]) != nullptr));
    };
    handlers_[QStringLiteral("screenshot")] = [=, this](const Step& step) {
        const QStringList& w = step.words;
        if (!shownWindow(w[1])->grab().save(w[2], "PNG"))
            abort(QStringLiteral("cannot write the picture ") + w[2]);
    };
    handlers_[QStringLiteral("expect captions")] = [=, this](const Step& step) {
        for (const QString& name : step.words.mid(2)) {
            if (Form* window = existingWindow(name)) {
                for (const QString& cut : captionsThatDoNotFit(*window))
                    fail(name + QStringLiteral(".") + cut);
            }
        }
    };
    handlers_[QStringLiteral("expect shown")] = [=, this](const Step& step) {
        const QStringList& w = step.words;
        Form* window = app_->windows().find(w[2]);
        compare(QStringLiteral("shown ") + w[2], yesNo(yes(w[3])),
                yesNo(window && window->isVisible()));
    };
    handlers_[QStringLiteral("expect rows")] = [=, this](const Step& step) {
        const QStringList& w = step.words;
        expectRows(w[2], step.rows);
    };
    handlers_[QStringLiteral("expect selected")] = [=, this](const Step& step) {
        const QStringList& w = step.words;
        QWidget* control = existingControl(w[2]);
        if (!control)
            return;
        QString actual = QStringLiteral("none");
        if (auto* list = qobject_cast<QListView*>(control)) {
            const QModelIndexList selected = list->selectionModel()->selectedIndexes();
            if (!selected.isEmpty())
                actual = selected.first().data().toString();
        } else if (auto* combo = qobject_cast<QComboBox*>(control)) {
            if (combo->currentIndex() >= 0)
                actual = combo->currentText();
        } else {
            abort(w[2] + QStringLiteral(" is not a list or combo box"));
        }
        compare(QStringLiteral("selected in ") + w[2], w[3], actual);
    };
    handlers_[QStringLiteral("expect bytes")] = [=, this](const Step& step) {
        const QStringList& w = step.words;
        const QByteArray expected = hexBytes(w.mid(3));
        QFile file(dataPath(w[2]));
        if (!file.open(QIODevice::ReadOnly)) {
            fail(QStringLiteral("%1: expected bytes %2, but there is no such file")
                     .arg(w[2], QString::fromLatin1(expected.toHex(' '))));
            return;
        }
        const QByteArray actual = file.readAll();
        if (actual != expected)
            fail(QStringLiteral("%1: expected bytes %2, got %3")
                     .arg(w[2], QString::fromLatin1(expected.toHex(' ')),
                          QString::fromLatin1(actual.toHex(' '))));
    };
    handlers_[QStringLiteral("expect size")] = [=, this](const Step& step) {
        const QStringList& w = step.words;
        const QFileInfo info(dataPath(w[2]));
        compare(QStringLiteral("size of ") + w[2], w[3],
                info.isFile() ? QString::number(info.size()) : QStringLiteral("no file"));
    };
    handlers_[QStringLiteral("expect product")] = [=, this](const Step& step) {
        const QStringList& w = step.words;
        const QByteArray record = recordOf(kProductFile, w[2], kProductRecordLength);
        if (record.isEmpty())
            return;
        compareRecord(QStringLiteral("product ") + w[2],
                      {w[3], numberText(number(w[4])), numberText(number(w[5]))},
                      {withoutTrailingBlanks(textAt(record, 0, kProductNameWidth)),
                       numberText(floatAt(record, kProductNameWidth)),
                       numberText(floatAt(record, kProductNameWidth + 4))});
    };
    handlers_[QStringLiteral("expect member")] = [=, this](const Step& step) {
        const QStringList& w = step.words;
        const QByteArray record = recordOf(kMemberFile, w[2], kMemberRecordLength);
        if (record.isEmpty())
            return;
        compareRecord(
            QStringLiteral("member ") + w[2], {w[3], w[4]},
            {withoutTrailingBlanks(textAt(record, 0, kMemberNameWidth)),
             withoutTrailingBlanks(textAt(record, kMemberNameWidth, kMemberFirstNameWidth))});
    };
    handlers_[QStringLiteral("expect sale")] = [=, this](const Step& step) {
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
    };
    handlers_[QStringLiteral("expect tooltip")] = [=, this](const Step& step) {
        const QStringList& w = step.words;
        if (QWidget* control = existingControl(w[2]))
            compare(QStringLiteral("tooltip of ") + w[2], w[3], control->toolTip());
    };
    handlers_[QStringLiteral("expect enabled")] = [=, this](const Step& step) {
        const QStringList& w = step.words;
        if (QWidget* control = existingControl(w[2]))
            compare(QStringLiteral("enabled ") + w[2], yesNo(yes(w[3])),
                    yesNo(control->isEnabled()));
    };
    handlers_[QStringLiteral("expect missing")] = [=, this](const Step& step) {
        const QStringList& w = step.words;
        if (QFileInfo::exists(dataPath(w[2])))
            fail(QStringLiteral("%1 exists, expected missing").arg(w[2]));
    };
    handlers_[QStringLiteral("expect file")] = [=, this](const Step& step) {
        const QStringList& w = step.words;
        expectFile(w[2], step.block);
    };
    handlers_[QStringLiteral("expect folder")] = [=, this](const Step& step) {
        const QString folder = dataPath(step.words[2]);
        QStringList expected = step.block;
        expected.sort();
        QStringList actual = QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::System);
        actual.sort();
        if (actual != expected)
            fail(QStringLiteral("folder %1: expected %2, got %3")
                     .arg(step.words[2], quoted(expected.join(QStringLiteral(", "))),
                          quoted(actual.join(QStringLiteral(", ")))));
    };
    handlers_[QStringLiteral("expect setting")] = [=, this](const Step& step) {
        const QStringList& w = step.words;
        const QString absent = QStringLiteral("\x01(absent)");
        const QString actual = settings_.value(w[2], w[3], absent);
        if (actual == absent)
            fail(QStringLiteral("setting %1 %2: expected %3, but it is not set")
                     .arg(w[2], w[3], quoted(w[4])));
        else
            compare(QStringLiteral("setting %1 %2").arg(w[2], w[3]), w[4], actual);
    };
    handlers_[QStringLiteral("expect no-setting")] = [=, this](const Step& step) {
        const QStringList& w = step.words;
        const QString absent = QStringLiteral("\x01(absent)");
        const QString actual = settings_.value(w[2], w[3], absent);
        if (actual != absent)
            fail(QStringLiteral("setting %1 %2 is %3, expected none")
                     .arg(w[2], w[3], quoted(actual)));
    };
    handlers_[QStringLiteral("expect printed")] = [=, this](const Step& step) {
        expectPrinted(step.rows);
    };
    handlers_[QStringLiteral("expect ended")] = [=, this](const Step& step) {
        const QStringList& w = step.words;
        compare(QStringLiteral("ended"), yesNo(yes(w[2])), yesNo(ended_));
    };
    handlers_[QStringLiteral("expect state")] = [=, this](const Step& step) {
        const QStringList& w = step.words;
        expectState(w[2], w[3]);
    };
}

void ScenarioRunner::markPoints(const QStringList& mayAppear) {
    counting_ = true;
    writes_ = 0;
    failAt_ = qEnvironmentVariableIntValue("VENDALISE_FAIL_AT");
    mayAppear_ = mayAppear;
    const QDir data(paths_.data);
    for (const QString& name : data.entryList(QDir::Files | QDir::Hidden)) {
        QFile file(data.filePath(name));
        if (!file.open(QIODevice::ReadOnly))
            abort(QStringLiteral("cannot read ") + file.fileName());
        atPoints_.insert(name, file.readAll());
    }
    disk_ = std::make_unique<PowerCut>(paths_.data, atPoints_);
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

// The write operation failed in the last step.
void ScenarioRunner::checkWritePoint() {
    const QString point = QStringLiteral("write %1 failing: ").arg(failAt_);
    // The user was told, and never of a success.
    if (messages_.shown.size() == boxesAtFault_)
        fail(point + QStringLiteral("no message told the failure"));
    for (qsizetype i = boxesAtFault_; i < messages_.shown.size(); ++i) {
        if (messages_.shown[i].text == QLatin1String("Achat enregistré"))
            fail(point + QStringLiteral("a success was told: ") + describe(messages_.shown[i]));
    }
    // The data files are as before the operation; no other file appeared.
    const QDir data(paths_.data);
    const QStringList now = data.entryList(QDir::Files | QDir::Hidden);
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
    failing_.clear();
    settings_.failNext = false;
    finish();
}

void ScenarioRunner::execute(const Step& step) {
    handlers_.value(step.verb->name)(step);
}

// --- Acting -------------------------------------------------------------

void ScenarioRunner::start() {
    if (started_)
        abort(QStringLiteral("the program is already started"));
    started_ = true;
    runProgram(*app_);
}

// The program ends and is launched again on the same home, data and
// settings. The ended program's windows are hidden and kept: some of them
// may still be on the call stack.
void ScenarioRunner::restart() {
    if (!started_)
        abort(QStringLiteral("the program is not started"));
    for (Form* window : app_->windows().all())
        window->hide();
    modal_.clear();
    // The run before has ended: its lock is given up as its end gives it up.
    app_->folderLock.release();
    ended_apps_.push_back(std::move(app_));
    app_ = std::make_unique<App>(services_);
    installFaults(*app_);
    ended_ = false;
    runProgram(*app_);
}

void ScenarioRunner::click(const QString& target) {
    if (!target.contains(QLatin1Char('.'))) {
        Form* window = shownWindow(target);
        // A point of the window that no control covers.
        for (int y = 1; y < window->height(); y += 3) {
            for (int x = 1; x < window->width(); x += 3) {
                if (!window->childAt(x, y)) {
                    sendClick(window, QPoint(x, y));
                    return;
                }
            }
        }
        abort(QStringLiteral("no free place to click in ") + target);
    }
    QWidget* control = actionableControl(target);
    // A button or check box reacts wherever its caption is clicked.
    if (auto* button = qobject_cast<QAbstractButton*>(control)) {
        button->click();
        return;
    }
    sendClick(control, control->rect().center());
}

void ScenarioRunner::type(const QString& target, const QString& text) {
    QWidget* control = actionableControl(target);
    auto* field = qobject_cast<QLineEdit*>(control);
    if (!field)
        abort(target + QStringLiteral(" is not a text field"));
    field->selectAll();
    if (text.isEmpty()) {
        sendKey(field, Qt::Key_Backspace, {});
        return;
    }
    for (qsizetype i = 0; i < text.size(); ++i) {
        QString character(text[i]);
        if (text[i].isHighSurrogate() && i + 1 < text.size())
            character += text[++i];
        sendKey(field, keyFor(character[0]), character);
    }
}

void ScenarioRunner::pressKey(const QString& target, const QString& name) {
    QWidget* control = actionableControl(target);
    int key = namedKey(name);
    QString text;
    if (key == Qt::Key_Return)
        text = QStringLiteral("\r");
    else if (key == Qt::Key_Space)
        text = QStringLiteral(" ");
    else if (key == 0 && name.size() == 1) {
        key = keyFor(name[0]);
        text = name;
    } else if (key == 0)
        abort(QStringLiteral("unknown key ") + name);
    sendKey(control, key, text);
}

void ScenarioRunner::leave(const QString& target) {
    QWidget* control = actionableControl(target);
    QFocusEvent focusOut(QEvent::FocusOut, Qt::TabFocusReason);
    QApplication::sendEvent(control, &focusOut);
}

void ScenarioRunner::select(const QString& target, const QString& row) {
    QWidget* control = actionableControl(target);
    auto rowIndex = [&](const QStringList& texts) {
        if (row.startsWith(QLatin1Char('#'))) {
            bool ok = false;
            const int n = row.mid(1).toInt(&ok);
            if (!ok || n < 1 || n > texts.size())
                abort(
                    QStringLiteral("no row %1 in %2 (%3 rows)").arg(row, target).arg(texts.size()));
            return n - 1;
        }
        const qsizetype i = texts.indexOf(row);
        if (i < 0)
            abort(QStringLiteral("no row %1 in %2").arg(quoted(row), target));
        return static_cast<int>(i);
    };
    if (auto* list = qobject_cast<QListView*>(control)) {
        QAbstractItemModel* model = list->model();
        QStringList texts;
        for (int i = 0; i < model->rowCount(); ++i)
            texts.append(model->index(i, 0).data().toString());
        const QModelIndex index = model->index(rowIndex(texts), 0);
        list->scrollTo(index);
        const QRect where = list->visualRect(index);
        if (where.isEmpty())
            abort(QStringLiteral("the row cannot be reached in ") + target);
        sendClick(list->viewport(), where.center());
        return;
    }
    if (auto* combo = qobject_cast<QComboBox*>(control)) {
        QStringList texts;
        for (int i = 0; i < combo->count(); ++i)
            texts.append(combo->itemText(i));
        const int index = rowIndex(texts);
        combo->setCurrentIndex(index);
        Q_EMIT combo->activated(index);
        return;
    }
    abort(target + QStringLiteral(" is not a list or combo box"));
}

void ScenarioRunner::openFolder(const QString& target, const QString& path) {
    auto* folders = qobject_cast<FolderList*>(actionableControl(target));
    if (!folders)
        abort(target + QStringLiteral(" is not a folder list"));
    if (!folders->open(path))
        abort(QStringLiteral("no such folder: ") + path);
}

void ScenarioRunner::close(const QString& window) {
    shownWindow(window)->close();
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

// --- Expecting ----------------------------------------------------------

void ScenarioRunner::expectBox(bool input, const QStringList& words) {
    const QString kind = input ? QStringLiteral("input") : QStringLiteral("message");
    if (words.size() < 2)
        abort(input ? QStringLiteral("usage: expect input TITLE PROMPT [PROPOSED]")
                    : QStringLiteral("usage: expect message TITLE TEXT [ICON] [ok|yesno]"));
    if (boxesExpected_ >= messages_.shown.size()) {
        fail(QStringLiteral("expected %1 %2 %3, but none was shown")
                 .arg(kind, quoted(words[0]), quoted(words[1])));
        return;
    }
    const ShownBox& box = messages_.shown[boxesExpected_++];
    ShownBox expected = box;
    expected.isInput = input;
    expected.title = words[0];
    expected.text = words[1];
    if (input) {
        if (words.size() > 2)
            expected.proposed = words[2];
    } else {
        for (const QString& word : words.mid(2)) {
            if (word == QLatin1String("ok"))
                expected.buttons = Messages::Buttons::Ok;
            else if (word == QLatin1String("yesno"))
                expected.buttons = Messages::Buttons::YesNo;
            else if (word == QLatin1String("none"))
                expected.icon = Messages::Icon::None;
            else if (word == QLatin1String("information"))
                expected.icon = Messages::Icon::Information;
            else if (word == QLatin1String("exclamation"))
                expected.icon = Messages::Icon::Exclamation;
            else if (word == QLatin1String("critical"))
                expected.icon = Messages::Icon::Critical;
            else
                abort(QStringLiteral("unknown icon or buttons: ") + word);
        }
    }
    const QString wanted = describe(expected);
    const QString actual = describe(box);
    if (wanted != actual)
        fail(QStringLiteral("expected %1\n    got %2").arg(wanted, actual));
}

void ScenarioRunner::expectRows(const QString& target, const QList<QStringList>& rows) {
    QWidget* control = existingControl(target);
    if (!control)
        return;
    QStringList actual;
    if (auto* list = qobject_cast<QListView*>(control)) {
        const QAbstractItemModel* model = list->model();
        for (int i = 0; i < model->rowCount(); ++i)
            actual.append(quoted(model->index(i, 0).data().toString()) + QLatin1Char(' ') +
                          QString::number(model->index(i, 0).data(Qt::UserRole).toInt()));
    } else if (auto* combo = qobject_cast<QComboBox*>(control)) {
        for (int i = 0; i < combo->count(); ++i)
            actual.append(quoted(combo->itemText(i)) + QLatin1Char(' ') +
                          QString::number(combo->itemData(i).toInt()));
    } else if (auto* folders = qobject_cast<FolderList*>(control)) {
        // The rows under the folder shown.
        if (const QTreeWidgetItem* shown = folders->currentItem())
            for (int i = 0; i < shown->childCount(); ++i)
                actual.append(quoted(shown->child(i)->text(0)) + QStringLiteral(" 0"));
    } else {
        abort(target + QStringLiteral(" is not a list or combo box"));
    }
    QStringList expected;
    for (const QStringList& row : rows) {
        if (row.size() != 2)
            abort(QStringLiteral("a row is TEXT DATA"));
        expected.append(quoted(row[0]) + QLatin1Char(' ') + row[1]);
    }
    if (expected != actual)
        fail(QStringLiteral("rows of %1:\n  expected:\n    %2\n  got:\n    %3")
                 .arg(target, expected.join(QStringLiteral("\n    ")),
                      actual.join(QStringLiteral("\n    "))));
}

void ScenarioRunner::expectPrinted(const QList<QStringList>& rows) {
    QStringList expected;
    for (QStringList row : rows) {
        QString line;
        if (row.value(0) == QLatin1String("failed")) {
            line = QStringLiteral("failed ");
            row.removeFirst();
        }
        if (row.size() == 1 && row[0] == QLatin1String("enddoc") && line.isEmpty()) {
            expected.append(QStringLiteral("enddoc"));
            continue;
        }
        if (row.size() != 4)
            abort(QStringLiteral("a printed line is [failed] SIZE BOLD UNDERLINE TEXT, or enddoc"));
        bool ok = false;
        const double size = row[0].toDouble(&ok);
        if (!ok || (row[1] != QLatin1String("bold") && row[1] != QLatin1String("-")) ||
            (row[2] != QLatin1String("underline") && row[2] != QLatin1String("-")))
            abort(QStringLiteral("a printed line is [failed] SIZE BOLD UNDERLINE TEXT"));
        expected.append(line + QString::number(size) + QLatin1Char(' ') + row[1] +
                        QLatin1Char(' ') + row[2] + QLatin1Char(' ') + quoted(row[3]));
    }
    QStringList actual;
    for (; printedExpected_ < printer_.printed.size(); ++printedExpected_)
        actual.append(describePrinted(printer_.printed[printedExpected_]));
    if (expected != actual)
        fail(QStringLiteral("printed:\n  expected:\n    %1\n  got:\n    %2")
                 .arg(expected.join(QStringLiteral("\n    ")),
                      actual.join(QStringLiteral("\n    "))));
}

void ScenarioRunner::expectFile(const QString& name, const QStringList& lines) {
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
    QStringList got = fromCp1252(actual).split(QStringLiteral("\r\n"));
    QStringList shownExpected;
    for (const QString& line : lines)
        shownExpected.append(quoted(line));
    QStringList shownActual;
    for (const QString& line : got)
        shownActual.append(quoted(line));
    fail(QStringLiteral(
             "%1 (each line ends in CR LF, so the last piece is empty):\n  expected:\n    %2\n"
             "    \"\"\n  got:\n    %3")
             .arg(name, shownExpected.join(QStringLiteral("\n    ")),
                  shownActual.join(QStringLiteral("\n    "))));
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

// Numbers are compared as single-precision values, shown with ".".
QString ScenarioRunner::numberText(float value) {
    return QString::number(value, 'g', 9);
}

void ScenarioRunner::compareRecord(const QString& what, const QStringList& expected,
                                   const QStringList& actual) {
    if (expected != actual)
        fail(QStringLiteral("%1:\n  expected: %2\n  got:      %3")
                 .arg(what, quotedAll(expected), quotedAll(actual)));
}

void ScenarioRunner::expectState(const QString& name, const QString& value) {
    App& app = *app_;
    const std::map<QString, std::function<QString()>> states{
        {QStringLiteral("access"), [&] { return yesNo(app.part<Access>().granted); }},
        {QStringLiteral("password"), [&] { return app.part<Access>().password; }},
        {QStringLiteral("data-dir"), [&] { return app.part<ShellState>().dataDirectory; }},
        {QStringLiteral("current-dir"),
         [&] { return QDir::toNativeSeparators(app.files.current()); }},
        {QStringLiteral("tables-dir"),
         [&] { return QDir::toNativeSeparators(app.files.tablesFolder()); }},
        {QStringLiteral("threshold"),
         [&] { return QString::number(app.part<Catalogue>().threshold); }},
        {QStringLiteral("last-answer"), [&] { return QString::number(app.lastAnswer); }},
        {QStringLiteral("files-created"),
         [&] { return yesNo(app.part<ShellState>().filesCreated); }},
        {QStringLiteral("font"), [&] { return printer_.font; }},
        {QStringLiteral("member-count"),
         [&] { return QString::number(app.part<Members>().table.count()); }},
        {QStringLiteral("product-count"),
         [&] { return QString::number(app.part<Catalogue>().table.count()); }},
        {QStringLiteral("current-line"),
         [&] { return QString::number(app.part<Sales>().currentLine); }},
        {QStringLiteral("unlabelled"),
         [&] { return QString::number(app.part<Catalogue>().unlabelled); }},
        {QStringLiteral("stock-value"),
         [&] { return numberForm(app.part<Catalogue>().stockValue); }},
        {QStringLiteral("current-product"),
         [&] { return QString::number(app.part<Catalogue>().current); }},
        {QStringLiteral("line-count"),
         [&] { return QString::number(app.part<Sales>().ledger.count()); }},
        {QStringLiteral("current-member"),
         [&] { return QString::number(app.part<Members>().current); }},
        {QStringLiteral("total-material"),
         [&] { return numberForm(registerTotal(app, Register::Material)); }},
        {QStringLiteral("total-drinks"),
         [&] { return numberForm(registerTotal(app, Register::Drinks)); }},
        // The totals the program holds, as its last sum, print or statement left them.
        {QStringLiteral("held-material"),
         [&] { return numberForm(app.part<Cash>().totalOf(Register::Material)); }},
        {QStringLiteral("held-drinks"),
         [&] { return numberForm(app.part<Cash>().totalOf(Register::Drinks)); }},
    };
    // debt:N, member N's debt.
    if (name.startsWith(QLatin1String("debt:"))) {
        bool ok = false;
        const int member = name.mid(5).toInt(&ok);
        if (!ok)
            abort(QStringLiteral("debt:N needs a member number"));
        const QString actual = numberForm(app.part<Members>().debtOf(member));
        if (actual != value)
            fail(QStringLiteral("state %1: expected %2, got %3")
                     .arg(name, quoted(value), quoted(actual)));
        return;
    }
    const auto it = states.find(name);
    if (it == states.end()) {
        QStringList names;
        for (const auto& [known, get] : states)
            names.append(known);
        abort(
            QStringLiteral("unknown state %1 (known: %2)").arg(name, names.join(QLatin1Char(' '))));
    }
    const QString actual = it->second();
    if (actual != value)
        fail(QStringLiteral("state %1: expected %2, got %3")
                 .arg(name, quoted(value), quoted(actual)));
}

} // namespace vendalise::testing
