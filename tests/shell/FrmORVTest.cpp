#include "shell/FrmORV.h"

#include "access/Access.h"
#include "sales/Ledger.h"
#include "TestProgram.h"

#include "../platform/TestHelpers.h"

#include <QDir>
#include <QPushButton>

namespace vendalise {
namespace {

using MainWindow = testing::TestProgram;

TEST_F(MainWindow, SalesReportForgetsTheChosenLedgerLineAndTheAccess) {
    FrmORV& main = app.window<FrmORV>();
    app.part<Sales>().currentLine = 5;
    app.part<Access>().granted = true;
    main.BtnSorties->click();
    EXPECT_EQ(app.part<Sales>().currentLine, 0);
    EXPECT_FALSE(app.part<Access>().granted);
    EXPECT_EQ(windows.shown, QStringList{u"FrmES"_s});
}

TEST_F(MainWindow, ALedgerThatCannotBeReadIsToldAndTheWindowStillOpens) {
    FrmORV& main = app.window<FrmORV>();
    ASSERT_TRUE(QDir(folder.path()).mkdir(u"es.orv"_s));
    main.BtnSorties->click();
    ASSERT_EQ(messages.shown.size(), 1);
    EXPECT_EQ(messages.shown[0].title, u"Erreur programme"_s);
    EXPECT_EQ(messages.shown[0].text,
              u"Le fichier "_s + QDir::toNativeSeparators(folder.filePath(u"es.orv"_s)) +
                  u" n'a pas pu être utilisé :\r\nUn dossier porte le nom de ce fichier"_s);
    EXPECT_EQ(windows.shown, QStringList{u"FrmES"_s});
}

} // namespace
} // namespace vendalise
