#include "restore/Restore.h"

#include "backup/Manifest.h"
#include "catalogue/ProductTable.h"
#include "members/MemberTable.h"
#include "platform/Cp1252.h"
#include "sales/Ledger.h"

#include "TestHelpers.h"

#include <QDirIterator>

#include <map>

namespace vendalise {
namespace {

// Stands for the end of the process at a write operation: it leaves
// restoreSet as a crash would, with nothing put back.
struct Crash {};

using Snapshot = std::map<QString, QByteArray>;

class Restoring : public InScratchDir {
protected:
    void SetUp() override {
        InScratchDir::SetUp();
        // The live files, the inventory, and yesterday's copies.
        writeFiles({}, 2, "live");
        writeBytes(u"Inventaire.orv"_s, "Balles\r\n");
        writeFiles(u" du 04-12-07"_s, 5, "copy");
        now = QDateTime(QDate(2007, 12, 5), QTime(9, 41));
        // The history: A was kept before yesterday's backup, B after it.
        QDir().mkpath(pathOf(u"Relevés"_s));
        writeBytes(u"Relevés/A.orv"_s, "avant\r\n");
        writeBytes(u"Relevés/B.orv"_s, "après\r\n");
    }
    // Yesterday's set on the key, with its manifest: the five as the dated
    // copies, and A and C kept then (C since lost from the data directory),
    // both on the key.
    BackupSet keySet() {
        QDir().mkpath(pathOf(u"Clé/Relevés"_s));
        Manifest manifest{now.addDays(-1), {}};
        for (const BackedUpFile& file : backedUpFiles()) {
            writeBytes(u"Clé/"_s + file.copy, copied(BackedUp(&file - &backedUpFiles()[0])));
            manifest.entries.append(manifestEntry(file.copy, bytesOf(u"Clé/"_s + file.copy)));
        }
        writeBytes(u"Clé/Relevés/A.orv"_s, "avant\r\n");
        writeBytes(u"Clé/Relevés/C.orv"_s, "perdu\r\n");
        manifest.entries.append(manifestEntry(keptEntryName(u"A.orv"_s), "avant\r\n"));
        manifest.entries.append(manifestEntry(keptEntryName(u"C.orv"_s), "perdu\r\n"));
        writeBytes(u"Clé/Sauvegarde.txt"_s, toCp1252(manifestText(manifest)));
        BackupSet set = findBackupSets(files.current(), pathOf(u"Clé"_s)).value(0);
        readBackupSet(set);
        EXPECT_TRUE(set.restorable()) << set.faults().join(u'|').toStdString();
        return set;
    }
    // The kept files of the data directory.
    QStringList history() const { return keptFileNames(pathOf(u"Relevés"_s)); }
    // The five files, under their live names or as dated copies.
    void writeFiles(const QString& suffix, int members, const QByteArray& text) {
        const auto name = [&](BackedUp file) {
            return suffix.isEmpty() ? backedUp(file).live : backedUp(file).copy + suffix;
        };
        QByteArray people;
        for (int m = 0; m < members; ++m)
            people += memberRecord(u"MEMBRE"_s, QString::fromLatin1(text));
        writeBytes(name(BackedUp::Members), people);
        writeBytes(name(BackedUp::Products), productRecord(QString::fromLatin1(text), 2, 3));
        writeBytes(name(BackedUp::Ledger), ledgerRecord({u"05/12/2007"_s, 1, 1, 2, kOwed}));
        writeBytes(name(BackedUp::MaterialLedger), "Correction de caisse : " + text + "\r\n");
        writeBytes(name(BackedUp::DrinksLedger), text);
    }
    BackupSet yesterday() {
        const QList<BackupSet> sets = findBackupSets(files.current(), {});
        for (BackupSet set : sets)
            if (set.kind == BackupSet::Kind::Dated) {
                readBackupSet(set);
                return set;
            }
        ADD_FAILURE() << "no dated set";
        return {};
    }
    // Every file below the folder, by its path from it.
    Snapshot snapshot() const {
        Snapshot all;
        QDirIterator it(files.current(), QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString path = it.next();
            QFile file(path);
            EXPECT_TRUE(file.open(QIODevice::ReadOnly));
            all[QDir(files.current()).relativeFilePath(path)] = file.readAll();
        }
        return all;
    }
    QByteArray live(BackedUp file) const { return bytesOf(backedUp(file).live); }
    QByteArray copied(BackedUp file) const {
        return bytesOf(backedUp(file).copy + u" du 04-12-07"_s);
    }
    // The five live files are all the former ones or all the set's.
    void expectWhole(const Snapshot& before, const QString& point) {
        int restored = 0, former = 0;
        for (int f = 0; f < kBackedUpCount; ++f) {
            const QByteArray bytes = live(BackedUp(f));
            restored += bytes == copied(BackedUp(f));
            former += bytes == before.at(backedUp(BackedUp(f)).live);
        }
        EXPECT_TRUE(restored == kBackedUpCount || former == kBackedUpCount)
            << point.toStdString() << ": " << restored << " restored, " << former << " former";
        // The history goes with them.
        if (withHistory) {
            EXPECT_EQ(history(), restored == kBackedUpCount ? (QStringList{u"A.orv"_s, u"C.orv"_s})
                                                            : (QStringList{u"A.orv"_s, u"B.orv"_s}))
                << point.toStdString();
            EXPECT_EQ(bytesOf(u"Relevés/A.orv"_s),
                      QByteArray(restored == kBackedUpCount ? "avant\r\n" : "remplacé\r\n"))
                << point.toStdString();
        }
        EXPECT_EQ(bytesOf(u"Inventaire.orv"_s), "Balles\r\n");
    }

    QDateTime now;
    bool withHistory = false;
};

TEST_F(Restoring, PutsTheSetInPlaceAndKeepsTheFormerFilesByteForByte) {
    const Snapshot before = snapshot();
    const QString kept = restoreSet(files, yesterday(), now);
    EXPECT_EQ(kept, u"Avant restauration du 05-12-2007 09h41"_s);
    for (int f = 0; f < kBackedUpCount; ++f) {
        EXPECT_EQ(live(BackedUp(f)), copied(BackedUp(f))) << f;
        EXPECT_EQ(bytesOf(kept + u'/' + backedUp(BackedUp(f)).copy),
                  before.at(backedUp(BackedUp(f)).live))
            << f;
    }
    EXPECT_EQ(bytesOf(u"Inventaire.orv"_s), "Balles\r\n");
    // Nothing of the restore's own is left, and start-up has nothing to do.
    for (const QString& name : entries())
        EXPECT_FALSE(name.startsWith(u'~')) << name.toStdString();
    EXPECT_EQ(completeRestore(files), QString());

    // The kept set is listed, and restoring it undoes the restore; a
    // second restore of the same minute keeps its files apart.
    const QList<BackupSet> sets = findBackupSets(files.current(), {});
    ASSERT_EQ(sets.size(), 2);
    BackupSet undo = sets[0];
    ASSERT_EQ(undo.kind, BackupSet::Kind::BeforeRestore);
    readBackupSet(undo);
    ASSERT_TRUE(undo.restorable());
    EXPECT_EQ(undo.files[int(BackedUp::Members)].records, 2);
    EXPECT_EQ(restoreSet(files, undo, now), kept + u" (2)"_s);
    for (int f = 0; f < kBackedUpCount; ++f)
        EXPECT_EQ(live(BackedUp(f)), before.at(backedUp(BackedUp(f)).live)) << f;
    EXPECT_EQ(findBackupSets(files.current(), {}).size(), 3);
    // A set without a manifest leaves the history as it is.
    EXPECT_EQ(history(), (QStringList{u"A.orv"_s, u"B.orv"_s}));
}

// A set with a manifest puts the history back as it was: B, kept after it,
// goes with the former files, A stays, C comes back from the key; restoring
// the folder of the former files puts back exactly their history. A set
// that lists a kept file a later restore took with the former files finds
// it there and brings it back.
TEST_F(Restoring, PutsTheHistoryBackAsTheSetKnewItAndUndoesThat) {
    Manifest dated{now.addDays(-1), {}};
    for (const BackedUpFile& file : backedUpFiles())
        dated.entries.append(manifestEntry(file.copy, bytesOf(file.copy + u" du 04-12-07"_s)));
    for (const QString& name : history())
        dated.entries.append(manifestEntry(keptEntryName(name), bytesOf(u"Relevés/"_s + name)));
    writeBytes(u"Sauvegarde.txt du 04-12-07"_s, toCp1252(manifestText(dated)));
    const Snapshot before = snapshot();
    const QString kept = restoreSet(files, keySet(), now);
    EXPECT_EQ(history(), (QStringList{u"A.orv"_s, u"C.orv"_s}));
    EXPECT_EQ(bytesOf(u"Relevés/C.orv"_s), "perdu\r\n");
    EXPECT_EQ(keptFileNames(pathOf(kept + u"/Relevés"_s)), QStringList{u"B.orv"_s});

    BackupSet undo = findBackupSets(files.current(), {}).value(0);
    ASSERT_EQ(undo.label, kept);
    readBackupSet(undo);
    ASSERT_TRUE(undo.restorable()) << undo.faults().join(u'|').toStdString();
    const QString again = restoreSet(files, undo, now);
    EXPECT_EQ(history(), (QStringList{u"A.orv"_s, u"B.orv"_s}));
    EXPECT_EQ(keptFileNames(pathOf(again + u"/Relevés"_s)), QStringList{u"C.orv"_s});
    for (const auto& [name, bytes] : before)
        if (!name.startsWith(u"Clé/")) {
            EXPECT_EQ(bytesOf(name), bytes) << name.toStdString();
        }

    const QString third = restoreSet(files, keySet(), now);
    EXPECT_EQ(history(), (QStringList{u"A.orv"_s, u"C.orv"_s}));
    BackupSet set = yesterday();
    ASSERT_TRUE(set.restorable()) << set.faults().join(u'|').toStdString();
    ASSERT_EQ(set.kept.size(), 2);
    EXPECT_TRUE(set.kept[1].path.contains(u"/Avant restauration du "_s));
    restoreSet(files, set, now);
    EXPECT_EQ(history(), (QStringList{u"A.orv"_s, u"B.orv"_s}));
    EXPECT_EQ(bytesOf(u"Relevés/B.orv"_s), "après\r\n");
    EXPECT_EQ(keptFileNames(pathOf(third + u"/Relevés"_s)), QStringList{u"B.orv"_s});

    // A file kept since under the name B had, with other bytes, is replaced
    // by the one listed and kept with the former files.
    writeBytes(u"Relevés/B.orv"_s, "autre\r\n");
    const QString fourth = restoreSet(files, yesterday(), now);
    EXPECT_EQ(bytesOf(u"Relevés/B.orv"_s), "après\r\n");
    EXPECT_EQ(bytesOf(fourth + u"/Relevés/B.orv"_s), "autre\r\n");
}

// A journal written before kept files had steps of their own (the five
// files' alone) is carried out as it says.
TEST_F(Restoring, AJournalOfTheFiveFilesAloneIsCarriedOut) {
    QDir().mkpath(pathOf(u"~Restauration"_s));
    QString text = u"Vendalise restauration\r\nterminer\r\n04/12/2007\r\n"
                   u"Avant restauration du 05-12-2007 09h41\r\n"_s;
    for (const BackedUpFile& file : backedUpFiles()) {
        writeBytes(u"~Restauration/"_s + file.live, "restauré " + file.copy.toUtf8());
        text += u"~Restauration/"_s + file.live + u'\t' + file.live + u"\r\n"_s;
    }
    writeBytes(u"~Restauration/Restauration.jnl"_s, toCp1252(text));
    EXPECT_EQ(completeRestore(files), u"La restauration du 04/12/2007 a été terminée."_s);
    for (const BackedUpFile& file : backedUpFiles())
        EXPECT_EQ(bytesOf(file.live), "restauré " + file.copy.toUtf8());
    EXPECT_FALSE(QFileInfo::exists(pathOf(u"~Restauration"_s)));
    EXPECT_EQ(history(), (QStringList{u"A.orv"_s, u"B.orv"_s}));
}

TEST_F(Restoring, ASetThatCannotBeRestoredChangesNothing) {
    BackupSet set = yesterday();
    writeBytes(u"es.orv du 04-12-07"_s, ledgerRecord({u"05/12/2007"_s, 1, 1, 2, kOwed}) + "x");
    const Snapshot before = snapshot();
    EXPECT_THROW(restoreSet(files, set, now), FileError);
    EXPECT_EQ(snapshot(), before);
    set.files[int(BackedUp::Members)].path.clear();
    EXPECT_THROW(restoreSet(files, set, now), FileError);
    EXPECT_EQ(snapshot(), before);
}

// Each write operation of a restore failing in turn: the failure is
// thrown and every file is as it was, no file or folder of the restore's
// left. Then each one ending the process: start-up finds the journal and
// carries it out, and the five files are all former or all restored.
TEST_F(Restoring, EveryFailureAndEveryCrashLeavesAllOrNothing) {
    // A, kept again since under its name, is replaced by the set's.
    writeBytes(u"Relevés/A.orv"_s, "remplacé\r\n");
    const BackupSet set = keySet();
    withHistory = true;
    const Snapshot before = snapshot();
    const QStringList beforeEntries = entries();
    int writes = 0;
    int failAt = 0; // 0: nothing fails
    bool crash = false;
    int crashAt = 0; // a crash after the failure, while it is put back
    files.setFaults([&](FileOp op, const QString&) -> std::optional<QString> {
        if (op == FileOp::OpenRead || op == FileOp::ReadBack || failAt == 0)
            return std::nullopt;
        ++writes;
        if (writes == crashAt)
            throw Crash{};
        if (writes != failAt)
            return std::nullopt;
        if (crash)
            throw Crash{};
        return u"Le disque est plein."_s;
    });
    // Counted once.
    failAt = -1;
    restoreSet(files, set, now);
    const int count = writes;
    ASSERT_GT(count, 20);

    const auto putBack = [&] {
        for (const QString& name : entries())
            if (beforeEntries.contains(name))
                continue;
            else if (QFileInfo(pathOf(name)).isDir())
                QDir(pathOf(name)).removeRecursively();
            else
                QFile::remove(pathOf(name));
        for (const QString& name : QDir(pathOf(u"Relevés"_s)).entryList(QDir::Files))
            if (!before.count(u"Relevés/"_s + name))
                QFile::remove(pathOf(u"Relevés/"_s + name));
        for (const auto& [name, bytes] : before)
            writeBytes(name, bytes);
    };
    int finished = 0;
    for (int k = 1; k <= count; ++k) {
        for (const bool killed : {false, true}) {
            putBack();
            const std::string point = "write " + std::to_string(k) + (killed ? " killed" : "");
            writes = 0;
            failAt = k;
            crash = killed;
            if (!killed) {
                EXPECT_THROW(restoreSet(files, set, now), FileError) << point;
                EXPECT_EQ(snapshot(), before) << point;
                EXPECT_EQ(entries(), beforeEntries) << point;
                continue;
            }
            EXPECT_THROW(restoreSet(files, set, now), Crash) << point;
            failAt = 0;
            finished += completeRestore(files).endsWith(u"a été terminée."_s);
            expectWhole(before, QString::fromStdString(point));
            // Nothing of the restore's own is left, not even a temporary
            // file that the crash left half-written.
            for (const QString& name : entries())
                EXPECT_FALSE(name.startsWith(u'~')) << point << " " << name.toStdString();
        }
    }
    // The crashes after the journal was written were carried to the end.
    EXPECT_GT(finished, 5);

    // The commit itself failing, then a crash at each step of putting the
    // former files back: start-up puts them back.
    int putBackPoints = 0;
    for (int k = count + 1;; ++k) {
        putBack();
        writes = 0;
        failAt = count;
        crash = false;
        crashAt = k;
        bool crashed = false;
        try {
            restoreSet(files, set, now);
        } catch (const FileError&) {
        } catch (const Crash&) {
            crashed = true;
        }
        failAt = 0;
        crashAt = 0;
        if (!crashed)
            break;
        // Until the journal is turned round, the restore stands (start-up
        // carries it to its end if its journal is still there).
        const QString told = completeRestore(files);
        expectWhole(before, QString::number(k));
        if (told.contains(u"les fichiers d'avant elle ont été remis"_s)) {
            ++putBackPoints;
            EXPECT_EQ(live(BackedUp::Members), before.at(backedUp(BackedUp::Members).live)) << k;
        }
    }
    EXPECT_GT(putBackPoints, 5);
}

} // namespace
} // namespace vendalise
