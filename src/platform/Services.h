#pragma once

#include <QDate>
#include <QRectF>
#include <QString>
#include <QStringList>
#include <QTime>

#include <cstdlib>
#include <functional>
#include <optional>

class QDialog;
class QPainter;
class QTextDocument;

namespace vendalise {

// The button that answered a message; the values are the codes the
// program keeps as its last answer.
enum class Answer { Ok = 1, Yes = 6, No = 7 };

// Message and input boxes.
class Messages {
public:
    enum class Icon { None, Information, Exclamation, Critical };
    enum class Buttons { Ok, YesNo };

    virtual ~Messages() = default;
    // Shows a message and returns the button pressed. An empty title shows
    // the application's name.
    virtual Answer message(const QString& text, const QString& title = {}, Icon icon = Icon::None,
                           Buttons buttons = Buttons::Ok) = 0;
    // Returns the typed text, or the empty text on Cancel.
    virtual QString input(const QString& prompt, const QString& title,
                          const QString& proposed = {}) = 0;
    // The save dialog: the path chosen for a new file, proposed in the
    // folder and name of `proposed`, of the kinds of `filter` ("Classeur
    // (*.xlsx)"); the empty text on Cancel.
    virtual QString saveFileName(const QString& title, const QString& proposed,
                                 const QString& filter) = 0;
    // The folder dialog: an existing folder chosen, proposed at `proposed`;
    // the empty text on Cancel.
    virtual QString folderName(const QString& title, const QString& proposed) = 0;
};

// The per-user settings store of the application "Vendalise". Sections and
// keys are matched without regard to case.
class SettingsStore {
public:
    virtual ~SettingsStore() = default;
    virtual QString value(const QString& section, const QString& key,
                          const QString& defaultValue = {}) = 0;
    // Returns false when the value could not be stored.
    virtual bool setValue(const QString& section, const QString& key, const QString& value) = 0;
};

// The printer, as reports use it: one line at a time, then the end of the
// document; or a whole document at once. Failures are either the printer's own (a cancelled job, a
// printer switched off) or another failure with its description.
class Printer {
public:
    struct Failure {
        bool printerError = false;
        QString description;
    };
    virtual ~Printer() = default;
    // The printer's fonts in its own order; nullopt when there is no printer.
    virtual std::optional<QStringList> fonts() = 0;
    virtual std::optional<Failure> setFont(const QString& name, bool bold) = 0;
    // The font set by setFont ("" before any): the one documents print in.
    virtual QString chosenFont() = 0;
    virtual std::optional<Failure> printLine(const QString& text, double size, bool bold,
                                             bool underline) = 0;
    // A drawing (a chart) below the lines printed, as wide as the page and
    // `aspect` times as high, drawn by `draw` into its area of the page, as
    // vectors. `title` names it.
    using Drawing = std::function<void(QPainter& painter, const QRectF& area)>;
    virtual std::optional<Failure> printDrawing(const QString& title, double aspect,
                                                const Drawing& draw) = 0;
    virtual std::optional<Failure> endDocument() = 0;

    // A whole document laid out by Qt's text layout (its tables, images and
    // objects), printed as a job of its own on pages of `orientation`, each
    // with "Page n / N" at its foot. The printer gives the document its
    // page size (in the printer's units) and its font family (the one
    // chosen by setFont, at the sizes the document gives), so that
    // afterwards `document.pageCount()` is the number of pages printed.
    // `title` names the job. Without a usable printer the document becomes
    // a PDF file, whose path is returned.
    enum class Orientation { Portrait, Landscape };
    // A document's margins on every side; a PDF's page is A4.
    static constexpr double kDocumentMarginMm = 15;
    struct Printed {
        std::optional<Failure> failure;
        QString pdf; // the PDF written in place of paper; "" on paper
    };
    virtual Printed printDocument(const QString& title, QTextDocument& document,
                                  Orientation orientation) = 0;
};

class Clock {
public:
    virtual ~Clock() = default;
    virtual QDate today() = 0;
    // The time of day, to the minute at least.
    virtual QTime time() = 0;
};

// Modal windows and the end of the program.
class WindowSystem {
public:
    virtual ~WindowSystem() = default;
    // Shows the window and returns once it is hidden or closed.
    virtual void showModal(QDialog& window) = 0;
    // Ends the program at once, from anywhere. Nothing needs saving: every
    // operation closes its files when it is done.
    [[noreturn]] void endProgram() {
        end();
        std::abort(); // end() never returns
    }

protected:
    virtual void end() = 0;
};

// The folders proposed when none is stored. The program's own are the
// system's (systemDefaultFolders); tests give each run folders of its own.
struct DefaultFolders {
    QString data;   // the data directory
    QString backup; // the backup's target folder
};

// Everything the program asks of the platform.
struct Services {
    Messages& messages;
    SettingsStore& settings;
    Printer& printer;
    Clock& clock;
    WindowSystem& windows;
    DefaultFolders defaults;
};

} // namespace vendalise
