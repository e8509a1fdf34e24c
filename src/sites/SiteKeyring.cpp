#include "sites/SiteKeyring.h"

#include "platform/Keyring.h"
#include "sites/SiteRecord.h"
#include "sites/clsGestionData.h"

namespace sitekeyring {
namespace {
constexpr int PasswordField = 5;
} // namespace

QString keyFor(qint32 siteNumber)
{
    return QStringLiteral("site %1 of %2").arg(siteNumber).arg(clsGestionData::siteFilePath());
}

QString storePassword(const QString &record, bool asTyped)
{
    const auto site = siterecord::parseSite(record);
    if (!site)
        return record;
    const QString stored = site->fields.at(PasswordField);
    const QString key = keyFor(site->number);
    if (stored.isEmpty()) {
        if (asTyped && keyring::usable())
            keyring::removePassword(key);
        return record;
    }
    if (!keyring::storePassword(key, siterecord::decodePassword(stored))) {
        keyring::noteFileFallback();
        return record;
    }
    QStringList fields = site->fields;
    fields[PasswordField].clear();
    return fields.join(QLatin1Char('|'));
}

QString passwordOf(qint32 siteNumber, const QString &storedField)
{
    if (!storedField.isEmpty())
        return siterecord::decodePassword(storedField);
    return keyring::readPassword(keyFor(siteNumber)).value_or(QString());
}

void forget(const QList<qint32> &siteNumbers)
{
    for (qint32 number : siteNumbers) {
        if (!keyring::usable())
            return;
        keyring::removePassword(keyFor(number));
    }
}

} // namespace sitekeyring
