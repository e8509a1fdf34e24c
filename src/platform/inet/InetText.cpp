// Name encoding, wildcard matching and file times.
#include "platform/inet/Inet.h"

#include <QTimeZone>

namespace inet {

namespace {
// 1601-01-01 to 1970-01-01 in 100 ns units.
constexpr qint64 kEpochDelta = 116444736000000000LL;

// Length of the valid UTF-8 sequence at p (n bytes left), 0 when invalid.
int utf8SequenceLength(const uchar *p, qsizetype n)
{
    const uchar c = p[0];
    if (c < 0x80)
        return 1;
    int len = 0;
    uchar lo = 0x80, hi = 0xBF; // allowed range of the second byte
    if (c >= 0xC2 && c <= 0xDF) {
        len = 2;
    } else if (c >= 0xE0 && c <= 0xEF) {
        len = 3;
        if (c == 0xE0)
            lo = 0xA0; // no overlong forms
        else if (c == 0xED)
            hi = 0x9F; // no surrogates
    } else if (c >= 0xF0 && c <= 0xF4) {
        len = 4;
        if (c == 0xF0)
            lo = 0x90;
        else if (c == 0xF4)
            hi = 0x8F; // nothing above U+10FFFF
    } else {
        return 0;
    }
    if (n < len || p[1] < lo || p[1] > hi)
        return 0;
    for (int i = 2; i < len; ++i) {
        if ((p[i] & 0xC0) != 0x80)
            return 0;
    }
    return len;
}

bool matchFrom(const QChar *n, qsizetype nl, const QChar *p, qsizetype pl)
{
    // Iterative matcher with one backtrack point for the last '*'.
    qsizetype ni = 0, pi = 0, starP = -1, starN = 0;
    while (ni < nl) {
        if (pi < pl && (p[pi] == QLatin1Char('?') || p[pi] == n[ni])) {
            ++ni;
            ++pi;
        } else if (pi < pl && p[pi] == QLatin1Char('*')) {
            starP = pi++;
            starN = ni;
        } else if (starP >= 0) {
            pi = starP + 1;
            ni = ++starN;
        } else {
            return false;
        }
    }
    while (pi < pl && p[pi] == QLatin1Char('*'))
        ++pi;
    return pi == pl;
}
} // namespace

FileTime fileTimeFromDateTime(const QDateTime &utc)
{
    if (!utc.isValid())
        return 0;
    const qint64 ticks = utc.toMSecsSinceEpoch() * 10000 + kEpochDelta;
    return ticks < 0 ? 0 : FileTime(ticks);
}

QDateTime dateTimeFromFileTime(FileTime ft)
{
    const qint64 ms = (qint64(ft) - kEpochDelta) / 10000;
    return QDateTime::fromMSecsSinceEpoch(ms, QTimeZone::utc());
}

bool matchesPattern(const QString &name, const QString &pattern)
{
    if (pattern.isEmpty() || pattern == QLatin1String("*") || pattern == QLatin1String("*.*"))
        return true;
    return matchFrom(name.constData(), name.size(), pattern.constData(), pattern.size());
}

QString decodeName(QByteArrayView bytes)
{
    const auto *p = reinterpret_cast<const uchar *>(bytes.data());
    const qsizetype n = bytes.size();
    qsizetype ascii = 0;
    while (ascii < n && p[ascii] < 0x80)
        ++ascii;
    if (ascii == n)
        return QString::fromLatin1(bytes.data(), n); // the common case, fast
    QString out;
    out.reserve(n);
    out.append(QLatin1StringView(bytes.data(), ascii));
    qsizetype i = ascii;
    while (i < n) {
        const int len = utf8SequenceLength(p + i, n - i);
        if (len == 0) {
            out.append(QChar(ushort(0xDC00 + p[i]))); // kept byte for byte
            ++i;
            continue;
        }
        char32_t cp = len == 1 ? p[i] : (p[i] & (0x7F >> len));
        for (int k = 1; k < len; ++k)
            cp = (cp << 6) | (p[i + k] & 0x3F);
        if (QChar::requiresSurrogates(cp)) {
            out.append(QChar(QChar::highSurrogate(cp)));
            out.append(QChar(QChar::lowSurrogate(cp)));
        } else {
            out.append(QChar(char16_t(cp)));
        }
        i += len;
    }
    return out;
}

QByteArray encodeName(const QString &name)
{
    QByteArray out;
    out.reserve(name.size() * 3);
    const qsizetype n = name.size();
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t c = name.at(i).unicode();
        if (c >= 0xDC80 && c <= 0xDCFF) {
            out.append(char(c - 0xDC00)); // a byte that came in undecodable
        } else if (QChar::isHighSurrogate(c) && i + 1 < n && name.at(i + 1).isLowSurrogate()) {
            out.append(QStringView(name).mid(i, 2).toUtf8());
            ++i;
        } else if (QChar::isSurrogate(c)) {
            out.append('?'); // a lone surrogate has no UTF-8 form
        } else {
            out.append(QStringView(name).mid(i, 1).toUtf8());
        }
    }
    return out;
}

} // namespace inet
