#pragma once
// The update server's files as the update check and the updater read them,
// written into a local HTTP server.

#include "HttpServer.h"
#include "update/UpdateService.h"

#include <QCryptographicHash>

// The running version with its major number moved by majorDelta (and its
// minor number replaced when one is given).
inline QString versionText(int majorDelta, int minor = -1)
{
    ProgramVersion v = ProgramVersion::running();
    v.major += majorDelta;
    if (minor >= 0)
        v.minor = minor;
    return v.text();
}

inline void serveVersion(const HttpServer &http, const QString &version)
{
    http.writeFile("ver.tf", "[Version]\r\nTarvo Ftp.exe=" + version.toLatin1() + "\r\n");
}

// An updater that only leaves a mark in `folder`, and lists with nothing to fetch.
inline void serveEmptyUpdate(const HttpServer &http, const QString &folder)
{
    const QByteArray script = "#!/bin/sh\ntouch \"" + folder.toUtf8() + "/updater-ran\"\n";
    http.writeFile("TUpdate.exe", script);
    http.writeFile("verupt.tf", "[ver]\r\nver=2.0\r\nsha256="
                                    + QCryptographicHash::hash(script, QCryptographicHash::Sha256).toHex() + "\r\n");
    for (const char *list : {"frupt.tf", "enupt.tf"})
        http.writeFile(list, "[Update]\r\nNbrDl=0\r\n");
}
