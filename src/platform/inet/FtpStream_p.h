#pragma once
// What the control and data channels read and write through: a TCP socket,
// plain or with TLS over it. Both have the same conventions (TcpSocket's), so
// the channels do not care which one they have; only the waits differ, as a
// TLS channel sometimes has to write before it can read on (waitEvents()).

#include "platform/inet/FtpSocket_p.h"
#include "platform/inet/FtpTls_p.h"

#include <memory>

namespace inet::detail {

class Stream {
public:
    Stream() = default;
    ~Stream() { close(); }
    Stream(const Stream &) = delete;
    Stream &operator=(const Stream &) = delete;

    TcpSocket &socket() { return m_socket; }
    const TcpSocket &socket() const { return m_socket; }
    void adopt(TcpSocket &&socket);
    bool isValid() const { return m_socket.isValid(); }
    int descriptor() const { return m_socket.descriptor(); }

    // TLS over the connected socket; the handshake is still to be run.
    bool startTls(TlsContext &context, bool control);
    const TlsLayer *tls() const { return m_tls.get(); }
    bool isSecure() const { return m_tls != nullptr; }
    // Plain, or TLS with the handshake done: data can flow.
    bool isReady() const { return m_socket.isValid() && (!m_tls || m_tls->isEstablished()); }
    // One handshake step without waiting (Done at once for a plain stream).
    TlsLayer::Step handshakeStep(quint32 &error);
    // The whole handshake, waiting in slices.
    bool handshake(QDeadlineTimer deadline, quint32 &error);

    // The poll() events to wait for before the next read can go on.
    short waitEvents() const { return m_tls ? m_tls->waitEvents() : TlsLayer::WaitReadEvent; }
    // Waits until the next read (or handshake step) may go on.
    bool waitUsable(QDeadlineTimer deadline, quint32 &error);
    // Data taken from the socket that a read would give without waiting.
    bool hasPending() const { return m_tls && m_tls->hasPending(); }

    qint64 read(char *buffer, qint64 size);
    qint64 write(const char *data, qint64 size);
    bool writeAll(const char *data, qint64 size, QDeadlineTimer deadline, quint32 &error);
    quint32 error() const;

    // The end of what we send (close_notify first with TLS). A TLS peer may
    // still have records on the way (tickets, its own close_notify), and
    // closing with unread data would reset the connection under the last of
    // ours: with TLS this reads on until the peer closes or the deadline.
    bool finishSending(QDeadlineTimer deadline, quint32 &error);
    void close();
    void reset();

private:
    TcpSocket m_socket;
    std::unique_ptr<TlsLayer> m_tls;
};

} // namespace inet::detail
