#include "sales/Ledger.h"

#include "catalogue/Catalogue.h"
#include "members/MemberTable.h"
#include "TestProgram.h"

#include "TestHelpers.h"

namespace vendalise {
namespace {

TEST(LedgerRecord, IsTheLayoutOfTheFile) {
    // 05/12/2007, product 3, member 12, 2 units, owed; paid ends in FF FF.
    const QByteArray owed = QByteArray::fromHex("30352F31322F32303037"
                                                "0300"
                                                "0C00"
                                                "00000040"
                                                "0000");
    EXPECT_EQ(ledgerRecord({u"05/12/2007"_s, 3, 12, 2.0f, kOwed}), owed);
    QByteArray paid = owed;
    paid[18] = char(0xFF);
    paid[19] = char(0xFF);
    EXPECT_EQ(ledgerRecord({u"05/12/2007"_s, 3, 12, 2.0f, kPaid}), paid);

    const LedgerLine line = ledgerLineOf(paid);
    EXPECT_EQ(line.date, u"05/12/2007"_s);
    EXPECT_EQ(line.product, 3);
    EXPECT_EQ(line.member, 12);
    EXPECT_EQ(line.quantity, 2.0f);
    EXPECT_TRUE(line.isPaid());
    // A short date is padded with blanks, read back with them.
    EXPECT_EQ(ledgerLineOf(ledgerRecord({u"5/12/07"_s, 1, 1, 1, kOwed})).date, u"5/12/07   "_s);
}

QStringList rowTexts(const Rows& rows) {
    QStringList texts;
    for (const Row& row : rows)
        texts.append(row.text + u" #"_s + QString::number(row.data));
    return texts;
}

class LedgerOfAClub : public testing::TestProgram {
protected:
    void SetUp() override {
        testing::TestProgram::SetUp();
        Catalogue& catalogue = app.part<Catalogue>();
        catalogue.table.records.append({u"Tee-shirt"_s + QString(56, u' '), 7.5f, 10});
        catalogue.table.records.append({u"*Bière"_s, 3, 48});
        MemberTable& members = app.part<Members>().table;
        members.records.append({u"DUPONT"_s + QString(19, u' '), u"Jean      "_s});
        members.records.append({u"MARTIN"_s + QString(19, u' '), u"Paul      "_s});
    }
    // The rows' texts as a build from nothing makes them.
    QStringList rebuilt() {
        Sales& sales = app.part<Sales>();
        Sales::LineRows kept = std::exchange(sales.lineRows, {});
        const QStringList texts = rowTexts(allLineRows(app));
        sales.lineRows = std::move(kept);
        return texts;
    }
    void writeLedger(const QList<LedgerLine>& lines, const QByteArray& tail = {}) {
        QByteArray bytes;
        for (const LedgerLine& line : lines)
            bytes += ledgerRecord(line);
        QFile file(folder.filePath(u"es.orv"_s));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes + tail);
    }
};

TEST_F(LedgerOfAClub, LinesNamingNoKnownRecordCountForNothing) {
    writeLedger({{u"05/12/2007"_s, 0, 1, 2, kOwed},
                 {u"05/12/2007"_s, 9, 1, 2, kOwed},
                 {u"05/12/2007"_s, 1, -3, 2, kOwed},
                 {u"05/12/2007"_s, 1, 99, 2, kOwed}});
    ChargeVentes(app);
    EXPECT_EQ(app.part<Members>().debtOf(1), 0.0f);
    EXPECT_EQ(app.part<Members>().debts.size(), 3);
    EXPECT_EQ(ledgerLineText(app, 1), u"05/12/2007 - DUPONT   (x2) article dû"_s);
    EXPECT_EQ(clientLineText(app, 3),
              u"05/12/2007 -   Tee-shirt (x2)  - Montant total : 15€ -  article dû"_s);
    EXPECT_EQ(lineAmount(app, 1), 0.0f);
}

TEST_F(LedgerOfAClub, AFailedLoadKeepsThePreviousTable) {
    writeLedger({{u"05/12/2007"_s, 1, 1, 2, kOwed}});
    ChargeVentes(app);
    QFile::remove(folder.filePath(u"es.orv"_s));
    ASSERT_TRUE(QDir(folder.path()).mkdir(u"es.orv"_s));
    EXPECT_THROW(ChargeVentes(app), FileError);
    EXPECT_EQ(app.part<Sales>().ledger.count(), 1);
    EXPECT_EQ(app.part<Members>().debtOf(1), 15.0f);
}

TEST_F(LedgerOfAClub, AReloadDecodesTheAddedLinesAndSeesChangedOnes) {
    const QList<LedgerLine> first{{u"05/12/2007"_s, 1, 1, 2, kOwed},
                                  {u"05/12/2007"_s, 2, 2, 1, kOwed}};
    writeLedger(first);
    ChargeVentes(app);
    // A line added at the end: the table and the debts as a full load gives.
    writeLedger(first + QList<LedgerLine>{{u"06/12/2007"_s, 1, 2, 1, kOwed}});
    ChargeVentes(app);
    const Sales& sales = app.part<Sales>();
    ASSERT_EQ(sales.ledger.count(), 3);
    EXPECT_EQ(sales.ledger[3].date, u"06/12/2007"_s);
    EXPECT_EQ(app.part<Members>().debtOf(2), 10.5f);
    // A line changed in the middle, and a shorter ledger: read again whole.
    writeLedger({{u"05/12/2007"_s, 1, 1, 2, kPaid}, {u"07/12/2007"_s, 2, 2, 1, kOwed}});
    ChargeVentes(app);
    ASSERT_EQ(sales.ledger.count(), 2);
    EXPECT_TRUE(sales.ledger[1].isPaid());
    EXPECT_EQ(sales.ledger[2].date, u"07/12/2007"_s);
    EXPECT_EQ(app.part<Members>().debtOf(1), 0.0f);
}

TEST_F(LedgerOfAClub, TheOperationsRowsFollowTheNamesTheyShow) {
    writeLedger({{u"05/12/2007"_s, 1, 1, 2, kOwed}, {u"05/12/2007"_s, 2, 2, 1, kPaid}});
    ChargeVentes(app);
    ASSERT_EQ(allLineRows(app).size(), 2);
    // A product relabelled, a member renamed: texts change.
    app.part<Catalogue>().table[2].name = u"*Jus"_s;
    EXPECT_EQ(rowTexts(allLineRows(app)), rebuilt());
    EXPECT_TRUE(allLineRows(app)[1].text.contains(u"*Jus"_s));
    app.part<Members>().table.records[1].name = u"DURAND"_s;
    EXPECT_EQ(rowTexts(allLineRows(app)), rebuilt());
    EXPECT_TRUE(allLineRows(app)[0].text.contains(u"DURAND"_s));
}

// The rows are brought up to date in place; a copy taken before (the list
// showing them) keeps what it showed.
TEST_F(LedgerOfAClub, RowsUpdatedInPlaceLeaveACopyAsItWasAndMatchARebuild) {
    const auto numbered = [&] {
        const Rows& rows = allLineRows(app);
        for (qsizetype i = 0; i < rows.size(); ++i)
            if (rows[i].data != i + 1)
                return false;
        return true;
    };
    QList<LedgerLine> lines;
    for (int n = 1; n <= 40; ++n)
        lines.append({u"%1/12/2007"_s.arg(n % 28 + 1, 2, 10, QLatin1Char('0')), qint16(n % 2 + 1),
                      qint16(n % 2 + 1), float(n), n % 3 ? kOwed : kPaid});
    writeLedger(lines);
    ChargeVentes(app);
    const Rows shown = allLineRows(app);
    const QStringList shownTexts = rowTexts(shown);

    // Lines deleted here and there, one changed, two added at the end.
    QList<LedgerLine> next = lines;
    next.remove(30, 3);
    next.remove(5, 10);
    next[10].paid = kPaid;
    next.append({u"30/12/2007"_s, 1, 2, 7, kOwed});
    next.append({u"31/12/2007"_s, 2, 1, 8, kOwed});
    writeLedger(next);
    ChargeVentes(app);
    EXPECT_EQ(rowTexts(allLineRows(app)), rebuilt());
    EXPECT_TRUE(numbered());
    EXPECT_EQ(rowTexts(shown), shownTexts);

    // Back to a longer ledger, then to none.
    writeLedger(lines);
    ChargeVentes(app);
    EXPECT_EQ(rowTexts(allLineRows(app)), shownTexts);
    EXPECT_TRUE(numbered());
    writeLedger({});
    ChargeVentes(app);
    EXPECT_TRUE(allLineRows(app).isEmpty());
}

} // namespace
} // namespace vendalise
