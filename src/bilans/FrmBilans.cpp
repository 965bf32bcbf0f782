#include "bilans/FrmBilans.h"

#include "bilans/BilanPrint.h"
#include "bilans/ChartViews.h"
#include "bilans/Export.h"
#include "bilans/SheetView.h"
#include "catalogue/Catalogue.h"
#include "core/App.h"
#include "core/Printing.h"
#include "core/Settings.h"
#include "platform/DataFiles.h"
#include "platform/NumberForm.h"
#include "platform/QtSettings.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QBoxLayout>
#include <QHeaderView>
#include <QImage>
#include <QPainter>
#include <QPushButton>
#include <QTableView>
#include <QTabWidget>
#include <QTextDocument>

namespace vendalise {

namespace {

ClickLabel* addNote(QWidget* page, const QString& name) {
    auto* note = new ClickLabel(page);
    note->setObjectName(name);
    note->setWordWrap(true);
    note->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    return note;
}

// "Du 01/09/2026 au 31/08/2027", "Depuis le ...", "Tout".
QString periodText(const Period& period) {
    if (period.from.isValid() && period.to.isValid())
        return QStringLiteral("du %1 au %2").arg(dateText(period.from), dateText(period.to));
    if (period.from.isValid())
        return QStringLiteral("depuis le %1").arg(dateText(period.from));
    if (period.to.isValid())
        return QStringLiteral("jusqu'au %1").arg(dateText(period.to));
    return QStringLiteral("toutes dates");
}

} // namespace

FrmBilans::FrmBilans(App& app) : Window(app, QStringLiteral("FrmBilans"), 14400, 9840) {
    setWindowTitle(QStringLiteral("Bilans"));
    // Controls are made at their place in twips, then laid out: the window
    // may be resized, its tables and charts take the room.
    LabelDu = addLabel(QStringLiteral("LabelDu"), QStringLiteral("Du"), twips(240, 270, 360, 300));
    TextDu = addField(QStringLiteral("TextDu"), twips(600, 210, 1380, 360));
    TextDu->setToolTip(QStringLiteral("Premier jour de la période (jj/mm/aaaa)"));
    LabelAu = addLabel(QStringLiteral("LabelAu"), QStringLiteral("Au"), twips(2160, 270, 360, 300));
    TextAu = addField(QStringLiteral("TextAu"), twips(2520, 210, 1380, 360));
    TextAu->setToolTip(QStringLiteral("Dernier jour de la période (jj/mm/aaaa)"));
    CmdSaison = addButton(QStringLiteral("CmdSaison"), QStringLiteral("Saison"),
                          QStringLiteral("Du 1er septembre au 31 août, la saison en cours"),
                          twips(4140, 180, 1200, 420));
    CmdSaisonPrecedente =
        addButton(QStringLiteral("CmdSaisonPrecedente"), QStringLiteral("Saison précédente"),
                  QStringLiteral("La saison d'avant celle affichée"), twips(5460, 180, 1860, 420));
    CmdAnnee = addButton(QStringLiteral("CmdAnnee"), QStringLiteral("Année"),
                         QStringLiteral("L'année civile en cours"), twips(7440, 180, 1200, 420));
    CmdTout = addButton(QStringLiteral("CmdTout"), QStringLiteral("Tout"),
                        QStringLiteral("Toutes les dates"), twips(8760, 180, 1200, 420));
    CheckComparer = addCheckBox(QStringLiteral("CheckComparer"),
                                QStringLiteral("Comparer à la saison précédente"),
                                twips(10140, 180, 3300, 420));
    CheckComparer->setToolTip(QStringLiteral(
        "Ventes et encaissements de la saison affichée, mois par mois, à côté de ceux de la "
        "saison d'avant"));
    LabelIllisible = addLabel(QStringLiteral("LabelIllisible"), {}, twips(7080, 9180, 5400, 540));
    LabelIllisible->setWordWrap(true);

    TabVues = new QTabWidget(this);
    TabVues->setObjectName(QStringLiteral("TabVues"));
    const auto page = [this](const QString& title) {
        auto* widget = new QWidget;
        TabVues->addTab(widget, title);
        return widget;
    };
    const auto addChart = [](QWidget* page, const QString& name) {
        return new ChartView(name, page);
    };
    // Each view: its tables above, its charts below, a note under them.
    const auto layOut = [](QWidget* page, const QList<QWidget*>& tables,
                           const QList<QWidget*>& charts, QLabel* note) {
        auto* column = new QVBoxLayout(page);
        auto* top = new QHBoxLayout;
        for (QWidget* table : tables)
            top->addWidget(table);
        column->addLayout(top, 1);
        if (!charts.isEmpty()) {
            auto* bottom = new QHBoxLayout;
            for (QWidget* chart : charts)
                bottom->addWidget(chart);
            column->addLayout(bottom, 1);
        }
        column->addWidget(note);
    };
    const auto frame = [](QTableView* table) { return table->parentWidget(); };
    QWidget* sales = salesPage_ = page(QStringLiteral("Ventes"));
    TableVentes = addSheetTable(sales, QStringLiteral("TableVentes"));
    TableProduits = addSheetTable(sales, QStringLiteral("TableProduits"));
    ChartVentes = addChart(sales, QStringLiteral("ChartVentes"));
    ChartProduits = addChart(sales, QStringLiteral("ChartProduits"));
    LabelNoteVentes = addNote(sales, QStringLiteral("LabelNoteVentes"));
    layOut(sales, {frame(TableVentes), frame(TableProduits)}, {ChartVentes, ChartProduits},
           LabelNoteVentes);
    QWidget* receipts = receiptsPage_ = page(QStringLiteral("Encaissements"));
    TableEncaissements = addSheetTable(receipts, QStringLiteral("TableEncaissements"));
    ChartEncaissements = addChart(receipts, QStringLiteral("ChartEncaissements"));
    LabelNoteEncaissements = addNote(receipts, QStringLiteral("LabelNoteEncaissements"));
    layOut(receipts, {frame(TableEncaissements)}, {ChartEncaissements}, LabelNoteEncaissements);
    QWidget* debts = debtsPage_ = page(QStringLiteral("Dettes"));
    TableDettes = addSheetTable(debts, QStringLiteral("TableDettes"));
    TableDettes->horizontalHeader()->setToolTip(debtSortText());
    ChartDettesAge = addChart(debts, QStringLiteral("ChartDettesAge"));
    ChartDebiteurs = addChart(debts, QStringLiteral("ChartDebiteurs"));
    LabelNoteDettes = addNote(debts, QStringLiteral("LabelNoteDettes"));
    layOut(debts, {frame(TableDettes)}, {ChartDettesAge, ChartDebiteurs}, LabelNoteDettes);
    CheckTousDebiteurs = addCheckBox(QStringLiteral("CheckTousDebiteurs"),
                                     QStringLiteral("Tous les débiteurs"), twips(0, 0, 2100, 420));
    CheckTousDebiteurs->setToolTip(
        QStringLiteral("Un relevé pour chaque adhérent qui doit, quel que soit l'adhérent choisi"));
    CmdReleve = addButton(QStringLiteral("CmdReleve"), QStringLiteral("Relevé"),
                          QStringLiteral("Imprimer le relevé de dettes de l'adhérent choisi dans "
                                         "le tableau, ou de chaque débiteur si aucun ne l'est"),
                          twips(0, 0, 1500, 450));
    CmdRelevePdf = addButton(
        QStringLiteral("CmdRelevePdf"), QStringLiteral("Enregistrer en PDF"),
        QStringLiteral("Enregistrer en PDF le relevé de dettes de l'adhérent choisi dans le "
                       "tableau, ou de chaque débiteur si aucun ne l'est : un fichier par adhérent"),
        twips(0, 0, 2400, 450));
    QWidget* stock = stockPage_ = page(QStringLiteral("Stock"));
    TableStock = addSheetTable(stock, QStringLiteral("TableStock"));
    LabelNoteStock = addNote(stock, QStringLiteral("LabelNoteStock"));
    layOut(stock, {frame(TableStock)}, {}, LabelNoteStock);

    ComboFormat = new QComboBox(this);
    ComboFormat->setObjectName(QStringLiteral("ComboFormat"));
    ComboFormat->setGeometry(twips(240, 9270, 1200, 390));
    ComboFormat->addItems({QStringLiteral("XLSX"), QStringLiteral("CSV")});
    ComboFormat->setToolTip(QStringLiteral("Classeur XLSX, ou fichiers CSV"));
    CmdExporter = addButton(QStringLiteral("CmdExporter"), QStringLiteral("Exporter"),
                            QStringLiteral("Exporter les bilans vers un tableur"),
                            twips(1560, 9240, 1500, 450));
    CmdImprimer =
        addButton(QStringLiteral("CmdImprimer"), QStringLiteral("Imprimer"),
                  QStringLiteral("Imprimer la vue affichée"), twips(3180, 9240, 1500, 450));
    CmdExporterImage =
        addButton(QStringLiteral("CmdExporterImage"), QStringLiteral("Exporter l'image"),
                  QStringLiteral("Enregistrer les graphiques de la vue en PNG"),
                  twips(4800, 9240, 2100, 450));
    LabelClub =
        addLabel(QStringLiteral("LabelClub"), QStringLiteral("Club"), twips(7080, 9315, 480, 300));
    TextClub = addField(QStringLiteral("TextClub"), twips(7560, 9255, 2700, 360));
    TextClub->setToolTip(QStringLiteral("Le nom du club, imprimé en tête des bilans"));
    TextClub->setText(clubName(app_));
    CmdRetour = addButton(QStringLiteral("CmdRetour"), QStringLiteral("Retour"),
                          QStringLiteral("Retour"), twips(12660, 9240, 1500, 450));

    // The period above the views, the exports and the return below them;
    // buttons and fields keep the size they were designed with, or the one
    // their caption needs.
    const auto keepSize = [](QWidget* widget) {
        widget->setMinimumSize(widget->size());
        widget->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    };
    const auto row = [keepSize](const QList<QWidget*>& widgets, QWidget* last) {
        auto* line = new QHBoxLayout;
        for (QWidget* widget : widgets) {
            if (!qobject_cast<QLabel*>(widget))
                keepSize(widget);
            line->addWidget(widget);
        }
        if (last)
            line->addWidget(last, 1);
        return line;
    };
    // The statements' controls under the debts' table.
    QHBoxLayout* statements = row({CheckTousDebiteurs, CmdReleve, CmdRelevePdf}, nullptr);
    statements->addStretch(1);
    static_cast<QVBoxLayout*>(debts->layout())->insertLayout(1, statements);
    auto* window = new QVBoxLayout(this);
    window->setContentsMargins(twipsToPixels(240), twipsToPixels(150), twipsToPixels(240),
                               twipsToPixels(150));
    QHBoxLayout* top = row({LabelDu, TextDu, LabelAu, TextAu, CmdSaison, CmdSaisonPrecedente,
                            CmdAnnee, CmdTout, CheckComparer},
                           nullptr);
    top->addStretch(1);
    window->addLayout(top);
    window->addWidget(TabVues, 1);
    QHBoxLayout* bottom =
        row({ComboFormat, CmdExporter, CmdImprimer, CmdExporterImage, LabelClub, TextClub},
            LabelIllisible);
    bottom->addWidget(CmdRetour);
    keepSize(CmdRetour);
    window->addLayout(bottom);
    makeResizable();

    const QDate today = app_.sys.clock.today();
    period_ = Period::season(today);
    TextDu->setText(dateText(period_.from));
    TextAu->setText(dateText(period_.to));

    handle(CmdSaison, &QPushButton::clicked,
           [this] { setPeriod(Period::season(app_.sys.clock.today())); });
    handle(CmdSaisonPrecedente, &QPushButton::clicked,
           [this] { setPeriod(Period::previousSeason(period_, app_.sys.clock.today())); });
    handle(CmdAnnee, &QPushButton::clicked,
           [this] { setPeriod(Period::year(app_.sys.clock.today())); });
    handle(CmdTout, &QPushButton::clicked, [this] { setPeriod(Period::all()); });
    handle(CheckComparer, &QCheckBox::clicked, [this] { showPeriod(); });
    for (TextField* field : {TextDu, TextAu}) {
        handle(field, &QLineEdit::returnPressed, [this, field] { periodTyped(field); });
        handle(field, &TextField::left, [this, field] { periodTyped(field); });
    }
    connect(TableDettes->horizontalHeader(), &QHeaderView::sectionClicked, this,
            [this](int column) { app_.run([this, column] { sortDebts(column); }); });
    handle(CmdExporter, &QPushButton::clicked, [this] { exportFigures(); });
    handle(CmdImprimer, &QPushButton::clicked, [this] { print(); });
    handle(TextClub, &QLineEdit::returnPressed, [this] { keepClub(); });
    handle(TextClub, &TextField::left, [this] { keepClub(); });
    handle(CmdExporterImage, &QPushButton::clicked, [this] { exportPicture(); });
    handle(CmdReleve, &QPushButton::clicked, [this] { printStatements(); });
    handle(CmdRelevePdf, &QPushButton::clicked, [this] { saveStatements(); });
    handle(CmdRetour, &QPushButton::clicked, [this] { hide(); });
}

void FrmBilans::refresh() {
    BilanSources sources = readBilanSources(app_.files, app_.part<Catalogue>().threshold,
                                            app_.sys.clock.today(), systemShortDateForm());
    Bilan bilan = makeBilan(sources, period_);
    vendalise::sortDebts(bilan.debts, debtOrder_);
    sources_ = std::move(sources);
    bilan_ = std::move(bilan);
    showTodayFigures();
    showPeriod();
}

void FrmBilans::showPeriod() {
    if (!sources_) {
        refresh();
        return;
    }
    const BilanSources& sources = *sources_;
    if (bilan_.period != period_)
        setBilanPeriod(bilan_, sources, period_);
    // Two seasons are compared only while a season is shown.
    CheckComparer->setEnabled(period_.isSeason());
    if (!period_.isSeason())
        CheckComparer->setChecked(false);
    comparison_.reset();
    if (CheckComparer->isChecked())
        comparison_ = compareSeasons(sources, period_);
    showPeriodFigures();
}

void FrmBilans::setPeriod(const Period& period) {
    period_ = period;
    TextDu->setText(period.from.isValid() ? dateText(period.from) : QString());
    TextAu->setText(period.to.isValid() ? dateText(period.to) : QString());
    showPeriod();
}

void FrmBilans::periodTyped(TextField* field) {
    QDate& bound = field == TextDu ? period_.from : period_.to;
    const QString text = field->text().trimmed();
    const std::optional<QDate> typed = readDateText(text);
    if (!text.isEmpty() && !typed) {
        field->setText(bound.isValid() ? dateText(bound) : QString());
        app_.tell(QStringLiteral("La date « %1 » n'est pas lisible.\r\nÉcrivez-la jj/mm/aaaa, "
                                 "ou laissez le champ vide.")
                      .arg(text),
                  QStringLiteral("Bilans"), Messages::Icon::Exclamation);
        return;
    }
    const QDate day = typed.value_or(QDate());
    field->setText(day.isValid() ? dateText(day) : QString());
    if (day == bound)
        return;
    bound = day;
    showPeriod();
}

void FrmBilans::showTodayFigures() {
    const Sheet debts = debtsSheet(bilan_);
    showSheet(TableDettes, debts);
    const Sheet stock = stockSheet(bilan_);
    showSheet(TableStock, stock);
    ChartDettesAge->show(debtsByAgeChart(bilan_));
    ChartDebiteurs->show(topDebtorsChart(bilan_));
    LabelNoteDettes->setText(debts.note);
    LabelNoteStock->setText(stock.note);
}

void FrmBilans::showPeriodFigures() {
    const Sheet sales = salesView();
    showSheet(TableVentes, sales);
    showSheet(TableProduits, productsSheet(bilan_));
    const Sheet receipts = receiptsView();
    showSheet(TableEncaissements, receipts);
    ChartVentes->show(comparison_ ? seasonsChart(*comparison_, Compared::Sales)
                                  : salesByMonthChart(bilan_));
    ChartProduits->show(topProductsChart(bilan_));
    ChartEncaissements->show(comparison_ ? seasonsChart(*comparison_, Compared::Receipts)
                                         : receiptsChart(bilan_));
    LabelNoteVentes->setText(sales.note);
    LabelNoteEncaissements->setText(receipts.note);
    QStringList unreadable;
    if (bilan_.unreadableLines > 0)
        unreadable.append(QStringLiteral("%1 ligne(s) de vente").arg(bilan_.unreadableLines));
    if (bilan_.unreadableEntries > 0)
        unreadable.append(QStringLiteral("%1 entrée(s) de caisse").arg(bilan_.unreadableEntries));
    LabelIllisible->setText(unreadable.isEmpty() ? QString()
                                                 : kUnreadableDate + QStringLiteral(" : ") +
                                                       unreadable.join(QStringLiteral(", ")));
}

// The order of the header clicked, whatever its column's place.
void FrmBilans::sortDebts(int column) {
    const std::optional<DebtOrder> order = debtOrderOf(debtsSheet(bilan_).headers.value(column));
    if (!order)
        return;
    debtOrder_ = *order;
    vendalise::sortDebts(bilan_.debts, debtOrder_);
    showSheet(TableDettes, debtsSheet(bilan_));
}

void FrmBilans::exportFigures() {
    const bool csv = ComboFormat->currentIndex() == 1;
    const QString suffix = csv ? QStringLiteral(".csv") : QStringLiteral(".xlsx");
    const QString proposed =
        QDir(app_.files.current())
            .filePath(QStringLiteral("Bilans du ") +
                      app_.sys.clock.today().toString(QStringLiteral("dd-MM-yyyy")) + suffix);
    QString path = app_.sys.messages.saveFileName(
        QStringLiteral("Exporter les bilans"), QDir::toNativeSeparators(proposed),
        csv ? QStringLiteral("Fichiers CSV (*.csv)") : QStringLiteral("Classeur (*.xlsx)"));
    if (path.isEmpty())
        return;
    path = QDir::fromNativeSeparators(path);
    if (!path.endsWith(suffix, Qt::CaseInsensitive))
        path += suffix;
    QList<Sheet> sheets = bilanSheets(bilan_);
    if (comparison_)
        sheets << comparisonSheets(*comparison_);
    QString written;
    try {
        if (csv)
            written = exportCsv(app_.files, sheets, path).join(QStringLiteral("\r\n"));
        else {
            exportWorkbook(
                app_.files, sheets, path,
                {clubName(app_), periodText(period_), app_.sys.clock.today(),
                 app_.sys.clock.time()});
            written = path;
        }
    } catch (const FileError& error) {
        tellExport(QStringLiteral("Les bilans n'ont pas pu être exportés :"), error);
        return;
    }
    tellExport(QStringLiteral("Les bilans ont été exportés :"), written);
}

Sheet FrmBilans::salesView() const {
    return comparison_ ? comparisonSheet(*comparison_, Compared::Sales) : salesSheet(bilan_);
}

Sheet FrmBilans::receiptsView() const {
    return comparison_ ? comparisonSheet(*comparison_, Compared::Receipts) : receiptsSheet(bilan_);
}

QList<Sheet> FrmBilans::shownSheets() const {
    const QWidget* shown = TabVues->currentWidget();
    if (shown == salesPage_)
        return {salesView(), productsSheet(bilan_)};
    if (shown == receiptsPage_)
        return {receiptsView()};
    if (shown == debtsPage_)
        return {debtsSheet(bilan_)};
    return {stockSheet(bilan_)};
}

QList<const ChartView*> FrmBilans::shownCharts() const {
    // The charts of the page shown, in their order on it.
    QList<const ChartView*> charts;
    for (const ChartView* chart : TabVues->currentWidget()->findChildren<ChartView*>())
        charts.append(chart);
    return charts;
}

// The charts of the view side by side, twice their size on screen.
void FrmBilans::exportPicture() {
    const QList<const ChartView*> charts = shownCharts();
    if (charts.isEmpty()) {
        app_.tell(QStringLiteral("La vue « %1 » n'a pas de graphique.")
                      .arg(TabVues->tabText(TabVues->currentIndex())),
                  QStringLiteral("Bilans"), Messages::Icon::Information);
        return;
    }
    const QString view = TabVues->tabText(TabVues->currentIndex());
    const QString proposed =
        QDir(app_.files.current())
            .filePath(QStringLiteral("Bilans ") + view + QStringLiteral(" du ") +
                      app_.sys.clock.today().toString(QStringLiteral("dd-MM-yyyy")) +
                      QStringLiteral(".png"));
    QString path = app_.sys.messages.saveFileName(QStringLiteral("Exporter l'image"),
                                                  QDir::toNativeSeparators(proposed),
                                                  QStringLiteral("Image PNG (*.png)"));
    if (path.isEmpty())
        return;
    path = QDir::fromNativeSeparators(path);
    if (!path.endsWith(QLatin1String(".png"), Qt::CaseInsensitive))
        path += QStringLiteral(".png");
    const QImage image = chartsPicture(charts);
    try {
        app_.files.saveThrough(path, [&](const QString& temporary) {
            if (!image.save(temporary, "PNG"))
                throw FileError(FileError::Kind::Other, path,
                                QStringLiteral("L'image n'a pas pu être écrite."));
        });
    } catch (const FileError& error) {
        tellExport(QStringLiteral("L'image n'a pas pu être exportée :"), error);
        return;
    }
    tellExport(QStringLiteral("L'image a été exportée :"), path);
}

QList<Statement> FrmBilans::chosenStatements() {
    if (!sources_)
        refresh();
    const BilanSources& sources = *sources_;
    QList<int> chosen;
    if (!CheckTousDebiteurs->isChecked())
        for (const QModelIndex& index : TableDettes->selectionModel()->selectedRows())
            if (const int member = debtsSheetMember(bilan_, index.row()))
                chosen.append(member);
    QList<Statement> statements = debtStatements(sources, clubName(app_));
    if (!chosen.isEmpty())
        statements.removeIf(
            [&](const Statement& statement) { return !chosen.contains(statement.member); });
    if (statements.isEmpty())
        app_.tell(chosen.isEmpty() ? QStringLiteral("Aucun adhérent n'a de dette.")
                                   : QStringLiteral("L'adhérent choisi ne doit rien : il n'a "
                                                    "pas de relevé de dettes."),
                  QStringLiteral("Bilans"), Messages::Icon::Information);
    return statements;
}

// Each statement a document of its own, laid out on the printer's pages.
void FrmBilans::printStatements() {
    for (const Statement& statement : chosenStatements()) {
        StatementPages pages(statement);
        ImprimeDocument(app_, QStringLiteral("Relevé de dettes - ") + statement.name,
                        pages.document(), Printer::Orientation::Portrait);
    }
}

// A PDF file a member in the folder chosen. A failure stops there: the
// files written before it stay, and the message names them.
void FrmBilans::saveStatements() {
    const QList<Statement> statements = chosenStatements();
    if (statements.isEmpty())
        return;
    QString folder = app_.sys.messages.folderName(
        QStringLiteral("Enregistrer les relevés de dettes en PDF"),
        QDir::toNativeSeparators(app_.files.current()));
    if (folder.isEmpty())
        return;
    folder = QDir::fromNativeSeparators(folder);
    const QStringList names = statementFileNames(statements, sources_->members);
    const auto inFolder = [&](const QStringList& files) {
        return QDir::toNativeSeparators(folder) + QStringLiteral("\r\n") +
               files.join(QStringLiteral("\r\n"));
    };
    QStringList written;
    for (qsizetype i = 0; i < statements.size(); ++i) {
        const QString path = QDir(folder).filePath(names[i]);
        try {
            writeStatementPdf(app_.files, statements[i], path);
        } catch (const FileError& error) {
            QString text = QStringLiteral("Le relevé de dettes n'a pas pu être enregistré :\r\n") +
                           QDir::toNativeSeparators(error.file()) + QStringLiteral("\r\n") +
                           error.description();
            if (!written.isEmpty())
                text += QStringLiteral("\r\n\r\nLes relevés déjà enregistrés restent dans le "
                                       "dossier :\r\n") +
                        inFolder(written);
            app_.tell(text, QStringLiteral("Bilans"), Messages::Icon::Critical);
            return;
        }
        written.append(names[i]);
    }
    app_.tell((written.size() == 1
                   ? QStringLiteral("Le relevé de dettes a été enregistré dans le dossier :\r\n")
                   : QStringLiteral("Les relevés de dettes ont été enregistrés dans le dossier "
                                    ":\r\n")) +
                  inFolder(written),
              QStringLiteral("Bilans"), Messages::Icon::Information);
}

// What an export wrote, and why it could not.
void FrmBilans::tellExport(const QString& what, const QString& written) {
    app_.tell(what + QStringLiteral("\r\n") + QDir::toNativeSeparators(written),
              QStringLiteral("Bilans"), Messages::Icon::Information);
}

void FrmBilans::tellExport(const QString& what, const FileError& error) {
    app_.tell(what + QStringLiteral("\r\n") + QDir::toNativeSeparators(error.file()) +
                  QStringLiteral("\r\n") + error.description(),
              QStringLiteral("Bilans"), Messages::Icon::Critical);
}

void FrmBilans::keepClub() {
    const QString name = TextClub->text().trimmed();
    TextClub->setText(name);
    if (name != clubName(app_))
        kClubSetting.keep(app_, name);
}

// The view shown as a document: its tables, then its charts each on a page.
void FrmBilans::print() {
    const QList<Sheet> sheets = shownSheets();
    const QDate today = app_.sys.clock.today();
    BilanPrintView view{TabVues->tabText(TabVues->currentIndex()),
                        sheets.first().ofToday ? QStringLiteral("à la date du ") + dateText(today)
                                               : periodText(period_),
                        TextClub->text().trimmed(),
                        today,
                        sheets,
                        {}};
    for (const ChartView* chart : shownCharts())
        view.charts.append(chart->data());
    view.family = app_.sys.printer.chosenFont();
    const std::unique_ptr<QTextDocument> document = bilanDocument(view);
    ImprimeDocument(app_, bilanTitle(view), *document, bilanOrientation(view));
}

} // namespace vendalise
