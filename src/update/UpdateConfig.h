#pragma once
// Addresses of the update server and of the vendor's web site. Both are set
// when the program is built (the CMake options TARVO_UPDATE_URL and
// TARVO_WEB_URL) and overridden by --update-url URL / --web-url URL or the
// environment variables TARVOFTP_UPDATE_URL / TARVOFTP_WEB_URL (tests use
// local servers). A build without an update address (the default: a copy
// installed from a distribution is updated by it) never asks the network
// for updates.

#include <QString>
#include <QStringList>

namespace update {

QString updateServerUrl();   // without a trailing "/"; "" when there is none
bool hasUpdateServer();
QString vendorWebSiteUrl();  // without a trailing "/"
void setUpdateServerUrl(const QString &url);
void setVendorWebSiteUrl(const QString &url);
void initUpdateConfig(const QStringList &arguments);

} // namespace update
