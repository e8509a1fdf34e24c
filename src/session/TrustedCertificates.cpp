#include "session/TrustedCertificates.h"

#include "platform/Paths.h"
#include "settings/StringTable.h"
#include "settings/TextFile.h"

#include <QStringList>

#include <optional>

namespace {

struct Entry {
    QString host;
    quint16 port = 0;
    QByteArray sha256;
};

// "host|port|HEX"; nothing for a line of another shape.
std::optional<Entry> parse(const QString &line)
{
    const QStringList parts = line.split(QLatin1Char('|'));
    if (parts.size() != 3)
        return std::nullopt;
    bool ok = false;
    const uint port = parts.at(1).toUInt(&ok);
    const QByteArray sha256 = QByteArray::fromHex(parts.at(2).toLatin1());
    if (!ok || port == 0 || port > 65535 || sha256.size() != 32 || parts.at(0).isEmpty())
        return std::nullopt;
    return Entry{parts.at(0), quint16(port), sha256};
}

bool sameServer(const Entry &e, const QString &host, quint16 port)
{
    return e.port == port && e.host.compare(host.trimmed(), Qt::CaseInsensitive) == 0;
}

} // namespace

TrustedCertificates::TrustedCertificates(const QString &path) : m_path(path) {}

QString TrustedCertificates::defaultPath()
{
    return platform::joinPath(platform::programDirectory(), QStringLiteral("ftpcert.tf"));
}

QString TrustedCertificates::path() const
{
    return m_path.isEmpty() ? defaultPath() : m_path;
}

QByteArray TrustedCertificates::fingerprint(const QString &host, quint16 port) const
{
    for (const QString &line : textfile::readLines(path()).lines) {
        const auto entry = parse(line);
        if (entry && sameServer(*entry, host, port))
            return entry->sha256;
    }
    return QByteArray();
}

bool TrustedCertificates::isTrusted(const QString &host, quint16 port, const QByteArray &sha256) const
{
    return !sha256.isEmpty() && fingerprint(host, port) == sha256;
}

FileResult TrustedCertificates::trust(const QString &host, quint16 port, const QByteArray &sha256)
{
    if (sha256.size() != 32 || host.trimmed().isEmpty() || host.contains(QLatin1Char('|'))
        || host.contains(QLatin1Char('\n')) || host.contains(QLatin1Char('\r')))
        return FileResult::failure(LangStr(845) + host);
    return rewrite(host.trimmed(), port, sha256);
}

FileResult TrustedCertificates::forget(const QString &host, quint16 port)
{
    return rewrite(host.trimmed(), port, QByteArray());
}

FileResult TrustedCertificates::rewrite(const QString &host, quint16 port, const QByteArray &sha256)
{
    const textfile::Lines read = textfile::readLines(path());
    if (!read.ok)
        return FileResult::failure(read.error); // never rewrite what could not be read
    QStringList kept;
    for (const QString &line : read.lines) {
        const auto entry = parse(line);
        if (!line.isEmpty() && !(entry && sameServer(*entry, host, port)))
            kept.append(line);
    }
    if (!sha256.isEmpty())
        kept.append(QStringLiteral("%1|%2|%3").arg(host).arg(port).arg(QString::fromLatin1(sha256.toHex().toUpper())));
    return textfile::writeLines(path(), kept);
}
