#include "core/AmountText.h"

#include "platform/NumberForm.h"

#include <QRegularExpression>

#include <cfloat>
#include <cmath>

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

std::optional<double> decimalNumber(const QString& text) {
    static const QRegularExpression decimal(
        QStringLiteral("^[+-]?(\\d+([.,]\\d*)?|[.,]\\d+)([eE][+-]?\\d+)?$"));
    QString bare = text;
    bare.remove(QLatin1Char(' '));
    if (!decimal.match(bare).hasMatch())
        return std::nullopt;
    return QStringView(bare.replace(QLatin1Char(','), QLatin1Char('.'))).toDouble();
}

bool fitsSingle(double value) {
    return std::isfinite(value) && std::fabs(value) <= FLT_MAX;
}

} // namespace vendalise
