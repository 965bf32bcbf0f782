#include "access/Gate.h"

#include "access/Access.h"
#include "access/Pass.h"
#include "core/Names.h"
#include "TestProgram.h"

#include "../platform/TestHelpers.h"

#include <QKeyEvent>
#include <QPushButton>
#include <QCoreApplication>

namespace vendalise {
namespace {

// Keys typed into a field, as the user types them.
void keyClicks(QWidget* field, const QString& text) {
    for (const QChar c : text) {
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
        QCoreApplication::sendEvent(field, &press);
    }
}

void pressEnter(QWidget* field) {
    QKeyEvent press(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, u"\r"_s);
    QCoreApplication::sendEvent(field, &press);
}

class Gate : public testing::TestProgram {
protected:
    // What the user does in the dialog the next time the gate shows it.
    void inDialog(std::function<void(Pass&)> act) {
        windows.actions.push_back([act](QDialog& dialog) { act(static_cast<Pass&>(dialog)); });
    }
    static void typeAndEnter(Pass& dialog, const QString& text) {
        keyClicks(dialog.Text1, text);
        pressEnter(dialog.Text1);
    }
    Access& access = app.part<Access>();
};

TEST_F(Gate, AbandonLeavesTheFlagAsItWas) {
    access.password = u"secret"_s;
    access.granted = true;
    inDialog([](Pass& dialog) {
        keyClicks(dialog.Text1, u"faux"_s);
        dialog.CmdModifPsw->click();
        dialog.Abandon->click();
    });
    ControleAcces(app);
    EXPECT_TRUE(access.granted);
    EXPECT_TRUE(messages.shown.isEmpty());
    EXPECT_TRUE(access.abandoned);

    access.granted = false;
    // A key typed into the password after "Abandonner" is a plain check.
    inDialog([](Pass& dialog) {
        EXPECT_TRUE(dialog.Abandon->isVisibleTo(&dialog));
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
        EXPECT_EQ(dialog.Text1->text(), u""_s);
        EXPECT_EQ(dialog.Text1->echoMode(), QLineEdit::Password);
        EXPECT_EQ(dialog.Text3->echoMode(), QLineEdit::Password);
        typeAndEnter(dialog, u""_s);
    });
    ControleAcces(app);
    EXPECT_EQ(windows.shown, (QStringList{u"Pass"_s, u"Pass"_s}));
    EXPECT_TRUE(access.granted);
}

TEST_F(Gate, TheMasterPasswordErasesThePasswordAndEndsTheProgram) {
    settings.setValue(kPasswordSetting.section, kPasswordSetting.key, u"secret"_s);
    access.password = u"secret"_s;
    windows.mayEnd = true;
    inDialog([](Pass& dialog) { typeAndEnter(dialog, u"KoRaL"_s); });
    EXPECT_THROW(ControleAcces(app), testing::ProgramEnded);
    EXPECT_EQ(settings.value(kPasswordSetting.section, kPasswordSetting.key, u"?"_s), u""_s);
    ASSERT_EQ(messages.shown.size(), 1);
    EXPECT_EQ(messages.shown[0].text, u"Mot de passe supprimé"_s);
    EXPECT_FALSE(access.granted);
}

TEST_F(Gate, ANewPasswordThatCannotBeStoredChangesNothing) {
    testing::FailableSettings failing(folder.filePath(u"Vendalise.ini"_s));
    Services withFailure{messages, failing, printer, clock, windows, services.defaults};
    App other(withFailure);
    other.part<Access>().password = u"ancien"_s;
    failing.failNext = true;
    windows.actions.push_back([](QDialog& shown) {
        auto& dialog = static_cast<Pass&>(shown);
        keyClicks(dialog.Text1, u"ancien"_s);
        dialog.CmdModifPsw->click();
        keyClicks(dialog.Text2, u"neuf"_s);
        keyClicks(dialog.Text3, u"neuf"_s);
        dialog.Accepter->click();
    });
    ControleAcces(other);
    EXPECT_EQ(other.part<Access>().password, u"ancien"_s);
    EXPECT_FALSE(other.part<Access>().granted);
    ASSERT_EQ(messages.shown.size(), 1);
    EXPECT_EQ(messages.shown[0].title, u"Mot de passe inchangé"_s);
    EXPECT_EQ(messages.shown[0].text, u"Le mot de passe n'a pas pu être enregistré."_s);
    EXPECT_EQ(messages.shown[0].icon, Messages::Icon::Critical);
}

} // namespace
} // namespace vendalise
