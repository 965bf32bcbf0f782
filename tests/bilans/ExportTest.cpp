#include "bilans/Export.h"

#include "TestHelpers.h"

namespace vendalise {
namespace {

Sheet aSheet() {
    return {u"Ventes"_s,
            {u"Mois"_s, u"Libellé"_s, u"Montant"_s, u"Quantité"_s, u"Ventes"_s},
            {{Cell::month(QDate(2007, 9, 1)), Cell::of(u"Fond; caisse"_s), Cell::money(-2.5),
              Cell::quantity(0.25), Cell::integer(3)},
             {Cell::day(QDate(2007, 12, 5)),
              Cell::of(u"dit \"ok\""_s),
              Cell::money(1234.567),
              {},
              Cell::of(u" x"_s)}},
            0,
            {}};
}

TEST(CsvExport, IsWhatFrenchSpreadsheetsOpenWithoutAsking) {
    EXPECT_EQ(csvText(aSheet()),
              QByteArray("\xEF\xBB\xBF") +
                  u"Mois;Libellé;Montant;Quantité;Ventes\r\n"
                  u"01/09/2007;\"Fond; caisse\";-2,50;0,25;3\r\n"
                  u"05/12/2007;\"dit \"\"ok\"\"\";1234,57;;\" x\"\r\n"_s.toUtf8());
    EXPECT_EQ(csvFileOf(u"/a/Bilans.CSV"_s, aSheet()), u"/a/Bilans - Ventes.csv"_s);
}

// A total is the sum of the cells shown above it, to the cent, whatever
// the figures summed before rounding: three amounts of 0,004 € each show
// 0,00 € and add up to 0,00 € (their own sum, 0,012 €, would show 0,01 €).
TEST(WorkbookTotals, AreTheSumsOfWhatIsShown) {
    Bilan bilan;
    for (int p = 1; p <= 3; ++p)
        bilan.products.append({p, u"P%1"_s.arg(p), 0.5, 0.004, Register::Material});
    const Sheet products = productsSheet(bilan);
    ASSERT_EQ(products.totalRows, 1);
    EXPECT_EQ(cellText(products.rows.last()[3]), u"0,00 €"_s);
    EXPECT_EQ(cellText(products.rows.last()[2]), u"1,5"_s);
    EXPECT_EQ(products.totals[0].rows, (QList<std::pair<qsizetype, qsizetype>>{{0, 2}}));
    // A damaged record's amounts, beyond any cent count, are added as a
    // spreadsheet adds them, without overflow.
    Bilan damaged;
    for (const double amount : {3e38, 3e38, 1.0})
        damaged.products.append({1, u"P"_s, 1, amount, Register::Material});
    EXPECT_EQ(productsSheet(damaged).rows.last()[3].number, 3e38 + 3e38 + 1.0);

    // Each register's months, then both registers': 0,10 € and 0,20 € of
    // material; 0,105 € of drinks a month, which single precision holds
    // as 0,10499..., shown 0,10 €, whose sum in single precision shows
    // 0,21 €: the total shows 0,20 €, the sum of the months shown.
    for (const int m : {9, 10}) {
        ReceiptsMonth month{QDate(2007, m, 1), {}};
        month.registers[0].sales = month.registers[0].total = 0.1f * float(m - 8);
        month.registers[0].entries = 1;
        month.registers[1].settlements = month.registers[1].total = 0.105f;
        month.registers[1].entries = 1;
        bilan.receiptsMonths.append(month);
    }
    ASSERT_EQ(cellText(Cell::money(0.105f + 0.105f)), u"0,21 €"_s);
    const Sheet receipts = receiptsSheet(bilan);
    ASSERT_EQ(receipts.totalRows, 3);
    ASSERT_EQ(receipts.rows.size(), 7);
    QStringList totals;
    for (const QList<Cell>& row : receipts.rows.mid(1, 6))
        totals << row[1].text + u' ' + cellText(row[2]) + u' ' + cellText(row[3]) + u' ' +
                      cellText(row[7]);
    EXPECT_EQ(totals, (QStringList{u"Caisse boissons 0,00 € 0,10 € 0,10 €"_s,
                                   u"Caisse matériel 0,20 € 0,00 € 0,20 €"_s,
                                   u"Caisse boissons 0,00 € 0,10 € 0,10 €"_s,
                                   u"Caisse matériel 0,30 € 0,00 € 0,30 €"_s,
                                   u"Caisse boissons 0,00 € 0,20 € 0,20 €"_s,
                                   u"Les deux 0,30 € 0,20 € 0,50 €"_s}));
    EXPECT_EQ(receipts.totals[0].matchColumn, 1);
    EXPECT_EQ(receipts.totals[0].match, u"Caisse matériel"_s);
    EXPECT_EQ(receipts.totals[1].match, u"Caisse boissons"_s);
    EXPECT_EQ(receipts.totals[2].matchColumn, -1);

    // Debts, a blank "Avoirs" row, credits: each total over its own rows.
    bilan.debts = {{1, u"A"_s, 10.004f, 1, {}, {}, 0, {1000, 0, 0, 0, 0}},
                   {2, u"B"_s, 2.5f, 2, {}, {}, 0, {0, 250, 0, 0, 0}},
                   {3, u"C"_s, -4, 1, {}, {}, 0, {-400, 0, 0, 0, 0}}};
    const Sheet debts = debtsSheet(bilan);
    ASSERT_EQ(debts.totalRows, 3);
    EXPECT_EQ(debts.rows[2][0].text, u"Avoirs"_s);
    EXPECT_EQ(debts.totals[0].rows, (QList<std::pair<qsizetype, qsizetype>>{{0, 1}}));
    EXPECT_EQ(debts.totals[1].rows, (QList<std::pair<qsizetype, qsizetype>>{{3, 3}}));
    EXPECT_EQ(debts.totals[2].rows, (QList<std::pair<qsizetype, qsizetype>>{{0, 1}, {3, 3}}));
    // Without a credit: the debts' total and the total, of the debtors.
    bilan.debts.removeLast();
    const Sheet owed = debtsSheet(bilan);
    ASSERT_EQ(owed.totalRows, 2);
    EXPECT_EQ(cellText(owed.rows.last()[1]), u"12,50 €"_s);
    EXPECT_EQ(owed.totals[1].rows, (QList<std::pair<qsizetype, qsizetype>>{{0, 1}}));
}

// The summary's figures are the cells of the sheets' total rows.
TEST(WorkbookTotals, TheSummaryRefersToEachSheetsTotal) {
    Bilan bilan;
    bilan.salesMonths = {{QDate(2007, 9, 1), {{1, 2, 30}, {1, 1, 2.5}}, {2, 3, 32.5}}};
    bilan.debts = {{1, u"A"_s, 10, 1, {}, {}, 0, {1000, 0, 0, 0, 0}},
                   {3, u"C"_s, -4, 1, {}, {}, 0, {-400, 0, 0, 0, 0}}};
    bilan.stock = {{1, u"Corde"_s, 20, 3, 60, false}};
    const QList<Sheet> sheets = bilanSheets(bilan);
    QStringList keys;
    for (const KeyTotal& key : keyTotals(sheets)) {
        const Sheet* sheet = nullptr;
        for (const Sheet& each : sheets)
            if (each.name == key.sheet)
                sheet = &each;
        ASSERT_NE(sheet, nullptr) << key.sheet.toStdString();
        ASSERT_GE(key.row, sheet->rows.size() - sheet->totalRows);
        keys << key.label + u": "_s + key.sheet + u' ' + sheet->headers[key.column] + u' ' +
                    cellText(sheet->rows[key.row][key.column]);
    }
    EXPECT_EQ(
        keys,
        (QStringList{u"Ventes de la caisse matériel: Ventes Montant matériel 30,00 €"_s,
                     u"Ventes de la caisse boissons: Ventes Montant boissons 2,50 €"_s,
                     u"Ventes des deux caisses: Ventes Montant 32,50 €"_s,
                     u"Encaissements de la caisse matériel: Encaissements Total 0,00 €"_s,
                     u"Encaissements de la caisse boissons: Encaissements Total 0,00 €"_s,
                     u"Encaissements des deux caisses: Encaissements Total 0,00 €"_s,
                     u"Dettes: Dettes Montant dû 10,00 €"_s, u"Avoirs: Dettes Montant dû -4,00 €"_s,
                     u"Dettes moins avoirs: Dettes Montant dû 6,00 €"_s,
                     u"Valeur du stock: Stock Valeur 60,00 €"_s}));
}

// A register writes a member "Prénom NOM"; its sheet names them "NOM
// Prénom", as the other sheets do, where the text names exactly one
// member; two members of one name, or a label, stay as written.
TEST(WorkbookNames, ARegisterNamesAMemberAsTheTablesDo) {
    BilanSources sources;
    sources.today = QDate(2008, 6, 30);
    sources.members.records.append({u"DUPONT                   "_s, u"Jean      "_s});
    sources.members.records.append({u"LEROY"_s, u"Anne"_s});
    sources.members.records.append({u"LEROY"_s, u"Anne"_s});
    sources.members.records.append({u"DE LA FONTAINE"_s, u"Marie-Ève"_s});
    for (const QString& who : {u"Jean DUPONT"_s, u"Anne LEROY"_s, u"Marie-Ève DE LA FONTAINE"_s,
                               u"Fond de caisse"_s, u"DUPONT Jean"_s}) {
        ReadEntry read;
        read.kind = ReadEntry::Kind::Sale;
        read.date = u"01/06/2008"_s;
        read.who = who;
        read.amounts = {1};
        sources.entries[0].append({read, QDate(2008, 6, 1), false});
    }
    const Bilan bilan = makeBilan(sources, Period::all());
    QStringList names;
    for (const Sheet& sheet : bilanSheets(bilan))
        if (sheet.name == u"Caisse matériel"_s)
            for (const QList<Cell>& row : sheet.rows.first(sheet.rows.size() - 1))
                names << row[2].text;
    EXPECT_EQ(names, (QStringList{u"DUPONT Jean"_s, u"Anne LEROY"_s, u"DE LA FONTAINE Marie-Ève"_s,
                                  u"Fond de caisse"_s, u"DUPONT Jean"_s}));
    // The CSV file holds the sheet's text.
    EXPECT_TRUE(
        csvText(bilanSheets(bilan)[6]).contains(u"Vente payée;DUPONT Jean;1,00"_s.toUtf8()));
}

class Exports : public InScratchDir {};

// Each write operation of an export failed in turn: nothing is left under
// the chosen names, nor any temporary file, and a file there before stays.
TEST_F(Exports, AFailureLeavesNothingHalfWritten) {
    Sheet other = aSheet();
    other.name = u"Dettes"_s;
    const QList<Sheet> sheets{aSheet(), other};
    const auto each = [&](const std::function<void()>& exportIt, const QStringList& written,
                          bool together) {
        int operations = 0;
        files.setFaults([&](FileOp op, const QString&) -> std::optional<QString> {
            if (op != FileOp::OpenRead && op != FileOp::Remove)
                ++operations;
            return std::nullopt;
        });
        exportIt();
        ASSERT_GE(operations, 4);
        for (const QString& name : written)
            EXPECT_TRUE(bytesOf(name).startsWith("PK") || bytesOf(name).startsWith("\xEF\xBB\xBF"));
        for (int k = 1; k <= operations; ++k) {
            SCOPED_TRACE(k);
            for (const QString& name : written)
                writeBytes(name, "avant");
            int seen = 0;
            files.setFaults([&](FileOp op, const QString&) -> std::optional<QString> {
                if (op != FileOp::OpenRead && op != FileOp::Remove && ++seen == k)
                    return u"Le disque est plein."_s;
                return std::nullopt;
            });
            EXPECT_THROW(exportIt(), FileError);
            EXPECT_EQ(entries(), written);
            // The file that failed is as it was; those before it are whole,
            // or, for files written together, as they were too.
            for (const QString& name : written) {
                const QByteArray bytes = bytesOf(name);
                EXPECT_TRUE(bytes == "avant" || (!together && (bytes.startsWith("\xEF\xBB\xBF") ||
                                                               bytes.startsWith("PK"))))
                    << name.toStdString();
            }
        }
        files.setFaults({});
    };
    each([&] { exportWorkbook(files, sheets, pathOf(u"Bilans.xlsx"_s), {}); }, {u"Bilans.xlsx"_s},
         false);
    QDir(files.current()).remove(u"Bilans.xlsx"_s);
    const QStringList csv{u"B - Dettes.csv"_s, u"B - Ventes.csv"_s};
    each([&] { exportCsv(files, sheets, pathOf(u"B.csv"_s)); }, csv, true);

    // What a crash left: a new file not yet in place, and a former one set
    // aside whose name holds the new one or none. The next export sweeps
    // them.
    writeBytes(u"~B - Ventes.csv"_s, "nouveau");
    QDir(files.current()).rename(u"B - Dettes.csv"_s, u"~B - Dettes.csv.ancien"_s);
    writeBytes(u"~B - Ventes.csv.ancien"_s, "avant");
    exportCsv(files, sheets, pathOf(u"B.csv"_s));
    EXPECT_EQ(entries(), csv);
    for (const QString& name : csv)
        EXPECT_TRUE(bytesOf(name).startsWith("\xEF\xBB\xBF")) << name.toStdString();
}

TEST_F(Exports, AFolderThatCannotBeWrittenIsTold) {
    EXPECT_THROW(exportWorkbook(files, {aSheet()}, pathOf(u"absent/B.xlsx"_s), {}), FileError);
    EXPECT_TRUE(entries().isEmpty());
}

} // namespace
} // namespace vendalise
