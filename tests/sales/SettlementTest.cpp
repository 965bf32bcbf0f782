#include "sales/Settlement.h"

#include "catalogue/Catalogue.h"
#include "core/Names.h"
#include "members/MemberTable.h"
#include "sales/Ledger.h"
#include "TestProgram.h"

#include "TestHelpers.h"

#include <QFileInfo>

namespace vendalise {
namespace {

class Settlements : public testing::TestProgram {
protected:
    void SetUp() override {
        testing::TestProgram::SetUp();
        app.part<Catalogue>().table.records.append({u"Tee-shirt"_s, 7.5f, 10});
        app.part<Members>().table.records.append({u"DUPONT"_s, u"Jean"_s});
        app.part<Members>().table.records.append({u"MARTIN"_s, u"Paul"_s});
        app.files.ensureFile(kMaterialLedgerFile);
        app.files.ensureFile(kDrinksLedgerFile);
    }
    void writeLedger(const QList<LedgerLine>& lines) {
        QByteArray bytes;
        for (const LedgerLine& line : lines)
            bytes += ledgerRecord(line);
        QFile file(folder.filePath(kLedgerFile));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        file.close();
        ChargeVentes(app);
    }
    QByteArray bytesOf(const QString& name) {
        QFile file(folder.filePath(name));
        EXPECT_TRUE(file.open(QIODevice::ReadOnly));
        return file.readAll();
    }
};

TEST_F(Settlements, AMemberWhoseLinesAreAllPaidChangesNoFile) {
    writeLedger({{u"01/12/2007"_s, 1, 1, 2, kPaid}, {u"02/12/2007"_s, 1, 2, 1, kOwed}});
    const QDateTime before = QFileInfo(folder.filePath(kLedgerFile)).lastModified();
    app.files.setFaults([](FileOp op, const QString& path) -> std::optional<QString> {
        if (op != FileOp::OpenRead)
            ADD_FAILURE() << "written: " << path.toStdString();
        return std::nullopt;
    });
    const Settled settled = settleMember(app, 1);
    EXPECT_EQ(settled.at[0], -1);
    EXPECT_EQ(settled.at[1], -1);
    EXPECT_EQ(QFileInfo(folder.filePath(kLedgerFile)).lastModified(), before);
}

// Settling changes paid flags and nothing else: a partial record left at
// the end of the ledger stays, byte for byte.
TEST_F(Settlements, SettlingAMemberKeepsEveryOtherByteAndAPartialRecord) {
    writeLedger({{u"01/12/2007"_s, 1, 1, 2, kOwed}, {u"02/12/2007"_s, 1, 2, 1, kOwed}});
    {
        QFile file(folder.filePath(kLedgerFile));
        ASSERT_TRUE(file.open(QIODevice::Append));
        file.write("partiel");
    }
    QByteArray expected = bytesOf(kLedgerFile);
    expected[kLedgerPaidAt] = expected[kLedgerPaidAt + 1] = char(0xFF);
    settleMember(app, 1);
    EXPECT_EQ(bytesOf(kLedgerFile), expected);
}

TEST_F(Settlements, KeptLinesReplaceTheLedgerWithTheirBytesAndNoTemporaryFile) {
    writeLedger({{u"01/12/2007"_s, 1, 1, 2, kPaid},
                 {u"5/12/07"_s, 1, 2, 1, kOwed},
                 {u"03/12/2007"_s, 1, 1, 3, kOwed}});
    const QByteArray all = bytesOf(kLedgerFile);
    keepLines(app, {1, 3});
    EXPECT_EQ(bytesOf(kLedgerFile), all.left(20) + all.mid(40));
    EXPECT_FALSE(QFile::exists(folder.filePath(kLedgerTemporaryFile)));
    keepLines(app, {2});
    EXPECT_EQ(bytesOf(kLedgerFile), all.mid(20, 20)); // the short date with its blanks
}

// A deletion writes the kept lines from memory: a line settled just before
// is written settled, even with no reload between.
TEST_F(Settlements, ADeletionRightAfterASettlementKeepsTheSettledFlags) {
    writeLedger({{u"01/12/2007"_s, 1, 1, 2, kOwed},
                 {u"02/12/2007"_s, 1, 2, 1, kOwed},
                 {u"03/12/2007"_s, 1, 1, 3, kOwed},
                 {u"04/12/2007"_s, 1, 2, 1, kOwed}});
    writeLineFlag(app, 2, kPaid, QString(), {});
    keepLines(app, {2, 3, 4});
    LedgerTable read;
    loadLedger(app.files, read);
    ASSERT_EQ(read.count(), 3);
    EXPECT_TRUE(read[1].isPaid());
    EXPECT_FALSE(read[2].isPaid());

    ChargeVentes(app);
    settleMember(app, 2);
    keepLines(app, {1, 3});
    loadLedger(app.files, read);
    ASSERT_EQ(read.count(), 2);
    EXPECT_EQ(read[1].date, u"02/12/2007"_s);
    EXPECT_TRUE(read[1].isPaid());
    EXPECT_EQ(read[2].date, u"04/12/2007"_s);
    EXPECT_TRUE(read[2].isPaid());
}

} // namespace
} // namespace vendalise
