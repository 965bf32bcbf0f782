#pragma once

#include "core/App.h"
#include "platform/QtServices.h"
#include "ScriptedServices.h"

#include <QDialog>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <stdexcept>

namespace vendalise::testing {

// A window system for unit tests: a window shown modally is only noted
// (it returns at once); ending the program is a failure of the test.
class NoWindows : public WindowSystem {
public:
    void showModal(QDialog& window) override { shown.append(window.objectName()); }
    QStringList shown;

protected:
    void end() override {
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
    Services services{messages, settings, printer, clock, windows};
    App app{services};
};

} // namespace vendalise::testing
