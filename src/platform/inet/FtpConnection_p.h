#pragma once
// Private parts of an FTP connection and of an open remote file.

#include "platform/inet/FtpTls_p.h"
#include "platform/inet/FtpWire_p.h"
#include "platform/inet/Inet.h"

#include <memory>

namespace inet {

// Where a transfer stands on the control connection.
struct TransferState {
    bool finalSeen = false;     // the server's closing reply already came
    detail::Reply finalReply;
};

// " SHA-1;SHA-256*;MD5": the algorithms HASH offers, "*" marking the selected one.
void parseHashFeature(const QByteArray &list, FtpFeatures &features);
// The hash in a reply to HASH or to an X command: the first word of hex
// digits of the algorithm's length. Empty when there is none.
QByteArray digestInReply(const QByteArray &text, HashAlgorithm algorithm);

class FtpConnectionPrivate {
public:
    InternetSession *session = nullptr;
    detail::ControlChannel control;
    FtpFeatures features;
    bool useMlsd = true;
    bool passive = false;
    bool epsvRefused = false;
    bool portRefused = false;
    char type = 0;              // 'A' or 'I' once sent; 0 unknown
    quint32 deadError = ErrorIncorrectHandleState; // what calls get once the control is gone
    FtpFind *openFind = nullptr;
    ListingSummary lastListing; // of the last findFirstFile
    FtpFile *openFile = nullptr;
    // With TLS: what the data connections share with the control connection.
    ConnectOptions options;
    std::unique_ptr<detail::TlsContext> tls;

    Timeouts timeouts() const { return session->timeouts(); }
    QDeadlineTimer replyDeadline() const { return QDeadlineTimer(timeouts().replyMs); }

    bool fail(quint32 code);
    bool succeed();
    // Refuses when the control connection is gone (and, for `transfer`, when a
    // find or a file is already open; for commands, when a file is open).
    bool usable(bool transfer);
    // CR, LF or NUL: such a line is never sent.
    static bool isUnsafeLine(const QByteArray &line);

    bool login(const QString &host, quint16 port, const QString &user, const QString &password);
    // FTP over TLS (FtpSecure.cpp): the control connection made secure after
    // the greeting (AUTH TLS) or before it (implicit), its certificate checked
    // before anything else is sent; PBSZ and PROT P after the login.
    bool readGreeting(detail::Reply &greeting);
    bool secureControl(const QString &host, quint16 port);
    bool negotiateAuth(const QString &host, quint16 port);
    bool trustServer(const QString &host, quint16 port);
    bool protectData();
    // A data connection's TLS: the same server certificate as the control's.
    bool trustDataPeer(const detail::DataChannel &data);
    void parseFeatures(const QByteArray &text);
    void quit();

    bool send(const QByteArray &line);
    // One reply, recorded as the last response; drops the connection on failure.
    bool readReply(detail::Reply &reply, QDeadlineTimer deadline);
    // Sends a command and reads its final reply (preliminary 1xx replies skipped).
    bool exchange(const QByteArray &line, detail::Reply &reply);
    // exchange() where 4xx/5xx is ErrorExtended.
    bool simple(const QByteArray &line);
    bool setType(char wanted);
    // REST offset answered 350.
    bool restart(qint64 offset);

    bool openDataChannel(detail::DataChannel &data);
    bool startTransfer(const QByteArray &command, bool upload, detail::DataChannel &data, TransferState &st);
    // After the data ended: the closing reply decides.
    bool finishTransfer(TransferState &st);
    // Stops a running transfer: data dropped, ABOR, replies drained.
    bool abortTransfer(detail::DataChannel &data, TransferState &st);

    // Listing through a data connection; `records` keeps what was read even
    // when it fails (then endError/endResponse say why); `summary` counts
    // the lines no format understood.
    bool runListing(const QByteArray &command, bool mlsd, std::vector<FindRecord> &records,
                    quint32 &endError, QString &endResponse, ListingSummary &summary);
    bool lookupMlst(const QByteArray &name, std::vector<FindRecord> &records);
    void detach();

private:
    bool waitForStart(bool upload, detail::DataChannel &data, TransferState &st);
    enum class DataStart { Waiting, Started, Failed };
    DataStart dataReady(detail::DataChannel &data, const QHostAddress &peer, bool answered, bool upload,
                        TransferState &st);
    void controlLost(quint32 error);
};

class FtpFilePrivate {
public:
    FtpConnectionPrivate *conn = nullptr; // null once the connection is gone
    detail::DataChannel data;
    TransferState st;
    bool upload = false;
    bool open = false;
    bool ended = false;         // download: data end seen and the reply read
    bool failed = false;
    quint32 failError = NoError;
    QString failResponse;
    qint64 transferred = 0;
    qint64 start = 0;           // where the transfer began in the file

    bool read(char *out, quint32 size, quint32 &got);
    bool write(const char *in, quint32 size, quint32 &written);
    bool close();
    // Destroyed while open: a download closes (aborting when unfinished), an
    // upload is aborted.
    void abandon();

private:
    bool setFailed(quint32 error);
    bool reportFailure();
    bool closeDownload();
    bool closeUpload();
};

} // namespace inet
