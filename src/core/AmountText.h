#pragma once

#include <QString>

#include <optional>

namespace vendalise {

// Removes the leading blanks (U+0020 only) of the text, in place.
QString OteBlancsDevant(QString& text);

// Makes an amount typed or written with a decimal comma readable by
// readNumber: removes the leading blanks and turns the first comma into a
// point, in place.
QString VirguleEnPoint(QString& text);

// The value of an amount text: VirguleEnPoint, then readNumber.
double amountValue(QString text);

// The value of a number typed in the locale's way: blanks removed, a decimal
// number with a comma or a point, an optional sign and exponent. nullopt for
// any other text.
std::optional<double> decimalNumber(const QString& text);

// Whether a value can be held in single precision.
bool fitsSingle(double value);

} // namespace vendalise
