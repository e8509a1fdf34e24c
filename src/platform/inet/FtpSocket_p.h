#pragma once
// The sockets under the FTP channels: plain TCP on a raw descriptor, so that
// every wait is a poll() we cut into slices, and a stop request from another
// thread ends it (Qt's own waits can neither be told to stop nor, for a
// connect, be resumed after a slice).

#include <QDeadlineTimer>
#include <QHostAddress>
#include <QString>

#include <functional>

namespace inet::detail {

// Every wait below looks at the thread's stop flag between slices of at most
// kStopSliceMs: a stop request ends it with ErrorStopped, the deadline with
// ErrorTimeout.

// Which of the descriptors are readable (or hung up): bit i for fds[i]; 0 when
// the wait ended first (`error` says why). A negative descriptor is skipped.
int waitReadable(const int *fds, int count, QDeadlineTimer deadline, quint32 &error);
// The same for the poll() events of each descriptor (POLLIN, POLLOUT): a TLS
// channel sometimes has to write before it can read on.
int waitReady(const int *fds, const short *events, int count, QDeadlineTimer deadline, quint32 &error);
bool waitWritable(int fd, QDeadlineTimer deadline, quint32 &error);
// Calls step(ms) with slices of the time left until it returns true (the thing
// waited for happened, or failed: the caller looks). False when the deadline
// passed or a stop was asked for first.
bool waitSliced(QDeadlineTimer deadline, quint32 &error, const std::function<bool(int ms)> &step);

// One TCP socket, non-blocking, owned. Moves, never copies.
class TcpSocket {
public:
    // What read() gives besides a byte count.
    static constexpr qint64 NothingYet = 0;
    static constexpr qint64 Ended = -1;  // the peer closed its side
    static constexpr qint64 Failed = -2; // reset or another error: see error()

    TcpSocket() = default;
    ~TcpSocket() { close(); }
    TcpSocket(TcpSocket &&other) noexcept;
    TcpSocket &operator=(TcpSocket &&other) noexcept;
    TcpSocket(const TcpSocket &) = delete;
    TcpSocket &operator=(const TcpSocket &) = delete;

    // Connects to host:port (a name is looked up first), each address in turn
    // until one answers or the deadline passes.
    bool connectTo(const QString &host, quint16 port, QDeadlineTimer deadline, quint32 &error);
    bool listen(const QHostAddress &local, quint32 &error);
    // Takes a waiting connection without blocking; false when there is none.
    bool accept(TcpSocket &connection);

    bool isValid() const { return m_fd >= 0; }
    int descriptor() const { return m_fd; }
    QHostAddress peerAddress() const;
    QHostAddress localAddress() const;
    quint16 localPort() const;

    // Whatever the system has, without waiting: a count, NothingYet, Ended or Failed.
    qint64 read(char *buffer, qint64 size);
    // As much as the system takes at once (possibly 0), or Failed.
    qint64 write(const char *data, qint64 size);
    // Writes everything, waiting for room as needed.
    bool writeAll(const char *data, qint64 size, QDeadlineTimer deadline, quint32 &error);
    quint32 error() const { return m_error; }

    void setLowDelay();
    // The end of what we send; reading goes on.
    void shutdownWrite();
    void close();
    // Closes with a reset instead of an orderly end.
    void reset();

private:
    int m_fd = -1;
    quint32 m_error = 0;
};

} // namespace inet::detail
