#pragma once
// A scripted FTP peer for what real servers rarely do (split replies, wrong
// PASV hosts, dropped connections, silence). The client under test blocks its
// thread, so the peer runs its script in a thread of its own, written as
// straight-line code with blocking socket calls.

#include <QByteArray>
#include <QStringList>
#include <QTcpServer>
#include <QTcpSocket>

#include <functional>
#include <memory>
#include <mutex>
#include <semaphore>

class QThread;

class ScriptPeer {
public:
    bool acceptControl();
    void reply(const QByteArray &line);           // CR LF added
    void replyBytewise(const QByteArray &line);   // one byte per packet
    QByteArray command();                          // next command line ("" on failure)
    // Reads and drops whatever comes (a TLS hello, say) until the client
    // hangs up; false when it is still there after the usual wait.
    bool waitForHangUp();
    bool expect(const QByteArray &prefix);         // next command starts with prefix
    bool answer(const QByteArray &prefix, const QByteArray &line); // expect(prefix), then reply(line)
    // Greeting, USER, PASS (230) and FEAT (no features).
    bool login();

    // Passive: answers EPSV (or refuses it) and PASV with `host` in the reply.
    bool passive(bool epsv = true, const QByteArray &host = "127,0,0,1");
    // Active: takes the next command, which must be `verb` (PORT or EPRT),
    // and remembers where to connect; connectData() then connects there.
    bool active(const QByteArray &verb);
    bool connectData();
    bool acceptData();
    // Waits for the client's first bytes on the data connection, reading none.
    bool dataArrives();
    void sendData(const QByteArray &bytes);
    void closeData();
    void closeControl();

    // TYPE I, passive mode and RETR, answered with 150 over an open data connection.
    bool startRetr();
    // Answers LIST with `listing`, 150 and 226, over the data connection that
    // passive() offered or, in active mode, that active() was told of.
    bool serveList(bool passive, const QByteArray &listing);

    void fail(const QString &why);
    // Lets the test go on at a point of the script (see ScriptedServer::waitForSignal).
    void signal() { m_signal.release(); }
    bool waitForSignal(int ms) { return m_signal.try_acquire_for(std::chrono::milliseconds(ms)); }
    QStringList commands() const;
    QString failure() const;

    // Made and ended in the script's thread, like every socket here.
    quint16 listen(const QHostAddress &address);
    void shutdown();

private:
    std::unique_ptr<QTcpServer> m_listener;
    std::unique_ptr<QTcpSocket> m_control;
    std::unique_ptr<QTcpServer> m_dataServer;
    std::unique_ptr<QTcpSocket> m_data;
    QHostAddress m_address;
    quint16 m_activePort = 0;
    std::binary_semaphore m_signal{0};
    mutable std::mutex m_mutex;
    QStringList m_commands;
    QString m_failure;
};

class ScriptedServer {
public:
    using Script = std::function<void(ScriptPeer &)>;
    explicit ScriptedServer(Script script, const QHostAddress &address = QHostAddress(QHostAddress::LocalHost));
    ~ScriptedServer();

    quint16 port() const { return m_port; }
    // Waits for the script to end and gives what went wrong in it ("" for nothing);
    // then commands() is final.
    QString finish();
    // Waits until the script called signal().
    bool waitForSignal(int ms = 5000) { return m_peer->waitForSignal(ms); }
    QStringList commands() const { return m_peer->commands(); }

private:
    std::unique_ptr<ScriptPeer> m_peer;
    std::unique_ptr<QThread> m_thread;
    quint16 m_port = 0;
};
