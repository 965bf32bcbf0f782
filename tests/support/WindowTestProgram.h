#pragma once

#include "Controls.h"
#include "core/Window.h"
#include "DocumentLines.h"
#include "TestProgram.h"

#include <QDialog>

#include <deque>
#include <functional>

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

// The program with its windows; its printer reads the documents printed.
class WindowTestProgram : public ProgramOn<NoWindows> {
protected:
    void SetUp() override {
        ProgramOn::SetUp();
        printer.readDocument = documentLines;
    }
};

} // namespace vendalise::testing
