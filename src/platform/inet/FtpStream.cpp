// A channel's stream: plain TCP, or TLS over it.
#include "platform/inet/FtpStream_p.h"

#include <utility>

namespace inet::detail {

void Stream::adopt(TcpSocket &&socket)
{
    close();
    m_socket = std::move(socket);
}

bool Stream::startTls(TlsContext &context, bool control)
{
    m_tls = std::make_unique<TlsLayer>(context, m_socket.descriptor(), control);
    return m_tls->isValid();
}

TlsLayer::Step Stream::handshakeStep(quint32 &error)
{
    if (!m_tls)
        return TlsLayer::Step::Done;
    const TlsLayer::Step step = m_tls->handshake();
    if (step == TlsLayer::Step::Failed)
        error = m_tls->error();
    return step;
}

bool Stream::waitUsable(QDeadlineTimer deadline, quint32 &error)
{
    const int fd = descriptor();
    const short events = waitEvents();
    return waitReady(&fd, &events, 1, deadline, error) != 0;
}

bool Stream::handshake(QDeadlineTimer deadline, quint32 &error)
{
    for (;;) {
        const TlsLayer::Step step = handshakeStep(error);
        if (step == TlsLayer::Step::Done)
            return true;
        if (step == TlsLayer::Step::Failed || !waitUsable(deadline, error))
            return false;
    }
}

qint64 Stream::read(char *buffer, qint64 size)
{
    if (!m_tls)
        return m_socket.read(buffer, size);
    // A read gives one record at most: take all that have come, so that a
    // large buffer fills in one call as it does from a plain socket.
    qint64 done = 0;
    while (done < size) {
        const qint64 n = m_tls->read(buffer + done, size - done);
        if (n <= 0)
            return done > 0 ? done : n;
        done += n;
    }
    return done;
}

qint64 Stream::write(const char *data, qint64 size)
{
    return m_tls ? m_tls->write(data, size) : m_socket.write(data, size);
}

bool Stream::writeAll(const char *data, qint64 size, QDeadlineTimer deadline, quint32 &error)
{
    if (!m_tls)
        return m_socket.writeAll(data, size, deadline, error);
    qint64 done = 0;
    while (done < size) {
        const qint64 n = m_tls->write(data + done, size - done);
        if (n == TcpSocket::Failed) {
            error = m_tls->error();
            return false;
        }
        done += n;
        if (done < size && n == 0 && !waitUsable(deadline, error))
            return false;
    }
    return true;
}

quint32 Stream::error() const
{
    return m_tls && m_tls->error() ? m_tls->error() : m_socket.error();
}

bool Stream::finishSending(QDeadlineTimer deadline, quint32 &error)
{
    if (!m_tls) {
        m_socket.shutdownWrite();
        return true;
    }
    for (;;) {
        const TlsLayer::Step step = m_tls->closeNotify();
        if (step == TlsLayer::Step::Done)
            break;
        if (step == TlsLayer::Step::Failed) {
            error = m_tls->error();
            return false;
        }
        if (!waitUsable(deadline, error))
            return false;
    }
    m_socket.shutdownWrite();
    char sink[16384];
    for (;;) {
        const qint64 n = m_tls->read(sink, sizeof sink);
        if (n < 0)
            return true; // the peer closed (or gave up): everything of ours is in
        if (n == 0 && !waitUsable(deadline, error)) {
            // A server that keeps its side open has had all of ours even so:
            // its reply on the control connection says whether the file is
            // whole. Only a stop makes this a failure.
            if (error == ErrorStopped)
                return false;
            error = NoError;
            return true;
        }
    }
}

void Stream::close()
{
    m_tls.reset();
    m_socket.close();
}

void Stream::reset()
{
    m_tls.reset();
    m_socket.reset();
}

} // namespace inet::detail
