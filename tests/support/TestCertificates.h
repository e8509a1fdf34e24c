#pragma once
// Certificates for the TLS suites, made with the openssl tool at test time in
// a temporary folder: a test CA, and server certificates (each a PEM file
// with its key, as the test server takes them) that the CA signed for
// 127.0.0.1 (IP SAN), for another host name, one that expired, and one that
// signs itself.

#include <QCryptographicHash>
#include <QFile>
#include <QProcess>
#include <QSslCertificate>
#include <QStringList>
#include <QTemporaryDir>

class TestCertificates {
public:
    enum Kind { Good, OtherHost, Expired, SelfSigned };

    TestCertificates()
    {
        m_ok = m_dir.isValid()
               && run({"req", "-x509", "-newkey", "ec", "-pkeyopt", "ec_paramgen_curve:prime256v1", "-nodes",
                       "-keyout", path("ca.key"), "-out", path("ca.pem"), "-days", "2", "-subj", "/CN=Tarvo Test CA"})
               && make(Good, "/CN=127.0.0.1", "IP:127.0.0.1", "2") && make(OtherHost, "/CN=other.example",
                                                                                "DNS:other.example", "2")
               && make(Expired, "/CN=127.0.0.1", "IP:127.0.0.1", "-1")
               && run({"req", "-x509", "-newkey", "ec", "-pkeyopt", "ec_paramgen_curve:prime256v1", "-nodes",
                       "-keyout", path("self.key"), "-out", path("self.crt"), "-days", "2", "-subj", "/CN=127.0.0.1",
                       "-addext", "subjectAltName=IP:127.0.0.1"})
               && combine(SelfSigned);
    }

    bool isValid() const { return m_ok; }
    QString error() const { return m_error; }
    QString caFile() const { return path("ca.pem"); }
    QList<QSslCertificate> ca() const { return QSslCertificate::fromPath(caFile()); }
    // The PEM file (certificate and key) for the server.
    QString serverFile(Kind kind) const { return path(name(kind) + ".pem"); }
    // SHA-256 of the certificate's DER form.
    QByteArray sha256(Kind kind) const
    {
        const QList<QSslCertificate> certs = QSslCertificate::fromPath(path(name(kind) + ".crt"));
        return certs.isEmpty() ? QByteArray() : certs.first().digest(QCryptographicHash::Sha256);
    }

private:
    static QString name(Kind kind)
    {
        static const char *const names[] = {"good", "other", "expired", "self"};
        return QString::fromLatin1(names[kind]);
    }
    QString path(const QString &file) const { return m_dir.filePath(file); }

    bool run(const QStringList &args)
    {
        QProcess openssl;
        openssl.setProcessChannelMode(QProcess::MergedChannels);
        openssl.start(QStringLiteral("openssl"), args);
        if (!openssl.waitForFinished(60000) || openssl.exitStatus() != QProcess::NormalExit || openssl.exitCode() != 0) {
            m_error = QStringLiteral("openssl %1: %2").arg(args.join(' '), QString::fromLocal8Bit(openssl.readAll()));
            return false;
        }
        return true;
    }

    // A certificate signed by the test CA; days "-1" makes one that expired.
    bool make(Kind kind, const char *subject, const char *altName, const char *days)
    {
        const QString n = name(kind);
        QFile ext(path(n + ".ext"));
        if (!ext.open(QIODevice::WriteOnly))
            return false;
        ext.write(QByteArray("subjectAltName=") + altName + "\n");
        ext.close();
        return run({"req", "-newkey", "ec", "-pkeyopt", "ec_paramgen_curve:prime256v1", "-nodes", "-keyout",
                    path(n + ".key"), "-out", path(n + ".csr"), "-subj", subject})
               && run({"x509", "-req", "-in", path(n + ".csr"), "-CA", caFile(), "-CAkey", path("ca.key"),
                       "-CAcreateserial", "-days", days, "-extfile", path(n + ".ext"), "-out", path(n + ".crt")})
               && combine(kind);
    }

    bool combine(Kind kind)
    {
        const QString n = name(kind);
        QFile out(path(n + ".pem")), crt(path(n + ".crt")), key(path(n + ".key"));
        if (!out.open(QIODevice::WriteOnly) || !crt.open(QIODevice::ReadOnly) || !key.open(QIODevice::ReadOnly))
            return false;
        out.write(crt.readAll() + key.readAll());
        return true;
    }

    QTemporaryDir m_dir;
    bool m_ok = false;
    QString m_error;
};
