#pragma once
// A gnome-keyring of the test's own, on the session bus the test runs on
// (ctest starts the suite inside dbus-run-session), with its home and XDG
// folders in a temporary folder. The program is taken out of its Debian
// package by scripts/peer-server. Unlocked, it is created with a password
// given on its standard input, as a login does; locked, it has no keyring at
// all and would have to ask the user (there is no one to ask here).

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusInterface>
#include <QDBusObjectPath>
#include <QDBusReply>
#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

#ifndef TARVO_PEER_SERVER
#error "TARVO_PEER_SERVER must name scripts/peer-server"
#endif

class KeyringDaemon {
public:
    // Starts it; on failure why() says what went wrong (the suite is skipped).
    explicit KeyringDaemon(bool unlocked)
    {
        if (!QDBusConnection::sessionBus().isConnected()) {
            m_why = QStringLiteral("no session bus: ") + QDBusConnection::sessionBus().lastError().message();
            return;
        }
        const QString program = daemonPath();
        if (program.isEmpty())
            return;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        const QDir home(m_home.path());
        for (const char *sub : {"data", "config", "cache", "runtime"})
            home.mkpath(QString::fromLatin1(sub));
        QFile::setPermissions(home.filePath("runtime"), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        env.insert("HOME", m_home.path());
        env.insert("XDG_DATA_HOME", home.filePath("data"));
        env.insert("XDG_CONFIG_HOME", home.filePath("config"));
        env.insert("XDG_CACHE_HOME", home.filePath("cache"));
        env.insert("XDG_RUNTIME_DIR", home.filePath("runtime"));
        m_process = std::make_unique<QProcess>();
        m_process->setProcessEnvironment(env);
        m_process->setProcessChannelMode(QProcess::MergedChannels);
        QStringList args{"--foreground", "--components=secrets"};
        if (unlocked)
            args << "--unlock";
        m_process->start(program, args);
        if (!m_process->waitForStarted(10000)) {
            m_why = QStringLiteral("gnome-keyring-daemon does not start: ") + m_process->errorString();
            return;
        }
        if (unlocked)
            m_process->write("test-login-password");
        m_process->closeWriteChannel();
        // Ready once the Secret Service answers, with a default keyring when
        // it was unlocked.
        const bool ready = QTest::qWaitFor([this, unlocked] { return serviceReady(unlocked); }, 20000);
        if (!ready || m_process->state() == QProcess::NotRunning)
            m_why = QStringLiteral("gnome-keyring-daemon gives no Secret Service: ")
                  + QString::fromLocal8Bit(m_process->readAll());
    }

    ~KeyringDaemon()
    {
        if (m_process && m_process->state() != QProcess::NotRunning) {
            m_process->terminate();
            if (!m_process->waitForFinished(5000))
                m_process->kill();
            m_process->waitForFinished(5000);
        }
    }

    bool running() const { return m_why.isEmpty(); }
    QString why() const { return m_why; }

private:
    QString daemonPath()
    {
        QProcess peer;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("TARVO_PEERS_DIR", QStringLiteral(TARVO_PEERS_DIR));
        peer.setProcessEnvironment(env);
        peer.start(QStringLiteral(TARVO_PEER_SERVER), {"gnome-keyring"});
        if (!peer.waitForFinished(300000) || peer.exitCode() != 0) {
            m_why = QStringLiteral("gnome-keyring cannot be unpacked here: ")
                  + QString::fromLocal8Bit(peer.readAllStandardError());
            return QString();
        }
        return QString::fromLocal8Bit(peer.readAllStandardOutput()).trimmed();
    }

    bool serviceReady(bool unlocked) const
    {
        if (m_process->state() == QProcess::NotRunning)
            return true; // gave up: the process said why on its output
        QDBusConnectionInterface *bus = QDBusConnection::sessionBus().interface();
        if (!bus || !bus->isServiceRegistered(QStringLiteral("org.freedesktop.secrets")))
            return false;
        if (!unlocked)
            return true;
        QDBusInterface service(QStringLiteral("org.freedesktop.secrets"), QStringLiteral("/org/freedesktop/secrets"),
                               QStringLiteral("org.freedesktop.Secret.Service"));
        const QDBusReply<QDBusObjectPath> alias = service.call(QStringLiteral("ReadAlias"), QStringLiteral("default"));
        return alias.isValid() && alias.value().path() != QLatin1String("/");
    }

    QTemporaryDir m_home;
    std::unique_ptr<QProcess> m_process;
    QString m_why;
};
