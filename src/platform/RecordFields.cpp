#include "platform/RecordFields.h"

#include "platform/Cp1252.h"

#include <QtEndian>

#include <bit>

namespace vendalise {

QByteArray textField(QStringView text, int width) {
    QByteArray bytes = toCp1252(text).left(width);
    bytes.append(width - bytes.size(), ' ');
    return bytes;
}

QString textAt(QByteArrayView record, int offset, int width) {
    return fromCp1252(record.sliced(offset, width));
}

qint16 int16At(QByteArrayView record, int offset) {
    return qFromLittleEndian<qint16>(record.data() + offset);
}

float floatAt(QByteArrayView record, int offset) {
    return std::bit_cast<float>(qFromLittleEndian<quint32>(record.data() + offset));
}

void appendInt16(QByteArray& record, qint16 value) {
    char bytes[2];
    qToLittleEndian(value, bytes);
    record.append(bytes, 2);
}

void appendFloat(QByteArray& record, float value) {
    char bytes[4];
    qToLittleEndian(std::bit_cast<quint32>(value), bytes);
    record.append(bytes, 4);
}

QStringView trailingBlanksCut(QStringView text) {
    qsizetype end = text.size();
    while (end > 0 && text[end - 1] == QLatin1Char(' '))
        --end;
    return text.left(end);
}

QString blanksTrimmed(QStringView text) {
    text = trailingBlanksCut(text);
    qsizetype start = 0;
    while (start < text.size() && text[start] == QLatin1Char(' '))
        ++start;
    return text.sliced(start).toString();
}

QString withoutTrailingBlanks(QStringView text) {
    return trailingBlanksCut(text).toString();
}

} // namespace vendalise
