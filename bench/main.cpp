// Times the program's loads, list refills and operations on the largest
// data a table holds (32767 products, members and ledger lines, cash
// ledgers of 100,000 lines), and compares each with the bare read, decode
// or write of the files it uses. Not a test: it prints. The operations are
// one table; each belongs to a club, made ready once before its first
// operation runs.

#include "bilans/FrmBilans.h"
#include "cash/CashLedger.h"
#include "cash/CombinedStatement.h"
#include "cash/KeptStatements.h"
#include "cash/RegisterWindow.h"
#include "catalogue/Catalogue.h"
#include "catalogue/FrmStock.h"
#include "Controls.h"
#include "core/Names.h"
#include "core/Settings.h"
#include "core/Window.h"
#include "members/MemberTable.h"
#include "platform/Cp1252.h"
#include "platform/DataFiles.h"
#include "platform/Disk.h"
#include "platform/Limits.h"
#include "platform/Memory.h"
#include "platform/NumberForm.h"
#include "platform/QtPrinter.h"
#include "platform/QtSettings.h"
#include "platform/RecordFields.h"
#include "platform/RecordList.h"
#include "restore/FrmRestauration.h"
#include "restore/Restore.h"
#include "sales/FrmAchat.h"
#include "sales/FrmES.h"
#include "sales/Ledger.h"
#include "sales/Purchase.h"
#include "ScriptedServices.h"
#include "shell/Startup.h"

#include <QApplication>
#include <QCheckBox>
#include <QDate>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <deque>
#include <functional>
#include <optional>
#include <string>
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

// The printer of the bench: the scripted one, or for the prints that draw
// charts Qt's own, writing PDF files (no printer is installed here).
class BenchPrinter : public Printer {
public:
    Printer* to = nullptr;
    std::optional<QStringList> fonts() override { return to->fonts(); }
    std::optional<Failure> setFont(const QString& name, bool bold) override {
        return to->setFont(name, bold);
    }
    std::optional<Failure> printLine(const QString& text, double size, bool bold,
                                     bool underline) override {
        return to->printLine(text, size, bold, underline);
    }
    std::optional<Failure> printDrawing(const QString& title, double aspect,
                                        const Drawing& draw) override {
        return to->printDrawing(title, aspect, draw);
    }
    std::optional<Failure> endDocument() override { return to->endDocument(); }
    QString chosenFont() override { return to->chosenFont(); }
    Printed printDocument(const QString& title, QTextDocument& document,
                          Orientation orientation) override {
        return to->printDocument(title, document, orientation);
    }
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

// An operation's target: a time and a ratio to the bare file work, 0
// where there is none.
struct Target {
    double ms;
    double ratio;
};

// The clubs the operations run on.
enum class Club {
    Full,     // every table full, as start-up loads them
    Purchase, // a ledger one line short of full, cash ledgers of 100,000 lines
    Owing,    // the full ledger in which member 7 owes 1,000 lines
    Bilans,   // the owing club with five years of kept monthly statements
};

// The largest data and the program on it, with every window that shows a
// list open.
class Bench {
public:
    // An operation on its club: what it is compared with, its target, what
    // is timed, and what puts the club back before each run.
    struct Operation {
        const char* name;
        Club club;
        double bare;
        Target target;
        std::function<void()> run;
        std::function<void()> setUp;
    };

    Bench();
    // Makes the club ready for its operations.
    void prepare(Club club);
    std::vector<Operation> operations();
    // The roads that a data folder holding years of dated copies must not
    // slow down, each measured without and with 18,256 of them.
    void measureDatedCopies(const std::vector<Operation>& all, const QStringList& chosen);
    void report(const char* name, double bare, Target target, double ms);
    // Prints every result with its target.
    void printResults() const;

private:
    QString pathOf(const QString& name) const { return folder_.filePath(name); }
    void write(const QString& name, const QByteArray& bytes) const {
        writeFile(pathOf(name), bytes);
    }
    void measureBareWork();
    // A purchase of product 2 by member 3, booked; anything but "Achat
    // enregistré" is told.
    void book(bool paid);
    // Takes the last purchase back, in the files and in memory, as if it had
    // not been made.
    void putPurchaseBack();
    // The owing club's files and lists as before each money operation.
    void putOwingBack();

    QTemporaryDir folder_;
    testing::ScriptedMessages messages_;
    testing::ScriptedPrinter scriptedPrinter_;
    QtPrinter pdfPrinter_{[](const QString&) {}};
    BenchPrinter printer_;
    QtSettingsStore settings_{folder_.filePath(QStringLiteral("Vendalise.ini"))};
    testing::FixedClock clock_;
    Headless windows_;
    Services services_{messages_, settings_, printer_, clock_, windows_, systemDefaultFolders()};
    App app_{services_};
    // A program started afresh, for the start-up's time.
    std::optional<App> started_;

    QByteArray products_, members_, ledger_, fullLess1_, owing_, cashText_;
    Product bought_;
    qsizetype cashRows_ = 0;
    // The bare work of the files, measured once.
    double productsBare_ = 0, membersBare_ = 0, ledgerBare_ = 0, cashBare_ = 0;
    double purchaseWriteBare_ = 0, purchaseWriteUnsynced_ = 0, ledgerWriteBare_ = 0;

    struct Result {
        const char* name;
        double ms;
        double bare;
        Target target;
    };
    std::vector<Result> results_;
    std::deque<std::string> names_;
};

Bench::Bench() {
    if (!folder_.isValid())
        std::exit(1);
    printer_.to = &scriptedPrinter_;
    pdfPrinter_.setFolder([this] { return folder_.path(); });
    for (int n = 1; n <= kMaxRecords; ++n) {
        products_ += productRecord(nameOf("article", n), float(n % 50) / 4, float(n % 13));
        members_ += memberRecord(nameOf("MEMBRE", n).toUpper(), QStringLiteral("Prénom"));
        // About ten sales a day, as at a club's shop.
        const QString date =
            QDate(2007, 1, 1).addDays(n / 10).toString(QStringLiteral("dd/MM/yyyy"));
        ledger_ +=
            ledgerRecord({date, qint16(n % kMaxRecords + 1), qint16((n * 31) % kMaxRecords + 1),
                          float(n % 5 + 1), n % 3 == 0 ? kPaid : kOwed});
    }
    for (int e = 0; e < 25000; ++e)
        cashText_ += toCp1252(saleEntry(QStringLiteral("05/12/2007"), QStringLiteral("Prénom"),
                                        nameOf("MEMBRE", e).toUpper(), QString::number(e % 5 + 1),
                                        nameOf("article", e), 2.5f, float(e % 5 + 1) * 2.5f) +
                              QStringLiteral("\r\n"));
    fullLess1_ = ledger_.left(qsizetype(kMaxRecords - 1) * kLedgerRecordLength);
    owing_ = ledger_;
    for (int n = 10001; n <= 11000; ++n)
        owing_.replace(qsizetype(n - 1) * kLedgerRecordLength, kLedgerRecordLength,
                       ledgerRecord({QStringLiteral("05/12/2007"), 1, 7, 1, kOwed}));
    write(kProductFile, products_);
    write(kMemberFile, members_);
    write(kLedgerFile, ledger_);
    app_.files.setCurrent(folder_.path());
    measureBareWork();
    loadMemberTable(app_.files, app_.part<Members>().table);
    ChargeProduits(app_);
    ChargeVentes(app_);
    app_.window<FrmStock>();
    app_.window<FrmAchat>();
    app_.window<FrmES>();
}

void Bench::prepare(Club club) {
    if (club == Club::Full)
        return;
    // Both clubs have cash ledgers of 100,000 lines, their windows open.
    if (cashRows_ == 0) {
        write(kMaterialLedgerFile, cashText_);
        write(kDrinksLedgerFile, cashText_);
        app_.window<Compta>();
        app_.window<ComptaBoisson>();
        fillRegisterList(app_, Register::Material);
        fillRegisterList(app_, Register::Drinks);
        cashRows_ = app_.part<Cash>().rowsOf(Register::Material).size();
    }
    if (club == Club::Bilans) {
        // Sixty statements of each register, of 400 entries each.
        QDir(folder_.path()).mkdir(kKeptFolder);
        for (int month = 0; month < 60; ++month) {
            const QDate day = QDate(2002, 1, 28).addMonths(month);
            QByteArray text;
            for (int e = 0; e < 400; ++e)
                text +=
                    toCp1252(saleEntry(dateText(day.addDays(-(e % 27))), QStringLiteral("Prénom"),
                                       nameOf("MEMBRE", e).toUpper(), QString::number(e % 5 + 1),
                                       nameOf("article", e), 2.5f, float(e % 5 + 1) * 2.5f) +
                             QStringLiteral("\r\n"));
            for (const Register r : {Register::Material, Register::Drinks})
                write(kKeptFolder + QLatin1Char('/') + keptStatementName(r, day, 1), text);
        }
        putOwingBack();
        return;
    }
    if (club == Club::Purchase) {
        write(kLedgerFile, fullLess1_);
        ChargeVentes(app_);
        bought_ = app_.part<Catalogue>().table[2];
    } else {
        putOwingBack();
    }
}

void Bench::measureBareWork() {
    // The bare read and decode of each file, without any table or list.
    // Every text field decoded, every number read.
    auto bare = [&](const QString& name, int length, std::initializer_list<int> texts) {
        return medianMs([&] {
            const Records records = app_.files.readRecords(name, length, kMaxRecords);
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
    productsBare_ = bare(kProductFile, kProductRecordLength, {kProductNameWidth});
    membersBare_ =
        bare(kMemberFile, kMemberRecordLength, {kMemberNameWidth, kMemberFirstNameWidth});
    ledgerBare_ = bare(kLedgerFile, kLedgerRecordLength, {kLedgerDateWidth});

    write(kMaterialLedgerFile, cashText_);
    cashBare_ = medianMs([&] {
        if (app_.files.readLines(kMaterialLedgerFile).size() == -1)
            std::puts("");
    });
    // The bare write of a purchase: a ledger record appended and a product
    // record rewritten, each put on the disk, as a write that is told done
    // must be; and the same without the syncs, to show what they cost.
    const auto purchaseWrite = [&](bool synced) {
        QFile sales(pathOf(kLedgerFile));
        QFile stocks(pathOf(kProductFile));
        try {
            if (!sales.open(QIODevice::Append | QIODevice::Unbuffered) ||
                !stocks.open(QIODevice::ReadWrite | QIODevice::Unbuffered) ||
                sales.write(QByteArray(kLedgerRecordLength, '\0')) != kLedgerRecordLength ||
                !stocks.seek(kProductRecordLength) ||
                stocks.write(products_.mid(kProductRecordLength, kProductRecordLength)) !=
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
    const auto ledgerBack = [&] { QFile::resize(pathOf(kLedgerFile), fullLess1_.size()); };
    purchaseWriteBare_ = medianMs([&] { purchaseWrite(true); }, ledgerBack);
    purchaseWriteUnsynced_ = medianMs([&] { purchaseWrite(false); }, ledgerBack);
    write(kLedgerFile, ledger_);
    // The bare replacement of the ledger, all or nothing: a temporary file
    // written, put on the disk and renamed over the ledger.
    ledgerWriteBare_ = medianMs([&] {
        const QString temporary = pathOf(QStringLiteral("bare.tmp"));
        QFile file(temporary);
        try {
            if (!file.open(QIODevice::WriteOnly) || file.write(owing_) != owing_.size() ||
                !file.flush())
                throw FileError(FileError::Kind::Other, temporary, file.errorString());
            syncToDisk(file);
            file.close();
            renameOver(temporary, pathOf(kLedgerFile));
        } catch (const FileError&) {
            std::puts("the bare replacement failed");
        }
    });
    write(kLedgerFile, ledger_);
}

void Bench::book(bool paid) {
    Purchase purchase{QStringLiteral("05/12/2007"), 2, 3, 1, paid, {}};
    purchase.cashEntry = saleEntry(purchase.date, QStringLiteral("Prénom"), QStringLiteral("NOM"),
                                   QStringLiteral("1"), QStringLiteral("article"), 2.5f, 2.5f);
    const qsizetype before = messages_.shown.size();
    EnregistreAchat(app_, purchase);
    for (qsizetype i = before; i < messages_.shown.size(); ++i)
        if (messages_.shown[i].text != QStringLiteral("Achat enregistré"))
            std::fprintf(stderr, "a purchase said: %s\n", qPrintable(messages_.shown[i].text));
}

void Bench::putPurchaseBack() {
    QFile::resize(pathOf(kLedgerFile), fullLess1_.size());
    QFile::resize(pathOf(kMaterialLedgerFile), cashText_.size());
    writeProduct(app_.files, 2, bought_.name, bought_.price, bought_.stock);
    ChargeVentes(app_);
    app_.part<Catalogue>().table[2].stock = bought_.stock;
    MajProduits(app_);
    MajVentes(app_);
    Cash& cash = app_.part<Cash>();
    cash.changeRows(Register::Material, [&](Rows& rows) { rows.resize(cashRows_); });
    cash.filledFrom[0] = cashText_.size();
}

void Bench::putOwingBack() {
    write(kLedgerFile, owing_);
    write(kMaterialLedgerFile, cashText_);
    write(kDrinksLedgerFile, cashText_);
    ChargeVentes(app_);
    app_.window<FrmES>().MajEs();
    // The register lists lose the rows the operation added.
    Cash& cash = app_.part<Cash>();
    for (const Register r : {Register::Material, Register::Drinks}) {
        if (cash.rowsOf(r).size() < cashRows_) {
            fillRegisterList(app_, r);
            continue;
        }
        cash.changeRows(r, [&](Rows& rows) { rows.resize(cashRows_); });
        cash.filledFrom[int(r)] = cashText_.size();
    }
    messages_.answers.clear();
    messages_.inputs.clear();
    messages_.shown.clear();
    scriptedPrinter_.printed.clear();
}

std::vector<Bench::Operation> Bench::operations() {
    Sales& sales = app_.part<Sales>();
    Catalogue& catalogue = app_.part<Catalogue>();
    FrmStock& stock = app_.window<FrmStock>();
    FrmES& operations = app_.window<FrmES>();
    const auto click = [](QWidget& window, const char* name) {
        return [&window, name] { control<QPushButton>(window, QString::fromLatin1(name)).click(); };
    };
    // The Bilans window as opened (its files read), on a period and a view.
    const auto bilansOpened = [this](const char* period, int view) {
        FrmBilans& bilans = app_.window<FrmBilans>();
        bilans.refresh();
        control<QPushButton>(bilans, QString::fromLatin1(period)).click();
        control<QTabWidget>(bilans, QStringLiteral("TabVues")).setCurrentIndex(view);
    };
    const auto putPurchaseBack = [this] { this->putPurchaseBack(); };
    const auto putOwingBack = [this] { this->putOwingBack(); };
    const auto fromLine = [this, putOwingBack](qint16 line) {
        return [this, putOwingBack, line] {
            putOwingBack();
            app_.part<Sales>().currentLine = line;
        };
    };
    return {
        // Into empty tables, as at start-up.
        {"start-up's loads (members, ledger with debts, products)",
         Club::Full,
         productsBare_ + membersBare_ + ledgerBare_,
         {0, 3},
         [this] {
             loadMemberTable(app_.files, app_.part<Members>().table);
             ChargeVentes(app_);
             loadProductTable(app_.files, app_.part<Catalogue>().table);
         },
         [this] {
             app_.part<Members>().table = {};
             app_.part<Sales>().ledger = {};
             app_.part<Sales>().ledgerBytes.clear();
             app_.part<Catalogue>().table = {};
         }},
        // The refills below rebuild everything: what they kept from the
        // last time is forgotten before each run.
        {"ChargeVentes (whole ledger decoded)",
         Club::Full,
         ledgerBare_,
         {0, 0},
         [this] { ChargeVentes(app_); },
         [&sales] { sales.ledgerBytes.clear(); }},
        {"MajProduits (both lists)",
         Club::Full,
         productsBare_,
         {30, 0},
         [this] { MajProduits(app_); },
         [&catalogue] { catalogue.listed = {}; }},
        {"filter refill (both lists)",
         Club::Full,
         productsBare_,
         {30, 0},
         [&stock] {
             control<QLineEdit>(stock, QStringLiteral("TextPlancher"))
                 .setText(QStringLiteral("1E39"));
             stock.refillByFilter();
         },
         {}},
        {"MajEs",
         Club::Full,
         ledgerBare_,
         {30, 0},
         [&operations] { operations.MajEs(); },
         [&sales] { sales.lineRows = {}; }},
        {"client view",
         Club::Full,
         ledgerBare_,
         {30, 0},
         [&sales, &operations] {
             sales.currentLine = 1;
             operations.MajClient();
         },
         {}},
        {"debt view", Club::Full, membersBare_, {30, 0}, click(operations, "BtnDette"), {}},
        {"stock report's sort",
         Club::Full,
         productsBare_,
         {5, 0},
         [&catalogue] { stockReportOrder(catalogue.table); },
         {}},

        // One purchase booked with all its refreshes; the files are put
        // back before each run.
        {"purchase booked, paid, with its refreshes",
         Club::Purchase,
         ledgerBare_ + cashBare_ + purchaseWriteBare_,
         {50, 3},
         [this] { book(true); },
         putPurchaseBack},
        {"purchase booked, owed, with its refreshes",
         Club::Purchase,
         ledgerBare_ + purchaseWriteBare_,
         {50, 3},
         [this] { book(false); },
         putPurchaseBack},

        // The money operations; the files are put back before each run.
        {"settlement of one line",
         Club::Owing,
         ledgerBare_ + purchaseWriteBare_,
         {100, 3},
         [&operations] {
             control<QCheckBox>(operations, QStringLiteral("CheckPayé")).setChecked(true);
             control<QPushButton>(operations, QStringLiteral("BtnMaj")).click();
         },
         fromLine(16000)},
        {"settlement of a member's 1,000 owed lines",
         Club::Owing,
         ledgerBare_ + ledgerWriteBare_,
         {100, 3},
         [this, &operations] {
             messages_.answers.push_back(Answer::Yes);
             control<QPushButton>(operations, QStringLiteral("BtnReglement")).click();
         },
         [putOwingBack, &operations] {
             putOwingBack();
             control<QPushButton>(operations, QStringLiteral("BtnDette")).click();
             auto& debtors = control<RecordList>(operations, QStringLiteral("ListDettes"));
             for (qsizetype i = 0; i < debtors.rows().size(); ++i)
                 if (debtors.rows()[i].data == 7)
                     debtors.chooseRow(int(i));
         }},
        {"deletion of 1,000 lines from the middle",
         Club::Owing,
         ledgerBare_ + ledgerWriteBare_,
         {100, 3},
         [this, &operations] {
             messages_.inputs.push_back(QStringLiteral("1000"));
             // Confirmed; the first owed line deleted, then all others.
             messages_.answers = {Answer::Yes, Answer::Yes, Answer::Yes};
             control<QPushButton>(operations, QStringLiteral("Command1")).click();
         },
         [fromLine, &operations] {
             // Back from the debts to the lines.
             if (auto& back = control<QPushButton>(operations, QStringLiteral("BtnES"));
                 back.isVisible())
                 back.click();
             fromLine(15000)();
         }},
        {"Bilans window opened (files read, figures, tables)",
         Club::Bilans,
         0,
         {300, 0},
         [this] { app_.window<FrmBilans>().refresh(); },
         {}},
        {"Bilans period changed",
         Club::Bilans,
         0,
         {200, 0},
         click(app_.window<FrmBilans>(), "CmdAnnee"),
         [bilansOpened] { bilansOpened("CmdSaison", 0); }},
        {"Bilans exported (workbook)",
         Club::Bilans,
         0,
         {2000, 0},
         [this] {
             messages_.savePaths.push_back(pathOf(QStringLiteral("Bilans.xlsx")));
             control<QPushButton>(app_.window<FrmBilans>(), QStringLiteral("CmdExporter")).click();
         },
         // Every line and entry: the largest workbook.
         [bilansOpened] { bilansOpened("CmdTout", 0); }},
        {"Bilans view shown with its charts",
         Club::Bilans,
         0,
         {300, 0},
         [this] {
             auto& tabs = control<QTabWidget>(app_.window<FrmBilans>(), QStringLiteral("TabVues"));
             tabs.setCurrentIndex(0);
             (void)app_.window<FrmBilans>().grab();
         },
         [bilansOpened] { bilansOpened("CmdSaison", 3); }},
        // A season's sales of 3,650 products, a row each, laid out by Qt's
        // text tables.
        {"Bilans view printed with its charts (PDF)",
         Club::Bilans,
         0,
         {4000, 0},
         [this] {
             printer_.to = &pdfPrinter_;
             control<QPushButton>(app_.window<FrmBilans>(), QStringLiteral("CmdImprimer")).click();
             printer_.to = &scriptedPrinter_;
         },
         [bilansOpened] { bilansOpened("CmdSaison", 0); }},
        {"register sum, 100,000 lines",
         Club::Owing,
         cashBare_,
         {100, 3},
         click(app_.window<Compta>(), "CmdSomme"),
         putOwingBack},
        {"register print, 100,000 lines",
         Club::Owing,
         cashBare_,
         {100, 3},
         click(app_.window<Compta>(), "BtnImprimer"),
         putOwingBack},
        {"combined statement, 2 x 100,000 lines",
         Club::Owing,
         2 * cashBare_,
         {100, 3},
         [this] {
             messages_.answers.push_back(Answer::Yes);
             SommeCaisses(app_);
         },
         putOwingBack},
    };
}

void Bench::measureDatedCopies(const std::vector<Operation>& all, const QStringList& chosen) {
    // Each road's target is its time with the copies against its time
    // without them (the bare column).
    const Target within10 = {0, 1.1};
    std::vector<Operation> roads;
    for (const char* name : {"purchase booked, paid", "settlement of one line", "register sum"})
        for (const Operation& operation : all)
            if (QString::fromUtf8(operation.name).startsWith(QString::fromUtf8(name))) {
                roads.push_back(operation);
                roads.back().target = within10;
            }
    // Listing the sets is the window's own work: it has a time of its own.
    roads.push_back({"restore window opened (sets listed, shown)",
                     Club::Owing,
                     0,
                     {250, 0},
                     [this] {
                         FrmRestauration& window = app_.window<FrmRestauration>();
                         window.refresh();
                         (void)window.grab();
                     },
                     {}});
    // The program's start on the data folder, each time a new program:
    // settings, the lock, what a crash interrupted, the main window, every
    // table and list; in a club that keeps its statements in "Relevés", and
    // in one that never made a statement, where looking for the folder lists
    // the data folder once (shown, not a target).
    kDataDirectorySetting.store(settings_, QDir::toNativeSeparators(folder_.path()));
    const auto start = [this] {
        started_.emplace(services_);
        startUp(*started_);
    };
    // The statements' folder is put aside (the Bilans club keeps statements
    // in it) for a club that never made one.
    const QString aside = pathOf(QStringLiteral("kept-aside"));
    const auto restart = [this, aside](bool kept) {
        return [this, aside, kept] {
            started_.reset();
            messages_.answers.push_back(Answer::Yes);
            QDir folder(folder_.path());
            if (kept && !folder.exists(kKeptFolder) && !folder.rename(aside, kKeptFolder))
                folder.mkdir(kKeptFolder);
            if (!kept && folder.exists(kKeptFolder)) {
                QDir(aside).removeRecursively();
                folder.rename(kKeptFolder, aside);
            }
        };
    };
    roads.push_back({"start-up (settings, lock, main window, tables)", Club::Owing, 0, within10,
                     start, restart(true)});
    roads.push_back(
        {"start-up, no statement ever made", Club::Owing, 0, {0, 0}, start, restart(false)});
    std::erase_if(roads, [&](const Operation& road) {
        const QString title = QString::fromUtf8(road.name);
        return !chosen.isEmpty() &&
               std::none_of(chosen.begin(), chosen.end(), [&](const QString& c) {
                   return title.contains(c, Qt::CaseInsensitive) ||
                          QStringLiteral("dated copies").contains(c, Qt::CaseInsensitive);
               });
    });
    if (roads.empty())
        return;
    const auto measure = [this](const Operation& road) {
        prepare(road.club);
        const double ms = medianMs(road.run, road.setUp);
        // A program started is ended before the next road.
        started_.reset();
        return ms;
    };
    std::vector<double> without;
    for (const Operation& road : roads)
        without.push_back(measure(road));
    // Ten years of daily backups: five files a day.
    const QString names[] = {QStringLiteral("es.orv"), QStringLiteral("Produits.orv"),
                             QStringLiteral("Adhérents.orv"), QStringLiteral("compta.orv"),
                             QStringLiteral("ComptaBoisson.orv")};
    constexpr int kCopies = 18256;
    for (int n = 0; n < kCopies; ++n) {
        const QDate day = QDate(1997, 1, 1).addDays(n / 5);
        write(names[n % 5] + QStringLiteral(" du ") + day.toString(QStringLiteral("dd-MM-yy")),
              QByteArray(n % 5 < 3 ? 20 : 0, 'x'));
    }
    settle();
    for (std::size_t i = 0; i < roads.size(); ++i) {
        names_.push_back(std::string(roads[i].name) + ", with 18,256 dated copies");
        report(names_.back().c_str(), without[i], roads[i].target, measure(roads[i]));
    }
    restart(true)();
    messages_.answers.clear();
}

void Bench::report(const char* name, double bare, Target target, double ms) {
    results_.push_back({name, ms, bare, target});
}

// Prints every result with its target; returns the targets missed.
void Bench::printResults() const {
    std::printf("Largest data: %d products, %d members, %d ledger lines; median of %d runs.\n",
                kMaxRecords, kMaxRecords, kMaxRecords, kRuns);
    std::printf("Bare read and decode: products %.2f ms, members %.2f ms, ledger %.2f ms, "
                "cash ledger of 100,000 lines %.2f ms.\n"
                "Bare write of a purchase (a ledger record appended, a product record "
                "rewritten, both synced): %.2f ms (%.2f ms unsynced); bare replacement of the "
                "ledger: %.2f ms.\n\n",
                productsBare_, membersBare_, ledgerBare_, cashBare_, purchaseWriteBare_,
                purchaseWriteUnsynced_, ledgerWriteBare_);
    std::printf("%-58s %10s %8s  %-16s %s\n", "operation", "median", "ratio", "target", "met");
    int missed = 0;
    for (const Result& r : results_) {
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
        const QString ratioText =
            r.bare > 0 ? QString::asprintf("%7.1fx", ratio) : QStringLiteral("      -");
        std::printf("%-58s %7.2f ms %s  %-16s %s\n", r.name, r.ms, qPrintable(ratioText),
                    qPrintable(target),
                    target.isEmpty() ? ""
                    : met            ? "yes"
                                     : "no");
    }
    std::printf("\n%d of %d targets missed.\n", missed,
                int(std::count_if(results_.begin(), results_.end(), [](const Result& r) {
                    return r.target.ms > 0 || r.target.ratio > 0;
                })));
}

} // namespace

int main(int argc, char** argv) {
    // As the program does.
    keepFreedMemory();
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    Bench bench;

    // The operations named on the command line (any part of their name), or
    // all of them.
    const QStringList chosen = QCoreApplication::arguments().mid(1);
    std::vector<Club> ready;
    for (const Bench::Operation& operation : bench.operations()) {
        const QString title = QString::fromUtf8(operation.name);
        if (!chosen.isEmpty() && std::none_of(chosen.begin(), chosen.end(), [&](const QString& c) {
                return title.contains(c, Qt::CaseInsensitive);
            }))
            continue;
        if (std::find(ready.begin(), ready.end(), operation.club) == ready.end()) {
            bench.prepare(operation.club);
            ready.push_back(operation.club);
        }
        bench.report(operation.name, operation.bare, operation.target,
                     medianMs(operation.run, operation.setUp));
    }
    // Compared with their own times without the copies (the ratio column).
    bench.measureDatedCopies(bench.operations(), chosen);
    bench.printResults();
    return 0;
}
