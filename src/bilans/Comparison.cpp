#include "bilans/Comparison.h"

namespace vendalise {

namespace {

// September is the season's first month.
int monthInSeason(QDate month) {
    return (month.month() + 3) % 12;
}

void addSales(double* amounts, const SalesMonth& month, double sign) {
    amounts[0] += sign * month.registers[0].amount;
    amounts[1] += sign * month.registers[1].amount;
    amounts[2] += sign * month.both.amount;
}

void addReceipts(double* amounts, const Receipts (&registers)[2], double sign) {
    amounts[0] += sign * registers[0].total;
    amounts[1] += sign * registers[1].total;
    amounts[2] += sign * (double(registers[0].total) + registers[1].total);
}

SeasonFigures seasonFigures(const BilanSources& sources, const Period& season) {
    const Bilan bilan = makeBilan(sources, season);
    SeasonFigures figures;
    figures.period = season;
    // The bilan's totals, less the lines and entries of no readable date
    // (which it counts in every period), so that a season with none has
    // exactly the totals that its own views show.
    addSales(figures.total.sales, bilan.salesTotal, 1);
    addReceipts(figures.total.receipts, bilan.receiptsTotal, 1);
    for (const SalesMonth& month : bilan.salesMonths) {
        if (month.month)
            addSales(figures.months[monthInSeason(*month.month)].sales, month, 1);
        else
            addSales(figures.total.sales, month, -1);
    }
    for (const ReceiptsMonth& month : bilan.receiptsMonths) {
        if (month.month)
            addReceipts(figures.months[monthInSeason(*month.month)].receipts, month.registers, 1);
        else
            addReceipts(figures.total.receipts, month.registers, -1);
    }
    return figures;
}

} // namespace

SeasonComparison compareSeasons(const BilanSources& sources, const Period& season) {
    return {{seasonFigures(sources, season),
             seasonFigures(sources, Period::previousSeason(season, sources.today))}};
}

QString seasonYears(const Period& season) {
    return QStringLiteral("%1-%2").arg(season.from.year()).arg(season.to.year());
}

} // namespace vendalise
