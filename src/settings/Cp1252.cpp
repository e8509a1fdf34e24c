#include "settings/Cp1252.h"

#include <array>

namespace cp1252 {
namespace {

// Bytes 0x80-0x9F; the other bytes have the code of the same value (Latin-1).
// A zero marks the bytes the code page leaves undefined.
constexpr std::array<char16_t, 32> highControls = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,
    0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

bool lookUp(QChar c, char *byte)
{
    const char16_t u = c.unicode();
    if (u < 0x80 || (u >= 0xA0 && u <= 0xFF)) {
        *byte = char(u);
        return true;
    }
    for (int i = 0; i < int(highControls.size()); ++i) {
        const char16_t mapped = highControls[i] ? highControls[i] : char16_t(0x80 + i);
        if (mapped == u) {
            *byte = char(0x80 + i);
            return true;
        }
    }
    return false;
}

} // namespace

QString decode(QByteArrayView bytes)
{
    QString text;
    text.reserve(bytes.size());
    for (char b : bytes) {
        const auto byte = static_cast<unsigned char>(b);
        if (byte >= 0x80 && byte < 0xA0 && highControls[byte - 0x80])
            text.append(QChar(highControls[byte - 0x80]));
        else
            text.append(QChar(char16_t(byte)));
    }
    return text;
}

char encodeChar(QChar c)
{
    char byte = '?';
    return lookUp(c, &byte) ? byte : '?';
}

QByteArray encode(QStringView text)
{
    QByteArray bytes;
    bytes.reserve(text.size());
    for (QChar c : text)
        bytes.append(encodeChar(c));
    return bytes;
}

bool canEncode(QStringView text)
{
    char byte;
    for (QChar c : text) {
        if (!lookUp(c, &byte))
            return false;
    }
    return true;
}

} // namespace cp1252
