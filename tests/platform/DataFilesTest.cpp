#include "platform/DataFiles.h"

#include "TestHelpers.h"

namespace vendalise {
namespace {

class DataFiles : public InScratchDir {
protected:
    template <class Operation>
    static FileError::Kind failureOf(Operation operation, const QString& path) {
        try {
            operation(path);
        } catch (const FileError& error) {
            return error.kind();
        }
        ADD_FAILURE() << "no FileError for " << path.toStdString();
        return FileError::Kind::Other;
    }
};

TEST_F(DataFiles, NamesMatchWithoutRegardToCase) {
    writeBytes(u"ES.orv"_s, "stock");
    writeBytes(u"Adhérents.orv"_s, "membres");

    for (const char* name : {"ES.orv", "es.orv", "Es.ORV"})
        EXPECT_EQ(resolvePath(QString::fromLatin1(name)), u"ES.orv"_s) << name;
    EXPECT_EQ(resolvePath(u"ADHÉRENTS.ORV"_s), u"Adhérents.orv"_s);
    EXPECT_EQ(readLines(u"es.ORV"_s), QStringList{u"stock"_s});

    // Writing through another spelling changes the existing file.
    appendText(u"eS.oRv"_s, u"+");
    replaceText(u"adhérents.ORV"_s, u"autres");
    EXPECT_EQ(entries(), (QStringList{u"Adhérents.orv"_s, "ES.orv"}));
    EXPECT_EQ(bytesOf(u"ES.orv"_s), QByteArray("stock+"));
    EXPECT_EQ(bytesOf(u"Adhérents.orv"_s), QByteArray("autres"));
}

TEST_F(DataFiles, CheckReadableTellsMissingFromOtherFailures) {
    writeBytes(u"Present.orv"_s, "x");
    ASSERT_TRUE(QDir().mkdir(u"Dossier.orv"_s));
    EXPECT_NO_THROW(checkReadable(u"present.ORV"_s));
    EXPECT_EQ(failureOf(checkReadable, u"Absent.orv"_s), FileError::Kind::Missing);
    EXPECT_EQ(failureOf(checkReadable, u"Nulle/Part.orv"_s), FileError::Kind::Missing);
    EXPECT_EQ(failureOf(checkReadable, u"Dossier.orv"_s), FileError::Kind::Other);
    EXPECT_EQ(failureOf(readLines, u"Absent.txt"_s), FileError::Kind::Missing);
}

TEST_F(DataFiles, MissingFilesAreCreatedEmptyWithTheirSpelling) {
    writeBytes(u"Plein.orv"_s, "contenu");
    ensureFile(u"Plein.orv"_s);
    ensureFile(u"Vide.Orv"_s);
    EXPECT_EQ(readRecords(u"Nouveau.ORV"_s, 4).count(), 0);
    appendText(u"Ventes.TXT"_s, u"Thé 2,5 €\r\n");
    appendText(u"Ventes.TXT"_s, u"Café\r\n");
    EXPECT_EQ(entries(), (QStringList{"Nouveau.ORV", "Plein.orv", "Ventes.TXT", "Vide.Orv"}));
    EXPECT_EQ(bytesOf(u"Plein.orv"_s), QByteArray("contenu"));
    EXPECT_EQ(bytesOf(u"Vide.Orv"_s), QByteArray());
    EXPECT_EQ(bytesOf(u"Nouveau.ORV"_s), QByteArray());
    EXPECT_EQ(bytesOf(u"Ventes.TXT"_s), QByteArray("Th\xE9 2,5 \x80\r\nCaf\xE9\r\n"));
}

TEST_F(DataFiles, ReadRecordsIgnoresAPartialRecord) {
    writeBytes(u"R.orv"_s, "AAAABBBBCC");
    const Records records = readRecords(u"R.orv"_s, 4);
    ASSERT_EQ(records.count(), 2);
    EXPECT_EQ(records.record(1).toByteArray(), QByteArray("AAAA"));
    EXPECT_EQ(records.record(2).toByteArray(), QByteArray("BBBB"));
}

TEST_F(DataFiles, ReadRecordsReadsAReadOnlyFile) {
    writeBytes(u"R.orv"_s, "AAAABBBB");
    ASSERT_TRUE(QFile::setPermissions(u"R.orv"_s, QFile::ReadOwner));
    if (QFile(u"R.orv"_s).open(QIODevice::ReadWrite))
        GTEST_SKIP() << "file permissions do not bind this user";
    EXPECT_EQ(readRecords(u"R.orv"_s, 4).count(), 2);
}

TEST_F(DataFiles, RecordFileReadsWritesAndAppends) {
    writeBytes(u"R.orv"_s, "AAAABBBBCC");
    {
        RecordFile file(u"r.ORV"_s, 4);
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

TEST_F(DataFiles, ReadLinesSplitsAtCrLfOnly) {
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
        EXPECT_EQ(readLines(u"L.txt"_s), c.lines);
    }
}

TEST_F(DataFiles, ReplaceLeavesExactlyTheNewBytesAndNoTemporaryFile) {
    writeBytes(u"Param.orv"_s, "un contenu bien plus long");
    replaceFile(u"Param.orv"_s, QByteArray("\x01\x00\x02", 3));
    EXPECT_EQ(bytesOf(u"Param.orv"_s), QByteArray("\x01\x00\x02", 3));
    replaceText(u"Param.orv"_s, u"Zoé");
    EXPECT_EQ(bytesOf(u"Param.orv"_s), QByteArray("Zo\xE9"));
    replaceText(u"Neuf.txt"_s, u"x");
    EXPECT_EQ(entries(), (QStringList{"Neuf.txt", "Param.orv"}));
}

} // namespace
} // namespace vendalise
