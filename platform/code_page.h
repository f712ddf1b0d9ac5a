// Code page 1255 (Hebrew), the system code page of the 8-bit texts: protocol strings, registry
// values, file names and the Hebrew of the word databases. Our own table, so that Hebrew points
// stay separate characters and every byte maps one to one.
#pragma once

#include <QByteArray>
#include <QString>

namespace zabko {

// The UTF-16 unit of a code page 1255 byte. Bytes the code page leaves undefined map to the
// control character of the same number, so every byte survives a round trip.
char16_t Cp1255ToUnicode(unsigned char byte);
// The byte of a UTF-16 unit, or '?' when the code page has none for it.
unsigned char UnicodeToCp1255(char16_t unit);

QString Cp1255ToWide(const QByteArray& text);
QByteArray WideToCp1255(const QString& text);

// The system code page is code page 1255.
inline QString SystemCodePageToWide(const QByteArray& text) { return Cp1255ToWide(text); }
inline QByteArray WideToSystemCodePage(const QString& text) { return WideToCp1255(text); }

}  // namespace zabko
