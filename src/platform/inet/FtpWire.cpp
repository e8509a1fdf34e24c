// The control channel: command lines out, whole replies in.
#include "platform/inet/FtpWire_p.h"

#include "platform/inet/Inet.h"

#include <cctype>

namespace inet::detail {

ControlChannel::ControlChannel() = default;
ControlChannel::~ControlChannel() { close(); }

bool ControlChannel::connectTo(const QString &host, quint16 port, int timeoutMs, quint32 &error)
{
    close();
    if (!m_stream.socket().connectTo(host, port, QDeadlineTimer(timeoutMs), error))
        return false;
    m_stream.socket().setLowDelay();
    m_open = true;
    return true;
}

bool ControlChannel::startTls(TlsContext &context, QDeadlineTimer deadline, quint32 &error)
{
    // Nothing may be left over in plain text: it would be mistaken for the
    // first reply under TLS.
    m_in.clear();
    if (!m_stream.startTls(context, true)) {
        error = ErrorInternal;
        close();
        return false;
    }
    if (!m_stream.handshake(deadline, error)) {
        if (error != ErrorStopped && error != ErrorTimeout)
            error = ErrorTlsHandshake;
        close();
        return false;
    }
    return true;
}

bool ControlChannel::isOpen() const { return m_open; }

void ControlChannel::close()
{
    m_stream.close();
    m_open = false;
    m_in.clear();
    m_longLine.clear();
    m_skipping = false;
}

QHostAddress ControlChannel::peerAddress() const { return m_stream.socket().peerAddress(); }
QHostAddress ControlChannel::localAddress() const { return m_stream.socket().localAddress(); }

bool ControlChannel::sendLine(const QByteArray &line, QDeadlineTimer deadline, quint32 &error)
{
    if (!isOpen()) {
        error = ErrorFtpDropped;
        return false;
    }
    const QByteArray wire = line + "\r\n";
    if (!m_stream.writeAll(wire.constData(), wire.size(), deadline, error)) {
        close();
        return false;
    }
    return true;
}

bool ControlChannel::hasBufferedLine() const { return m_in.contains('\n') || m_stream.hasPending(); }

bool ControlChannel::takeUnsolicited(QByteArray &lines, quint32 &error)
{
    lines.clear();
    if (!isOpen()) {
        error = ErrorFtpDropped;
        return false;
    }
    char chunk[4096];
    bool closed = false;
    for (;;) {
        const qint64 n = m_stream.read(chunk, sizeof chunk);
        if (n > 0) {
            m_in.append(chunk, n);
            continue;
        }
        closed = n != TcpSocket::NothingYet;
        break;
    }
    const qsizetype lf = m_in.lastIndexOf('\n');
    if (lf >= 0) {
        lines = m_in.left(lf + 1);
        m_in.remove(0, lf + 1);
    }
    if (closed) {
        error = ErrorFtpDropped;
        close();
        return false;
    }
    return true;
}

bool ControlChannel::fill(QDeadlineTimer deadline, quint32 &error)
{
    char chunk[16384];
    for (;;) {
        if (!isOpen()) {
            error = ErrorFtpDropped;
            close();
            return false;
        }
        const qint64 n = m_stream.read(chunk, sizeof chunk);
        if (n > 0) {
            m_in.append(chunk, n);
            return true;
        }
        if (n != TcpSocket::NothingYet) {
            error = ErrorFtpDropped; // closed (or reset) by the server
            close();
            return false;
        }
        if (!m_stream.waitUsable(deadline, error))
            return false;
    }
}

bool ControlChannel::takeLine(QByteArray &line, QDeadlineTimer deadline, quint32 &error)
{
    for (;;) {
        const qsizetype lf = m_in.indexOf('\n');
        if (lf >= 0) {
            qsizetype end = lf;
            if (end > 0 && m_in[end - 1] == '\r')
                --end;
            if (m_skipping) {
                line = m_longLine;
                m_longLine.clear();
                m_skipping = false;
            } else {
                line = m_in.left(qMin(end, kMaxReplyLine));
            }
            m_in.remove(0, lf + 1);
            return true;
        }
        if (m_skipping) {
            m_in.clear();
        } else if (m_in.size() > kMaxReplyLine) {
            // Keep the head of an endless line; the rest goes unread into the void.
            m_longLine = m_in.left(kMaxReplyLine);
            m_skipping = true;
            m_in.clear();
        }
        if (!fill(deadline, error))
            return false;
    }
}

namespace {
bool startsWithCode(const QByteArray &line)
{
    return line.size() >= 3 && std::isdigit(uchar(line[0])) && std::isdigit(uchar(line[1]))
           && std::isdigit(uchar(line[2])) && line[0] >= '1' && line[0] <= '5'
           && (line.size() == 3 || line[3] == ' ' || line[3] == '-');
}
} // namespace

bool ControlChannel::readReply(Reply &reply, QDeadlineTimer deadline, quint32 &error)
{
    reply = Reply();
    QByteArray line;
    int lines = 0;
    for (;;) {
        if (!takeLine(line, deadline, error)) {
            if (error == ErrorTimeout || error == ErrorStopped)
                close(); // a late reply would be taken for the next one
            return false;
        }
        const bool codeLine = startsWithCode(line);
        if (lines == 0) {
            if (!codeLine)
                continue; // noise before a reply
            reply.code = line.left(3).toInt();
        }
        ++lines;
        if (reply.text.size() + line.size() + 2 <= kMaxReplyText)
            reply.text += line + "\r\n";
        if (lines == 1) {
            if (line.size() <= 3 || line[3] != '-')
                return true;
        } else if (codeLine && line.left(3).toInt() == reply.code && (line.size() == 3 || line[3] == ' ')) {
            return true;
        }
    }
}

} // namespace inet::detail
