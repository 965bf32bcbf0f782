#pragma once

#include "bilans/Figures.h"
#include "bilans/Sheets.h"
#include "bilans/Statements.h"
#include "core/Window.h"

#include <optional>

class QCheckBox;
class QComboBox;
class QPushButton;
class QTabWidget;
class QTableView;

namespace vendalise {

class ChartView;
class FileError;

// "Bilans": the figures of a period (sales and receipts by month, the
// sales by product, or a season's sales and receipts beside the season
// before) and those of today (debts, stock), as tables and charts, read
// from the files without writing any, exported as a workbook or CSV files,
// printed.
class FrmBilans : public Window {
    Q_OBJECT
public:
    explicit FrmBilans(App& app);

    // Reads the files afresh and shows the figures of the period.
    void refresh();

private:
    // The figures of the period from the files as read when the window
    // opened: nothing else writes them while this modal window is shown.
    void showPeriod();
    void showPeriodFigures();
    void showTodayFigures();
    void setPeriod(const Period& period);
    // A date typed in "Du" or "Au": the period follows it, or it is told.
    void periodTyped(TextField* field);
    void sortDebts(int column);
    void exportFigures();
    void print();
    // Stores the club's name as the field "Club" holds it.
    void keepClub();
    // Saves the charts of the view shown as a PNG picture.
    void exportPicture();
    // The debt statements of the members chosen in the "Dettes" table, or
    // of every debtor: printed, one document a member, or saved as PDF
    // files in a folder the user chooses.
    void printStatements();
    void saveStatements();
    // From the files as the window read them; none (and told) when the
    // members chosen owe nothing.
    QList<Statement> chosenStatements();
    void tellExport(const QString& what, const QString& written);
    void tellExport(const QString& what, const FileError& error);
    // The charts of the tab shown.
    QList<const ChartView*> shownCharts() const;
    // The tables of the tab shown.
    QList<Sheet> shownSheets() const;
    // The sales' and the receipts' tables: by month, or two seasons compared.
    Sheet salesView() const;
    Sheet receiptsView() const;

    Period period_;
    std::optional<BilanSources> sources_;
    Bilan bilan_;
    // The season shown beside the one before, while "Comparer à la saison
    // précédente" is ticked.
    std::optional<SeasonComparison> comparison_;
    DebtOrder debtOrder_ = DebtOrder::Amount;

    ClickLabel* LabelDu;
    TextField* TextDu;
    ClickLabel* LabelAu;
    TextField* TextAu;
    QPushButton* CmdSaison;
    QPushButton* CmdSaisonPrecedente;
    QPushButton* CmdAnnee;
    QPushButton* CmdTout;
    QCheckBox* CheckComparer;
    ClickLabel* LabelIllisible;
    QTabWidget* TabVues;
    // The views' pages.
    QWidget* salesPage_;
    QWidget* receiptsPage_;
    QWidget* debtsPage_;
    QWidget* stockPage_;
    QTableView* TableVentes;
    QTableView* TableProduits;
    QTableView* TableEncaissements;
    QTableView* TableDettes;
    QTableView* TableStock;
    ChartView* ChartVentes;
    ChartView* ChartProduits;
    ChartView* ChartEncaissements;
    ChartView* ChartDettesAge;
    ChartView* ChartDebiteurs;
    QCheckBox* CheckTousDebiteurs;
    QPushButton* CmdReleve;
    QPushButton* CmdRelevePdf;
    ClickLabel* LabelNoteVentes;
    ClickLabel* LabelNoteEncaissements;
    ClickLabel* LabelNoteDettes;
    ClickLabel* LabelNoteStock;
    QComboBox* ComboFormat;
    QPushButton* CmdExporter;
    QPushButton* CmdImprimer;
    QPushButton* CmdExporterImage;
    ClickLabel* LabelClub;
    TextField* TextClub;
    QPushButton* CmdRetour;
};

} // namespace vendalise
