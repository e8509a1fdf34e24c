#include "update/UpdateConfig.h"

namespace update {
namespace {
QString updateUrl;
QString webUrl;

QString trimmed(QString url)
{
    while (url.endsWith(QLatin1Char('/')))
        url.chop(1);
    return url;
}

QString optionValue(const QStringList &arguments, const QString &name)
{
    for (int i = 1; i < arguments.size(); ++i) {
        if (arguments.at(i) == name && i + 1 < arguments.size())
            return arguments.at(i + 1);
        if (arguments.at(i).startsWith(name + QLatin1Char('=')))
            return arguments.at(i).mid(name.size() + 1);
    }
    return QString();
}
} // namespace

QString updateServerUrl()
{
    return updateUrl.isEmpty() ? trimmed(QStringLiteral(TARVO_UPDATE_URL)) : updateUrl;
}

bool hasUpdateServer()
{
    return !updateServerUrl().isEmpty();
}

QString vendorWebSiteUrl()
{
    return webUrl.isEmpty() ? trimmed(QStringLiteral(TARVO_WEB_URL)) : webUrl;
}

void setUpdateServerUrl(const QString &url) { updateUrl = trimmed(url); }
void setVendorWebSiteUrl(const QString &url) { webUrl = trimmed(url); }

void initUpdateConfig(const QStringList &arguments)
{
    QString u = optionValue(arguments, QStringLiteral("--update-url"));
    if (u.isEmpty())
        u = qEnvironmentVariable("TARVOFTP_UPDATE_URL");
    if (!u.isEmpty())
        setUpdateServerUrl(u);
    QString w = optionValue(arguments, QStringLiteral("--web-url"));
    if (w.isEmpty())
        w = qEnvironmentVariable("TARVOFTP_WEB_URL");
    if (!w.isEmpty())
        setVendorWebSiteUrl(w);
}

} // namespace update
