#include "bilans/Sheets.h"

#include "platform/NumberForm.h"

#include <QLocale>

#include <algorithm>

namespace vendalise {

namespace {

const QString kMaterial = QStringLiteral("Caisse matériel");
const QString kDrinks = QStringLiteral("Caisse boissons");

QString registerName(int r) {
    return r == 1 ? kDrinks : kMaterial;
}

QString registerName(Register r) {
    return registerName(static_cast<int>(r));
}

// The headers of the "Dettes" table but its ages.
const QString kDebtorHeader = QStringLiteral("Adhérent");
const QString kOwedHeader = QStringLiteral("Montant dû");
const QString kOwedLinesHeader = QStringLiteral("Lignes dues");
const QString kOldestHeader = QStringLiteral("Plus ancienne");
const QString kAgeHeader = QStringLiteral("Âge (jours)");

// A row of the "Dettes" table: its first cell, the amount, lines and ages,
// then the oldest line's date and age (a total has neither).
QList<Cell> debtCells(Cell first, const DebtSum& sum, Cell oldest = {}, Cell age = {}) {
    QList<Cell> row{std::move(first), Cell::money(sum.cents / 100.0), Cell::integer(sum.lines)};
    for (const qint64 cents : sum.byAge)
        row.append(Cell::money(cents / 100.0));
    row << std::move(oldest) << std::move(age);
    return row;
}

Cell monthCell(const std::optional<QDate>& month) {
    return month ? Cell::month(*month) : Cell::of(kUnreadableDate);
}

Cell dateCell(const std::optional<QDate>& date, const QString& text) {
    return date ? Cell::day(*date) : Cell::of(text.isEmpty() ? kUnreadableDate : text);
}

void addSales(QList<Cell>& row, const SalesAmounts& amounts) {
    row << Cell::integer(amounts.sales) << Cell::quantity(amounts.quantity)
        << Cell::money(amounts.amount);
}

QList<Cell> receiptsCells(const Receipts& receipts) {
    return {Cell::money(receipts.sales), Cell::money(receipts.settlements),
            Cell::money(receipts.plus),  Cell::money(receipts.minus),
            Cell::money(receipts.other), Cell::money(receipts.total)};
}

Sheet entriesSheet(const Bilan& bilan, int r) {
    Sheet sheet{registerName(r),
                {QStringLiteral("Date"), QStringLiteral("Nature"),
                 QStringLiteral("Adhérent ou libellé"), QStringLiteral("Montant")},
                {},
                1,
                {}};
    sheet.totalRows = 0;
    sheet.rows.reserve(bilan.entries[r].size() + 1);
    // The text a register writes, "Prénom NOM", named as the tables name a
    // member when it names exactly one.
    for (const EntryRow& entry : bilan.entries[r])
        sheet.rows.append(
            {dateCell(entry.date, entry.dateText), Cell::of(entryKindText(entry.kind)),
             Cell::of(bilan.memberNames.value(entry.who, entry.who)), Cell::money(entry.amount)});
    addTotal(sheet, {Cell::of(QStringLiteral("Total")), {}, {}, Cell::money(0)},
             {{{0, sheet.rows.size() - 1}}});
    return sheet;
}

// The ledger's lines by their number; a line a deletion kept has none.
Sheet linesSheet(const Bilan& bilan) {
    Sheet sheet{QStringLiteral("Lignes"),
                {QStringLiteral("Ligne"), QStringLiteral("Date"), QStringLiteral("Adhérent"),
                 QStringLiteral("Produit"), QStringLiteral("Quantité"),
                 QStringLiteral("Prix unitaire"), QStringLiteral("Montant"), QStringLiteral("État")},
                {},
                0,
                {}};
    sheet.nameColumn = 2;
    sheet.rows.reserve(bilan.lines.size());
    for (const LineRow& line : bilan.lines) {
        const bool kept = line.line == 0;
        const QString state =
            kept ? (line.paid ? QStringLiteral("Supprimée (payée)")
                              : QStringLiteral("Supprimée (due)"))
                 : (line.paid ? QStringLiteral("Payé") : QStringLiteral("Dû"));
        sheet.rows.append({kept ? Cell{} : Cell::integer(line.line),
                           dateCell(line.date, line.dateText), Cell::of(line.member),
                           Cell::of(line.product), Cell::quantity(line.quantity),
                           Cell::money(line.price), Cell::money(line.amount), Cell::of(state)});
    }
    return sheet;
}

} // namespace

QString monthName(int month, bool abbreviated) {
    static const QLocale french(QLocale::French, QLocale::France);
    return french.monthName(month, abbreviated ? QLocale::ShortFormat : QLocale::LongFormat);
}

QString monthText(QDate month) {
    return monthName(month.month()) + QLatin1Char(' ') + QString::number(month.year());
}

QString cellText(const Cell& cell) {
    switch (cell.kind) {
    case Cell::Kind::Empty:
        return {};
    case Cell::Kind::Text:
        return cell.text;
    case Cell::Kind::Integer:
        return QString::number(qint64(cell.number));
    case Cell::Kind::Quantity:
        return frenchNumber(cell.number);
    case Cell::Kind::Money:
        return euroText(cell.number);
    case Cell::Kind::Date:
        return dateText(cell.date);
    case Cell::Kind::Month:
        return monthText(cell.date);
    }
    return {};
}

Sheet salesSheet(const Bilan& bilan) {
    Sheet sheet{QStringLiteral("Ventes"),
                {QStringLiteral("Mois"), QStringLiteral("Ventes matériel"),
                 QStringLiteral("Quantité matériel"), QStringLiteral("Montant matériel"),
                 QStringLiteral("Ventes boissons"), QStringLiteral("Quantité boissons"),
                 QStringLiteral("Montant boissons"), QStringLiteral("Ventes"),
                 QStringLiteral("Quantité"), QStringLiteral("Montant")},
                {},
                1,
                QStringLiteral("Montants au prix unitaire actuel de chaque produit, comme le "
                               "programme évalue une ligne de vente.")};
    const auto rowOf = [](Cell first, const SalesMonth& month) {
        QList<Cell> row{std::move(first)};
        addSales(row, month.registers[0]);
        addSales(row, month.registers[1]);
        addSales(row, month.both);
        return row;
    };
    sheet.totalRows = 0;
    for (const SalesMonth& month : bilan.salesMonths)
        sheet.rows.append(rowOf(monthCell(month.month), month));
    addTotal(sheet, rowOf(Cell::of(QStringLiteral("Total")), SalesMonth{}),
             {{{0, sheet.rows.size() - 1}}});
    return sheet;
}

Sheet productsSheet(const Bilan& bilan) {
    Sheet sheet{QStringLiteral("Produits"),
                {QStringLiteral("Produit"), QStringLiteral("Caisse"), QStringLiteral("Quantité"),
                 QStringLiteral("Montant")},
                {},
                1,
                QStringLiteral("Ventes par produit, au prix unitaire actuel.")};
    sheet.nameColumn = 0;
    sheet.totalRows = 0;
    for (const ProductSales& product : bilan.products)
        sheet.rows.append({Cell::of(product.name), Cell::of(registerName(product.cashRegister)),
                           Cell::quantity(product.quantity), Cell::money(product.amount)});
    addTotal(sheet, {Cell::of(QStringLiteral("Total")), {}, Cell::quantity(0), Cell::money(0)},
             {{{0, sheet.rows.size() - 1}}});
    return sheet;
}

Sheet receiptsSheet(const Bilan& bilan) {
    Sheet sheet{QStringLiteral("Encaissements"),
                {QStringLiteral("Mois"), QStringLiteral("Caisse"), QStringLiteral("Ventes payées"),
                 QStringLiteral("Règlements"), QStringLiteral("Corrections +"),
                 QStringLiteral("Corrections −"), QStringLiteral("Autres"),
                 QStringLiteral("Total")},
                {},
                3,
                QStringLiteral("Lu dans les caisses et dans leurs relevés gardés (dossier "
                               "« Relevés »). En caisse aujourd'hui : matériel %1, boissons %2.")
                    .arg(cellText(Cell::money(bilan.sinceStatement[0])),
                         cellText(Cell::money(bilan.sinceStatement[1])))};
    sheet.totalRows = 0;
    for (const ReceiptsMonth& month : bilan.receiptsMonths) {
        for (const int r : {0, 1}) {
            if (month.registers[r].entries == 0)
                continue;
            QList<Cell> row{monthCell(month.month), Cell::of(registerName(r))};
            row << receiptsCells(month.registers[r]);
            sheet.rows.append(row);
        }
    }
    // Each register's months added up, then both registers'.
    const std::pair<qsizetype, qsizetype> months{0, sheet.rows.size() - 1};
    for (const int r : {0, 1}) {
        QList<Cell> row{Cell::of(QStringLiteral("Total")), Cell::of(registerName(r))};
        row << receiptsCells({});
        addTotal(sheet, row, {{months}, 1, registerName(r)});
    }
    QList<Cell> both{Cell::of(QStringLiteral("Total")), Cell::of(QStringLiteral("Les deux"))};
    both << receiptsCells({});
    addTotal(sheet, both, {{months}});
    return sheet;
}

QString debtAgeText(DebtAge age) {
    switch (age) {
    case DebtAge::Under30:
        return QStringLiteral("< 30 j");
    case DebtAge::Under90:
        return QStringLiteral("30 à 90 j");
    case DebtAge::UpToYear:
        return QStringLiteral("90 j à 1 an");
    case DebtAge::OverYear:
        return QStringLiteral("> 1 an");
    case DebtAge::Unreadable:
        break;
    }
    return kUnreadableDate;
}

std::optional<DebtOrder> debtOrderOf(const QString& header) {
    if (header == kDebtorHeader)
        return DebtOrder::Name;
    if (header == kOldestHeader || header == kAgeHeader)
        return DebtOrder::Age;
    if (header == kOwedHeader)
        return DebtOrder::Amount;
    for (int a = 0; a < kDebtAges; ++a)
        if (header == debtAgeText(DebtAge(a)))
            return DebtOrder::Amount;
    return std::nullopt;
}

QString debtSortText() {
    return QStringLiteral("Trier : cliquer « %1 » (par nom), « %2 » ou un âge (par montant), "
                          "« %3 » ou « %4 » (par âge)")
        .arg(kDebtorHeader, kOwedHeader, kOldestHeader, kAgeHeader);
}

namespace {

// The debts in the order of the "Dettes" table: those who owe, then, after
// a row "Avoirs" (nullptr), those in credit.
QList<const DebtRow*> debtsInSheetOrder(const Bilan& bilan) {
    QList<const DebtRow*> groups[2]; // debts, credits
    for (const DebtRow& debt : bilan.debts)
        groups[debt.isCredit() ? 1 : 0].append(&debt);
    if (!groups[1].isEmpty())
        groups[0] << nullptr << groups[1];
    return groups[0];
}

} // namespace

int debtsSheetMember(const Bilan& bilan, int row) {
    const QList<const DebtRow*> rows = debtsInSheetOrder(bilan);
    return row >= 0 && row < rows.size() && rows[row] ? rows[row]->member : 0;
}

// The debtors, then, under "Avoirs", the members in credit; the totals of
// both and their sum, the debts' total (a credit is a debt below zero).
// Amounts are each member's rounded to the cent, and the totals the sums of
// the rows above them.
Sheet debtsSheet(const Bilan& bilan) {
    Sheet sheet{QStringLiteral("Dettes"),
                {kDebtorHeader, kOwedHeader, kOwedLinesHeader},
                {},
                0,
                QStringLiteral("Dettes d'aujourd'hui, au prix unitaire actuel, quelle que soit "
                               "la période ; chaque ligne due est comptée selon son âge.")};
    sheet.nameColumn = 0;
    sheet.ofToday = true;
    for (int a = 0; a < kDebtAges; ++a)
        sheet.headers.append(debtAgeText(DebtAge(a)));
    sheet.headers << kOldestHeader << kAgeHeader;
    QList<QList<Cell>> groups[2]; // debts, credits
    for (const DebtRow* debt : debtsInSheetOrder(bilan)) {
        if (!debt)
            continue;
        DebtSum row;
        row.add(*debt);
        groups[debt->isCredit() ? 1 : 0].append(
            debtCells(Cell::of(debt->name), row,
                      debt->lines == 0 ? Cell{} : dateCell(debt->oldest, debt->oldestText),
                      debt->oldest ? Cell::integer(debt->age) : Cell{}));
    }
    sheet.rows = groups[0];
    TotalOf debts{{{0, sheet.rows.size() - 1}}};
    TotalOf total = debts;
    TotalOf credits;
    if (!groups[1].isEmpty()) {
        sheet.rows.append(QList<Cell>(sheet.headers.size()));
        sheet.rows.last()[0] = Cell::of(QStringLiteral("Avoirs"));
        credits.rows = {{sheet.rows.size(), sheet.rows.size() + groups[1].size() - 1}};
        total.rows << credits.rows;
        sheet.rows << groups[1];
    }
    addTotal(sheet, debtCells(Cell::of(QStringLiteral("Total des dettes")), {}), debts);
    if (!groups[1].isEmpty())
        addTotal(sheet, debtCells(Cell::of(QStringLiteral("Total des avoirs")), {}), credits);
    addTotal(sheet, debtCells(Cell::of(QStringLiteral("Total")), {}), total);
    return sheet;
}

Sheet stockSheet(const Bilan& bilan) {
    Sheet sheet{QStringLiteral("Stock"),
                {QStringLiteral("Produit"), QStringLiteral("Prix unitaire"),
                 QStringLiteral("Stock"), QStringLiteral("Valeur"), QStringLiteral("À commander")},
                {},
                1,
                QStringLiteral("Stock d'aujourd'hui ; « à commander » : stock au plus égal au "
                               "seuil de commande.")};
    sheet.nameColumn = 0;
    sheet.ofToday = true;
    sheet.totalRows = 0;
    for (const StockRow& row : bilan.stock)
        sheet.rows.append({Cell::of(row.name), Cell::money(row.price), Cell::quantity(row.stock),
                           Cell::money(row.value),
                           row.reorder ? Cell::of(QStringLiteral("à commander")) : Cell{}});
    addTotal(sheet, {Cell::of(QStringLiteral("Total")), {}, {}, Cell::money(0), {}},
             {{{0, sheet.rows.size() - 1}}});
    return sheet;
}

Sheet comparisonSheet(const SeasonComparison& comparison, Compared what) {
    const QString shown = seasonYears(comparison.seasons[0].period);
    const QString before = seasonYears(comparison.seasons[1].period);
    const bool sales = what == Compared::Sales;
    Sheet sheet{
        sales ? QStringLiteral("Comparaison ventes") : QStringLiteral("Comparaison encaissements"),
        {QStringLiteral("Mois")},
        {},
        1,
        QStringLiteral("Saison %1 et saison %2 ; écart : %1 moins %2. ").arg(shown, before) +
            (sales ? QStringLiteral("Montants au prix unitaire actuel de chaque produit. "
                                    "Une ligne dont la date est illisible n'est dans "
                                    "aucune saison.")
                   : QStringLiteral("Totaux des caisses, relevés gardés compris. Une "
                                    "entrée dont la date est illisible n'est dans "
                                    "aucune saison."))};
    // Both registers first, the answer to "how does this season compare",
    // then each register.
    const int order[] = {2, 0, 1};
    const QString amounts[] = {QStringLiteral("Matériel"), QStringLiteral("Boissons"),
                               QStringLiteral("Total")};
    for (const int r : order)
        sheet.headers << amounts[r] + QLatin1Char(' ') + shown
                      << amounts[r] + QLatin1Char(' ') + before
                      << QStringLiteral("Écart ") + amounts[r].toLower();
    // The difference of the amounts as shown, to the cent.
    const auto rowOf = [what, &order](Cell first, const SeasonAmounts& now,
                                      const SeasonAmounts& then) {
        QList<Cell> row{std::move(first)};
        for (const int r : order) {
            const Cell a = Cell::money(now.of(what)[r]);
            const Cell b = Cell::money(then.of(what)[r]);
            row << a << b << Cell::money(a.number - b.number);
        }
        return row;
    };
    const SeasonFigures& now = comparison.seasons[0];
    const SeasonFigures& then = comparison.seasons[1];
    sheet.totalRows = 0;
    for (int m = 0; m < 12; ++m)
        sheet.rows.append(
            rowOf(Cell::of(monthName(calendarMonth(m))), now.months[m], then.months[m]));
    addTotal(sheet, rowOf(Cell::of(QStringLiteral("Total")), {}, {}), {{{0, 11}}});
    return sheet;
}

QList<Sheet> comparisonSheets(const SeasonComparison& comparison) {
    QList<Sheet> sheets;
    for (const Compared what : {Compared::Sales, Compared::Receipts}) {
        sheets.append(comparisonSheet(comparison, what));
        sheets.last().charts = {seasonsChart(comparison, what)};
        sheets.last().chartSheets = {what == Compared::Sales
                                         ? QStringLiteral("Graphique Saisons ventes")
                                         : QStringLiteral("Graphique Saisons encaissements")};
    }
    return sheets;
}

QList<Sheet> bilanSheets(const Bilan& bilan) {
    QList<Sheet> sheets{salesSheet(bilan),      productsSheet(bilan),  receiptsSheet(bilan),
                        debtsSheet(bilan),      stockSheet(bilan),     linesSheet(bilan),
                        entriesSheet(bilan, 0), entriesSheet(bilan, 1)};
    sheets[0].charts = {salesByMonthChart(bilan)};
    sheets[1].charts = {topProductsChart(bilan)};
    sheets[2].charts = {receiptsChart(bilan)};
    sheets[3].charts = {debtsByAgeChart(bilan), topDebtorsChart(bilan)};
    sheets[0].chartSheets = {QStringLiteral("Graphique Ventes")};
    sheets[1].chartSheets = {QStringLiteral("Graphique Produits")};
    sheets[2].chartSheets = {QStringLiteral("Graphique Encaissements")};
    sheets[3].chartSheets = {QStringLiteral("Graphique Dettes par âge"),
                             QStringLiteral("Graphique Débiteurs")};
    return sheets;
}

void addTotal(Sheet& sheet, QList<Cell> row, TotalOf of) {
    const auto counted = [&](const QList<Cell>& other) {
        return of.matchColumn < 0 || other.value(of.matchColumn).text == of.match;
    };
    for (qsizetype c = 0; c < row.size(); ++c) {
        Cell& total = row[c];
        if (!total.isNumber())
            continue;
        // Amounts in cents and counts exactly; quantities, and amounts no
        // cent can count (a damaged record's), as a spreadsheet adds them.
        qint64 whole = 0;
        double quantity = 0;
        bool exact = true;
        for (const auto& [first, last] : of.rows)
            for (qsizetype r = first; r <= last; ++r) {
                const QList<Cell>& other = sheet.rows[r];
                if (!counted(other) || c >= other.size() || !other[c].isNumber())
                    continue;
                exact = exact && centsAreExact(other[c].number);
                if (total.kind == Cell::Kind::Money)
                    whole += toCents(other[c].number);
                else if (total.kind == Cell::Kind::Integer)
                    whole += toCents(other[c].number) / 100;
                quantity += other[c].number;
            }
        total.number = !exact || total.kind == Cell::Kind::Quantity ? quantity
                       : total.kind == Cell::Kind::Money            ? whole / 100.0
                                                                    : double(whole);
    }
    sheet.rows.append(std::move(row));
    sheet.totals.append(std::move(of));
    sheet.totalRows = int(sheet.totals.size());
}

QList<KeyTotal> keyTotals(const QList<Sheet>& sheets) {
    QList<KeyTotal> keys;
    // The cell of the total row that begins with `first` (and `second`),
    // in the column of that header, when the sheet holds it.
    const auto add = [&](const QString& label, const QString& name, const QString& first,
                         const QString& second, const QString& header) {
        for (const Sheet& sheet : sheets) {
            if (sheet.name != name)
                continue;
            const int column = int(sheet.headers.indexOf(header));
            for (qsizetype r = sheet.rows.size() - sheet.totalRows; r < sheet.rows.size(); ++r) {
                const QList<Cell>& row = sheet.rows[r];
                if (column >= 0 && row.value(0).text == first &&
                    (second.isEmpty() || row.value(1).text == second))
                    keys.append({label, name, r, column});
            }
        }
    };
    const QString total = QStringLiteral("Total");
    const QString sales = QStringLiteral("Ventes");
    add(QStringLiteral("Ventes de la caisse matériel"), sales, total, {},
        QStringLiteral("Montant matériel"));
    add(QStringLiteral("Ventes de la caisse boissons"), sales, total, {},
        QStringLiteral("Montant boissons"));
    add(QStringLiteral("Ventes des deux caisses"), sales, total, {}, QStringLiteral("Montant"));
    const QString receipts = QStringLiteral("Encaissements");
    add(QStringLiteral("Encaissements de la caisse matériel"), receipts, total, kMaterial, total);
    add(QStringLiteral("Encaissements de la caisse boissons"), receipts, total, kDrinks, total);
    add(QStringLiteral("Encaissements des deux caisses"), receipts, total,
        QStringLiteral("Les deux"), total);
    const QString debts = QStringLiteral("Dettes");
    add(QStringLiteral("Dettes"), debts, QStringLiteral("Total des dettes"), {}, kOwedHeader);
    add(QStringLiteral("Avoirs"), debts, QStringLiteral("Total des avoirs"), {}, kOwedHeader);
    add(QStringLiteral("Dettes moins avoirs"), debts, total, {}, kOwedHeader);
    add(QStringLiteral("Valeur du stock"), QStringLiteral("Stock"), total, {},
        QStringLiteral("Valeur"));
    return keys;
}

} // namespace vendalise
