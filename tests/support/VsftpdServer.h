#pragma once
// vsftpd in the foreground with a config file of the test's own: anonymous
// with upload, FTP over TLS required (control and data), and data connections
// that must resume the control connection's TLS session (require_ssl_reuse).
// The binary: $TARVO_VSFTPD, else build/peers/vsftpd/usr/sbin/vsftpd (what
// scripts/peer-server extracts from Debian's package), else /usr/sbin/vsftpd,
// else what scripts/peer-server unpacks now.
// isFound() is false when there is none: the caller skips.

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>

#include <memory>

#ifndef TARVO_BUILD_DIR
#error "TARVO_BUILD_DIR must name the build tree"
#endif

class VsftpdServer {
public:
    // certificate, key: PEM files for the server.
    VsftpdServer(const QString &certificate, const QString &key)
    {
        m_binary = findBinary();
        if (m_binary.isEmpty())
            return;
        QDir(m_dir.path()).mkpath(QStringLiteral("root"));
        m_port = freePort();
        const quint16 pasv = freePort();
        QFile conf(m_dir.filePath(QStringLiteral("vsftpd.conf")));
        if (!m_port || !pasv || !conf.open(QIODevice::WriteOnly)) {
            m_error = QStringLiteral("no free port or config file");
            return;
        }
        // One passive port, found free just now: the tests use one data
        // connection at a time.
        conf.write(QStringLiteral(
                       "listen=YES\nlisten_ipv6=NO\nlisten_address=127.0.0.1\nlisten_port=%1\nbackground=NO\n"
                       "run_as_launching_user=YES\nanonymous_enable=YES\nno_anon_password=YES\nanon_root=%2\n"
                       "local_enable=NO\nwrite_enable=YES\nanon_upload_enable=YES\nanon_mkdir_write_enable=YES\n"
                       "anon_other_write_enable=YES\nanon_world_readable_only=NO\nanon_umask=022\n"
                       "seccomp_sandbox=NO\npasv_enable=YES\npasv_address=127.0.0.1\npasv_min_port=%3\n"
                       "pasv_max_port=%3\nport_enable=YES\nconnect_from_port_20=NO\nxferlog_enable=NO\n"
                       "dirmessage_enable=NO\nuse_localtime=NO\nmax_clients=20\n"
                       "ssl_enable=YES\nallow_anon_ssl=YES\nforce_anon_logins_ssl=YES\nforce_anon_data_ssl=YES\n"
                       "require_ssl_reuse=YES\nssl_ciphers=HIGH\nrsa_cert_file=%4\nrsa_private_key_file=%5\n")
                       .arg(m_port)
                       .arg(root())
                       .arg(pasv)
                       .arg(certificate, key)
                       .toUtf8());
        conf.close();
        m_process = std::make_unique<QProcess>();
        m_process->setProcessChannelMode(QProcess::MergedChannels);
        m_process->start(m_binary, {conf.fileName()});
        if (!m_process->waitForStarted(10000) || !waitListening()) {
            m_error = QStringLiteral("vsftpd did not start: ") + QString::fromLocal8Bit(m_process->readAll());
            m_port = 0;
        }
    }
    ~VsftpdServer()
    {
        if (m_process && m_process->state() != QProcess::NotRunning) {
            m_process->kill();
            m_process->waitForFinished(5000);
        }
    }

    bool isFound() const { return !m_binary.isEmpty(); }
    bool isRunning() const { return m_port != 0; }
    QString errorText() const { return m_error; }
    quint16 port() const { return m_port; }
    QString root() const { return m_dir.filePath(QStringLiteral("root")); }

    static QString findBinary()
    {
        const QString fromEnv = qEnvironmentVariable("TARVO_VSFTPD");
        const QString candidates[] = {fromEnv, QStringLiteral(TARVO_BUILD_DIR "/peers/vsftpd/usr/sbin/vsftpd"),
                                      QStringLiteral("/usr/sbin/vsftpd")};
        for (const QString &path : candidates) {
            if (!path.isEmpty() && QFileInfo(path).isExecutable())
                return path;
        }
        // Not unpacked yet: scripts/peer-server takes it out of Debian's package.
        QProcess peer;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("TARVO_PEERS_DIR"), QStringLiteral(TARVO_BUILD_DIR "/peers"));
        peer.setProcessEnvironment(env);
        peer.start(QStringLiteral(TARVO_SOURCE_DIR "/scripts/peer-server"), {QStringLiteral("vsftpd")});
        if (!peer.waitForFinished(300000) || peer.exitStatus() != QProcess::NormalExit || peer.exitCode() != 0)
            return QString();
        const QString unpacked = QString::fromLocal8Bit(peer.readAllStandardOutput()).trimmed();
        return QFileInfo(unpacked).isExecutable() ? unpacked : QString();
    }

private:
    static quint16 freePort()
    {
        QTcpServer probe;
        return probe.listen(QHostAddress::LocalHost, 0) ? probe.serverPort() : 0;
    }

    // Polls until the server takes a connection (or has died).
    bool waitListening()
    {
        const QDeadlineTimer deadline(15000);
        while (!deadline.hasExpired() && m_process->state() == QProcess::Running) {
            QTcpSocket probe;
            probe.connectToHost(QHostAddress::LocalHost, m_port);
            if (probe.waitForConnected(1000))
                return true;
            m_process->waitForFinished(50); // a server that failed says so here
        }
        return false;
    }

    QString m_binary;
    QTemporaryDir m_dir;
    std::unique_ptr<QProcess> m_process;
    quint16 m_port = 0;
    QString m_error;
};
