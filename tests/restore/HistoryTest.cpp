#include "bilans/Figures.h"
#include "cash/KeptStatements.h"
#include "catalogue/Catalogue.h"
#include "catalogue/ProductTable.h"
#include "core/Names.h"
#include "members/MemberTable.h"
#include "platform/NumberForm.h"
#include "restore/Restore.h"
#include "sales/Ledger.h"
#include "sales/Purchase.h"
#include "sales/Settlement.h"
#include "shell/Backup.h"
#include "shell/Startup.h"

#include "TestProgram.h"

#include <QDir>
#include <QFile>

#include <map>
#include <random>

namespace vendalise {

using namespace Qt::StringLiterals;
namespace {

// What the registers received and the shop sold, as the test itself
// recorded it, for one state of the files: every receipt on its own (two
// coffees alike are two), every sale, and the ledger's lines as they stand.
struct State {
    struct Line {
        int product = 0;
        int member = 0;
        float quantity = 0;
        bool paid = false;
    };
    QList<Line> lines;
    QList<double> receipts[2];
    int sales = 0;
    double sold = 0;
};

// The club: a material product and a drink, two members.
struct Product {
    QString name;
    float price;
};
const Product kProducts[] = {{u"Tee-shirt"_s, 7.5f}, {u"*Café"_s, 1.5f}};
const QString kMembers[][2] = {{u"DUPONT"_s, u"Jean"_s}, {u"MARTIN"_s, u"Paul"_s}};

int registerOfProduct(int product) {
    return static_cast<int>(registerOf(kProducts[product - 1].name));
}

class History : public testing::TestProgram {
protected:
    // A fresh club and key for each seed, from the same day.
    void start(unsigned seed) {
        data = folder.filePath(u"club %1"_s.arg(seed));
        key = folder.filePath(u"Clé %1"_s.arg(seed));
        ASSERT_TRUE(QDir().mkpath(data) && QDir().mkpath(key));
        QByteArray products, members;
        for (const Product& product : kProducts)
            products += productRecord(product.name, product.price, 1000);
        for (const auto& member : kMembers)
            members += memberRecord(member[0], member[1]);
        for (const auto& [name, bytes] : {std::pair{kProductFile, products},
                                          {kMemberFile, members},
                                          {kLedgerFile, {}},
                                          {kMaterialLedgerFile, {}},
                                          {kDrinksLedgerFile, {}}}) {
            QFile file(data + u'/' + name);
            ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
        }
        ASSERT_TRUE(app.files.setCurrent(data));
        clock.date = QDate(2007, 12, 5);
        reloadTables(app);
    }

    // Bilans over all dates against the record: each receipt and each sale once.
    ::testing::AssertionResult counted(const State& state) {
        const Bilan bilan =
            makeBilan(readBilanSources(app.files, 0, clock.date, {}), Period::all());
        for (int r = 0; r < 2; ++r) {
            double total = 0;
            for (const double amount : state.receipts[r])
                total += amount;
            if (bilan.receiptsTotal[r].entries != state.receipts[r].size() ||
                bilan.receiptsTotal[r].total != total)
                return ::testing::AssertionFailure()
                       << "register " << r << ": " << bilan.receiptsTotal[r].entries << " entries, "
                       << bilan.receiptsTotal[r].total << " €; recorded "
                       << state.receipts[r].size() << ", " << total << " €";
        }
        if (bilan.salesTotal.both.sales != state.sales ||
            bilan.salesTotal.both.amount != state.sold)
            return ::testing::AssertionFailure() << "sales: " << bilan.salesTotal.both.sales << ", "
                                                 << bilan.salesTotal.both.amount << " €; recorded "
                                                 << state.sales << ", " << state.sold << " €";
        // The ledger's lines are those the record says.
        const LedgerTable& ledger = app.part<Sales>().ledger;
        bool same = ledger.count() == state.lines.size();
        for (int n = 1; same && n <= ledger.count(); ++n) {
            const State::Line& line = state.lines[n - 1];
            same = ledger[n].product == line.product && ledger[n].member == line.member &&
                   ledger[n].quantity == line.quantity && ledger[n].isPaid() == line.paid;
        }
        if (!same)
            return ::testing::AssertionFailure() << "the ledger is not as recorded";
        return ::testing::AssertionSuccess();
    }

    // Line n settled: its register receives the line's amount.
    static void settled(State& state, int n) {
        State::Line& line = state.lines[n - 1];
        line.paid = true;
        state.receipts[registerOfProduct(line.product)].append(double(line.quantity) *
                                                               kProducts[line.product - 1].price);
    }

    // Plays `steps` random operations from `seed`, checking after each.
    void play(unsigned seed, int steps) {
        start(seed);
        if (HasFatalFailure())
            return;
        std::mt19937 random(seed);
        const auto pick = [&](int from, int to) {
            return std::uniform_int_distribution<int>(from, to)(random);
        };
        State state;
        std::map<QDate, State> dated;           // the dated set of each day
        std::optional<State> onKey;             // the key's set
        std::map<QString, State> beforeRestore; // each restore's folder
        for (int step = 0; step < steps; ++step) {
            SCOPED_TRACE(::testing::Message() << "seed " << seed << ", step " << step);
            if (pick(0, 7) == 0)
                clock.date = clock.date.addDays(1);
            const QDate today = clock.date;
            qsizetype told = messages.shown.size();
            const int op = pick(0, 99);
            if (op < 30) {
                // A sale, paid or owed; alike ones the same day are many.
                const int product = pick(1, 2), member = pick(1, 2), quantity = pick(1, 2);
                const bool paid = pick(0, 1) == 1;
                const Product& p = kProducts[product - 1];
                const float total = float(double(quantity) * p.price);
                Purchase purchase{dateText(today), product, member, float(quantity), paid, {}};
                purchase.cashEntry =
                    saleEntry(purchase.date, kMembers[member - 1][1], kMembers[member - 1][0],
                              QString::number(quantity), p.name, p.price, total);
                bookPurchase(app, purchase);
                ChargeVentes(app);
                state.lines.append({product, member, float(quantity), paid});
                ++state.sales;
                state.sold += total;
                if (paid)
                    state.receipts[registerOfProduct(product)].append(total);
            } else if (op < 40) {
                // A settlement of one line, or of all a member's lines.
                QList<int> owed;
                for (int n = 1; n <= state.lines.size(); ++n)
                    if (!state.lines[n - 1].paid)
                        owed.append(n);
                if (owed.isEmpty())
                    continue;
                if (pick(0, 1) == 0) {
                    const int n = owed[pick(0, int(owed.size()) - 1)];
                    writeLineFlag(app, n, kPaid, settlementEntryOf(app, n), {});
                    settled(state, n);
                } else {
                    const int member = state.lines[owed[0] - 1].member;
                    settleMember(app, member);
                    for (const int n : owed)
                        if (state.lines[n - 1].member == member)
                            settled(state, n);
                }
                ChargeVentes(app);
            } else if (op < 55) {
                keepAndEmpty(app.files, Register(pick(0, 1)), today);
            } else if (op < 63) {
                // A deletion of a few lines, paid or owed.
                const int count = int(state.lines.size());
                if (count == 0)
                    continue;
                const int from = pick(1, count), to = std::min(count, from + pick(0, 2));
                QList<int> kept;
                for (int n = 1; n <= count; ++n)
                    if (n < from || n > to)
                        kept.append(n);
                keepLines(app, kept);
                ChargeVentes(app);
                state.lines.remove(from - 1, to - from + 1);
            } else if (op < 80) {
                messages.inputs.push_back(key);
                Sauvegarde(app);
                ++told; // the folder asked, and nothing else
                onKey = state;
                dated[today] = state;
            } else {
                // A restore of any set listed; every one the backups and
                // restores made is whole and restorable.
                QList<BackupSet> sets = findBackupSets(data, key);
                if (sets.isEmpty())
                    continue;
                for (BackupSet& set : sets) {
                    readBackupSet(set);
                    ASSERT_TRUE(set.restorable()) << set.label.toStdString() << ": "
                                                  << set.faults().join(u" | "_s).toStdString();
                }
                const BackupSet& set = sets[pick(0, int(sets.size()) - 1)];
                std::optional<State> back;
                if (set.kind == BackupSet::Kind::Dated && dated.count(set.when.date()))
                    back = dated[set.when.date()];
                else if (set.kind == BackupSet::Kind::BackupFolder)
                    back = onKey;
                else if (beforeRestore.count(set.label))
                    back = beforeRestore[set.label];
                ASSERT_TRUE(back) << "a set the test did not make: " << set.label.toStdString();
                const QString kept = restoreSet(app.files, set, QDateTime(today, clock.at));
                reloadTables(app);
                beforeRestore[kept] = state;
                state = *back;
            }
            for (qsizetype i = told; i < messages.shown.size(); ++i)
                ADD_FAILURE() << "told: " << messages.shown[i].text.toStdString();
            ASSERT_TRUE(counted(state));
        }
    }

    QString data, key;
};

// Any sequence of sales, settlements, statements, deletions, backups and
// restores: Bilans count each receipt and each sale of the state the files
// are in once, never twice, never merged.
TEST_F(History, BilansCountEachReceiptAndSaleOnceThroughAnySequence) {
    for (const unsigned seed : {1u, 2u, 3u, 4u}) {
        play(seed, 60);
        if (HasFatalFailure())
            return;
    }
}

} // namespace
} // namespace vendalise
