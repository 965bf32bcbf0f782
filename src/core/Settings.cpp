#include "core/Settings.h"

#include <QLocale>

#include <cmath>

namespace vendalise {

namespace {

// A setting read as a number, with a decimal comma or point; nullopt when it
// is no finite number.
std::optional<double> settingNumber(const QString& text) {
    bool isNumber = false;
    const double value = QLocale::c().toDouble(
        text.trimmed().replace(QLatin1Char(','), QLatin1Char('.')), &isNumber);
    if (!isNumber || !std::isfinite(value))
        return std::nullopt;
    return value;
}

} // namespace

// "True" or "False" as the settings hold them; numbers count as true unless
// 0. Anything else keeps the reserved access on, the safer reading.
bool readBoolean(const QString& text) {
    if (text.trimmed().compare(QStringLiteral("True"), Qt::CaseInsensitive) == 0)
        return true;
    const std::optional<double> number = settingNumber(text);
    return number && *number != 0;
}

// A whole number of 16 bits, rounded half to even ("5,5" gives 6); nullopt
// when the text is no number or out of range.
std::optional<qint16> readInteger16(const QString& text) {
    const std::optional<double> value = settingNumber(text);
    if (!value)
        return std::nullopt;
    const double rounded = std::nearbyint(*value);
    if (rounded < -32768 || rounded > 32767)
        return std::nullopt;
    return static_cast<qint16>(rounded);
}

} // namespace vendalise
