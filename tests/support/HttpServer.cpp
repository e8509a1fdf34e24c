#include "HttpServer.h"
#include "TestFiles.h"

#include <QRegularExpression>

HttpServer::HttpServer() : m_process(std::make_unique<QProcess>())
{
    // Port 0: the system picks a free port and the server says which.
    m_process->start(QStringLiteral("/usr/bin/python3"),
                     {QStringLiteral("-u"), QStringLiteral("-m"), QStringLiteral("http.server"), QStringLiteral("--bind"),
                      QStringLiteral("127.0.0.1"), QStringLiteral("--directory"), m_root.path(), QStringLiteral("0")});
    QByteArray out;
    static const QRegularExpression portRe(QStringLiteral("port (\\d+)"));
    while (m_port == 0 && m_process->waitForReadyRead(15000)) {
        out += m_process->readAllStandardOutput();
        const auto match = portRe.match(QString::fromLatin1(out));
        if (match.hasMatch())
            m_port = quint16(match.captured(1).toUInt());
    }
}

HttpServer::~HttpServer()
{
    m_process->kill();
    m_process->waitForFinished(5000);
}

QString HttpServer::url(const QString &path) const { return QStringLiteral("http://127.0.0.1:%1%2").arg(m_port).arg(path); }

void HttpServer::writeFile(const QString &relative, const QByteArray &content) const
{
    testfiles::writeFile(QDir(m_root.path()).filePath(relative), content);
}

void HttpServer::clearRoot() const { testfiles::clearFolder(m_root.path()); }
