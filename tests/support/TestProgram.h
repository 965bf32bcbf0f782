#pragma once

#include "core/App.h"
#include "platform/QtSettings.h"
#include "ScriptedServices.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <stdexcept>

namespace vendalise::testing {

// The program ended where a test allowed it.
struct ProgramEnded {};

// The end of the program, in unit tests: a failure of the test unless
// allowed. Showing a window is the windows' tests' own (WindowTestProgram.h).
class EndingWindows : public WindowSystem {
public:
    bool mayEnd = false;

protected:
    void end() override {
        if (mayEnd)
            throw ProgramEnded{};
        ADD_FAILURE() << "the program was ended";
        throw std::logic_error("end");
    }
};

// The data side never shows a window.
class NoWindowShown : public EndingWindows {
public:
    void showModal(QDialog&) override { ADD_FAILURE() << "a window was shown"; }
};

// The program on scripted services, its settings and current directory in
// a fresh folder.
template <class Windows> class ProgramOn : public ::testing::Test {
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
    Windows windows;
    Services services{messages, settings, printer, clock, windows, systemDefaultFolders()};
    App app{services};
};

// The program without windows, for the tests of the data side.
using TestProgram = ProgramOn<NoWindowShown>;

} // namespace vendalise::testing
