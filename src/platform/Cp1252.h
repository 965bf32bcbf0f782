#pragma once

#include <QByteArray>
#include <QString>

namespace vendalise {

// Windows-1252, the code page of every data file. Characters it cannot
// hold are written as '?'; bytes it leaves undefined read back as the
// control character of the same value, so that they survive a round trip.
QByteArray toCp1252(QStringView text);
QString fromCp1252(QByteArrayView bytes);
// The same characters written to out, which has room for bytes.size() of
// them; returns the end of what was written.
QChar* fromCp1252Into(QByteArrayView bytes, QChar* out);

// The text in capitals, character by character, keeping its length: a
// character whose capital is not one cp1252 character stays as it is
// ("ß", "µ").
QString upperCp1252(QStringView text);
// toCp1252(upperCp1252(text)) in one pass, for sorting many names.
QByteArray upperCp1252Bytes(QStringView text);
// The same bytes written to out, which has room for text.size() bytes;
// returns how many were written.
qsizetype upperCp1252Into(QStringView text, char* out);

} // namespace vendalise
