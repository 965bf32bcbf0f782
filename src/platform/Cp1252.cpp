#include "platform/Cp1252.h"

#include <QList>

#include <array>

namespace vendalise {

namespace {

// Code points of bytes 0x80 to 0x9F; the five undefined bytes map to themselves.
constexpr std::array<char16_t, 32> kHigh = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

char encodeOne(char32_t c) {
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF))
        return static_cast<char>(c);
    for (std::size_t i = 0; i < kHigh.size(); ++i) {
        if (kHigh[i] == c)
            return static_cast<char>(0x80 + i);
    }
    return '?';
}

// Writes one byte per character of text to out, each made by byteOf from
// the character's code; a surrogate pair, which cp1252 cannot hold, is one
// '?'. Returns how many bytes were written.
template <class ByteOf> qsizetype encodeInto(QStringView text, char* out, ByteOf byteOf) {
    char* const start = out;
    const QChar* c = text.data();
    const QChar* const end = c + text.size();
    for (; c != end; ++c) {
        const char16_t u = c->unicode();
        if (QChar::isHighSurrogate(u) && c + 1 != end && c[1].isLowSurrogate()) {
            ++c;
            *out++ = '?';
        } else {
            *out++ = byteOf(u);
        }
    }
    return out - start;
}

} // namespace

QByteArray toCp1252(QStringView text) {
    QByteArray out(text.size(), Qt::Uninitialized);
    out.truncate(encodeInto(text, out.data(), [](char16_t u) { return encodeOne(u); }));
    return out;
}

QString fromCp1252(QByteArrayView bytes) {
    QString out(bytes.size(), Qt::Uninitialized);
    fromCp1252Into(bytes, out.data());
    return out;
}

QChar* fromCp1252Into(QByteArrayView bytes, QChar* out) {
    for (char b : bytes) {
        const auto u = static_cast<unsigned char>(b);
        *out++ = (u >= 0x80 && u <= 0x9F) ? QChar(kHigh[u - 0x80]) : QChar(u);
    }
    return out;
}

qsizetype upperCp1252Into(QStringView text, char* out) {
    return encodeInto(text, out, [](char16_t u) {
        if (u < 0x80)
            return static_cast<char>(u >= 'a' && u <= 'z' ? u - 'a' + 'A' : u);
        const char16_t upper = QChar::toUpper(u);
        const char byte = encodeOne(upper);
        return upper != u && byte != '?' ? byte : encodeOne(u);
    });
}

QByteArray upperCp1252Bytes(QStringView text) {
    QByteArray out(text.size(), Qt::Uninitialized);
    out.truncate(upperCp1252Into(text, out.data()));
    return out;
}

QString upperCp1252(QStringView text) {
    QString out = text.toString();
    for (QChar& c : out) {
        const QChar upper = c.toUpper();
        if (upper != c && (upper.unicode() < 0x100 || encodeOne(upper.unicode()) != '?'))
            c = upper;
    }
    return out;
}

} // namespace vendalise
