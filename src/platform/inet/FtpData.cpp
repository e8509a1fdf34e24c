// The data channel: one data connection and its buffer.
#include "platform/inet/FtpWire_p.h"

#include "platform/inet/Inet.h"

#include <QNetworkProxy>
#include <QTcpServer>
#include <QTcpSocket>

#include <sys/socket.h>

#include <cerrno>
#include <climits>
#include <cstring>

namespace inet::detail {

namespace {
int remainingMs(QDeadlineTimer deadline)
{
    const qint64 ms = deadline.remainingTime();
    return ms < 0 ? -1 : int(qMin<qint64>(ms, INT_MAX));
}
} // namespace

class DataListener : public QTcpServer {
public:
    std::unique_ptr<QTcpSocket> take() { return std::move(m_pending); }

protected:
    void incomingConnection(qintptr fd) override
    {
        auto socket = std::make_unique<QTcpSocket>();
        // Qt 6.4 ignores Unbuffered here: the socket stays buffered.
        if (socket->setSocketDescriptor(fd, QAbstractSocket::ConnectedState, QIODevice::ReadWrite))
            m_pending = std::move(socket);
    }

private:
    std::unique_ptr<QTcpSocket> m_pending;
};

DataChannel::DataChannel() : m_buf(platform::takeBuffer(size_t(kBufferSize))) {}
DataChannel::~DataChannel() { abort(); }

bool DataChannel::connectTo(const QHostAddress &address, quint16 port, int timeoutMs, quint32 &error)
{
    m_socket = openSocket();
    m_socket->connectToHost(address, port, QIODevice::ReadWrite | QIODevice::Unbuffered);
    if (!m_socket->waitForConnected(timeoutMs)) {
        error = connectError(*m_socket);
        m_socket.reset();
        return false;
    }
    return true;
}

bool DataChannel::listen(const QHostAddress &local, quint32 &error)
{
    m_listener = std::make_unique<DataListener>();
    m_listener->setProxy(QNetworkProxy::NoProxy);
    if (!m_listener->listen(local, 0)) {
        error = ErrorCannotConnect;
        m_listener.reset();
        return false;
    }
    return true;
}

quint16 DataChannel::listenPort() const { return m_listener ? m_listener->serverPort() : 0; }

bool DataChannel::acceptPending(const QHostAddress &expectedPeer)
{
    if (!m_listener)
        return false;
    m_listener->waitForNewConnection(0);
    std::unique_ptr<QTcpSocket> socket = m_listener->take();
    if (!socket)
        return false;
    // Only the server we talk to may feed this transfer.
    QHostAddress peer = socket->peerAddress();
    if (!expectedPeer.isNull() && !peer.isEqual(expectedPeer, QHostAddress::TolerantConversion))
        return false;
    m_socket = std::move(socket);
    m_buffered = true;
    m_socket->setReadBufferSize(kBufferSize);
    m_listener.reset();
    return true;
}

bool DataChannel::isConnected() const { return m_socket != nullptr; }
bool DataChannel::isListening() const { return m_listener != nullptr; }

qintptr DataChannel::descriptor() const
{
    if (m_socket)
        return m_socket->socketDescriptor();
    return m_listener ? m_listener->socketDescriptor() : -1;
}

bool DataChannel::readSocket(quint32 &error)
{
    if (m_begin == m_end)
        m_begin = m_end = 0;
    if (m_end == kBufferSize) {
        if (m_begin == 0)
            return true; // full: the reader has to consume first
        std::memmove(m_buf.get(), m_buf.get() + m_begin, size_t(m_end - m_begin));
        m_end -= m_begin;
        m_begin = 0;
    }
    if (m_buffered && m_socket->bytesAvailable() == 0 && m_socket->state() == QAbstractSocket::ConnectedState)
        m_socket->waitForReadyRead(0); // let Qt take what the system has
    const qint64 n = m_socket->read(m_buf.get() + m_end, kBufferSize - m_end);
    if (n > 0) {
        m_end += n;
        return true;
    }
    if (n < 0) {
        // Qt reports the orderly end and a reset alike; whether the data was
        // whole is the server's final reply to say.
        if (m_socket->error() != QAbstractSocket::RemoteHostClosedError
            && m_socket->error() != QAbstractSocket::UnknownSocketError) {
            error = ErrorConnectionAborted;
            return false;
        }
        m_eof = true;
        return true;
    }
    return false; // nothing there yet
}

bool DataChannel::fillNow(quint32 &error)
{
    error = NoError;
    if (!m_socket || m_eof)
        return m_eof;
    return readSocket(error);
}

bool DataChannel::fill(QDeadlineTimer deadline, quint32 &error)
{
    if (m_eof)
        return true;
    if (!m_socket) {
        error = ErrorIncorrectHandleState;
        return false;
    }
    while (!m_eof) {
        error = NoError;
        if (readSocket(error))
            return true;
        if (error != NoError)
            return false;
        if (deadline.hasExpired()) {
            error = ErrorTimeout;
            return false;
        }
        if (m_buffered) {
            // Qt reads an accepted socket into its own buffer.
            if (!m_socket->waitForReadyRead(qMax(0, remainingMs(deadline)))
                && m_socket->state() == QAbstractSocket::ConnectedState) {
                error = ErrorTimeout;
                return false;
            }
            continue;
        }
        const qintptr fd = m_socket->socketDescriptor();
        if (waitReadable(&fd, 1, deadline) == 0) {
            error = ErrorTimeout;
            return false;
        }
    }
    return true;
}

bool DataChannel::flush(int timeoutMs, quint32 &error)
{
    if (!m_socket) {
        error = ErrorIncorrectHandleState;
        return false;
    }
    // Straight to the system: QTcpSocket would copy whatever the system does
    // not take at once into a buffer of its own, a second copy of most of an
    // upload.
    const int fd = int(m_socket->socketDescriptor());
    qsizetype done = m_begin;
    while (done < m_end) {
        const ssize_t n = ::send(fd, m_buf.get() + done, size_t(m_end - done), MSG_NOSIGNAL | MSG_DONTWAIT);
        if (n > 0) {
            done += n;
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
            if (!waitWritable(fd, QDeadlineTimer(timeoutMs))) {
                error = ErrorTimeout;
                return false;
            }
            continue;
        }
        error = (n < 0 && errno == ECONNRESET) ? ErrorConnectionReset : ErrorConnectionAborted;
        return false;
    }
    m_begin = m_end = 0;
    return true;
}

bool DataChannel::finishWriting(int timeoutMs, quint32 &error)
{
    if (!flush(timeoutMs, error))
        return false;
    m_socket->disconnectFromHost();
    if (m_socket->state() != QAbstractSocket::UnconnectedState)
        m_socket->waitForDisconnected(timeoutMs);
    m_socket.reset();
    return true;
}

void DataChannel::abort()
{
    if (m_socket) {
        const int fd = int(m_socket->socketDescriptor());
        if (m_resetOnAbort && fd >= 0) {
            const linger reset{1, 0};
            ::setsockopt(fd, SOL_SOCKET, SO_LINGER, &reset, sizeof reset);
        }
        m_socket->abort();
        m_socket.reset();
    }
    m_listener.reset();
    m_begin = m_end = 0;
}

} // namespace inet::detail
