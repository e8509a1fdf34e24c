// Reading and writing an open remote file through the data channel's buffer.
// read() and write() are called with small blocks (a few hundred bytes), so
// their common path is a copy and nothing else.
#include "platform/inet/FtpConnection_p.h"

#include <cstring>

namespace inet {

bool FtpFilePrivate::setFailed(quint32 error)
{
    failed = true;
    failError = error;
    failResponse = lastResponseInfo();
    setLastError(error);
    return false;
}

bool FtpFilePrivate::reportFailure()
{
    setLastError(failError);
    setLastResponseInfo(failResponse);
    return false;
}

bool FtpFilePrivate::read(char *out, quint32 size, quint32 &got)
{
    if (!open || upload || !conn) {
        setLastError(ErrorIncorrectHandleState);
        return false;
    }
    if (failed)
        return reportFailure();
    while (got < size) {
        const qsizetype avail = data.available();
        if (avail > 0) {
            const qsizetype n = qMin<qsizetype>(avail, size - got);
            std::memcpy(out + got, data.data(), size_t(n));
            data.consume(n);
            got += quint32(n);
            continue;
        }
        if (ended)
            break;
        if (data.atEnd()) {
            // The data ended: only the server's reply tells whether it is whole.
            ended = true;
            data.abort();
            if (!conn->finishTransfer(st))
                return setFailed(lastError());
            break;
        }
        quint32 error = NoError;
        if (!data.fill(QDeadlineTimer(conn->timeouts().dataMs), error))
            return setFailed(error);
    }
    transferred += got;
    setLastError(NoError);
    return true;
}

bool FtpFilePrivate::write(const char *in, quint32 size, quint32 &written)
{
    if (!open || !upload || !conn) {
        setLastError(ErrorIncorrectHandleState);
        return false;
    }
    if (failed)
        return reportFailure();
    while (written < size) {
        qsizetype room = data.space();
        if (room == 0) {
            quint32 error = NoError;
            if (!data.flush(conn->timeouts().dataMs, error))
                return setFailed(error);
            room = data.space();
        }
        const qsizetype n = qMin<qsizetype>(room, size - written);
        std::memcpy(data.writePointer(), in + written, size_t(n));
        data.commit(n);
        written += quint32(n);
    }
    transferred += written;
    setLastError(NoError);
    return true;
}

bool FtpFilePrivate::closeDownload()
{
    if (ended)
        return failed ? reportFailure() : (setLastError(NoError), true);
    // In the middle (or after a failure): stop the server, keep the connection.
    const bool drained = conn->abortTransfer(data, st);
    if (failed)
        return reportFailure();
    return drained;
}

bool FtpFilePrivate::closeUpload()
{
    quint32 error = failError;
    const bool sent = !failed && data.finishWriting(conn->timeouts().dataMs, error);
    if (!sent)
        data.abort();
    // The reply is read even after a failed send: it keeps the connection in
    // step and usually tells why.
    const bool confirmed = conn->finishTransfer(st);
    if (!sent) {
        // A refusal from the server is the better explanation; without one
        // the send error stands (a partial upload is never a success).
        if (confirmed)
            setLastError(error != NoError ? error : ErrorConnectionAborted);
        return false;
    }
    return confirmed;
}

void FtpFilePrivate::abandon()
{
    if (!upload || !conn) {
        close();
        return;
    }
    // An upload left without close() was given up: the server must not keep
    // it as complete.
    open = false;
    conn->openFile = nullptr;
    conn->abortTransfer(data, st);
}

bool FtpFilePrivate::close()
{
    if (!open) {
        setLastError(ErrorIncorrectHandleState);
        return false;
    }
    open = false;
    if (!conn) {
        data.abort();
        setLastError(ErrorIncorrectHandleState);
        return false;
    }
    conn->openFile = nullptr;
    const bool ok = upload ? closeUpload() : closeDownload();
    data.abort();
    return ok;
}

} // namespace inet
