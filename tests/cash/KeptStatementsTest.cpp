#include "cash/KeptStatements.h"

#include "TestHelpers.h"

#include <QDirIterator>

namespace vendalise {
namespace {

const QDate kDay(2007, 12, 5);

class KeptStatements : public InScratchDir {
protected:
    // Every file below the folder, by its path from there.
    QStringList allFiles() const {
        QStringList found;
        QDirIterator it(files.current(), QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
        while (it.hasNext())
            found.append(QDir(files.current()).relativeFilePath(it.next()));
        found.sort();
        return found;
    }
};

TEST_F(KeptStatements, KeepTheLedgerByteForByteAndNeverReplaceOne) {
    const QByteArray first("Achat effectu\xe9 le 05/12/2007 par : Jean DUPONT\r\nx\r\n"
                           "Prix total : 15\r\n\r\n");
    writeBytes(u"Compta.orv"_s, first);
    EXPECT_EQ(keepAndEmpty(files, Register::Material, kDay), u"Compta du 05-12-2007.orv"_s);
    EXPECT_EQ(bytesOf(u"Compta.orv"_s), QByteArray());
    EXPECT_EQ(bytesOf(u"Relevés/Compta du 05-12-2007.orv"_s), first);

    writeBytes(u"Compta.orv"_s, "second\r\n");
    writeBytes(u"ComptaBoisson.orv"_s, "boisson\r\n");
    EXPECT_EQ(keepAndEmpty(files, Register::Material, kDay), u"Compta du 05-12-2007 (2).orv"_s);
    EXPECT_EQ(keepAndEmpty(files, Register::Drinks, kDay), u"ComptaBoisson du 05-12-2007.orv"_s);
    EXPECT_EQ(keepAndEmpty(files, Register::Material, kDay.addDays(1)),
              u"Compta du 06-12-2007.orv"_s);
    EXPECT_EQ(bytesOf(u"Relevés/Compta du 05-12-2007.orv"_s), first);
    EXPECT_EQ(bytesOf(u"Relevés/Compta du 05-12-2007 (2).orv"_s), QByteArray("second\r\n"));

    // Listed oldest first, by register, whatever order the names sort in.
    writeBytes(u"Relevés/Compta du 30-11-2007.orv"_s, {});
    writeBytes(u"Relevés/notes.txt"_s, {});
    QStringList names;
    for (const KeptStatement& kept : keptStatements(files, Register::Material))
        names.append(QFileInfo(kept.path).fileName());
    EXPECT_EQ(names,
              (QStringList{u"Compta du 30-11-2007.orv"_s, u"Compta du 05-12-2007.orv"_s,
                           u"Compta du 05-12-2007 (2).orv"_s, u"Compta du 06-12-2007.orv"_s}));
    EXPECT_EQ(keptStatements(files, Register::Drinks).size(), 1);
}

TEST_F(KeptStatements, AMissingLedgerIsMadeEmptyAndNothingIsKept) {
    EXPECT_EQ(keepAndEmpty(files, Register::Drinks, kDay), QString());
    EXPECT_EQ(allFiles(), QStringList{u"ComptaBoisson.orv"_s});
}

// Each write operation of the statement failed in turn: the ledger stays
// whole and no copy, kept or pending, is left.
TEST_F(KeptStatements, AFailureAtAnyStepLeavesTheRegisterWholeAndNoCopy) {
    const QByteArray ledger("Prix total : 15\r\n\r\n");
    int operations = 0;
    files.setFaults([&](FileOp op, const QString&) -> std::optional<QString> {
        if (op != FileOp::OpenRead && op != FileOp::Remove)
            ++operations;
        return std::nullopt;
    });
    writeBytes(u"Compta.orv"_s, ledger);
    keepAndEmpty(files, Register::Material, kDay);
    ASSERT_GT(operations, 6);
    for (int k = 1; k <= operations; ++k) {
        SCOPED_TRACE(k);
        QDir(pathOf(u"Relevés"_s)).removeRecursively();
        writeBytes(u"Compta.orv"_s, ledger);
        int seen = 0;
        files.setFaults([&](FileOp op, const QString&) -> std::optional<QString> {
            if (op != FileOp::OpenRead && op != FileOp::Remove && ++seen == k)
                return u"Le disque est plein."_s;
            return std::nullopt;
        });
        EXPECT_THROW(keepAndEmpty(files, Register::Material, kDay), FileError);
        files.setFaults({});
        EXPECT_EQ(bytesOf(u"Compta.orv"_s), ledger);
        EXPECT_EQ(allFiles(), QStringList{u"Compta.orv"_s});
    }
}

// What a crash leaves: the pending copy, with the ledger emptied or not.
TEST_F(KeptStatements, StartUpSettlesAPendingCopy) {
    const QByteArray ledger("Prix total : 15\r\n\r\n");
    QDir().mkpath(pathOf(u"Relevés"_s));
    // The ledger was emptied (and has had an entry since): the copy is kept.
    writeBytes(u"Relevés/~Compta du 05-12-2007.orv"_s, ledger);
    writeBytes(u"Compta.orv"_s, "Prix total : 2\r\n\r\n");
    // The ledger was not emptied: the statement did not happen.
    writeBytes(u"Relevés/~ComptaBoisson du 05-12-2007.orv"_s, ledger);
    writeBytes(u"ComptaBoisson.orv"_s, ledger + "Prix total : 3\r\n\r\n");
    completeStatements(files);
    EXPECT_EQ(allFiles(), (QStringList{u"Compta.orv"_s, u"ComptaBoisson.orv"_s,
                                       u"Relevés/Compta du 05-12-2007.orv"_s}));
    EXPECT_EQ(bytesOf(u"Relevés/Compta du 05-12-2007.orv"_s), ledger);

    // A pending copy whose own name was taken since takes the next one.
    writeBytes(u"Relevés/~Compta du 05-12-2007.orv"_s, "autre\r\n");
    writeBytes(u"Compta.orv"_s, {});
    completeStatements(files);
    EXPECT_EQ(bytesOf(u"Relevés/Compta du 05-12-2007 (2).orv"_s), QByteArray("autre\r\n"));
    EXPECT_EQ(bytesOf(u"Relevés/Compta du 05-12-2007.orv"_s), ledger);
}

} // namespace
} // namespace vendalise
