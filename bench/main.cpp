// Times the program's loads and list refills on the largest data a table
// holds (32767 products, members and ledger lines), and compares each with
// the bare read and decode of the files it uses. Not a test: it prints.

#include "cash/CashLedger.h"
#include "cash/CombinedStatement.h"
#include "cash/RegisterWindow.h"
#include "catalogue/Catalogue.h"
#include "catalogue/FrmStock.h"
#include "core/App.h"
#include "core/Names.h"
#include "members/MemberTable.h"
#include "platform/Cp1252.h"
#include "platform/DataFiles.h"
#include "platform/Disk.h"
#include "platform/Limits.h"
#include "platform/Memory.h"
#include "platform/QtSettings.h"
#include "platform/RecordFields.h"
#include "platform/RecordList.h"
#include "sales/FrmAchat.h"
#include "sales/FrmES.h"
#include "sales/Ledger.h"
#include "sales/Purchase.h"
#include "ScriptedServices.h"
#include "Controls.h"

#include <QApplication>
#include <QCheckBox>
#include <QDate>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

using namespace vendalise;
using vendalise::testing::control;

namespace {

constexpr int kRuns = 15;

class Headless : public WindowSystem {
public:
    void showModal(QDialog&) override {}

protected:
    void end() override { std::_Exit(0); }
};

// Puts a preparation's writes on the disk, so that they are not counted in
// the operation measured after it (putting its own file on the disk makes
// the file system write out what was written before).
void settle() {
    syncEverything();
}

double medianMs(const std::function<void()>& operation, const std::function<void()>& setUp = {}) {
    std::vector<double> times;
    for (int run = 0; run < kRuns; ++run) {
        if (setUp) {
            setUp();
            settle();
        }
        QElapsedTimer timer;
        timer.start();
        operation();
        times.push_back(timer.nsecsElapsed() / 1e6);
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

void writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size()) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        std::exit(1);
    }
}

// Names that differ early and late, in mixed case, as real ones do.
QString nameOf(const char* kind, int n) {
    const QString letters = QStringLiteral("aBcDéFgHiJkLmNoPqRsTuVwXyZ");
    QString name;
    for (int k = n; k > 0; k /= 26)
        name += letters[(k * 7) % 26];
    return name + QLatin1Char(' ') + QString::fromLatin1(kind) + QString::number(n);
}

} // namespace

int main(int argc, char** argv) {
    // As the program does.
    keepFreedMemory();
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    QTemporaryDir folder;
    if (!folder.isValid())
        return 1;

    QByteArray products, members, ledger;
    for (int n = 1; n <= kMaxRecords; ++n) {
        products += productRecord(nameOf("article", n), float(n % 50) / 4, float(n % 13));
        members += memberRecord(nameOf("MEMBRE", n).toUpper(), QStringLiteral("Prénom"));
        // About ten sales a day, as at a club's shop.
        const QString date =
            QDate(2007, 1, 1).addDays(n / 10).toString(QStringLiteral("dd/MM/yyyy"));
        ledger +=
            ledgerRecord({date, qint16(n % kMaxRecords + 1), qint16((n * 31) % kMaxRecords + 1),
                          float(n % 5 + 1), n % 3 == 0 ? kPaid : kOwed});
    }
    writeFile(folder.filePath(kProductFile), products);
    writeFile(folder.filePath(kMemberFile), members);
    writeFile(folder.filePath(kLedgerFile), ledger);

    testing::ScriptedMessages messages;
    QtSettingsStore settings(folder.filePath(QStringLiteral("Vendalise.ini")));
    testing::ScriptedPrinter printer;
    testing::FixedClock clock;
    Headless windows;
    Services services{messages, settings, printer, clock, windows, systemDefaultFolders()};
    App app(services);
    app.files.setCurrent(folder.path());

    // The bare read and decode of each file, without any table or list.
    // Every text field decoded, every number read.
    auto bare = [&](const QString& name, int length, std::initializer_list<int> texts) {
        return medianMs([&] {
            const Records records = app.files.readRecords(name, length, kMaxRecords);
            qint64 sum = 0;
            for (int n = 1; n <= records.count(); ++n) {
                int at = 0;
                for (const int width : texts) {
                    sum += textAt(records.record(n), at, width).size();
                    at += width;
                }
                for (; at + 4 <= length; at += 4)
                    sum += qint64(floatAt(records.record(n), at));
            }
            if (sum == -1)
                std::puts("");
        });
    };
    const double productsBare = bare(kProductFile, kProductRecordLength, {kProductNameWidth});
    const double membersBare =
        bare(kMemberFile, kMemberRecordLength, {kMemberNameWidth, kMemberFirstNameWidth});
    const double ledgerBare = bare(kLedgerFile, kLedgerRecordLength, {kLedgerDateWidth});

    loadMemberTable(app.files, app.part<Members>().table);
    ChargeProduits(app);
    ChargeVentes(app);
    FrmStock& stock = app.window<FrmStock>();
    app.window<FrmAchat>();
    FrmES& operations = app.window<FrmES>();

    // An operation's target: a time and a ratio to the bare file work, 0
    // where there is none.
    struct Target {
        double ms;
        double ratio;
    };
    struct Result {
        const char* name;
        double ms;
        double bare;
        Target target;
    };
    std::vector<Result> results;
    // The operations named on the command line (any part of their name), or
    // all of them.
    const QStringList chosen = QCoreApplication::arguments().mid(1);
    const auto measure = [&](const char* name, double bare, Target target,
                             const std::function<void()>& operation,
                             const std::function<void()>& setUp = {}) {
        const QString title = QString::fromUtf8(name);
        if (!chosen.isEmpty() && std::none_of(chosen.begin(), chosen.end(), [&](const QString& c) {
                return title.contains(c, Qt::CaseInsensitive);
            }))
            return;
        results.push_back({name, medianMs(operation, setUp), bare, target});
    };
    // Into empty tables, as at start-up.
    measure(
        "start-up's loads (members, ledger with debts, products)",
        productsBare + membersBare + ledgerBare, {0, 3},
        [&] {
            loadMemberTable(app.files, app.part<Members>().table);
            ChargeVentes(app);
            loadProductTable(app.files, app.part<Catalogue>().table);
        },
        [&] {
            app.part<Members>().table = {};
            app.part<Sales>().ledger = {};
            app.part<Sales>().ledgerBytes.clear();
            app.part<Catalogue>().table = {};
        });
    // The refills below rebuild everything: what they kept from the last
    // time is forgotten before each run.
    Sales& sales = app.part<Sales>();
    Catalogue& catalogue = app.part<Catalogue>();
    measure(
        "ChargeVentes (whole ledger decoded)", ledgerBare, {0, 0}, [&] { ChargeVentes(app); },
        [&] { sales.ledgerBytes.clear(); });
    measure(
        "MajProduits (both lists)", productsBare, {30, 0}, [&] { MajProduits(app); },
        [&] { catalogue.listed = {}; });
    measure("filter refill (both lists)", productsBare, {30, 0}, [&] {
        control<QLineEdit>(stock, QStringLiteral("TextPlancher")).setText(QStringLiteral("1E39"));
        stock.refillByFilter();
    });
    measure(
        "MajEs", ledgerBare, {30, 0}, [&] { operations.MajEs(); }, [&] { sales.lineRows = {}; });
    measure("client view", ledgerBare, {30, 0}, [&] {
        app.part<Sales>().currentLine = 1;
        operations.MajClient();
    });
    measure("debt view", membersBare, {30, 0}, [&] { control<QPushButton>(operations, QStringLiteral("BtnDette")).click(); });
    measure("stock report's sort", productsBare, {5, 0},
            [&] { stockReportOrder(app.part<Catalogue>().table); });

    // One purchase booked with all its refreshes, on a ledger one line short
    // of full and cash ledgers of 100,000 lines; every window that shows a
    // list is open. The files are put back before each run.
    const QByteArray fullLess1 = ledger.left(qsizetype(kMaxRecords - 1) * kLedgerRecordLength);
    QByteArray cashText;
    for (int e = 0; e < 25000; ++e)
        cashText += toCp1252(saleEntry(QStringLiteral("05/12/2007"), QStringLiteral("Prénom"),
                                       nameOf("MEMBRE", e).toUpper(), QString::number(e % 5 + 1),
                                       nameOf("article", e), 2.5f, float(e % 5 + 1) * 2.5f) +
                             QStringLiteral("\r\n"));
    writeFile(folder.filePath(kLedgerFile), fullLess1);
    writeFile(folder.filePath(kMaterialLedgerFile), cashText);
    writeFile(folder.filePath(kDrinksLedgerFile), cashText);
    app.window<Compta>();
    app.window<ComptaBoisson>();
    ChargeVentes(app);
    fillRegisterList(app, Register::Material);
    fillRegisterList(app, Register::Drinks);
    const Product bought = app.part<Catalogue>().table[2];
    const qsizetype cashRows = app.part<Cash>().rowsOf(Register::Material).size();
    // Takes the last purchase back, in the files and in memory, as if it had
    // not been made.
    const auto putBack = [&] {
        QFile::resize(folder.filePath(kLedgerFile), fullLess1.size());
        QFile::resize(folder.filePath(kMaterialLedgerFile), cashText.size());
        writeProduct(app.files, 2, bought.name, bought.price, bought.stock);
        ChargeVentes(app);
        app.part<Catalogue>().table[2].stock = bought.stock;
        MajProduits(app);
        MajVentes(app);
        Cash& cash = app.part<Cash>();
        cash.changeRows(Register::Material, [&](Rows& rows) { rows.resize(cashRows); });
        cash.filledFrom[0] = cashText.size();
    };
    const double cashBare = medianMs([&] {
        if (app.files.readLines(kMaterialLedgerFile).size() == -1)
            std::puts("");
    });
    // The bare write of a purchase: one ledger record appended, one product
    // record rewritten, each file opened and closed; put back after.
    // The bare write of a purchase: a ledger record appended and a product
    // record rewritten, each put on the disk, as a write that is told done
    // must be; and the same without the syncs, to show what they cost.
    const auto purchaseWrite = [&](bool synced) {
        QFile sales(folder.filePath(kLedgerFile));
        QFile stocks(folder.filePath(kProductFile));
        try {
            if (!sales.open(QIODevice::Append | QIODevice::Unbuffered) ||
                !stocks.open(QIODevice::ReadWrite | QIODevice::Unbuffered) ||
                sales.write(QByteArray(kLedgerRecordLength, '\0')) != kLedgerRecordLength ||
                !stocks.seek(kProductRecordLength) ||
                stocks.write(products.mid(kProductRecordLength, kProductRecordLength)) !=
                    kProductRecordLength)
                throw FileError(FileError::Kind::Other, sales.fileName(), sales.errorString());
            if (synced) {
                syncToDisk(sales);
                syncToDisk(stocks);
            }
        } catch (const FileError&) {
            std::puts("the bare write failed");
        }
    };
    const auto ledgerBack = [&] { QFile::resize(folder.filePath(kLedgerFile), fullLess1.size()); };
    const double purchaseWriteBare = medianMs([&] { purchaseWrite(true); }, ledgerBack);
    const double purchaseWriteUnsynced = medianMs([&] { purchaseWrite(false); }, ledgerBack);
    const auto purchaseOf = [&](bool paid) {
        Purchase purchase{QStringLiteral("05/12/2007"), 2, 3, 1, paid, {}};
        purchase.cashEntry =
            saleEntry(purchase.date, QStringLiteral("Prénom"), QStringLiteral("NOM"),
                      QStringLiteral("1"), QStringLiteral("article"), 2.5f, 2.5f);
        return purchase;
    };
    const qsizetype shownBefore = messages.shown.size();
    measure(
        "purchase booked, paid, with its refreshes", ledgerBare + cashBare + purchaseWriteBare,
        {50, 3}, [&] { EnregistreAchat(app, purchaseOf(true)); }, putBack);
    measure(
        "purchase booked, owed, with its refreshes", ledgerBare + purchaseWriteBare, {50, 3},
        [&] { EnregistreAchat(app, purchaseOf(false)); }, putBack);
    for (qsizetype i = shownBefore; i < messages.shown.size(); ++i)
        if (messages.shown[i].text != QStringLiteral("Achat enregistré"))
            std::fprintf(stderr, "a purchase said: %s\n", qPrintable(messages.shown[i].text));

    // The money operations on a full ledger in which member 7 owes 1,000
    // lines; the files are put back before each run.
    QByteArray owing = ledger;
    for (int n = 10001; n <= 11000; ++n)
        owing.replace(qsizetype(n - 1) * kLedgerRecordLength, kLedgerRecordLength,
                      ledgerRecord({QStringLiteral("05/12/2007"), 1, 7, 1, kOwed}));
    const auto putLedgerBack = [&] {
        writeFile(folder.filePath(kLedgerFile), owing);
        writeFile(folder.filePath(kMaterialLedgerFile), cashText);
        writeFile(folder.filePath(kDrinksLedgerFile), cashText);
        ChargeVentes(app);
        operations.MajEs();
        // The register lists lose the rows the operation added.
        Cash& cash = app.part<Cash>();
        for (const Register r : {Register::Material, Register::Drinks}) {
            if (cash.rowsOf(r).size() < cashRows) {
                fillRegisterList(app, r);
                continue;
            }
            cash.changeRows(r, [&](Rows& rows) { rows.resize(cashRows); });
            cash.filledFrom[int(r)] = cashText.size();
        }
        messages.answers.clear();
        messages.inputs.clear();
        messages.shown.clear();
        printer.printed.clear();
    };
    putLedgerBack();
    // The bare replacement of the ledger, all or nothing: a temporary file
    // written, put on the disk and renamed over the ledger.
    const double ledgerWriteBare = medianMs([&] {
        const QString temporary = folder.filePath(QStringLiteral("bare.tmp"));
        QFile file(temporary);
        try {
            if (!file.open(QIODevice::WriteOnly) || file.write(owing) != owing.size() ||
                !file.flush())
                throw FileError(FileError::Kind::Other, temporary, file.errorString());
            syncToDisk(file);
            file.close();
            renameOver(temporary, folder.filePath(kLedgerFile));
        } catch (const FileError&) {
            std::puts("the bare replacement failed");
        }
    });
    measure(
        "settlement of one line", ledgerBare + purchaseWriteBare, {100, 3},
        [&] {
            control<QCheckBox>(operations, QStringLiteral("CheckPayé")).setChecked(true);
            control<QPushButton>(operations, QStringLiteral("BtnMaj")).click();
        },
        [&] {
            putLedgerBack();
            app.part<Sales>().currentLine = 16000;
        });
    measure(
        "settlement of a member's 1,000 owed lines", ledgerBare + ledgerWriteBare, {100, 3},
        [&] {
            messages.answers.push_back(Answer::Yes);
            control<QPushButton>(operations, QStringLiteral("BtnReglement")).click();
        },
        [&] {
            putLedgerBack();
            control<QPushButton>(operations, QStringLiteral("BtnDette")).click();
            RecordList& debtorList = control<RecordList>(operations, QStringLiteral("ListDettes"));
            const Rows& debtors = debtorList.rows();
            for (qsizetype i = 0; i < debtors.size(); ++i)
                if (debtors[i].data == 7)
                    debtorList.chooseRow(int(i));
        });
    control<QPushButton>(operations, QStringLiteral("BtnES")).click();
    measure(
        "deletion of 1,000 lines from the middle", ledgerBare + ledgerWriteBare, {100, 3},
        [&] {
            messages.inputs.push_back(QStringLiteral("1000"));
            // Confirmed; the first owed line deleted, then all others.
            messages.answers = {Answer::Yes, Answer::Yes, Answer::Yes};
            control<QPushButton>(operations, QStringLiteral("Command1")).click();
        },
        [&] {
            putLedgerBack();
            app.part<Sales>().currentLine = 15000;
        });
    Compta& material = app.window<Compta>();
    measure(
        "register sum, 100,000 lines", cashBare, {100, 3}, [&] { control<QPushButton>(material, QStringLiteral("CmdSomme")).click(); },
        putLedgerBack);
    measure(
        "register print, 100,000 lines", cashBare, {100, 3}, [&] { control<QPushButton>(material, QStringLiteral("BtnImprimer")).click(); },
        putLedgerBack);
    measure(
        "combined statement, 2 x 100,000 lines", 2 * cashBare, {100, 3},
        [&] {
            messages.answers.push_back(Answer::Yes);
            SommeCaisses(app);
        },
        putLedgerBack);
    if (app.part<Sales>().ledger.count() != kMaxRecords)
        std::fprintf(stderr, "the ledger was not put back\n");

    std::printf("Largest data: %d products, %d members, %d ledger lines; median of %d runs.\n",
                kMaxRecords, kMaxRecords, kMaxRecords, kRuns);
    std::printf("Bare read and decode: products %.2f ms, members %.2f ms, ledger %.2f ms, "
                "cash ledger of 100,000 lines %.2f ms.\n"
                "Bare write of a purchase (a ledger record appended, a product record "
                "rewritten, both synced): %.2f ms (%.2f ms unsynced); bare replacement of the "
                "ledger: %.2f ms.\n\n",
                productsBare, membersBare, ledgerBare, cashBare, purchaseWriteBare,
                purchaseWriteUnsynced, ledgerWriteBare);
    std::printf("%-58s %10s %8s  %-16s %s\n", "operation", "median", "ratio", "target", "met");
    int missed = 0;
    for (const Result& r : results) {
        const double ratio = r.ms / r.bare;
        QString target;
        if (r.target.ms > 0)
            target = QStringLiteral("< %1 ms").arg(r.target.ms);
        if (r.target.ratio > 0)
            target += (target.isEmpty() ? QString() : QStringLiteral(", ")) +
                      QStringLiteral("%1x").arg(r.target.ratio);
        const bool met = (r.target.ms == 0 || r.ms < r.target.ms) &&
                         (r.target.ratio == 0 || ratio <= r.target.ratio);
        if (!met)
            ++missed;
        std::printf("%-58s %7.2f ms %7.1fx  %-16s %s\n", r.name, r.ms, ratio, qPrintable(target),
                    target.isEmpty() ? ""
                    : met            ? "yes"
                                     : "no");
    }
    std::printf("\n%d of %d targets missed.\n", missed,
                int(std::count_if(results.begin(), results.end(), [](const Result& r) {
                    return r.target.ms > 0 || r.target.ratio > 0;
                })));
    return 0;
}
