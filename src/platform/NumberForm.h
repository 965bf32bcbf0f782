#pragma once

#include <QDate>
#include <QString>

#include <optional>
#include <string>

namespace vendalise {

// The French text of a single-precision value as the program shows it and
// writes it into its files: at most 7 significant digits, no trailing zeros,
// a decimal comma, exponent form ("1,234568E+07") beyond that (C's %.7g).
QString numberForm(float value);

// Reads the leading number of a text with "." as its only decimal point.
// Blanks, tabs and line feeds are skipped wherever they are; reading stops at
// the first character that cannot continue the number; no number gives 0.
double readNumber(QStringView text);

// A number as French texts write it, with a decimal comma and no sign on
// a zero: with `decimals` digits after the comma, or up to six without
// trailing zeros.
QString frenchNumber(double value, int decimals = -1);
// An amount in euros to the cent, "1234,50 €".
QString euroText(double amount);

// A date in the short French form, dd/mm/yyyy.
QString dateText(QDate date);

// While it lives, the C library writes and reads numbers with a decimal
// point, whatever the locale Qt took from the environment: a library that
// writes numbers with printf (the spreadsheet's XML) then writes "12.5".
class ClassicNumbers {
public:
    ClassicNumbers();
    ~ClassicNumbers();
    ClassicNumbers(const ClassicNumbers&) = delete;
    ClassicNumbers& operator=(const ClassicNumbers&) = delete;

private:
    std::string former_;
};

// Reads a date as the data files hold it, a text written in the short date
// form of the PC that made it: dd/mm/yyyy first, then `localForm` (a
// QDate form such as the system's short one); blanks around are ignored.
// A two-digit year is taken in 1970 to 2069. Nothing readable gives nullopt.
std::optional<QDate> readDateText(QStringView text, const QString& localForm = {});

} // namespace vendalise
