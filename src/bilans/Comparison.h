#pragma once

#include "bilans/Figures.h"

#include <QString>

namespace vendalise {

// What two seasons are compared by: the sales' amounts, or the money into
// the registers.
enum class Compared { Sales, Receipts };

// The amounts of the material register, the drinks register and both.
struct SeasonAmounts {
    double sales[3] = {0, 0, 0};
    double receipts[3] = {0, 0, 0};
    const double* of(Compared what) const { return what == Compared::Sales ? sales : receipts; }
};

// The calendar month (1 to 12) of a season's month, September being 0.
inline int calendarMonth(int inSeason) {
    return (inSeason + 8) % 12 + 1;
}

// A season month by month, September first, and its total. Lines and
// entries whose date cannot be read are in no season.
struct SeasonFigures {
    Period period;
    SeasonAmounts months[12];
    SeasonAmounts total;
};

// The season shown and the one before it, side by side.
struct SeasonComparison {
    SeasonFigures seasons[2]; // the one shown, the one before
};

// The figures of `season` and of the season before it, made as the views
// make them (makeBilan).
SeasonComparison compareSeasons(const BilanSources& sources, const Period& season);

// "2007-2008".
QString seasonYears(const Period& season);

} // namespace vendalise
