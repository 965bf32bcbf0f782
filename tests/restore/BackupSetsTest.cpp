#include "restore/BackupSets.h"
#include "restore/Restore.h"

#include "catalogue/ProductTable.h"
#include "members/MemberTable.h"
#include "platform/Cp1252.h"
#include "sales/Ledger.h"

#include "TestHelpers.h"

#include <QFile>

namespace vendalise {
namespace {

class BackupSets : public InScratchDir {
protected:
    // A whole set of the five files under the given suffix, in a folder.
    void writeSet(const QString& folder, const QString& suffix, int members) {
        QDir().mkpath(pathOf(folder));
        QByteArray people;
        for (int m = 0; m < members; ++m)
            people += memberRecord(u"MEMBRE"_s, u"Prénom"_s);
        write(folder, u"Adhérents.orv"_s + suffix, people);
        write(folder, u"Produits.orv"_s + suffix, productRecord(u"Tee-shirt", 7.5f, 10));
        write(folder, u"es.orv"_s + suffix,
              ledgerRecord({u"05/12/2007"_s, 1, 1, 2, kOwed}) +
                  ledgerRecord({u"06/12/2007"_s, 1, 1, 1, kPaid}));
        write(folder, u"compta.orv"_s + suffix,
              toCp1252(u"Achat effectué le 05/12/2007 par : Jean DUPONT\r\nx\r\n"
                       u"Prix unitaire : 7,5 - Prix total : 15\r\n\r\n"
                       u"Correction de caisse effectué le 06/12/2007\r\n\r\n"
                       u"Correction de caisse : -2,5\r\n\r\n"_s));
        write(folder, u"ComptaBoisson.orv"_s + suffix, {});
    }
    void write(const QString& folder, const QString& name, const QByteArray& bytes) {
        writeBytes(folder.isEmpty() ? name : folder + u'/' + name, bytes);
    }
};

TEST_F(BackupSets, AreListedNewestFirstWithWhatTheyHold) {
    writeSet({}, u" du 04-12-07"_s, 2);
    writeSet({}, u" du 05-12-07"_s, 3);
    writeSet(u"Avant restauration du 05-12-2007 14h30"_s, {}, 1);
    writeSet(u"Clé"_s, {}, 4);
    // The live files and other names are not a set.
    writeSet({}, {}, 5);
    write({}, u"notes du 05-12-07.txt"_s, "x");

    QList<BackupSet> sets = findBackupSets(files.current(), pathOf(u"Clé"_s));
    ASSERT_EQ(sets.size(), 4);
    // Listed without being read.
    EXPECT_FALSE(sets[2].restorable());
    for (BackupSet& set : sets)
        readBackupSet(set);
    // The backup folder's files were written last.
    EXPECT_EQ(sets[0].kind, BackupSet::Kind::BackupFolder);
    EXPECT_EQ(sets[0].files[int(BackedUp::Members)].records, 4);
    EXPECT_EQ(sets[1].kind, BackupSet::Kind::BeforeRestore);
    EXPECT_EQ(sets[1].when, QDateTime(QDate(2007, 12, 5), QTime(14, 30)));
    EXPECT_EQ(sets[2].label, u"Copies du 05/12/2007"_s);
    EXPECT_EQ(sets[3].label, u"Copies du 04/12/2007"_s);
    const BackupSet& set = sets[2];
    EXPECT_TRUE(set.restorable());
    EXPECT_EQ(set.files[int(BackedUp::Members)].records, 3);
    EXPECT_EQ(set.files[int(BackedUp::Products)].records, 1);
    EXPECT_EQ(set.files[int(BackedUp::Ledger)].records, 2);
    EXPECT_EQ(set.files[int(BackedUp::MaterialLedger)].entries, 2);
    EXPECT_EQ(set.files[int(BackedUp::MaterialLedger)].total, 12.5f);
    EXPECT_EQ(set.files[int(BackedUp::DrinksLedger)].entries, 0);
}

TEST_F(BackupSets, ASetMissingAFileOrEndingInAPartialRecordCannotBeRestored) {
    writeSet({}, u" du 04-12-07"_s, 2);
    writeSet({}, u" du 05-12-07"_s, 2);
    QFile::remove(pathOf(u"compta.orv du 04-12-07"_s));
    write({}, u"es.orv du 05-12-07"_s, ledgerRecord({u"05/12/2007"_s, 1, 1, 2, kOwed}) + "xx");
    QList<BackupSet> sets = findBackupSets(files.current(), {});
    ASSERT_EQ(sets.size(), 2);
    for (BackupSet& set : sets)
        readBackupSet(set);
    EXPECT_FALSE(sets[0].restorable());
    EXPECT_TRUE(sets[0].files[int(BackedUp::Ledger)].partial);
    EXPECT_EQ(sets[0].files[int(BackedUp::Ledger)].records, 1);
    EXPECT_FALSE(sets[1].restorable());
    EXPECT_TRUE(sets[1].files[int(BackedUp::MaterialLedger)].path.isEmpty());
    EXPECT_TRUE(sets[1].files[int(BackedUp::Members)].readable);
}

// A set with a manifest is whole when every file it lists is as listed: a
// copy on the key that the last backup could not replace, or a kept
// statement that is nowhere, keeps it from being restored.
TEST_F(BackupSets, WithAManifestAreWholeOnlyWhenEveryFileMatchesIt) {
    writeSet(u"Clé"_s, {}, 2);
    ASSERT_TRUE(QDir().mkpath(pathOf(u"Relevés"_s)));
    writeBytes(u"Relevés/Compta du 30-11-2007.orv"_s, "Vente\r\n");
    Manifest manifest{QDateTime(QDate(2007, 12, 5), QTime(9, 41, 7)), {}};
    for (const BackedUpFile& file : backedUpFiles())
        manifest.entries.append(manifestEntry(file.copy, bytesOf(u"Clé/"_s + file.copy)));
    manifest.entries.append(
        manifestEntry(keptEntryName(u"Compta du 30-11-2007.orv"_s), "Vente\r\n"));
    const QString text = manifestText(manifest);
    writeBytes(u"Clé/Sauvegarde.txt"_s, toCp1252(text));
    const auto read = readManifest(toCp1252(text));
    ASSERT_TRUE(read);
    EXPECT_EQ(read->made, manifest.made);
    EXPECT_EQ(read->keptNames(), QStringList{u"Compta du 30-11-2007.orv"_s});
    EXPECT_FALSE(readManifest("Vendalise sauvegarde\r\nFaite le 05/12/2007\r\n"));

    const auto keySet = [&] {
        BackupSet set = findBackupSets(files.current(), pathOf(u"Clé"_s)).value(0);
        readBackupSet(set);
        return set;
    };
    // Found in the data directory's "Relevés" when the key has none.
    BackupSet set = keySet();
    EXPECT_TRUE(set.restorable()) << set.faults().join(u'|').toStdString();
    EXPECT_EQ(set.made, manifest.made);
    // Its restore is named by that time, not by its files' times on the key.
    EXPECT_EQ(restoreDate(set), u"05/12/2007 à 09h41"_s);
    ASSERT_EQ(set.kept.size(), 1);
    EXPECT_EQ(set.kept[0].path, pathOf(u"Relevés/Compta du 30-11-2007.orv"_s));

    writeBytes(u"Relevés/Compta du 30-11-2007.orv"_s, "Autre\r\n");
    write(u"Clé"_s, u"ComptaBoisson.orv"_s, "x");
    set = keySet();
    EXPECT_FALSE(set.restorable());
    EXPECT_EQ(set.faults(), (QStringList{u"Il manque Relevés/Compta du 30-11-2007.orv"_s,
                                         u"ComptaBoisson.orv autre que dans Sauvegarde.txt"_s}));
}

// The names a backup gives are read back by the same part that writes them.
TEST(BackupNames, AreReadAsTheyAreWritten) {
    const QString suffix = DateMF(QDate(2008, 1, 1));
    EXPECT_EQ(suffix, u" du 01-01-08"_s);
    const auto dated = readDatedName(u"es.orv"_s + suffix);
    ASSERT_TRUE(dated);
    EXPECT_EQ(dated->day, QDate(2008, 1, 1));
    EXPECT_EQ(backedUpIndex(QStringView(u"ES.ORV du 01-01-08").left(dated->stem)),
              int(BackedUp::Ledger));
    EXPECT_FALSE(readDatedName(u"es.orv du 31-02-08"_s));
    EXPECT_FALSE(readDatedName(u" du 01-01-08"_s));

    const QDateTime when(QDate(2007, 12, 5), QTime(9, 41));
    EXPECT_EQ(beforeRestoreName(when, 2), u"Avant restauration du 05-12-2007 09h41 (2)"_s);
    EXPECT_EQ(readBeforeRestoreName(beforeRestoreName(when, 2)), when);
    EXPECT_FALSE(readBeforeRestoreName(u"Avant restauration du 05-12-2007"_s));
}

} // namespace
} // namespace vendalise
