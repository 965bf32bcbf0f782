#include "sales/Settlement.h"

#include "catalogue/Catalogue.h"
#include "core/Names.h"
#include "members/MemberTable.h"
#include "sales/KeptDeletions.h"
#include "sales/Ledger.h"
#include "TestProgram.h"

#include "TestHelpers.h"

#include <QDir>
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
    // The removed records are kept byte for byte; a second deletion of the
    // day is " (2)".
    EXPECT_EQ(bytesOf(u"Relevés/es du 05-12-2007.orv"_s), all.mid(20, 20));
    keepLines(app, {2});
    EXPECT_EQ(bytesOf(kLedgerFile), all.mid(20, 20)); // the short date with its blanks
    EXPECT_EQ(bytesOf(u"Relevés/es du 05-12-2007 (2).orv"_s), all.left(20) + all.mid(40));
    EXPECT_EQ(keptDeletions(app.files).size(), 2);
    // Nothing removed, nothing kept.
    keepLines(app, {1, 2, 3});
    EXPECT_EQ(keptDeletions(app.files).size(), 2);
}

// Each write operation of a deletion failed in turn: the ledger stays as it
// was, and nothing is left in "Relevés" or beside the ledger.
TEST_F(Settlements, AFailureAtAnyStepOfADeletionLeavesTheLedgerAndTheKeptLinesAsBefore) {
    writeLedger({{u"01/12/2007"_s, 1, 1, 2, kPaid}, {u"02/12/2007"_s, 1, 2, 1, kOwed}});
    const QByteArray all = bytesOf(kLedgerFile);
    const auto writing = [](FileOp op) {
        return op != FileOp::OpenRead && op != FileOp::ReadBack && op != FileOp::Remove;
    };
    int operations = 0;
    app.files.setFaults([&](FileOp op, const QString&) -> std::optional<QString> {
        operations += writing(op) ? 1 : 0;
        return std::nullopt;
    });
    keepLines(app, {2});
    ASSERT_GT(operations, 8);
    for (int k = 1; k <= operations; ++k) {
        SCOPED_TRACE(k);
        QDir(folder.filePath(kKeptFolder)).removeRecursively();
        writeLedger({{u"01/12/2007"_s, 1, 1, 2, kPaid}, {u"02/12/2007"_s, 1, 2, 1, kOwed}});
        int seen = 0;
        app.files.setFaults([&](FileOp op, const QString&) -> std::optional<QString> {
            if (writing(op) && ++seen == k)
                return u"Le disque est plein."_s;
            return std::nullopt;
        });
        EXPECT_THROW(keepLines(app, {2}), FileError);
        app.files.setFaults({});
        EXPECT_EQ(bytesOf(kLedgerFile), all);
        EXPECT_FALSE(QFile::exists(folder.filePath(kLedgerTemporaryFile)));
        EXPECT_EQ(QDir(folder.filePath(kKeptFolder)).entryList(QDir::Files | QDir::Hidden),
                  QStringList());
    }
}

// What a crash leaves: the pending kept lines, with the ledger replaced (its
// staged replacement renamed) or not (still there).
TEST_F(Settlements, StartUpSettlesAPendingKeptDeletion) {
    const QString pending = u"Relevés/~es du 05-12-2007.orv"_s;
    QDir(folder.path()).mkdir(kKeptFolder);
    const auto write = [&](const QString& name, const QByteArray& bytes) {
        QFile file(folder.filePath(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    };
    write(pending, "removed-records-20b.");
    write(kLedgerTemporaryFile, "kept");
    completeDeletions(app.files);
    EXPECT_EQ(QDir(folder.filePath(kKeptFolder)).entryList(QDir::Files | QDir::Hidden),
              QStringList());
    QFile::remove(folder.filePath(kLedgerTemporaryFile));
    write(pending, "removed-records-20b.");
    completeDeletions(app.files);
    EXPECT_EQ(bytesOf(u"Relevés/es du 05-12-2007.orv"_s), QByteArray("removed-records-20b."));
    EXPECT_FALSE(QFile::exists(folder.filePath(pending)));
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
