#include "shell/FrmORV.h"

#include "access/Access.h"
#include "sales/Ledger.h"
#include "TestProgram.h"

#include "../platform/TestHelpers.h"

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

} // namespace
} // namespace vendalise
