#pragma once

#include "core/App.h"
#include "platform/Form.h"
#include "platform/WindowRegistry.h"

#include <memory>

namespace vendalise {

// Base of every window of the program: a Form that knows the running
// program and runs each of its event handlers through App::run, so that a
// failure becomes a message and never reaches the event loop.
class Window : public Form {
    Q_OBJECT
public:
    Window(App& app, const QString& name, int clientWidthTwips, int clientHeightTwips)
        : Form(name, clientWidthTwips, clientHeightTwips), app_(app) {}
    // A window going away runs no handler any more: its controls, deleted
    // after it, may still signal (a field that had the focus is left).
    ~Window() override {
        for (QObject* control : findChildren<QObject*>())
            control->disconnect(this);
    }

protected:
    // Connects a signal of a control to a handler that takes no arguments.
    template <class Sender, class Signal, class Handler>
    void handle(Sender* sender, Signal signal, Handler handler) {
        connect(sender, signal, this, [this, handler] { app_.run(handler); });
    }

    App& app_;
};

// The program's windows, kept by the App and made on first use.
inline WindowRegistry& App::windows() {
    if (!windows_)
        windows_ = std::make_shared<WindowRegistry>();
    return *windows_;
}

template <class W> W& App::window() {
    return windows().get<W>([this] { return new W(*this); });
}

} // namespace vendalise
