#pragma once

#include "platform/Services.h"
#include "platform/WindowRegistry.h"
#include "shell/SharedState.h"

namespace vendalise {

// The running program: the platform's services, the shared state and the
// windows. Every window gets it by reference.
class App {
public:
    explicit App(Services& services) : sys(services) {}
    App(const App&) = delete;
    App& operator=(const App&) = delete;

    Services& sys;
    SharedState state;

    // The window of class W, created on first use.
    template <class W> W& window() {
        return registry_.get<W>([this] { return new W(*this); });
    }
    WindowRegistry& windows() { return registry_; }

    void showModal(QDialog& window) { sys.windows.showModal(window); }
    [[noreturn]] void end() { sys.windows.endProgram(); }

    // A message with one OK button.
    void tell(const QString& text, const QString& title = {},
              Messages::Icon icon = Messages::Icon::None);
    // A yes/no question; the answer is also kept as the last answer.
    bool ask(const QString& text, const QString& title = {},
             Messages::Icon icon = Messages::Icon::None);

private:
    WindowRegistry registry_;
};

} // namespace vendalise
