// The data channel: one data connection and its buffer.
#include "platform/inet/FtpWire_p.h"

#include "platform/inet/Inet.h"

#include <cstring>

namespace inet::detail {

DataChannel::DataChannel() : m_buf(platform::takeBuffer(size_t(kBufferSize))) {}
DataChannel::~DataChannel() { abort(); }

bool DataChannel::secure(quint32 &error)
{
    if (!m_tlsContext || m_socket.startTls(*m_tlsContext, false))
        return true;
    error = ErrorInternal;
    m_socket.close();
    return false;
}

bool DataChannel::connectTo(const QHostAddress &address, quint16 port, int timeoutMs, quint32 &error)
{
    return m_socket.socket().connectTo(address.toString(), port, QDeadlineTimer(timeoutMs), error)
           && secure(error);
}

bool DataChannel::listen(const QHostAddress &local, quint32 &error)
{
    return m_listener.listen(local, error);
}

quint16 DataChannel::listenPort() const { return m_listener.localPort(); }

bool DataChannel::acceptPending(const QHostAddress &expectedPeer)
{
    if (!m_listener.isValid())
        return false;
    TcpSocket socket;
    if (!m_listener.accept(socket))
        return false;
    // Only the server we talk to may feed this transfer.
    const QHostAddress peer = socket.peerAddress();
    if (!expectedPeer.isNull() && !peer.isEqual(expectedPeer, QHostAddress::TolerantConversion))
        return false;
    m_socket.adopt(std::move(socket));
    m_listener.close();
    quint32 error = NoError;
    return secure(error);
}

bool DataChannel::isConnected() const { return m_socket.isValid(); }
bool DataChannel::isListening() const { return m_listener.isValid(); }

int DataChannel::descriptor() const
{
    return m_socket.isValid() ? m_socket.descriptor() : m_listener.descriptor();
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
    const qint64 n = m_socket.read(m_buf.get() + m_end, kBufferSize - m_end);
    if (n > 0) {
        m_end += n;
        return true;
    }
    if (n == TcpSocket::Ended) {
        // Whether the data was whole is the server's final reply to say.
        m_eof = true;
        return true;
    }
    if (n == TcpSocket::Failed) {
        error = m_socket.error();
        return false;
    }
    return false; // nothing there yet
}

bool DataChannel::fillNow(quint32 &error)
{
    error = NoError;
    if (!m_socket.isReady() || m_eof)
        return m_eof;
    return readSocket(error);
}

bool DataChannel::fill(QDeadlineTimer deadline, quint32 &error)
{
    if (m_eof)
        return true;
    if (!m_socket.isReady()) {
        error = m_socket.isValid() ? ErrorTlsHandshake : ErrorIncorrectHandleState;
        return false;
    }
    while (!m_eof) {
        error = NoError;
        if (readSocket(error))
            return true;
        if (error != NoError)
            return false;
        if (!m_socket.waitUsable(deadline, error))
            return false;
    }
    return true;
}

bool DataChannel::flush(int timeoutMs, quint32 &error)
{
    if (!m_socket.isValid()) {
        error = ErrorIncorrectHandleState;
        return false;
    }
    if (!m_socket.isReady()) {
        error = ErrorTlsHandshake;
        return false;
    }
    if (!m_socket.writeAll(m_buf.get() + m_begin, m_end - m_begin, QDeadlineTimer(timeoutMs), error))
        return false;
    m_begin = m_end = 0;
    return true;
}

bool DataChannel::finishWriting(int timeoutMs, quint32 &error)
{
    if (!flush(timeoutMs, error))
        return false;
    // The system sends what it holds, then the end; the server's reply tells
    // whether the file is whole.
    const bool ended = m_socket.finishSending(QDeadlineTimer(timeoutMs), error);
    m_socket.close();
    return ended;
}

void DataChannel::abort()
{
    if (m_resetOnAbort)
        m_socket.reset();
    else
        m_socket.close();
    m_listener.close();
    m_begin = m_end = 0;
}

} // namespace inet::detail
