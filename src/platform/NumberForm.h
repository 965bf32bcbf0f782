#pragma once

#include <QDate>
#include <QString>

namespace vendalise {

// The French text of a single-precision value as the program shows it and
// writes it into its files: at most 7 significant digits, no trailing zeros,
// a decimal comma, exponent form ("1,234568E+07") beyond that (C's %.7g).
QString numberForm(float value);

// Reads the leading number of a text with "." as its only decimal point.
// Blanks, tabs and line feeds are skipped wherever they are; reading stops at
// the first character that cannot continue the number; no number gives 0.
double readNumber(QStringView text);

// A date in the short French form, dd/mm/yyyy.
QString dateText(QDate date);

} // namespace vendalise
