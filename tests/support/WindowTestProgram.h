#pragma once

#include "core/Window.h"
#include "TestProgram.h"

#include <QDialog>

#include <deque>
#include <functional>
#include <stdexcept>

namespace vendalise::testing {

// A window system for unit tests: a window shown modally is noted and gets
// the next queued action, standing for what the user does in it, then the
// call returns.
class NoWindows : public EndingWindows {
public:
    void showModal(QDialog& window) override {
        shown.append(window.objectName());
        if (!actions.empty()) {
            const auto action = std::move(actions.front());
            actions.pop_front();
            action(window);
        }
    }
    QStringList shown;
    std::deque<std::function<void(QDialog&)>> actions;
};

// The program with its windows.
using WindowTestProgram = ProgramOn<NoWindows>;

// The control of a window with this objectName, as a user finds it by its
// caption; a test that names a control the window lacks fails.
template <class Control> Control& control(QWidget& window, const QString& name) {
    auto* found = window.findChild<Control*>(name);
    if (!found) {
        ADD_FAILURE() << "no control " << name.toStdString() << " in "
                      << window.objectName().toStdString();
        throw std::logic_error("no such control");
    }
    return *found;
}

} // namespace vendalise::testing
