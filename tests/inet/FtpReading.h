#pragma once
// Reading whole listings and downloads through the FTP library, for the suites
// that drive it directly.

#include "platform/inet/Inet.h"

#include <QStringList>

// The names of a whole listing; `endError` gets the error that ended it.
inline QStringList listNames(inet::FtpConnection *c, quint32 *endError = nullptr)
{
    QStringList names;
    inet::FindRecord rec;
    auto find = c->findFirstFile(QStringLiteral("*.*"), rec);
    while (find) {
        names << rec.name;
        if (!find->next(rec))
            break;
    }
    if (endError)
        *endError = inet::lastError();
    return names;
}

// Reads the rest of a download in 255-byte blocks; false when a read failed.
inline bool readAll(inet::FtpFile &file, QByteArray &out)
{
    char block[255];
    quint32 got = 0;
    while (file.read(block, sizeof block, got)) {
        if (got == 0)
            return true;
        out.append(block, got);
    }
    return false;
}

// A whole binary download, closed as a caller would.
inline bool download(inet::FtpConnection *c, const QString &name, QByteArray &out)
{
    auto file = c->openFile(name, inet::GENERIC_READ, inet::FTP_TRANSFER_TYPE_BINARY);
    return file && readAll(*file, out) && file->close();
}
