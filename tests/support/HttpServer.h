#pragma once
// A local HTTP server (Python's http.server) serving a temporary folder, for
// the length of a test suite.

#include <QProcess>
#include <QTemporaryDir>

#include <memory>

class HttpServer {
public:
    HttpServer();
    ~HttpServer();
    bool isRunning() const { return m_port != 0; }
    quint16 port() const { return m_port; }
    QString url(const QString &path = QString()) const; // "http://127.0.0.1:port" + path
    QString root() const { return m_root.path(); }
    void writeFile(const QString &relative, const QByteArray &content) const;
    void clearRoot() const;

private:
    QTemporaryDir m_root;
    std::unique_ptr<QProcess> m_process;
    quint16 m_port = 0;
};
