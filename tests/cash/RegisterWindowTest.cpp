#include "cash/RegisterWindow.h"

#include "access/Access.h"
#include "core/Names.h"
#include "platform/RecordList.h"
#include "TestProgram.h"

#include "../platform/TestHelpers.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QKeyEvent>
#include <QPushButton>

namespace vendalise {
namespace {

class RegisterWindows : public testing::TestProgram {
protected:
    void SetUp() override {
        TestProgram::SetUp();
        app.files.ensureFile(kMaterialLedgerFile);
        app.files.ensureFile(kDrinksLedgerFile);
    }
    // The password dialog answered with Enter (the password is empty).
    void passGate() {
        windows.actions.push_back([](QDialog& dialog) {
            QWidget* field = dialog.findChild<QWidget*>(u"Text1"_s);
            QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, u"\r"_s);
            QCoreApplication::sendEvent(field, &enter);
        });
    }
    // A ledger too large to be read whole, yet one that takes appends.
    void makeUnreadable(const QString& name) {
        ASSERT_TRUE(QFile::resize(folder.filePath(name), DataFiles::kMaxTextBytes + 1));
    }
};

TEST_F(RegisterWindows, ACorrectionWhoseListCannotBeRefilledIsNotAskedAgain) {
    Compta& window = app.window<Compta>();
    makeUnreadable(kMaterialLedgerFile);
    passGate();
    messages.answers = {Answer::Yes};
    messages.inputs = {u"Trou"_s, u"-2"_s};
    window.CmdAjustement->click();
    // One question, two inputs, then the failure to read the ledger again.
    ASSERT_EQ(messages.shown.size(), 4);
    EXPECT_EQ(messages.shown[3].title, u"Erreur programme"_s);
    EXPECT_TRUE(messages.shown[3].text.startsWith(u"Le fichier "_s));
    // The entry was appended once.
    const QByteArray entry = "Correction de caisse effectu\xE9 le 05/12/2007\r\nTrou\r\n"
                             "Correction de caisse : -2\r\n\r\n";
    EXPECT_EQ(QFileInfo(folder.filePath(kMaterialLedgerFile)).size(),
              DataFiles::kMaxTextBytes + 1 + entry.size());
}

TEST_F(RegisterWindows, ASumThatCannotReadItsLedgerAddsNoRows) {
    ComptaBoisson& window = app.window<ComptaBoisson>();
    makeUnreadable(kDrinksLedgerFile);
    window.CmdSomme->click();
    EXPECT_EQ(window.list->count(), 0);
    ASSERT_EQ(messages.shown.size(), 1);
    EXPECT_TRUE(messages.shown[0].text.contains(u"ComptaBoisson.orv"_s));
}

TEST_F(RegisterWindows, AFailureOnTheFirstLineOfAPrintNamesStepZero) {
    app.files.appendText(kDrinksLedgerFile, u"Correction de caisse Boisson : 1E39\r\n"_s);
    app.window<ComptaBoisson>().BtnImprimer->click();
    ASSERT_EQ(messages.shown.size(), 1);
    EXPECT_EQ(messages.shown[0].text,
              u"Ereur impression \r\nDépassement de capacité\r\nLigne 0"_s);
    EXPECT_EQ(messages.shown[0].title, u"Vendalise"_s);
}

} // namespace
} // namespace vendalise
