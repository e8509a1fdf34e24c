#pragma once
// Starts a real FTP server (Debian's pyftpdlib) on a free loopback port with a
// temporary root folder, for the length of a test suite.

#include <QProcess>
#include <QString>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <memory>

struct FtpServerOptions {
    bool anonymous = false;
    bool mlsd = true; // false: the server answers LIST only
    bool unique = true; // false: MLSD gives no "unique" facts
    bool rawNames = false; // true: names that are not UTF-8 keep their bytes
    QString tls;           // "explicit" or "implicit": FTP over TLS (needs certificate)
    QString certificate;   // PEM file with the server's certificate and key
    bool refuseProt = false; // TLS: PROT P is answered with 534
    bool plainData = false;  // TLS: data connections stay plain (a broken server)
    QString commandLog;    // a file that gets every command's verb, one a line
    QString user = QStringLiteral("tester");
    QString password = QStringLiteral("secret");
    int maxPerAddress = 0; // connections one address may hold; 0: no limit
    int rate = 0;          // bytes a second of each data connection; 0: no limit
    // The first transfer each way of a "flaky-..." file loses its data
    // connection after 64 KiB (426); of a "flakyall-..." file, the control
    // connection too.
    bool flaky = false;
    bool rest = true;      // false: no REST, transfers cannot resume
    bool size = true;      // false: no SIZE
    bool hash = false;     // HASH (SHA-256, SHA-1, MD5) with OPTS HASH
    bool wrongHash = false; // HASH answers the hash of other bytes
};

class FtpServer {
public:
    explicit FtpServer(const FtpServerOptions &options = {});
    ~FtpServer(); // stops the server

    bool isRunning() const { return m_port != 0; }
    quint16 port() const { return m_port; }
    QString host() const { return QStringLiteral("127.0.0.1"); }
    QString user() const { return m_options.user; }
    QString password() const { return m_options.password; }
    // The server's root folder on disk, and a path below it.
    QString root() const { return m_root.path(); }
    QString path(const QString &relative) const;
    // Test data helpers working directly on the server's disk.
    void writeFile(const QString &relative, const QByteArray &content) const;
    QByteArray readFile(const QString &relative) const;
    void makeDir(const QString &relative) const;
    void clearRoot() const; // empties the root between tests
    QString errorText() const { return m_error; }
    // Kills the server at once (a server that dies mid-transfer).
    void kill();
    // Freezes the server's process and lets it go on (a stalled server).
    void pause();
    void resume();

private:
    FtpServerOptions m_options;
    QTemporaryDir m_root;
    QTemporaryDir m_state; // what a flaky server remembers between sessions
    std::unique_ptr<QProcess> m_process;
    quint16 m_port = 0;
    QString m_error;
};

// The server a suite's tests share, emptied before each of them: the fixture
// calls startServer (with its options) in SetUpTestSuite, stopServer in
// TearDownTestSuite and readyServer in SetUp.
class SuiteFtpServer {
protected:
    static void startServer(const FtpServerOptions &options = {}) { server = std::make_unique<FtpServer>(options); }
    static void stopServer() { server.reset(); }
    static void readyServer()
    {
        ASSERT_TRUE(server->isRunning()) << server->errorText().toStdString();
        server->clearRoot();
    }

    static inline std::unique_ptr<FtpServer> server;
};
