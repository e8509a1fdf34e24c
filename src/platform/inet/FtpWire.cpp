// The control channel, and the waits shared with the data channel.
#include "platform/inet/FtpWire_p.h"

#include "platform/inet/Inet.h"

#include <QNetworkProxy>
#include <QTcpSocket>

#include <poll.h>

#include <cctype>
#include <cerrno>
#include <climits>

namespace inet::detail {

namespace {

int remainingMs(QDeadlineTimer deadline)
{
    const qint64 ms = deadline.remainingTime();
    if (ms < 0)
        return -1; // forever
    return int(qMin<qint64>(ms, INT_MAX));
}

int pollOnce(pollfd *fds, int count, QDeadlineTimer deadline)
{
    for (;;) {
        const int r = ::poll(fds, nfds_t(count), remainingMs(deadline));
        if (r >= 0 || errno != EINTR)
            return r;
    }
}

} // namespace

std::unique_ptr<QTcpSocket> openSocket()
{
    auto socket = std::make_unique<QTcpSocket>();
    socket->setProxy(QNetworkProxy::NoProxy);
    return socket;
}

int waitReadable(const qintptr *fds, int count, QDeadlineTimer deadline)
{
    pollfd p[4];
    Q_ASSERT(count <= 4);
    for (int i = 0; i < count; ++i)
        p[i] = pollfd{int(fds[i]), POLLIN, 0};
    if (pollOnce(p, count, deadline) <= 0)
        return 0;
    int ready = 0;
    for (int i = 0; i < count; ++i) {
        if (fds[i] >= 0 && (p[i].revents & (POLLIN | POLLHUP | POLLERR | POLLNVAL)))
            ready |= 1 << i;
    }
    return ready;
}

bool waitWritable(qintptr fd, QDeadlineTimer deadline)
{
    pollfd p{int(fd), POLLOUT, 0};
    return pollOnce(&p, 1, deadline) > 0;
}

quint32 connectError(const QTcpSocket &socket)
{
    switch (socket.error()) {
    case QAbstractSocket::HostNotFoundError:
        return ErrorNameNotResolved;
    case QAbstractSocket::SocketTimeoutError:
        return ErrorTimeout;
    default:
        return ErrorCannotConnect;
    }
}

// ---- control channel -------------------------------------------------------

ControlChannel::ControlChannel() = default;
ControlChannel::~ControlChannel() { close(); }

bool ControlChannel::connectTo(const QString &host, quint16 port, int timeoutMs, quint32 &error)
{
    close();
    m_socket = openSocket();
    m_socket->connectToHost(host, port, QIODevice::ReadWrite | QIODevice::Unbuffered);
    if (!m_socket->waitForConnected(timeoutMs)) {
        error = connectError(*m_socket);
        close();
        return false;
    }
    m_socket->setSocketOption(QAbstractSocket::LowDelayOption, 1);
    return true;
}

bool ControlChannel::isOpen() const
{
    return m_socket && m_socket->state() == QAbstractSocket::ConnectedState;
}

void ControlChannel::close()
{
    if (m_socket) {
        m_socket->abort();
        m_socket.reset();
    }
    m_in.clear();
    m_longLine.clear();
    m_skipping = false;
}

qintptr ControlChannel::descriptor() const { return m_socket ? m_socket->socketDescriptor() : -1; }
QHostAddress ControlChannel::peerAddress() const { return m_socket ? m_socket->peerAddress() : QHostAddress(); }
QHostAddress ControlChannel::localAddress() const { return m_socket ? m_socket->localAddress() : QHostAddress(); }

bool ControlChannel::sendLine(const QByteArray &line, QDeadlineTimer deadline, quint32 &error)
{
    if (!isOpen()) {
        error = ErrorFtpDropped;
        return false;
    }
    const QByteArray wire = line + "\r\n";
    if (m_socket->write(wire) != wire.size()) {
        error = ErrorConnectionAborted;
        close();
        return false;
    }
    while (m_socket->bytesToWrite() > 0) {
        if (!m_socket->waitForBytesWritten(qMax(0, remainingMs(deadline)))) {
            error = m_socket->error() == QAbstractSocket::SocketTimeoutError ? ErrorTimeout : ErrorConnectionAborted;
            close();
            return false;
        }
    }
    return true;
}

bool ControlChannel::hasBufferedLine() const { return m_in.contains('\n'); }

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
        const qint64 n = m_socket->read(chunk, sizeof chunk);
        if (n > 0) {
            m_in.append(chunk, n);
            continue;
        }
        closed = n < 0;
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
        const qint64 n = m_socket->read(chunk, sizeof chunk);
        if (n > 0) {
            m_in.append(chunk, n);
            return true;
        }
        if (n < 0) {
            error = ErrorFtpDropped; // closed (or reset) by the server
            close();
            return false;
        }
        const qintptr fd = descriptor();
        if (deadline.hasExpired() || waitReadable(&fd, 1, deadline) == 0) {
            error = ErrorTimeout;
            return false;
        }
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
            if (error == ErrorTimeout)
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
