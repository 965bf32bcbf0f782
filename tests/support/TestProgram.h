#pragma once

#include "core/App.h"
#include "platform/QtServices.h"
#include "ScriptedServices.h"

#include <QDialog>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <stdexcept>

namespace vendalise::testing {

// The program ended where a test allowed it.
struct ProgramEnded {};

// A window system for unit tests: a window shown modally is noted and gets
// the next queued action, standing for what the user does in it, then the
// call returns. Ending the program is a failure of the test unless allowed.
class NoWindows : public WindowSystem {
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
    bool mayEnd = false;

protected:
    void end() override {
        if (mayEnd)
            throw ProgramEnded{};
        ADD_FAILURE() << "the program was ended";
        throw std::logic_error("end");
    }
};

// The program on scripted services, its settings and current directory in
// a fresh folder.
class TestProgram : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(folder.isValid());
        ASSERT_TRUE(app.files.setCurrent(folder.path()));
    }

    QTemporaryDir folder;
    ScriptedMessages messages;
    QtSettingsStore settings{folder.filePath(QStringLiteral("Vendalise.ini"))};
    ScriptedPrinter printer;
    FixedClock clock;
    NoWindows windows;
    Services services{messages, settings, printer, clock, windows, systemDefaultFolders()};
    App app{services};
};

} // namespace vendalise::testing
