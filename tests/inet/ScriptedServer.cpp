#include "ScriptedServer.h"

#include <QDeadlineTimer>
#include <QThread>

#include <future>

namespace {

constexpr int kWaitMs = 5000;

void closeSocket(std::unique_ptr<QTcpSocket> &socket)
{
    if (socket) {
        socket->disconnectFromHost();
        if (socket->state() != QAbstractSocket::UnconnectedState)
            socket->waitForDisconnected(kWaitMs);
    }
    socket.reset();
}

} // namespace

void ScriptPeer::fail(const QString &why)
{
    std::lock_guard lock(m_mutex);
    if (m_failure.isEmpty())
        m_failure = why;
}

QStringList ScriptPeer::commands() const
{
    std::lock_guard lock(m_mutex);
    return m_commands;
}

QString ScriptPeer::failure() const
{
    std::lock_guard lock(m_mutex);
    return m_failure;
}

quint16 ScriptPeer::listen(const QHostAddress &address)
{
    m_address = address;
    m_listener = std::make_unique<QTcpServer>();
    m_listener->listen(address, 0);
    return m_listener->serverPort();
}

void ScriptPeer::shutdown()
{
    closeData();
    closeControl();
    m_dataServer.reset();
    m_listener.reset();
}

bool ScriptPeer::acceptControl()
{
    if (!m_listener->waitForNewConnection(kWaitMs)) {
        fail(QStringLiteral("no control connection"));
        return false;
    }
    m_control.reset(m_listener->nextPendingConnection());
    m_control->setParent(nullptr);
    return true;
}

void ScriptPeer::reply(const QByteArray &line)
{
    if (!m_control)
        return;
    m_control->write(line + "\r\n");
    m_control->waitForBytesWritten(kWaitMs);
}

void ScriptPeer::replyBytewise(const QByteArray &line)
{
    if (!m_control)
        return;
    m_control->setSocketOption(QAbstractSocket::LowDelayOption, 1);
    for (char c : line + "\r\n") {
        m_control->write(&c, 1);
        m_control->flush();
        m_control->waitForBytesWritten(kWaitMs);
    }
}

QByteArray ScriptPeer::command()
{
    if (!m_control)
        return QByteArray();
    while (!m_control->canReadLine()) {
        if (!m_control->waitForReadyRead(kWaitMs))
            return QByteArray();
    }
    QByteArray line = m_control->readLine();
    while (line.endsWith('\n') || line.endsWith('\r'))
        line.chop(1);
    std::lock_guard lock(m_mutex);
    m_commands << QString::fromUtf8(line);
    return line;
}

bool ScriptPeer::waitForHangUp()
{
    QDeadlineTimer deadline(kWaitMs);
    while (m_control && m_control->state() == QAbstractSocket::ConnectedState) {
        m_control->readAll();
        if (deadline.hasExpired())
            return false;
        m_control->waitForReadyRead(int(qMax<qint64>(1, deadline.remainingTime())));
    }
    return true;
}

bool ScriptPeer::expect(const QByteArray &prefix)
{
    const QByteArray line = command();
    if (line.startsWith(prefix))
        return true;
    fail(QStringLiteral("expected %1, got '%2'").arg(QString::fromLatin1(prefix), QString::fromUtf8(line)));
    return false;
}

bool ScriptPeer::answer(const QByteArray &prefix, const QByteArray &line)
{
    if (!expect(prefix))
        return false;
    reply(line);
    return true;
}

bool ScriptPeer::login()
{
    if (!acceptControl())
        return false;
    reply("220 scripted");
    return answer("USER", "331 password please") && answer("PASS", "230 in") && answer("FEAT", "500 no features");
}

bool ScriptPeer::passive(bool epsv, const QByteArray &host)
{
    m_dataServer = std::make_unique<QTcpServer>();
    m_dataServer->listen(m_address, 0);
    const quint16 port = m_dataServer->serverPort();
    QByteArray line = command();
    if (line == "EPSV" && epsv) {
        reply("229 Entering Extended Passive Mode (|||" + QByteArray::number(port) + "|)");
        return true;
    }
    if (line == "EPSV") {
        reply("500 EPSV not understood");
        line = command();
    }
    if (line != "PASV") {
        fail(QStringLiteral("expected PASV, got '%1'").arg(QString::fromUtf8(line)));
        return false;
    }
    reply("227 Entering Passive Mode (" + host + "," + QByteArray::number(port >> 8) + ","
          + QByteArray::number(port & 255) + ")");
    return true;
}

bool ScriptPeer::active(const QByteArray &verb)
{
    if (!expect(verb + ' '))
        return false;
    const QByteArray arg = m_commands.constLast().toLatin1().mid(verb.size() + 1);
    if (verb == "PORT") {
        const QList<QByteArray> n = arg.split(',');
        m_activePort = n.size() == 6 ? quint16(n[4].toUInt() * 256 + n[5].toUInt()) : 0;
    } else {
        const QList<QByteArray> f = arg.split(arg.at(0)); // "|2|::1|port|"
        m_activePort = f.size() >= 4 ? quint16(f[3].toUInt()) : 0;
    }
    reply("200 " + verb + " ok");
    return m_activePort != 0;
}

bool ScriptPeer::connectData()
{
    m_data = std::make_unique<QTcpSocket>();
    m_data->connectToHost(m_address, m_activePort);
    if (!m_data->waitForConnected(kWaitMs)) {
        fail(QStringLiteral("cannot connect to the client's port"));
        return false;
    }
    return true;
}

bool ScriptPeer::acceptData()
{
    if (!m_dataServer || !m_dataServer->waitForNewConnection(kWaitMs)) {
        fail(QStringLiteral("no data connection"));
        return false;
    }
    m_data.reset(m_dataServer->nextPendingConnection());
    m_data->setParent(nullptr);
    return true;
}

bool ScriptPeer::dataArrives()
{
    return m_data && (m_data->bytesAvailable() > 0 || m_data->waitForReadyRead(kWaitMs));
}

void ScriptPeer::sendData(const QByteArray &bytes)
{
    if (!m_data)
        return;
    m_data->write(bytes);
    while (m_data->bytesToWrite() > 0 && m_data->waitForBytesWritten(kWaitMs)) {
    }
}

void ScriptPeer::closeData() { closeSocket(m_data); }

void ScriptPeer::closeControl() { closeSocket(m_control); }

bool ScriptPeer::startRetr()
{
    if (!answer("TYPE I", "200 binary") || !passive() || !expect("RETR") || !acceptData())
        return false;
    reply("150 sending");
    return true;
}

bool ScriptPeer::serveList(bool passive, const QByteArray &listing)
{
    if (!expect("LIST") || (passive && !acceptData()))
        return false;
    reply("150 here it comes");
    if (!passive && !connectData())
        return false;
    sendData(listing);
    closeData();
    reply("226 done");
    return true;
}

ScriptedServer::ScriptedServer(Script script, const QHostAddress &address)
    : m_peer(std::make_unique<ScriptPeer>())
{
    std::promise<quint16> listening;
    std::future<quint16> port = listening.get_future();
    ScriptPeer *peer = m_peer.get();
    m_thread.reset(QThread::create([peer, script = std::move(script), address, &listening] {
        // The sockets belong to this thread: everything is made and used here.
        listening.set_value(peer->listen(address));
        script(*peer);
        peer->shutdown();
    }));
    m_thread->start();
    m_port = port.get();
}

ScriptedServer::~ScriptedServer() { finish(); }

QString ScriptedServer::finish()
{
    if (m_thread && m_thread->isRunning())
        m_thread->wait();
    return m_peer->failure();
}
