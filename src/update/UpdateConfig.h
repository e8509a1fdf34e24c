#pragma once
// Addresses of the update server and of the vendor's web site. Built-in
// defaults, overridden by --update-url URL / --web-url URL or the environment
// variables TARVOFTP_UPDATE_URL / TARVOFTP_WEB_URL (tests use local servers).

#include <QString>
#include <QStringList>

namespace update {

QString updateServerUrl();   // without a trailing "/"
QString vendorWebSiteUrl();  // without a trailing "/"
void setUpdateServerUrl(const QString &url);
void setVendorWebSiteUrl(const QString &url);
void initUpdateConfig(const QStringList &arguments);

} // namespace update
