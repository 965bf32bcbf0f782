#include "platform/NumberForm.h"

#include <charconv>
#include <clocale>
#include <cmath>
#include <string>

namespace vendalise {

QString numberForm(float value) {
    if (std::isnan(value))
        return QStringLiteral("-1,#IND");
    if (std::isinf(value))
        return value > 0 ? QStringLiteral("1,#INF") : QStringLiteral("-1,#INF");
    if (value == 0.0f)
        return QStringLiteral("0"); // also for -0
    char buffer[32];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, static_cast<double>(value),
                                      std::chars_format::general, 7);
    for (char* c = buffer; c != result.ptr; ++c) {
        if (*c == '.')
            *c = ',';
        else if (*c == 'e')
            *c = 'E';
    }
    return QString::fromLatin1(buffer, result.ptr - buffer);
}

double readNumber(QStringView text) {
    // Collect the characters of the number, skipping the blanks it may hold.
    std::string number;
    enum class Part { Sign, Integer, Fraction, ExponentSign, Exponent } part = Part::Sign;
    bool mantissaDigits = false;
    std::size_t beforeExponent = 0;
    bool exponentDigits = false;
    for (QChar qc : text) {
        const char16_t c = qc.unicode();
        if (c == u' ' || c == u'\t' || c == u'\n')
            continue;
        const bool digit = c >= u'0' && c <= u'9';
        if (part == Part::Sign && (c == u'+' || c == u'-')) {
            number += static_cast<char>(c);
            part = Part::Integer;
        } else if (digit && part <= Part::Fraction) {
            number += static_cast<char>(c);
            mantissaDigits = true;
            if (part == Part::Sign)
                part = Part::Integer;
        } else if (c == u'.' && part <= Part::Integer) {
            number += '.';
            part = Part::Fraction;
        } else if ((c == u'e' || c == u'E') && part <= Part::Fraction && mantissaDigits) {
            beforeExponent = number.size();
            number += 'e';
            part = Part::ExponentSign;
        } else if ((c == u'+' || c == u'-') && part == Part::ExponentSign) {
            number += static_cast<char>(c);
            part = Part::Exponent;
        } else if (digit && part >= Part::ExponentSign) {
            number += static_cast<char>(c);
            exponentDigits = true;
            part = Part::Exponent;
        } else {
            break;
        }
    }
    if (!mantissaDigits)
        return 0.0;
    if (part >= Part::ExponentSign && !exponentDigits)
        number.resize(beforeExponent); // "1E" or "1E+" reads as 1
    if (number.front() == '+')
        number.erase(0, 1);
    double value = 0.0;
    const auto result = std::from_chars(number.data(), number.data() + number.size(), value);
    if (result.ec == std::errc::result_out_of_range) {
        // Too large reads as an infinity of its sign, too small as 0.
        const bool tiny = number.find("e-") != std::string::npos;
        const bool negative = number.front() == '-';
        value = tiny ? 0.0 : (negative ? -HUGE_VAL : HUGE_VAL);
    }
    return value;
}

QString frenchNumber(double value, int decimals) {
    QString text =
        decimals >= 0 ? QString::number(value, 'f', decimals) : QString::number(value, 'f', 6);
    if (decimals < 0 && text.contains(QLatin1Char('.'))) {
        while (text.endsWith(QLatin1Char('0')))
            text.chop(1);
        if (text.endsWith(QLatin1Char('.')))
            text.chop(1);
    }
    if (text == QLatin1String("-0") || text == QLatin1String("-0.00"))
        text.remove(0, 1);
    return text.replace(QLatin1Char('.'), QLatin1Char(','));
}

QString euroText(double amount) {
    return frenchNumber(amount, 2) + QStringLiteral(" €");
}

QString dateText(QDate date) {
    return date.toString(QStringLiteral("dd/MM/yyyy"));
}

ClassicNumbers::ClassicNumbers() {
    if (const char* now = std::setlocale(LC_NUMERIC, nullptr))
        former_ = now;
    std::setlocale(LC_NUMERIC, "C");
}

ClassicNumbers::~ClassicNumbers() {
    if (!former_.empty())
        std::setlocale(LC_NUMERIC, former_.c_str());
}

std::optional<QDate> readDateText(QStringView text, const QString& localForm) {
    const QStringView trimmed = text.trimmed();
    if (trimmed.isEmpty())
        return std::nullopt;
    // dd/mm/yyyy read by hand: the files hold tens of thousands of dates.
    const auto digit = [&](qsizetype i) { return trimmed[i].unicode() - u'0'; };
    const auto isDigit = [&](qsizetype i) { return unsigned(digit(i)) < 10; };
    QDate date;
    if (trimmed.size() == 10 && trimmed[2] == u'/' && trimmed[5] == u'/' && isDigit(0) &&
        isDigit(1) && isDigit(3) && isDigit(4) && isDigit(6) && isDigit(7) && isDigit(8) &&
        isDigit(9))
        date = QDate(digit(6) * 1000 + digit(7) * 100 + digit(8) * 10 + digit(9),
                     digit(3) * 10 + digit(4), digit(0) * 10 + digit(1));
    if (!date.isValid() && !localForm.isEmpty()) {
        date = QDate::fromString(trimmed.toString(), localForm);
        if (date.isValid() && !localForm.contains(QLatin1String("yyyy")) && date.year() < 1970)
            date = date.addYears(100);
    }
    if (!date.isValid())
        return std::nullopt;
    return date;
}

} // namespace vendalise
