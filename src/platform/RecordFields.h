#pragma once

#include <QByteArray>
#include <QString>

// Fields of fixed-length records: cp1252 text padded with blanks, and
// little-endian numbers, whatever the machine.
namespace vendalise {

// The text in cp1252, cut to width or padded with blanks (0x20).
QByteArray textField(QStringView text, int width);
QString textAt(QByteArrayView record, int offset, int width);

qint16 int16At(QByteArrayView record, int offset);
float floatAt(QByteArrayView record, int offset);
void appendInt16(QByteArray& record, qint16 value);
void appendFloat(QByteArray& record, float value);

// The text without its trailing blanks (U+0020 only), as the fields of a
// record are shown.
QString withoutTrailingBlanks(QStringView text);
QStringView trailingBlanksCut(QStringView text);
// The text without its leading and trailing blanks (U+0020 only).
QString blanksTrimmed(QStringView text);

} // namespace vendalise
