#include "FtpServer.h"
#include "TestFiles.h"

#include <csignal>
#include <sys/types.h>

#ifndef TARVO_TEST_SUPPORT_DIR
#error "TARVO_TEST_SUPPORT_DIR must name tests/support"
#endif

FtpServer::FtpServer(const FtpServerOptions &options)
    : m_options(options), m_process(std::make_unique<QProcess>())
{
    QStringList args{QStringLiteral(TARVO_TEST_SUPPORT_DIR "/ftpserver.py"), QStringLiteral("--root"), m_root.path(),
                     QStringLiteral("--user"), options.user, QStringLiteral("--password"), options.password};
    if (options.anonymous)
        args << QStringLiteral("--anonymous");
    if (!options.mlsd)
        args << QStringLiteral("--no-mlsd");
    if (!options.unique)
        args << QStringLiteral("--no-unique");
    if (options.rawNames)
        args << QStringLiteral("--raw-names");
    if (options.maxPerAddress > 0)
        args << QStringLiteral("--max-per-address") << QString::number(options.maxPerAddress);
    if (options.rate > 0)
        args << QStringLiteral("--rate") << QString::number(options.rate);
    if (!options.tls.isEmpty())
        args << QStringLiteral("--tls") << options.tls << QStringLiteral("--cert") << options.certificate;
    if (options.refuseProt)
        args << QStringLiteral("--refuse-prot");
    if (options.plainData)
        args << QStringLiteral("--plain-data");
    if (options.flaky)
        args << QStringLiteral("--flaky") << m_state.path();
    if (!options.rest)
        args << QStringLiteral("--no-rest");
    if (!options.size)
        args << QStringLiteral("--no-size");
    if (options.hash)
        args << QStringLiteral("--hash");
    if (options.wrongHash)
        args << QStringLiteral("--hash") << QStringLiteral("--wrong-hash");
    if (!options.commandLog.isEmpty())
        args << QStringLiteral("--log-commands") << options.commandLog;
    // Debian's pyftpdlib belongs to the system interpreter, not to whatever
    // python3 comes first on PATH.
    m_process->start(QStringLiteral("/usr/bin/python3"), args);
    if (!m_process->waitForStarted(10000)) {
        m_error = QStringLiteral("cannot start /usr/bin/python3: ") + m_process->errorString();
        return;
    }
    QByteArray line;
    while (!line.contains('\n') && m_process->waitForReadyRead(15000))
        line += m_process->readAllStandardOutput();
    if (line.startsWith("PORT "))
        m_port = quint16(line.mid(5).trimmed().toUInt());
    if (m_port == 0)
        m_error = QStringLiteral("ftp server did not start: ") + QString::fromLocal8Bit(line + m_process->readAllStandardError());
}

FtpServer::~FtpServer()
{
    resume();
    kill();
}

void FtpServer::pause()
{
    if (m_process->state() == QProcess::Running)
        ::kill(-pid_t(m_process->processId()), SIGSTOP);
}

void FtpServer::resume()
{
    if (m_process->state() == QProcess::Running)
        ::kill(-pid_t(m_process->processId()), SIGCONT);
}

void FtpServer::kill()
{
    if (m_process->state() != QProcess::NotRunning) {
        // The server and the process of every session it serves.
        ::kill(-pid_t(m_process->processId()), SIGKILL);
        m_process->kill();
        m_process->waitForFinished(5000);
    }
}

QString FtpServer::path(const QString &relative) const { return QDir(m_root.path()).filePath(relative); }

void FtpServer::writeFile(const QString &relative, const QByteArray &content) const
{
    testfiles::writeFile(path(relative), content);
}

QByteArray FtpServer::readFile(const QString &relative) const
{
    QFile f(path(relative));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void FtpServer::makeDir(const QString &relative) const { QDir().mkpath(path(relative)); }

void FtpServer::clearRoot() const { testfiles::clearFolder(m_root.path()); }
