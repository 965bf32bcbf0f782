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

class Exports : public InScratchDir {};

// Each write operation of an export failed in turn: nothing is left under
// the chosen names, nor any temporary file, and a file there before stays.
TEST_F(Exports, AFailureLeavesNothingHalfWritten) {
    Sheet other = aSheet();
    other.name = u"Dettes"_s;
    const QList<Sheet> sheets{aSheet(), other};
    const auto each = [&](const std::function<void()>& exportIt, const QStringList& written) {
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
            // The file that failed is as it was; those before it are whole.
            for (const QString& name : written) {
                const QByteArray bytes = bytesOf(name);
                EXPECT_TRUE(bytes == "avant" || bytes.startsWith("\xEF\xBB\xBF") ||
                            bytes.startsWith("PK"))
                    << name.toStdString();
            }
        }
        files.setFaults({});
    };
    each([&] { exportWorkbook(files, sheets, pathOf(u"Bilans.xlsx"_s), {}); }, {u"Bilans.xlsx"_s});
    QDir(files.current()).remove(u"Bilans.xlsx"_s);
    each([&] { exportCsv(files, {aSheet()}, pathOf(u"B.csv"_s)); }, {u"B - Ventes.csv"_s});
}

TEST_F(Exports, AFolderThatCannotBeWrittenIsTold) {
    EXPECT_THROW(exportWorkbook(files, {aSheet()}, pathOf(u"absent/B.xlsx"_s), {}), FileError);
    EXPECT_TRUE(entries().isEmpty());
}

} // namespace
} // namespace vendalise
