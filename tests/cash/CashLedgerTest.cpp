#include "cash/CashLedger.h"

#include "platform/Cp1252.h"
#include "TestProgram.h"

#include "TestHelpers.h"

namespace vendalise {
namespace {

using CashLedgers = testing::TestProgram;

QStringList texts(const Rows& rows) {
    QStringList list;
    for (const Row& row : rows)
        list.append(row.text);
    return list;
}

TEST(CashEntries, HaveTheirThreeLinesExactly) {
    EXPECT_EQ(saleEntry(u"05/12/2007"_s, u"Prénom"_s, u"NOM"_s, u"2"_s, u"Tee-shirt"_s, 7.5f, 15),
              u"Achat effectué le 05/12/2007 par : Prénom NOM\r\n"
              u"Nombre et désignation : 2 x Tee-shirt\r\n"
              u"Prix unitaire : 7,5 - Prix total : 15\r\n"_s);
    EXPECT_EQ(settlementEntry(u"06/12/2007"_s, u"Jean"_s, u"DUPONT"_s, u"0,5"_s, u"*Bière"_s, 2.25f,
                              1.125f),
              u"Achat réglé le 06/12/2007 par : Jean DUPONT\r\n"
              u"Nombre et désignation : 0,5 x *Bière\r\n"
              u"Prix unitaire : 2,25 - Prix total : 1,125\r\n"_s);
    EXPECT_EQ(correctionEntry(Register::Material, u"05/12/2007"_s, u""_s, -2.5f),
              u"Correction de caisse effectué le 05/12/2007\r\n\r\n"
              u"Correction de caisse : -2,5\r\n"_s);
    EXPECT_EQ(correctionEntry(Register::Drinks, u"05/12/2007"_s, u"Trou"_s, 12345678),
              u"Correction de caisse Boisson effectué le 05/12/2007\r\nTrou\r\n"
              u"Correction de caisse Boisson : 1,234568E+07\r\n"_s);
}

TEST(RegisterTotal, SumsTheAmountsAfterTheMarkersOfItsRegister) {
    const QStringList lineTexts{
        u"Prix unitaire : 7,5 - Prix total : 15"_s,
        u"Correction de caisse effectué le 05/12/2007"_s, // no colon: no amount
        u"Correction de caisse : -2,5"_s,
        u"Correction de caisse : "_s,                          // an empty amount counts 0
        u"Prix total : 12.5"_s,                                // a point reads as well
        u"Prix total : 1,5,3"_s,                               // only the first comma
        u"label Prix total : 4 et Correction de caisse : 1"_s, // two amounts
        u"Correction de caisse Boisson : 100"_s,               // the drinks marker
        u"Prix total : abc"_s,
    };
    // The ledger's text, with a line that cp1252 cannot hold whole before
    // the markers: positions are counted in characters, one byte each.
    const QByteArray lines = toCp1252(lineTexts.join(u"\r\n"_s) + u"\r\n€ Prix total : 1000\r\n"_s);
    EXPECT_EQ(registerTotal(lines, Register::Material), 15 - 2.5f + 12.5f + 1.5f + 4 + 1 + 1000);
    // The drinks register reads its own marker and "Prix total :".
    EXPECT_EQ(registerTotal(lines, Register::Drinks), 15 + 12.5f + 1.5f + 4 + 100 + 1000);
    EXPECT_EQ(registerTotal({}, Register::Material), 0);
}

TEST_F(CashLedgers, AFailedAppendLeavesTheLedgerAndItsList) {
    app.files.appendText(u"ComptaBoisson.orv"_s, u"ancien\r\n");
    fillRegisterList(app, Register::Drinks);
    app.files.setFaults([](FileOp op, const QString&) -> std::optional<QString> {
        if (op == FileOp::Write)
            return u"Le disque est plein."_s;
        return std::nullopt;
    });
    EXPECT_THROW(MajComptaBoisson(app, cashEntry(u"a"_s, u"b"_s, u"c"_s)), FileError);
    QFile file(folder.filePath(u"ComptaBoisson.orv"_s));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), QByteArray("ancien\r\n"));
    EXPECT_EQ(texts(app.part<Cash>().rowsOf(Register::Drinks)), QStringList{u"ancien"_s});
}

TEST_F(CashLedgers, AnAppendShowsTheRowsARereadWouldShow) {
    app.files.appendText(u"Compta.orv"_s, u"ancien\r\n"_s);
    fillRegisterList(app, Register::Material);
    // A character cp1252 cannot hold shows as the file holds it.
    MajCompta(app, cashEntry(u"Achat par : Łukasz"_s, u"x"_s, u"Prix total : 2"_s));
    const QStringList shown = texts(app.part<Cash>().rowsOf(Register::Material));
    fillRegisterList(app, Register::Material);
    EXPECT_EQ(shown, texts(app.part<Cash>().rowsOf(Register::Material)));
    EXPECT_EQ(shown[1], u"Achat par : ?ukasz"_s);

    // A ledger changed behind the list, or one whose last line has no
    // CR LF, is read again whole.
    app.files.appendText(u"Compta.orv"_s, u"ajout\r\n"_s);
    MajCompta(app, cashEntry(u"a"_s, u"b"_s, u"c"_s));
    EXPECT_TRUE(texts(app.part<Cash>().rowsOf(Register::Material)).contains(u"ajout"_s));
    app.files.appendText(u"Compta.orv"_s, u"sans fin"_s);
    fillRegisterList(app, Register::Material);
    MajCompta(app, cashEntry(u"d"_s, u"e"_s, u"f"_s));
    EXPECT_TRUE(texts(app.part<Cash>().rowsOf(Register::Material)).contains(u"sans find"_s));
}

} // namespace
} // namespace vendalise
