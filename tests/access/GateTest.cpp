#include "access/Gate.h"

#include "access/Access.h"
#include "access/Pass.h"
#include "core/Names.h"
#include "WindowTestProgram.h"

#include "TestHelpers.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>

namespace vendalise {
namespace {

using testing::control;

// Keys typed into a field, as the user types them.
void keyClicks(QWidget& field, const QString& text) {
    for (const QChar c : text) {
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
        QCoreApplication::sendEvent(&field, &press);
    }
}

void pressEnter(QWidget& field) {
    QKeyEvent press(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, u"\r"_s);
    QCoreApplication::sendEvent(&field, &press);
}

class Gate : public testing::WindowTestProgram {
protected:
    // What the user does in the dialog the next time the gate shows it.
    void inDialog(std::function<void(Pass&)> act) {
        windows.actions.push_back([act](QDialog& dialog) { act(static_cast<Pass&>(dialog)); });
    }
    static void typeAndEnter(Pass& dialog, const QString& text) {
        keyClicks(control<QLineEdit>(dialog, u"Text1"_s), text);
        pressEnter(control<QLineEdit>(dialog, u"Text1"_s));
    }
    Access& access = app.part<Access>();
};

TEST_F(Gate, AbandonLeavesTheFlagAsItWas) {
    access.password = u"secret"_s;
    access.granted = true;
    inDialog([](Pass& dialog) {
        keyClicks(control<QLineEdit>(dialog, u"Text1"_s), u"faux"_s);
        control<QPushButton>(dialog, u"CmdModifPsw"_s).click();
        control<QPushButton>(dialog, u"Abandon"_s).click();
    });
    ControleAcces(app);
    EXPECT_TRUE(access.granted);
    EXPECT_TRUE(messages.shown.isEmpty());
    EXPECT_TRUE(access.abandoned);

    access.granted = false;
    // A key typed into the password after "Abandonner" is a plain check.
    inDialog([](Pass& dialog) {
        EXPECT_TRUE(control<QPushButton>(dialog, u"Abandon"_s).isVisibleTo(&dialog));
        typeAndEnter(dialog, u"SECRET"_s);
    });
    ControleAcces(app);
    EXPECT_TRUE(access.granted);
    EXPECT_FALSE(access.abandoned);
}

TEST_F(Gate, TheFieldsAreEmptiedBeforeEachShowingAndMasked) {
    inDialog([](Pass& dialog) { typeAndEnter(dialog, u"abc"_s); });
    ControleAcces(app);
    inDialog([](Pass& dialog) {
        EXPECT_EQ(control<QLineEdit>(dialog, u"Text1"_s).text(), u""_s);
        EXPECT_EQ(control<QLineEdit>(dialog, u"Text1"_s).echoMode(), QLineEdit::Password);
        EXPECT_EQ(control<QLineEdit>(dialog, u"Text3"_s).echoMode(), QLineEdit::Password);
        typeAndEnter(dialog, u""_s);
    });
    ControleAcces(app);
    EXPECT_EQ(windows.shown, (QStringList{u"Pass"_s, u"Pass"_s}));
    EXPECT_TRUE(access.granted);
}

} // namespace
} // namespace vendalise
