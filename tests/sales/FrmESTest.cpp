#include "sales/FrmES.h"

#include "catalogue/Catalogue.h"
#include "members/MemberTable.h"
#include "platform/RecordList.h"
#include "sales/Ledger.h"
#include "WindowTestProgram.h"

#include "TestHelpers.h"

#include <QCheckBox>

namespace vendalise {
namespace {

using testing::control;

using OperationsWindow = testing::WindowTestProgram;

TEST_F(OperationsWindow, MajVentesListsEveryLineAndForgetsTheChosenOne) {
    app.part<Catalogue>().table.records.append({u"Gourde"_s, 2, 1});
    app.part<Members>().table.records.append({u"DUPONT"_s, u"Jean"_s});
    Sales& sales = app.part<Sales>();
    sales.ledger.records.append({u"05/12/2007"_s, 1, 1, 1, kPaid});
    sales.ledger.records.append({u"06/12/2007"_s, 1, 1, 2, kOwed});

    FrmES& window = app.window<FrmES>();
    auto& owedOnly = control<QCheckBox>(window, u"CheckDettes"_s);
    auto& lines = control<RecordList>(window, u"ListES"_s);
    owedOnly.setChecked(true);
    ASSERT_EQ(lines.count(), 1);
    lines.chooseRow(0);
    EXPECT_EQ(sales.currentLine, 2);

    MajVentes(app);
    EXPECT_EQ(sales.currentLine, 0);
    ASSERT_EQ(lines.count(), 2);
    EXPECT_EQ(lines.rows()[0].text, u"05/12/2007 - DUPONT  Gourde (x1) payé"_s);
    EXPECT_EQ(lines.rows()[1].data, 2);
    EXPECT_TRUE(owedOnly.isChecked());
}

} // namespace
} // namespace vendalise
