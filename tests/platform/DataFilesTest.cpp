#include "platform/DataFiles.h"

#include "SystemTraps.h"
#include "TestHelpers.h"

#include <cstdio>
#include <filesystem>

namespace vendalise {
namespace {

class DataFolder : public InScratchDir {
protected:
    template <class Operation> static FileError::Kind failureOf(Operation operation) {
        try {
            operation();
        } catch (const FileError& error) {
            return error.kind();
        }
        ADD_FAILURE() << "no FileError";
        return FileError::Kind::Other;
    }
};

TEST_F(DataFolder, NamesMatchWithoutRegardToCase) {
    writeBytes(u"ES.orv"_s, "stock");
    writeBytes(u"Adhérents.orv"_s, "membres");

    for (const char* name : {"ES.orv", "es.orv", "Es.ORV"})
        EXPECT_EQ(files.path(QString::fromLatin1(name)), pathOf(u"ES.orv"_s)) << name;
    EXPECT_EQ(files.path(u"ADHÉRENTS.ORV"_s), pathOf(u"Adhérents.orv"_s));
    EXPECT_EQ(files.readLines(u"es.ORV"_s), QStringList{u"stock"_s});

    // Writing through another spelling changes the existing file.
    files.appendText(u"eS.oRv"_s, u"+");
    files.replaceText(u"adhérents.ORV"_s, u"autres");
    EXPECT_EQ(entries(), (QStringList{u"Adhérents.orv"_s, "ES.orv"}));
    EXPECT_EQ(bytesOf(u"ES.orv"_s), QByteArray("stock+"));
    EXPECT_EQ(bytesOf(u"Adhérents.orv"_s), QByteArray("autres"));

    // A name whose accented letters are stored decomposed (as some systems
    // write them) is the same name, in either case.
    const QString stored = u"Releve\u0301s.orv"_s;
    writeBytes(stored, "relevés");
    writeBytes(u"RELEVES.ORV"_s, "autre");
    EXPECT_EQ(files.path(u"Relevés.orv"_s), pathOf(stored));
    EXPECT_EQ(files.path(u"relevÉs.ORV"_s), pathOf(stored));
    EXPECT_EQ(files.readText(u"RELEVÉS.orv"_s), QByteArray("relevés"));
}

// A name looked up before it exists is found under its new spelling once
// the program made it, however soon after: even when the folder's time has
// not moved (a clock as coarse as FAT's).
TEST_F(DataFolder, ANameMadeAfterALookUpIsFoundUnderItsSpelling) {
    // Where a system will not set a folder's time, its time moved anyway.
    const std::filesystem::path folder = pathOf(QString()).toStdWString();
    std::error_code unset;
    const std::filesystem::file_time_type before = std::filesystem::last_write_time(folder, unset);
    EXPECT_EQ(files.path(u"ADHÉRENTS.ORV"_s), pathOf(u"ADHÉRENTS.ORV"_s));
    files.replaceText(pathOf(u"adhérents.orv"_s), u"membres");
    if (!unset)
        std::filesystem::last_write_time(folder, before, unset);
    EXPECT_EQ(files.path(u"ADHÉRENTS.ORV"_s), pathOf(u"adhérents.orv"_s));
    files.removeFile(pathOf(u"adhérents.orv"_s));
    EXPECT_EQ(files.path(u"Adhérents.orv"_s), pathOf(u"Adhérents.orv"_s));
}

TEST_F(DataFolder, MissingFilesAreCreatedEmptyWithTheirSpelling) {
    writeBytes(u"Plein.orv"_s, "contenu");
    files.ensureFile(u"Plein.orv"_s);
    files.ensureFile(u"Vide.Orv"_s);
    EXPECT_EQ(files.readRecords(u"Nouveau.ORV"_s, 4, 10).count(), 0);
    files.appendText(u"Ventes.TXT"_s, u"Thé 2,5 €\r\n");
    files.appendText(u"Ventes.TXT"_s, u"Café\r\n");
    EXPECT_EQ(entries(), (QStringList{"Nouveau.ORV", "Plein.orv", "Ventes.TXT", "Vide.Orv"}));
    EXPECT_EQ(bytesOf(u"Plein.orv"_s), QByteArray("contenu"));
    EXPECT_EQ(bytesOf(u"Vide.Orv"_s), QByteArray());
    EXPECT_EQ(bytesOf(u"Nouveau.ORV"_s), QByteArray());
    EXPECT_EQ(bytesOf(u"Ventes.TXT"_s), QByteArray("Th\xE9 2,5 \x80\r\nCaf\xE9\r\n"));
}

TEST_F(DataFolder, ReadRecordsReadsAReadOnlyFile) {
    writeBytes(u"R.orv"_s, "AAAABBBB");
    ASSERT_TRUE(QFile::setPermissions(pathOf(u"R.orv"_s), QFile::ReadOwner));
    if (QFile(pathOf(u"R.orv"_s)).open(QIODevice::ReadWrite))
        GTEST_SKIP() << "file permissions do not bind this user";
    EXPECT_EQ(files.readRecords(u"R.orv"_s, 4, 10).count(), 2);
}

TEST_F(DataFolder, RecordFileReadsWritesAndAppends) {
    writeBytes(u"R.orv"_s, "AAAABBBBCC");
    {
        RecordFile file(files, u"r.ORV"_s, 4);
        EXPECT_EQ(file.count(), 2);
        EXPECT_EQ(file.read(2), QByteArray("BBBB"));
        file.write(1, "XXXX");
        // The new record goes after the last whole one, over the partial one.
        EXPECT_EQ(file.append("DDDD"), 3);
        EXPECT_EQ(file.count(), 3);
        EXPECT_EQ(file.append("EEEE"), 4);
    }
    EXPECT_EQ(bytesOf(u"R.orv"_s), QByteArray("XXXXBBBBDDDDEEEE"));
}

TEST_F(DataFolder, ReadLinesSplitsAtCrLfOnly) {
    const struct {
        QByteArray bytes;
        QStringList lines;
    } cases[] = {{"a\r\nb", {"a", "b"}},
                 {"a\r\nb\r\n", {"a", "b"}},
                 {"\r\n", {""}},
                 {"a\r\n\r\nb\r\n\r\n", {"a", "", "b", ""}},
                 {"a\nb\r\nc", {"a\nb", "c"}},
                 {"", {}},
                 {"Caf\xE9 \x80\r\n", {u"Café €"_s}}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.bytes.toStdString());
        writeBytes(u"L.txt"_s, c.bytes);
        EXPECT_EQ(files.readLines(u"L.txt"_s), c.lines);
    }
}

TEST_F(DataFolder, ANamedPipeOrAFolderIsAFailureNotAWait) {
    QStringList names{u"Compta.orv"_s};
    ASSERT_TRUE(QDir().mkdir(pathOf(u"Compta.orv"_s)));
    if (const auto why = testing::makeNamedPipe(pathOf(u"Adhérents.orv"_s)))
        std::printf("[ SKIPPED  ] the named pipe: %s\n", qPrintable(*why));
    else
        names.append(u"Adhérents.orv"_s);
    for (const QString& name : names) {
        SCOPED_TRACE(name.toStdString());
        EXPECT_EQ(failureOf([&] { files.readRecords(name, 35, 10); }), FileError::Kind::Other);
        EXPECT_EQ(failureOf([&] { files.readLines(name); }), FileError::Kind::Other);
        EXPECT_EQ(failureOf([&] { files.appendText(name, u"x"); }), FileError::Kind::Other);
        EXPECT_EQ(failureOf([&] { files.replaceText(name, u"x"); }), FileError::Kind::Other);
        EXPECT_EQ(failureOf([&] { RecordFile(files, name, 35); }), FileError::Kind::Other);
    }
}

TEST_F(DataFolder, ReadRecordsReadsNoMoreThanAskedButCountsTheWholeFile) {
    writeBytes(u"R.orv"_s, "AAAABBBBCCCCDDDDE");
    for (const int most : {3, 4}) {
        const Records records = files.readRecords(u"R.orv"_s, 4, most);
        EXPECT_EQ(records.count(), most);
        EXPECT_EQ(records.fileRecords(), 4);
        EXPECT_EQ(records.record(3).toByteArray(), QByteArray("CCCC"));
    }
    // A 3 GB file that takes no disk space: only the records a table holds
    // are read, the length still gives the count.
    {
        QFile file(pathOf(u"Adhérents.orv"_s));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        if (!file.resize(qint64(3) * 1024 * 1024 * 1024))
            GTEST_SKIP() << "this file system refuses a 3 GB file";
    }
    const Records huge = files.readRecords(u"Adhérents.orv"_s, 35, 32767);
    EXPECT_EQ(huge.count(), 32767);
    EXPECT_EQ(huge.fileRecords(), qint64(3) * 1024 * 1024 * 1024 / 35);
}

TEST_F(DataFolder, ATextFileTooLargeToHoldIsRefused) {
    {
        QFile file(pathOf(u"Compta.orv"_s));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        ASSERT_TRUE(file.resize(vendalise::DataFiles::kMaxTextBytes + 1));
    }
    EXPECT_EQ(failureOf([&] { files.readLines(u"Compta.orv"_s); }), FileError::Kind::Other);
}

TEST_F(DataFolder, TablesReadInOneFolderAreNotWrittenIntoAnother) {
    files.setTableFiles({u"Adhérents.orv"_s, u"Produits.orv"_s});
    writeBytes(u"Produits.orv"_s, "AAAA");
    files.tablesReadHere();
    ASSERT_TRUE(QDir().mkdir(pathOf(u"Autre"_s)));
    ASSERT_TRUE(files.setCurrent(pathOf(u"Autre"_s)));

    EXPECT_EQ(failureOf([&] { RecordFile(files, u"PRODUITS.orv"_s, 4); }),
              FileError::Kind::Elsewhere);
    EXPECT_EQ(failureOf([&] { files.replaceText(u"adhérents.orv"_s, u"x"); }),
              FileError::Kind::Elsewhere);
    EXPECT_TRUE(QDir(pathOf(u"Autre"_s)).isEmpty()) << "a file was written in the other folder";
    // Files that mirror no table may still be written there.
    EXPECT_NO_THROW(files.appendText(u"Compta.orv"_s, u"x"));
    // Back in the tables' folder, writing is allowed again.
    ASSERT_TRUE(files.setCurrent(pathOf(u"."_s)));
    EXPECT_NO_THROW(RecordFile(files, u"Produits.orv"_s, 4).append("BBBB"));
    EXPECT_EQ(bytesOf(u"Produits.orv"_s), QByteArray("AAAABBBB"));
}

TEST_F(DataFolder, AFailedAppendIsTakenBack) {
    // Both appends get three bytes written before the limit stops them.
    writeBytes(u"Compta.orv"_s, "ab\r\n");
    writeBytes(u"R.orv"_s, "AAAABB");
    {
        testing::FileSizeLimit limit(7);
        if (limit.unavailable())
            GTEST_SKIP() << "no full disk to simulate: " << limit.unavailable()->toStdString();
        EXPECT_EQ(failureOf([&] { files.appendText(u"Compta.orv"_s, u"une autre ligne\r\n"); }),
                  FileError::Kind::Other);
        // The partial record is written over, then put back.
        EXPECT_EQ(failureOf([&] { RecordFile(files, u"R.orv"_s, 4).append("CCCC"); }),
                  FileError::Kind::Other);
    }
    EXPECT_EQ(bytesOf(u"Compta.orv"_s), QByteArray("ab\r\n"));
    EXPECT_EQ(bytesOf(u"R.orv"_s), QByteArray("AAAABB"));
}

TEST_F(DataFolder, AFailedReplacementLeavesTheOldFileWhole) {
    writeBytes(u"Inventaire.orv"_s, "ancien contenu");
    {
        testing::FileSizeLimit limit(20);
        if (limit.unavailable())
            GTEST_SKIP() << "no full disk to simulate: " << limit.unavailable()->toStdString();
        EXPECT_EQ(failureOf([&] {
                      files.replaceText(u"Inventaire.orv"_s, u"un contenu nouveau, bien plus long");
                  }),
                  FileError::Kind::Other);
    }
    EXPECT_EQ(bytesOf(u"Inventaire.orv"_s), QByteArray("ancien contenu"));
    EXPECT_EQ(entries(), QStringList{u"Inventaire.orv"_s}) << "a temporary file was left";
}

// A record is rewritten only once its former bytes are read: were they
// read short and the write then failed, putting them back would cut the
// file there. A record at the file's end has no former bytes to read.
TEST_F(DataFolder, ARewriteWhoseFormerRecordCannotBeReadWritesNothing) {
    writeBytes(u"R.orv"_s, "AAAABBBBCCCC");
    files.setFaults([](FileOp op, const QString&) -> std::optional<QString> {
        if (op == FileOp::ReadBack)
            return u"Lecture impossible"_s;
        if (op == FileOp::Write)
            return u"Écriture impossible"_s;
        return std::nullopt;
    });
    {
        RecordFile file(files, u"R.orv"_s, 4);
        try {
            file.write(2, "XXXX");
            ADD_FAILURE() << "the rewrite went on";
        } catch (const FileError& error) {
            EXPECT_EQ(error.description(), u"Lecture impossible"_s);
        }
    }
    EXPECT_EQ(bytesOf(u"R.orv"_s), QByteArray("AAAABBBBCCCC"));
    files.setFaults({});
    RecordFile(files, u"R.orv"_s, 4).write(4, "DDDD");
    EXPECT_EQ(bytesOf(u"R.orv"_s), QByteArray("AAAABBBBCCCCDDDD"));
}

TEST_F(DataFolder, TakingAnAppendBackRestoresThePartialRecordItWroteOver) {
    writeBytes(u"R.orv"_s, "AAAABB");
    {
        RecordFile file(files, u"R.orv"_s, 4);
        EXPECT_EQ(file.append("CCCC"), 2);
        file.takeBack();
        // A second take-back has nothing left to undo.
        file.takeBack();
    }
    EXPECT_EQ(bytesOf(u"R.orv"_s), QByteArray("AAAABB"));
}

// A temporary file that cannot be removed after a failure stays, the first
// failure is the one reported, and the next replacement writes over it.
TEST_F(DataFolder, ATemporaryFileLeftByAFailureIsWrittenOverNextTime) {
    writeBytes(u"es.orv"_s, "ancien");
    QList<FileOp> asked;
    files.setFaults([&](FileOp op, const QString&) -> std::optional<QString> {
        asked.append(op);
        if (op == FileOp::Rename)
            return u"Le disque est plein."_s;
        if (op == FileOp::Remove)
            return u"Accès refusé."_s;
        return std::nullopt;
    });
    try {
        files.replaceThrough(u"~ES.orv"_s, u"es.orv"_s, "nouveau contenu");
        ADD_FAILURE() << "the replacement went through";
    } catch (const FileError& error) {
        EXPECT_EQ(error.description(), u"Le disque est plein."_s);
    }
    EXPECT_EQ(asked, (QList<FileOp>{FileOp::OpenWrite, FileOp::Write, FileOp::Flush, FileOp::Sync,
                                    FileOp::SyncFolder, FileOp::Rename, FileOp::Remove}));
    EXPECT_EQ(bytesOf(u"es.orv"_s), QByteArray("ancien"));
    EXPECT_EQ(bytesOf(u"~ES.orv"_s), QByteArray("nouveau contenu"));

    files.setFaults({});
    files.replaceThrough(u"~ES.orv"_s, u"es.orv"_s, "neuf");
    EXPECT_EQ(bytesOf(u"es.orv"_s), QByteArray("neuf"));
    EXPECT_EQ(entries(), QStringList{u"es.orv"_s});
}

TEST_F(DataFolder, ACopyReplacesItsTargetWholeOrNotAtAll) {
    writeBytes(u"es.orv"_s, "nouveau");
    ASSERT_TRUE(QDir().mkdir(pathOf(u"Clé"_s)));
    writeBytes(u"Clé/ES.ORV"_s, "ancien");

    // A copy that fails before its rename leaves the old copy and no
    // temporary file.
    files.setFaults([](FileOp op, const QString&) -> std::optional<QString> {
        if (op == FileOp::Rename)
            return u"Le disque est plein."_s;
        return std::nullopt;
    });
    EXPECT_EQ(failureOf([&] { files.copyFile(u"ES.orv"_s, pathOf(u"Clé/es.orv"_s)); }),
              FileError::Kind::Other);
    EXPECT_EQ(bytesOf(u"Clé/ES.ORV"_s), QByteArray("ancien"));
    EXPECT_EQ(QDir(pathOf(u"Clé"_s)).entryList(QDir::Files), QStringList{u"ES.ORV"_s});

    // The existing copy of any spelling is the one replaced.
    files.setFaults({});
    files.copyFile(u"ES.orv"_s, pathOf(u"Clé/es.orv"_s));
    EXPECT_EQ(bytesOf(u"Clé/ES.ORV"_s), QByteArray("nouveau"));
    EXPECT_EQ(QDir(pathOf(u"Clé"_s)).entryList(QDir::Files), QStringList{u"ES.ORV"_s});

    // A missing source, a missing folder and the file itself are failures.
    EXPECT_EQ(failureOf([&] { files.copyFile(u"Absent.orv"_s, pathOf(u"Clé/Absent.orv"_s)); }),
              FileError::Kind::Missing);
    EXPECT_EQ(failureOf([&] { files.copyFile(u"es.orv"_s, pathOf(u"Nulle/es.orv"_s)); }),
              FileError::Kind::Missing);
    EXPECT_EQ(failureOf([&] { files.copyFile(u"es.orv"_s, pathOf(u"ES.ORV"_s)); }),
              FileError::Kind::Other);
    EXPECT_EQ(bytesOf(u"es.orv"_s), QByteArray("nouveau"));
}

// A copy is read back under its temporary name: one that holds other bytes
// than its source (a key that lost them) is a failed copy, told as one that
// could not be made, removed, and the copy made before stays.
TEST_F(DataFolder, ACopyThatReadsBackOtherwiseFailsAndLeavesTheCopyBefore) {
    writeBytes(u"es.orv"_s, "nouveau");
    writeBytes(u"copie.orv"_s, "ancien");
    files.setFaults([this](FileOp op, const QString& path) -> std::optional<QString> {
        if (op == FileOp::ReadBack)
            for (const QString& name : entries())
                if (name.startsWith(QFileInfo(path).fileName() + u'.')) {
                    QFile copy(pathOf(name));
                    EXPECT_TRUE(copy.open(QIODevice::WriteOnly | QIODevice::Truncate));
                    copy.write("nouvea");
                }
        return std::nullopt;
    });
    try {
        files.copyFile(u"es.orv"_s, pathOf(u"copie.orv"_s));
        ADD_FAILURE() << "the copy that differs was taken as made";
    } catch (const FileError& error) {
        EXPECT_EQ(error.description(), u"La copie relue diffère de son original"_s);
    }
    EXPECT_EQ(bytesOf(u"copie.orv"_s), QByteArray("ancien"));
    EXPECT_EQ(entries(), (QStringList{u"copie.orv"_s, u"es.orv"_s}));
}

} // namespace
} // namespace vendalise
