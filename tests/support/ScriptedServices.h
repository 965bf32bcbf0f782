#pragma once

#include "platform/QtSettings.h"
#include "platform/Services.h"

#include <QList>

#include <deque>
#include <functional>
#include <optional>

namespace vendalise::testing {

// A message or input box as the program showed it.
struct ShownBox {
    bool isInput = false;
    QString title; // as shown: an empty title shows the application's name
    QString text;  // the message, or the input box's prompt
    Messages::Icon icon = Messages::Icon::None;
    Messages::Buttons buttons = Messages::Buttons::Ok;
    QString proposed;
};

// Message and input boxes answered from queues. A message with only an OK
// button answers itself. A question or input box without a queued answer
// calls onUnanswered (which may end the test), then answers No or Cancel.
class ScriptedMessages : public Messages {
public:
    Answer message(const QString& text, const QString& title, Icon icon, Buttons buttons) override;
    QString input(const QString& prompt, const QString& title, const QString& proposed) override;
    QString saveFileName(const QString& title, const QString& proposed,
                         const QString& filter) override;
    QString folderName(const QString& title, const QString& proposed) override;

    std::deque<Answer> answers;                // Yes or No
    std::deque<std::optional<QString>> inputs; // nullopt: Cancel
    std::deque<QString> savePaths;             // empty: Cancel
    // The save dialogs shown: title, proposed path and filter.
    struct SaveDialog {
        QString title;
        QString proposed;
        QString filter;
    };
    QList<SaveDialog> saveDialogs;
    std::deque<QString> folderPaths; // empty: Cancel
    // The folder dialogs shown, with an empty filter.
    QList<SaveDialog> folderDialogs;
    QList<ShownBox> shown;
    std::function<void(const ShownBox&)> onUnanswered;
    // Called as each box shows, before it is answered.
    std::function<void(const ShownBox&)> onShown;
};

// A printer that records what it is asked to print.
class ScriptedPrinter : public Printer {
public:
    enum class Mode { On, Off, None };
    struct Line {
        bool endOfDocument = false;
        bool failed = false;
        double size = 0;
        bool bold = false;
        bool underline = false;
        QString text;
    };

    std::optional<QStringList> fonts() override;
    std::optional<Failure> setFont(const QString& name, bool bold) override;
    QString chosenFont() override { return font; }
    std::optional<Failure> printLine(const QString& text, double size, bool bold,
                                     bool underline) override;
    std::optional<Failure> printDrawing(const QString& title, double aspect,
                                        const Drawing& draw) override;
    std::optional<Failure> endDocument() override;
    // A document is kept as a line of size 0, "[document portrait] " or
    // "[document paysage] " and its title, then the lines readDocument
    // reads from it, then the end of a document; it fails as a line, then
    // as an end, would. Without a usable printer (None) it is said to be
    // written to noPrinterPdf.
    Printed printDocument(const QString& title, QTextDocument& document,
                          Orientation orientation) override;

    // On: prints. Off: every line fails with the printer's own error.
    // None: no usable printer; choosing a font fails, every line fails with
    // a description of its own.
    Mode mode = Mode::On;
    // How a document ends: sent; failing (a spooler refusing the job); or
    // aborted by the printer itself at its very end.
    enum class End { Sent, Fails, Aborted };
    End end = End::Sent;
    QStringList fontList{QStringLiteral("Courier New"), QStringLiteral("Arial")};
    QString font;
    bool fontBold = false;
    QList<Line> printed;
    // A document's lines, as the tests that print documents read them
    // (testing::documentLines, which needs Qt Gui); none when not set.
    std::function<QList<Line>(const QTextDocument&)> readDocument;
    QString noPrinterPdf = QStringLiteral("document.pdf");
};

// A settings store in an INI file whose next write can be made to fail.
class FailableSettings : public SettingsStore {
public:
    explicit FailableSettings(const QString& iniFile) : store_(iniFile) {}
    QString value(const QString& section, const QString& key,
                  const QString& defaultValue) override {
        return store_.value(section, key, defaultValue);
    }
    bool setValue(const QString& section, const QString& key, const QString& value) override {
        if (failNext) {
            failNext = false;
            return false;
        }
        return store_.setValue(section, key, value);
    }
    bool failNext = false;

private:
    QtSettingsStore store_;
};

class FixedClock : public Clock {
public:
    QDate today() override { return date; }
    QTime time() override { return at; }
    QDate date{2007, 12, 5};
    QTime at{10, 0};
};

} // namespace vendalise::testing
