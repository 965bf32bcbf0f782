// Prints the Bilans views of the realistic club as the program does without
// a printer (PDF files in "Impressions"), and a report of lines, then says
// what was printed in OUT/printed.tsv for check_print.py, which reads the
// PDF files back. Usage: bilans_print_pdf OUT
#include "bilans/BilanPrint.h"
#include "bilans/Charts.h"
#include "bilans/Figures.h"
#include "bilans/Sheets.h"
#include "core/App.h"
#include "core/Printing.h"
#include "platform/NumberForm.h"
#include "platform/QtPrinter.h"
#include "platform/QtSettings.h"
#include "RealisticClub.h"
#include "ScriptedServices.h"

#include <QApplication>
#include <QFile>
#include <QPrinterInfo>
#include <QTextDocument>
#include <QTextStream>

#include <cstdio>
#include <cstdlib>

using namespace vendalise;

namespace {

class NoWindows : public WindowSystem {
public:
    void showModal(QDialog&) override {}

protected:
    void end() override { std::abort(); }
};

int fail(const char* what) {
    std::fprintf(stderr, "%s\n", what);
    return 1;
}

} // namespace

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    if (argc != 2)
        return fail("usage: bilans_print_pdf OUT");
    // With a printer installed, documents would go to paper.
    if (!QPrinterInfo::availablePrinterNames().isEmpty()) {
        std::fprintf(stderr, "a printer is installed: nothing is printed\n");
        return 77;
    }
    const QString out = QString::fromLocal8Bit(argv[1]);
    const testing::RealisticClub club = testing::realisticClub();
    if (!testing::writeClub(club, out))
        return fail("the club could not be written");

    testing::ScriptedMessages messages;
    QtSettingsStore settings(out + QStringLiteral("/Vendalise.ini"));
    QStringList opened;
    QtPrinter printer([&opened](const QString& path) { opened.append(path); });
    testing::FixedClock clock;
    clock.date = club.today;
    NoWindows windows;
    Services services{messages, settings, printer, clock, windows, {out, out}};
    App app(services);
    if (!app.files.setCurrent(out))
        return fail("the club's folder cannot be the current one");
    printer.setFolder([&app] { return app.files.current(); });

    QFile file(out + QStringLiteral("/printed.tsv"));
    if (!file.open(QIODevice::WriteOnly | QIODevice::Text))
        return fail("printed.tsv cannot be written");
    QTextStream said(&file);

    // The font chosen as at start-up, and a report of lines in it.
    ChoixPolice(app);
    ImprimeLigne(app, QStringLiteral("Etat du stock à la date du : ") + dateText(club.today), 12,
                 true, true);
    ImprimeLigne(app, QStringLiteral("    Piolet - Prix unitaire : 35 €"), 10, false, false);
    FinImpression(app);
    if (opened.size() != 1)
        return fail("the report of lines made no PDF");
    said << "font\t" << printer.chosenFont() << "\n";
    said << "report\t" << opened.last() << "\n";

    const BilanSources sources =
        readBilanSources(app.files, club.threshold, club.today, systemShortDateForm());
    const Period season = Period::season(club.today);
    const Bilan bilan = makeBilan(sources, season);
    const QString period =
        QStringLiteral("du %1 au %2").arg(dateText(season.from), dateText(season.to));
    const QString today = QStringLiteral("à la date du ") + dateText(club.today);
    const QList<BilanPrintView> views{
        {QStringLiteral("Ventes"),
         period,
         QStringLiteral("Club Alpin de Saint-Étienne"),
         club.today,
         {salesSheet(bilan), productsSheet(bilan)},
         {salesByMonthChart(bilan), topProductsChart(bilan)},
         printer.chosenFont()},
        {QStringLiteral("Encaissements"),
         period,
         {},
         club.today,
         {receiptsSheet(bilan)},
         {receiptsChart(bilan)},
         printer.chosenFont()},
        {QStringLiteral("Dettes"),
         today,
         {},
         club.today,
         {debtsSheet(bilan)},
         {debtsByAgeChart(bilan), topDebtorsChart(bilan)},
         printer.chosenFont()},
        {QStringLiteral("Stock"),
         today,
         {},
         club.today,
         {stockSheet(bilan)},
         {},
         printer.chosenFont()},
    };
    for (const BilanPrintView& view : views) {
        const std::unique_ptr<QTextDocument> document = bilanDocument(view);
        const Printer::Orientation orientation = bilanOrientation(view);
        const Printer::Printed printed =
            printer.printDocument(bilanTitle(view), *document, orientation);
        if (printed.failure)
            return fail(qPrintable(printed.failure->description));
        if (printed.pdf.isEmpty() || opened.last() != printed.pdf)
            return fail("a document went to no PDF, or was not opened");
        said << "view\t" << view.view << "\t" << printed.pdf << "\t" << document->pageCount()
             << "\t" << (orientation == Printer::Orientation::Landscape ? "landscape" : "portrait")
             << "\t" << view.when << "\t" << view.club << "\t" << dateText(club.today) << "\n";
        for (const Sheet& sheet : view.sheets) {
            said << "sheet\t" << sheet.name << "\t" << sheet.nameColumn << "\t"
                 << sheet.headers.join(QLatin1Char('\t')) << "\n";
            for (const QList<Cell>& row : sheet.rows) {
                QStringList cells;
                for (const Cell& cell : row)
                    cells.append(cellText(cell));
                said << "row\t" << cells.join(QLatin1Char('\t')) << "\n";
            }
        }
        for (const ChartData& chart : view.charts)
            said << "chart\t" << chart.title << "\n";
    }
    return 0;
}
