#pragma once

#include <QString>

namespace vendalise {

// Removes the leading blanks (U+0020 only) of the text, in place.
QString OteBlancsDevant(QString& text);

// Makes an amount typed or written with a decimal comma readable by
// readNumber: removes the leading blanks and turns the first comma into a
// point, in place.
QString VirguleEnPoint(QString& text);

// The value of an amount text: VirguleEnPoint, then readNumber.
double amountValue(QString text);

} // namespace vendalise
