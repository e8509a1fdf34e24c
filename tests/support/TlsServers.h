#pragma once
// The TLS suites' servers: pyftpdlib with the suite's own certificates, each
// kind started once, when a test first asks for it, and kept for the suite.

#include "FtpServer.h"
#include "TestCertificates.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <map>
#include <memory>

class TlsServers {
public:
    struct Kind {
        QString tls = QStringLiteral("explicit"); // "", "explicit", "implicit"
        TestCertificates::Kind certificate = TestCertificates::Good;
        bool refuseProt = false;
        bool plainData = false;
        bool operator<(const Kind &o) const
        {
            return std::tie(tls, certificate, refuseProt, plainData)
                   < std::tie(o.tls, o.certificate, o.refuseProt, o.plainData);
        }
    };

    TestCertificates &certificates() { return m_certificates; }

    // The server of that kind; its command log is emptied first.
    FtpServer &server(const Kind &kind)
    {
        auto &slot = m_servers[kind];
        if (!slot) {
            FtpServerOptions options;
            options.tls = kind.tls;
            if (!kind.tls.isEmpty())
                options.certificate = m_certificates.serverFile(kind.certificate);
            options.refuseProt = kind.refuseProt;
            options.plainData = kind.plainData;
            options.commandLog = logFile(kind);
            slot = std::make_unique<FtpServer>(options);
        }
        QFile(logFile(kind)).resize(0);
        slot->clearRoot();
        return *slot;
    }

    // Every command verb the server of that kind got since server(kind).
    QStringList commands(const Kind &kind) const
    {
        QFile log(logFile(kind));
        if (!log.open(QIODevice::ReadOnly))
            return {};
        QStringList verbs = QString::fromLatin1(log.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        return verbs;
    }

private:
    QString logFile(const Kind &kind) const
    {
        return m_logs.filePath(QStringLiteral("%1-%2-%3-%4.log")
                                   .arg(kind.tls.isEmpty() ? QStringLiteral("plain") : kind.tls)
                                   .arg(int(kind.certificate))
                                   .arg(int(kind.refuseProt))
                                   .arg(int(kind.plainData)));
    }

    TestCertificates m_certificates;
    QTemporaryDir m_logs;
    std::map<Kind, std::unique_ptr<FtpServer>> m_servers;
};

// What a TLS suite's fixture shares: the servers, started with the suite
// (startServers in SetUpTestSuite, stopServers in TearDownTestSuite), the
// check that their certificates were made, and a server of a kind.
class TlsSuite {
protected:
    static void startServers() { s_servers = std::make_unique<TlsServers>(); }
    static void stopServers() { s_servers.reset(); }
    static void assertCertificates()
    {
        ASSERT_TRUE(s_servers->certificates().isValid()) << s_servers->certificates().error().toStdString();
    }
    static FtpServer &tlsServer(const TlsServers::Kind &kind = {})
    {
        FtpServer &s = s_servers->server(kind);
        EXPECT_TRUE(s.isRunning()) << s.errorText().toStdString();
        return s;
    }

    static inline std::unique_ptr<TlsServers> s_servers;
};
