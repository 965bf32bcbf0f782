#include "core/AmountText.h"

#include "platform/NumberForm.h"

namespace vendalise {

QString OteBlancsDevant(QString& text) {
    qsizetype blanks = 0;
    while (blanks < text.size() && text.at(blanks) == QLatin1Char(' '))
        ++blanks;
    text.remove(0, blanks);
    return text;
}

QString VirguleEnPoint(QString& text) {
    OteBlancsDevant(text);
    const qsizetype comma = text.indexOf(QLatin1Char(','));
    if (comma >= 0)
        text[comma] = QLatin1Char('.');
    return text;
}

double amountValue(QString text) {
    return readNumber(VirguleEnPoint(text));
}

} // namespace vendalise
