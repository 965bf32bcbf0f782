#pragma once

#include "platform/DataFiles.h"
#include "platform/FolderLock.h"
#include "platform/Services.h"

#include <exception>
#include <functional>
#include <memory>
#include <typeindex>
#include <unordered_map>

namespace vendalise {

class WindowRegistry;

// The running program: the platform's services, the data files with the
// program's current directory, each subsystem's part of the shared state,
// and the windows. Every window gets it by reference. It needs no widget:
// the windows are made and found by core/Window.h, on the windows' side.
class App {
public:
    explicit App(Services& services);
    App(const App&) = delete;
    App& operator=(const App&) = delete;
    ~App();

    Services& sys;
    DataFiles files;
    // The data directory's lock, from start-up to the end of the program.
    FolderLock folderLock;
    // Answer code of the last yes/no question: 6 yes, 7 no (0 before any).
    int lastAnswer = 0;

    // The part of the shared state of type T (a subsystem's tables, current
    // record and flags), made on first use and kept for the run.
    template <class T> T& part() {
        std::shared_ptr<void>& slot = parts_[std::type_index(typeid(T))];
        if (!slot)
            slot = std::make_shared<T>();
        return *static_cast<T*>(slot.get());
    }

    // The window of class W, created on first use, and every window.
    // Defined in core/Window.h.
    template <class W> W& window();
    inline WindowRegistry& windows();

    void showModal(QDialog& window) { sys.windows.showModal(window); }
    [[noreturn]] void end() {
        folderLock.release();
        sys.windows.endProgram();
    }

    // A message with one OK button.
    void tell(const QString& text, const QString& title = {},
              Messages::Icon icon = Messages::Icon::None);
    // A yes/no question; the answer is also kept as the last answer.
    bool ask(const QString& text, const QString& title = {},
             Messages::Icon icon = Messages::Icon::None);

    // Runs one operation of an event handler so that no failure escapes to
    // the event loop. A file failure goes to onFileError, the operation's own
    // message, or, without one, to a message naming the file and the
    // system's description; a write refused because the tables come from
    // another folder always says so. Returns true when the operation ended
    // without a failure.
    using FileErrorHandler = std::function<void(const FileError&)>;
    bool run(const std::function<void()>& operation, const FileErrorHandler& onFileError = {});

    // The messages of run(), for handlers that catch failures themselves.
    void tellFileError(const FileError& error);
    // A write that failed, told as `what` + the system's description
    // ("Erreur programme", critical); a write refused because the tables
    // come from another folder says so instead.
    void tellNotWritten(const QString& what, const FileError& error);
    void tellFailure(const std::exception& error);

private:
    std::unordered_map<std::type_index, std::shared_ptr<void>> parts_;
    // Declared after the parts, so that the windows go first: they may
    // still refer to the parts.
    std::shared_ptr<WindowRegistry> windows_;
};

} // namespace vendalise
