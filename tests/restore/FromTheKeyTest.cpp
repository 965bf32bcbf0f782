#include "bilans/Figures.h"
#include "platform/DataFiles.h"
#include "restore/Restore.h"
#include "shell/Backup.h"

#include "RealisticClub.h"
#include "WindowTestProgram.h"

#include <QDir>

namespace vendalise {

using namespace Qt::StringLiterals;
namespace {

using testing::WindowTestProgram;

// A club that moves to a new PC from its key: the backup carries the kept
// statements, and a restore of the key's set into an empty data directory
// gives the same sales, receipts and debts as the old one.
class FromTheKey : public WindowTestProgram {};

TEST_F(FromTheKey, ANewPcShowsTheSameSalesReceiptsAndDebts) {
    const testing::RealisticClub club = testing::realisticClub();
    const QString old = folder.filePath(u"ancien"_s), key = folder.filePath(u"Clé"_s),
                  fresh = folder.filePath(u"nouveau"_s);
    ASSERT_TRUE(QDir().mkpath(old) && QDir().mkpath(key) && QDir().mkpath(fresh));
    ASSERT_TRUE(testing::writeClub(club, old));
    ASSERT_TRUE(app.files.setCurrent(old));
    clock.date = club.today;
    messages.inputs.push_back(key);
    Sauvegarde(app);
    // The folder asked, and no failure told.
    for (qsizetype i = 1; i < messages.shown.size(); ++i)
        ADD_FAILURE() << messages.shown[i].text.toStdString();

    DataFiles newPc;
    ASSERT_TRUE(newPc.setCurrent(fresh));
    BackupSet set = findBackupSets(fresh, key).value(0);
    ASSERT_EQ(set.kind, BackupSet::Kind::BackupFolder);
    readBackupSet(set);
    ASSERT_TRUE(set.restorable()) << set.faults().join(u'|').toStdString();
    restoreSet(newPc, set, QDateTime(club.today, QTime(9, 0)));

    const Bilan before =
        makeBilan(readBilanSources(app.files, club.threshold, club.today, {}), Period::all());
    const Bilan after =
        makeBilan(readBilanSources(newPc, club.threshold, club.today, {}), Period::all());
    ASSERT_GT(before.receiptsTotal[0].entries, 0);
    EXPECT_EQ(after.salesTotal.both.sales, before.salesTotal.both.sales);
    EXPECT_EQ(after.salesTotal.both.amount, before.salesTotal.both.amount);
    for (int r = 0; r < 2; ++r) {
        EXPECT_EQ(after.receiptsTotal[r].entries, before.receiptsTotal[r].entries) << r;
        EXPECT_EQ(after.receiptsTotal[r].total, before.receiptsTotal[r].total) << r;
    }
    ASSERT_EQ(after.debts.size(), before.debts.size());
    for (qsizetype d = 0; d < before.debts.size(); ++d) {
        EXPECT_EQ(after.debts[d].name, before.debts[d].name);
        EXPECT_EQ(after.debts[d].owed, before.debts[d].owed);
    }
    EXPECT_EQ(after.debtTotal, before.debtTotal);
}

} // namespace
} // namespace vendalise
