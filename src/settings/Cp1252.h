#pragma once
// Windows-1252, the 8-bit code page of the options, site and folder files. Files
// written by the original desktop program load unchanged, and ours load there.
// Our own table: Qt only knows this code page through ICU, which a build may lack.

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

namespace cp1252 {

// Every byte decodes to one character; the five bytes the code page leaves
// undefined become the control characters of the same value, so any file
// survives a read and a write byte for byte.
QString decode(QByteArrayView bytes);

// The byte of one character, or '?' when the code page has no such character.
char encodeChar(QChar c);
QByteArray encode(QStringView text);

// True when every character of text has a byte of its own.
bool canEncode(QStringView text);

} // namespace cp1252
