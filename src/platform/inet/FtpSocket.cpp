// Plain TCP sockets on raw descriptors, and the waits on them.
#include "platform/inet/FtpSocket_p.h"

#include "platform/inet/Inet.h"

#include <QHostInfo>

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstring>
#include <utility>

namespace inet::detail {

namespace {

int remainingMs(QDeadlineTimer deadline)
{
    const qint64 ms = deadline.remainingTime();
    if (ms < 0)
        return -1; // forever
    return int(qMin<qint64>(ms, INT_MAX));
}

// The next slice of a wait: the rest of it, but never so long that a stop
// request goes unseen.
int sliceMs(QDeadlineTimer deadline)
{
    const int left = remainingMs(deadline);
    return left < 0 ? kStopSliceMs : qMin(left, kStopSliceMs);
}

// Whether a wait goes on; sets `error` when it does not.
bool mayWait(QDeadlineTimer deadline, quint32 &error)
{
    if (stopRequested()) {
        error = ErrorStopped;
        return false;
    }
    if (deadline.hasExpired()) {
        error = ErrorTimeout;
        return false;
    }
    return true;
}

// poll() in slices; > 0 when something is ready, 0 when the wait ended.
int pollSliced(pollfd *fds, int count, QDeadlineTimer deadline, quint32 &error)
{
    for (;;) {
        if (!mayWait(deadline, error))
            return 0;
        const int r = ::poll(fds, nfds_t(count), sliceMs(deadline));
        if (r > 0)
            return r;
        if (r < 0 && errno != EINTR) {
            error = ErrorInternal;
            return 0;
        }
    }
}

quint32 socketError(int e)
{
    switch (e) {
    case ECONNRESET:
        return ErrorConnectionReset;
    case ETIMEDOUT:
        return ErrorTimeout;
    case ECONNREFUSED:
    case ENETUNREACH:
    case EHOSTUNREACH:
        return ErrorCannotConnect;
    default:
        return ErrorConnectionAborted;
    }
}

bool toSockaddr(const QHostAddress &address, quint16 port, sockaddr_storage &out, socklen_t &length)
{
    std::memset(&out, 0, sizeof out);
    bool v4 = false;
    const quint32 ip4 = address.toIPv4Address(&v4);
    if (v4) {
        auto *in = reinterpret_cast<sockaddr_in *>(&out);
        in->sin_family = AF_INET;
        in->sin_port = htons(port);
        in->sin_addr.s_addr = htonl(ip4);
        length = sizeof(sockaddr_in);
        return true;
    }
    if (address.protocol() != QAbstractSocket::IPv6Protocol)
        return false;
    auto *in6 = reinterpret_cast<sockaddr_in6 *>(&out);
    in6->sin6_family = AF_INET6;
    in6->sin6_port = htons(port);
    const Q_IPV6ADDR ip6 = address.toIPv6Address();
    std::memcpy(&in6->sin6_addr, ip6.c, 16);
    in6->sin6_scope_id = address.scopeId().toUInt();
    length = sizeof(sockaddr_in6);
    return true;
}

QHostAddress fromSockaddr(const sockaddr_storage &address)
{
    QHostAddress result;
    result.setAddress(reinterpret_cast<const sockaddr *>(&address));
    return result;
}

quint16 portOf(const sockaddr_storage &address)
{
    if (address.ss_family == AF_INET)
        return ntohs(reinterpret_cast<const sockaddr_in *>(&address)->sin_port);
    if (address.ss_family == AF_INET6)
        return ntohs(reinterpret_cast<const sockaddr_in6 *>(&address)->sin6_port);
    return 0;
}

int openDescriptor(int family)
{
    return ::socket(family, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
}

} // namespace

int waitReady(const int *fds, const short *events, int count, QDeadlineTimer deadline, quint32 &error)
{
    pollfd p[4];
    Q_ASSERT(count <= 4);
    for (int i = 0; i < count; ++i)
        p[i] = pollfd{fds[i], events[i], 0};
    if (pollSliced(p, count, deadline, error) <= 0)
        return 0;
    int ready = 0;
    for (int i = 0; i < count; ++i) {
        if (fds[i] >= 0 && (p[i].revents & (events[i] | POLLHUP | POLLERR | POLLNVAL)))
            ready |= 1 << i;
    }
    return ready;
}

int waitReadable(const int *fds, int count, QDeadlineTimer deadline, quint32 &error)
{
    const short events[4] = {POLLIN, POLLIN, POLLIN, POLLIN};
    return waitReady(fds, events, count, deadline, error);
}

bool waitWritable(int fd, QDeadlineTimer deadline, quint32 &error)
{
    pollfd p{fd, POLLOUT, 0};
    return pollSliced(&p, 1, deadline, error) > 0;
}

bool waitSliced(QDeadlineTimer deadline, quint32 &error, const std::function<bool(int ms)> &step)
{
    for (;;) {
        if (!mayWait(deadline, error))
            return false;
        if (step(sliceMs(deadline)))
            return true;
    }
}

// ---- TcpSocket -------------------------------------------------------------------

TcpSocket::TcpSocket(TcpSocket &&other) noexcept
    : m_fd(std::exchange(other.m_fd, -1)), m_error(other.m_error)
{
}

TcpSocket &TcpSocket::operator=(TcpSocket &&other) noexcept
{
    if (this != &other) {
        close();
        m_fd = std::exchange(other.m_fd, -1);
        m_error = other.m_error;
    }
    return *this;
}

bool TcpSocket::connectTo(const QString &host, quint16 port, QDeadlineTimer deadline, quint32 &error)
{
    close();
    QList<QHostAddress> addresses;
    QHostAddress literal;
    if (literal.setAddress(host)) {
        addresses << literal;
    } else {
        // The lookup blocks and cannot be stopped; the system's resolver bounds it.
        const QHostInfo info = QHostInfo::fromName(host);
        if (stopRequested()) {
            error = ErrorStopped;
            return false;
        }
        addresses = info.addresses();
        if (info.error() != QHostInfo::NoError || addresses.isEmpty()) {
            error = ErrorNameNotResolved;
            return false;
        }
    }
    error = ErrorCannotConnect;
    for (const QHostAddress &address : addresses) {
        sockaddr_storage to;
        socklen_t length = 0;
        if (!toSockaddr(address, port, to, length))
            continue;
        m_fd = openDescriptor(to.ss_family);
        if (m_fd < 0) {
            error = ErrorInternal;
            return false;
        }
        int r = ::connect(m_fd, reinterpret_cast<const sockaddr *>(&to), length);
        if (r < 0 && errno == EINPROGRESS) {
            if (!waitWritable(m_fd, deadline, error)) {
                close();
                return false; // stopped or out of time: no other address either
            }
            int soError = 0;
            socklen_t len = sizeof soError;
            ::getsockopt(m_fd, SOL_SOCKET, SO_ERROR, &soError, &len);
            r = soError == 0 ? 0 : -1;
            errno = soError;
        }
        if (r == 0)
            return true;
        error = socketError(errno);
        close();
    }
    return false;
}

bool TcpSocket::listen(const QHostAddress &local, quint32 &error)
{
    close();
    sockaddr_storage at;
    socklen_t length = 0;
    if (!toSockaddr(local, 0, at, length) || (m_fd = openDescriptor(at.ss_family)) < 0
        || ::bind(m_fd, reinterpret_cast<const sockaddr *>(&at), length) < 0 || ::listen(m_fd, 4) < 0) {
        close();
        error = ErrorCannotConnect;
        return false;
    }
    return true;
}

bool TcpSocket::accept(TcpSocket &connection)
{
    const int fd = ::accept4(m_fd, nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC);
    if (fd < 0)
        return false;
    connection.close();
    connection.m_fd = fd;
    return true;
}

QHostAddress TcpSocket::peerAddress() const
{
    sockaddr_storage a;
    socklen_t length = sizeof a;
    if (m_fd < 0 || ::getpeername(m_fd, reinterpret_cast<sockaddr *>(&a), &length) < 0)
        return QHostAddress();
    return fromSockaddr(a);
}

QHostAddress TcpSocket::localAddress() const
{
    sockaddr_storage a;
    socklen_t length = sizeof a;
    if (m_fd < 0 || ::getsockname(m_fd, reinterpret_cast<sockaddr *>(&a), &length) < 0)
        return QHostAddress();
    return fromSockaddr(a);
}

quint16 TcpSocket::localPort() const
{
    sockaddr_storage a;
    socklen_t length = sizeof a;
    if (m_fd < 0 || ::getsockname(m_fd, reinterpret_cast<sockaddr *>(&a), &length) < 0)
        return 0;
    return portOf(a);
}

qint64 TcpSocket::read(char *buffer, qint64 size)
{
    for (;;) {
        const ssize_t n = ::recv(m_fd, buffer, size_t(size), 0);
        if (n > 0)
            return n;
        if (n == 0)
            return size == 0 ? NothingYet : Ended;
        if (errno == EINTR)
            continue;
        if (errno == EAGAIN || errno == EWOULDBLOCK)
            return NothingYet;
        m_error = socketError(errno);
        return Failed;
    }
}

qint64 TcpSocket::write(const char *data, qint64 size)
{
    for (;;) {
        const ssize_t n = ::send(m_fd, data, size_t(size), MSG_NOSIGNAL);
        if (n >= 0)
            return n;
        if (errno == EINTR)
            continue;
        if (errno == EAGAIN || errno == EWOULDBLOCK)
            return 0;
        m_error = socketError(errno);
        return Failed;
    }
}

bool TcpSocket::writeAll(const char *data, qint64 size, QDeadlineTimer deadline, quint32 &error)
{
    qint64 done = 0;
    while (done < size) {
        const qint64 n = write(data + done, size - done);
        if (n == Failed) {
            error = m_error;
            return false;
        }
        done += n;
        if (done < size && !waitWritable(m_fd, deadline, error))
            return false;
    }
    return true;
}

void TcpSocket::setLowDelay()
{
    const int on = 1;
    ::setsockopt(m_fd, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
}

void TcpSocket::shutdownWrite()
{
    if (m_fd >= 0)
        ::shutdown(m_fd, SHUT_WR);
}

void TcpSocket::close()
{
    if (m_fd >= 0)
        ::close(m_fd);
    m_fd = -1;
}

void TcpSocket::reset()
{
    if (m_fd >= 0) {
        const linger now{1, 0};
        ::setsockopt(m_fd, SOL_SOCKET, SO_LINGER, &now, sizeof now);
    }
    close();
}

} // namespace inet::detail
