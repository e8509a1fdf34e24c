#include "sites/SiteRecord.h"

#include "settings/Cp1252.h"
#include "settings/StringTable.h"

namespace siterecord {
namespace {

int hexDigit(QChar c)
{
    const char16_t u = c.unicode();
    if (u >= '0' && u <= '9')
        return u - '0';
    if (u >= 'A' && u <= 'F')
        return u - 'A' + 10;
    if (u >= 'a' && u <= 'f')
        return u - 'a' + 10;
    return -1;
}

// The characters of text that the 8-bit files cannot hold, each once.
QString unstorable(const QString &text)
{
    QString refused;
    for (char32_t cp : text.toUcs4()) {
        const QString one = QString::fromUcs4(&cp, 1);
        if (!cp1252::canEncode(one) && !refused.contains(one))
            refused += one;
    }
    return refused;
}

} // namespace

qint32 Site::folder() const
{
    return toNumber(fields.at(9)).value_or(0);
}

std::optional<qint32> toNumber(const QString &text)
{
    bool ok = false;
    const qint32 n = text.trimmed().toInt(&ok);
    return ok ? std::optional<qint32>(n) : std::nullopt;
}

std::optional<Site> parseSite(const QString &line)
{
    QStringList fields = line.split(QLatin1Char('|'));
    if (fields.size() < SiteFieldCount)
        return std::nullopt;
    const auto number = toNumber(fields.at(0));
    if (!number || !toNumber(fields.at(9)))
        return std::nullopt;
    const QString rest = fields.mid(SiteFieldCount - 1).join(QLatin1Char('|'));
    fields = fields.mid(0, SiteFieldCount - 1);
    fields.append(rest);
    return Site{*number, fields};
}

std::optional<Folder> parseFolder(const QString &line)
{
    const QStringList fields = line.split(QLatin1Char('|'));
    const auto number = fields.size() >= 2 ? toNumber(fields.at(0)) : std::nullopt;
    if (!number)
        return std::nullopt;
    return Folder{*number, fields.at(1)};
}

std::optional<qint32> leadingNumber(const QString &line)
{
    return toNumber(line.section(QLatin1Char('|'), 0, 0));
}

qint32 biggestNumber(const QStringList &lines)
{
    qint32 biggest = 0;
    for (const QString &line : lines) {
        const auto n = leadingNumber(line);
        if (n && *n > biggest)
            biggest = *n;
    }
    return biggest;
}

QString textToHex(const QString &text)
{
    QString hex;
    hex.reserve(text.size() * 2);
    for (QChar c : text) {
        const auto byte = static_cast<unsigned char>(cp1252::encodeChar(c));
        hex += QStringLiteral("%1").arg(uint(byte), 2, 16, QLatin1Char('0')).toUpper();
    }
    return hex;
}

QString hexToText(const QString &hex)
{
    if (hex.size() % 2 != 0)
        return hex;
    QByteArray bytes;
    bytes.reserve(hex.size() / 2);
    for (qsizetype i = 0; i < hex.size(); i += 2) {
        const int high = hexDigit(hex.at(i));
        const int low = hexDigit(hex.at(i + 1));
        if (high < 0 || low < 0)
            return hex;
        bytes.append(char(high * 16 + low));
    }
    return cp1252::decode(bytes);
}

QString encodePassword(const QString &password)
{
    return textToHex(textToHex(password));
}

QString decodePassword(const QString &stored)
{
    return hexToText(hexToText(stored));
}

FileResult checkFieldText(const QString &value)
{
    if (value.contains(QLatin1Char('|')) || value.contains(QLatin1Char('\r'))
        || value.contains(QLatin1Char('\n')))
        return FileResult::failure(LangStr(703) + value.simplified());
    if (!cp1252::canEncode(value))
        return FileResult::failure(LangStr(704) + unstorable(value));
    return FileResult::success();
}

} // namespace siterecord
