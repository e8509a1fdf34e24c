#pragma once
// The server certificates the user chose to trust always: host, port and the
// SHA-256 fingerprint of the certificate, one line each ("host|port|HEX") in
// "ftpcert.tf" in the program directory, rewritten whole through a temporary
// file like the other data files. The desktop program and the command line
// share it. The file is read on every lookup: it is small, and another copy
// of the program may have written it meanwhile.

#include "settings/FileResult.h"

#include <QByteArray>
#include <QString>

class TrustedCertificates {
public:
    // path: the file; empty means "ftpcert.tf" in the program directory.
    explicit TrustedCertificates(const QString &path = QString());

    static QString defaultPath();
    QString path() const;

    // The fingerprint (32 bytes) trusted for host:port, empty when none. Host
    // names are compared without regard to case.
    QByteArray fingerprint(const QString &host, quint16 port) const;
    bool isTrusted(const QString &host, quint16 port, const QByteArray &sha256) const;
    // Trusts the certificate for host:port from now on, in place of any other.
    FileResult trust(const QString &host, quint16 port, const QByteArray &sha256);
    FileResult forget(const QString &host, quint16 port);

private:
    FileResult rewrite(const QString &host, quint16 port, const QByteArray &sha256);

    QString m_path;
};
