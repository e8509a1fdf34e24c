#pragma once
// The two kinds of FTP channel: the control channel (command lines and whole
// replies) and the data channel (large buffered reads and writes), both on
// streams (plain or TLS) whose every wait has a deadline and heeds a stop
// request.

#include "platform/BufferPool.h"
#include "platform/inet/FtpStream_p.h"

#include <QByteArray>
#include <QDeadlineTimer>
#include <QHostAddress>
#include <QString>

namespace inet::detail {

inline constexpr qsizetype kMaxReplyLine = 8 * 1024;
inline constexpr qsizetype kMaxReplyText = 1024 * 1024;

struct Reply {
    int code = 0;        // 100..599
    QByteArray text;     // the reply lines as sent, each ended by CR LF
    int kind() const { return code / 100; }
    bool ok() const { return code >= 100 && code < 400; }
};

class ControlChannel {
public:
    ControlChannel();
    ~ControlChannel();

    bool connectTo(const QString &host, quint16 port, int timeoutMs, quint32 &error);
    // TLS from here on (AUTH TLS accepted, or implicit TLS): the handshake.
    bool startTls(TlsContext &context, QDeadlineTimer deadline, quint32 &error);
    const TlsLayer *tls() const { return m_stream.tls(); }
    bool isOpen() const;
    void close();
    int descriptor() const { return m_stream.descriptor(); }
    short waitEvents() const { return m_stream.waitEvents(); }
    QHostAddress peerAddress() const;
    QHostAddress localAddress() const;

    // Sends the line followed by CR LF.
    bool sendLine(const QByteArray &line, QDeadlineTimer deadline, quint32 &error);
    // Reads one whole reply (multi-line replies included). On a time-out the
    // channel is out of step with the server and is closed.
    bool readReply(Reply &reply, QDeadlineTimer deadline, quint32 &error);
    // True when a reply line is already buffered (no need to wait on the socket).
    bool hasBufferedLine() const;
    // Takes, without waiting, whole lines that arrived unasked (a server's
    // "421 timed out" before it hangs up). False when the server hung up.
    bool takeUnsolicited(QByteArray &lines, quint32 &error);

private:
    bool takeLine(QByteArray &line, QDeadlineTimer deadline, quint32 &error);
    bool fill(QDeadlineTimer deadline, quint32 &error);

    Stream m_stream;
    bool m_open = false;
    QByteArray m_in;           // received, not yet consumed
    QByteArray m_longLine;     // head of a line longer than the bound
    bool m_skipping = false;   // dropping the rest of an over-long line
};

// One data connection with its buffer. Reads fill the buffer from the socket;
// writes collect in it until it is full.
class DataChannel {
public:
    static constexpr qsizetype kBufferSize = 1024 * 1024;
    // Writes go out in smaller pieces: on a fast link the receiver then works
    // while we fill the next piece.
    static constexpr qsizetype kWriteChunk = 256 * 1024;

    DataChannel();
    ~DataChannel();

    // With a context, the connection is TLS once it stands (the control
    // connection's session resumed); set before connecting or listening.
    void setTls(TlsContext *context) { m_tlsContext = context; }
    bool connectTo(const QHostAddress &address, quint16 port, int timeoutMs, quint32 &error);
    bool listen(const QHostAddress &local, quint32 &error);
    quint16 listenPort() const;
    // Takes a pending connection (the listener is readable); false if none.
    bool acceptPending(const QHostAddress &expectedPeer);
    bool isConnected() const;
    bool isListening() const;
    // Connected, and with TLS the handshake done: data can flow.
    bool isReady() const { return m_socket.isReady(); }
    bool isSecure() const { return m_socket.isSecure(); }
    const TlsLayer *tls() const { return m_socket.tls(); }
    // One step of the TLS handshake, without waiting.
    TlsLayer::Step handshakeStep(quint32 &error) { return m_socket.handshakeStep(error); }
    // The descriptor to wait on: the socket once connected, else the listener;
    // and the events to wait for.
    int descriptor() const;
    short waitEvents() const { return m_socket.isValid() ? m_socket.waitEvents() : TlsLayer::WaitReadEvent; }

    // Buffered bytes and their consumption.
    const char *data() const { return m_buf.get() + m_begin; }
    qsizetype available() const { return m_end - m_begin; }
    void consume(qsizetype n) { m_begin += n; }
    bool atEnd() const { return m_eof; }
    void setEnded() { m_eof = true; }

    // Reads what the socket has into the buffer, waiting up to the deadline for
    // something. True with data added, or at the end of the data (atEnd()).
    bool fill(QDeadlineTimer deadline, quint32 &error);
    // Reads what is there without waiting; true if anything came (or the end).
    bool fillNow(quint32 &error);

    // Buffered writing.
    qsizetype space() const { return kWriteChunk - m_end; }
    char *writePointer() { return m_buf.get() + m_end; }
    void commit(qsizetype n) { m_end += n; }
    bool flush(int timeoutMs, quint32 &error);
    // Flushes and closes the sending side so that the server sees the end.
    bool finishWriting(int timeoutMs, quint32 &error);

    // Drops the connection at once (unread data and all). An upload's
    // connection is reset, so that the server cannot take the cut for the end
    // of the file; a download's is closed normally, because some servers
    // (pyftpdlib) lose track of their next data connection after a reset.
    void abort();
    void setResetOnAbort(bool reset) { m_resetOnAbort = reset; }

private:
    bool readSocket(quint32 &error);
    bool secure(quint32 &error);

    platform::PooledBuffer m_buf;
    qsizetype m_begin = 0;
    qsizetype m_end = 0;
    bool m_eof = false;
    bool m_resetOnAbort = false;
    TlsContext *m_tlsContext = nullptr;
    Stream m_socket;
    TcpSocket m_listener;
};

} // namespace inet::detail
