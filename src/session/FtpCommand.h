#pragma once
// What a connection's worker is asked to do and what it answers: typed
// commands in, typed results out, and the questions it puts to whoever owns
// it (the window, the command line, a test) while it waits for the answer.

#include "platform/inet/Inet.h"

#include <QDateTime>
#include <QMetaType>
#include <QString>

#include <memory>
#include <variant>
#include <vector>

namespace ftp {

// Everything a worker needs to open its connection, and to open it again.
struct LoginParams {
    QString host;
    quint16 port = 21;
    QString user;
    QString password;
    bool passive = false;
    inet::Timeouts timeouts;
    // FTP over TLS: the mode, CA certificates besides the system's, and a
    // certificate trusted as it is (SHA-256); frenchTexts gives the language
    // of the certificate's problems.
    inet::TlsMode tls = inet::TlsMode::Off;
    QList<QSslCertificate> extraCaCertificates;
    QByteArray trustedSha256;
    bool frenchTexts = false;
};

// ---- commands -------------------------------------------------------------------

// Logs in with the worker's parameters and asks for the current folder.
struct Connect {};
// Lists the current folder (entering `folder` first when given) and asks for
// the current folder again.
struct List {
    QString filter = QStringLiteral("*.*");
    QString folder;
};
// Enters a folder; with createMissing, one that cannot be entered is made first.
struct ChangeDir {
    QString folder;
    bool createMissing = false;
};
struct PrintDir {};
struct MakeDir { QString folder; };
struct RemoveDir { QString folder; };
struct Delete { QString name; };
struct Rename { QString from, to; };
// A command line as typed; its reply is the result's text.
struct Raw { QString line; };
struct Chmod { QString mode, path; };
struct Size { QString name; };
// Every file below a remote folder (a full path), depth first in listing order.
struct Walk { QString folder; };

// The file-exists question the transfers ask, and its answers (the values of
// lExistChoice; 5 is the runner's "no skip"). Resume continues the existing
// file; Resume all answers this question and the next ones as
// resumeAnswer() says.
enum class ExistsAnswer { Cancel = 1, Skip = 2, Overwrite = 3, OverwriteAll = 4, Resume = 6, ResumeAll = 7 };

// What a transfer that fails is tried again for, and how.
struct RetryPolicy {
    int retries = 0;       // tries after the first, when the connection dropped or timed out
    int firstPauseMs = 1000; // the pause before the first retry, doubled before each next one
};

// Downloads `name` of `remoteFolder` into localFolder/name.
struct Retrieve {
    QString remoteFolder;        // entered first when the connection is elsewhere
    QString name;
    QString localFolder;         // made, level by level, when missing
    qint64 offset = 0;           // bytes of the local file to keep
    qint64 expectedSize = -1;    // the listed size, for the progress figures
    QDateTime remoteTime;        // becomes the local file's time when valid
    quint32 transferType = 0;    // inet::FTP_TRANSFER_TYPE_*
    bool askIfExists = true;     // an existing local file is a question
    bool returnToFolder = false; // go back to the folder it found once done
    RetryPolicy retry;
};

// Uploads localPath as `name` into `remoteFolder`.
struct Store {
    QString remoteFolder;        // made level by level when missing, then entered
    QString localPath;
    QString name;
    qint64 offset = 0;           // bytes already on the server
    quint32 transferType = 0;
    bool askIfExists = true;
    bool returnToFolder = false;
    RetryPolicy retry;
    // The queue's run it belongs to: what a folder held is known for one run
    // only (0: for this file only), so that a file put there meanwhile is asked about.
    quint64 run = 0;
};

// Ends the connection politely (QUIT) and lets the worker's thread go.
struct Close {};

using Command = std::variant<Connect, List, ChangeDir, PrintDir, MakeDir, RemoveDir, Delete, Rename, Raw,
                             Chmod, Size, Walk, Retrieve, Store, Close>;

// ---- results --------------------------------------------------------------------

enum class Outcome {
    Done,
    Failed,  // see error
    Stopped, // cancelled by its owner before or while it ran
    Skipped, // the user answered Skip
    Declined // the user answered Cancel
};

// The entries of one folder of a listing or a walk.
// A walk leaves a folder out when it cannot be entered, when it lies
// deeper than kMaxRemoteDepth, or when it is one of the folders it lies in
// (a link's listed target, or the MLSD "unique" fact of the folder, says
// so). Links and entries of no kind that could be entered come back with the
// directory attribute, those that could not as plain files.
struct Folder {
    QString path;                        // full remote path
    QString relative;                    // walk: below the walked folder's parent, "top/sub"
    bool entered = true;                 // false: the folder could not be entered (no entries)
    bool tooDeep = false;                // not entered: below too many folders
    bool leadsBack = false;              // not gone into: a folder above it, or itself
    std::vector<inet::FindRecord> entries;
    inet::ListingSummary summary;        // the lines no format understood
};

struct Result {
    Outcome outcome = Outcome::Done;
    quint32 error = 0;      // the library's code (inet::ErrorCode) when Failed
    int systemError = 0;    // errno of a local file's failure (error == ErrorLocalFile)
    QString response;       // the server's last reply: what ActionOut shows
    QString folder;         // the current remote folder after the command, when asked for
    QString text;           // Raw: the command's reply; Connect: the welcome
    qint64 size = -1;       // Size: the file's size (-1: none); transfers: bytes in the destination
    std::shared_ptr<const std::vector<Folder>> folders; // List: its folder (a walk's come one by one, as signals)

    // A transfer that failed once its data was moving (the connection dropped
    // or timed out), as opposed to one the server refused.
    bool interrupted = false;
    // Connect: how the control connection is protected.
    bool encrypted = false;
    QString tlsProtocol, tlsCipher;

    bool ok() const { return outcome == Outcome::Done; }
    // What ErrorOut makes of the failure: the library's (or the system's)
    // text, or for internet codes above 12000 the server's own words.
    QString errorText(bool french) const;
};

// What a transfer tells its owner on the way, besides progress.
struct TransferNote {
    enum class Kind {
        Started,   // data moves from `offset` on (0: from the start)
        NoResume,  // the server cannot continue at `offset`: the file starts over
        Retrying,  // try `attempt` of `attempts` after a failure (`error`)
        Verified,  // the server's hash (`algorithm`), or its size, matches
    };
    Kind kind = Kind::Started;
    qint64 offset = 0;
    int attempt = 0;
    int attempts = 0;
    quint32 error = 0;
    QString response;  // the server's last words with `error`, if any
    QString algorithm; // "SHA-256", or "" for a size
};

// ---- questions --------------------------------------------------------------------

// The file-exists question, or whether to trust a server's certificate that
// nothing vouches for (answered 1 to go on, 0 to give up the connection).
struct Request {
    enum class Kind { FileExists, Certificate };
    quint64 id = 0;
    quint64 command = 0;   // the command that asks
    Kind kind = Kind::FileExists;
    QString fileName;      // as the question names it
    bool isUpload = false; // the existing file is on the server
    // The file question: the file that exists and the one that would take
    // its place (-1, invalid: not known).
    qint64 existingSize = -1, incomingSize = -1;
    QDateTime existingTime, incomingTime;
    bool resumable = false; // the transfer can continue the existing file
    inet::CertificateInfo certificate;

    // Resume makes sense: the existing file is the smaller one.
    bool canResume() const { return resumable && existingSize >= 0 && incomingSize > existingSize; }
};

// The answer Resume all gives to one file: a smaller existing file is
// continued, one of the same size and date (to the minute) skipped, any other
// replaced.
ExistsAnswer resumeAnswer(const Request &request);

// The parameters a worker connects with, shared by the owner of several workers.
using LoginPtr = std::shared_ptr<const LoginParams>;

} // namespace ftp

Q_DECLARE_METATYPE(ftp::Command)
Q_DECLARE_METATYPE(ftp::Result)
Q_DECLARE_METATYPE(ftp::Request)
Q_DECLARE_METATYPE(ftp::TransferNote)
Q_DECLARE_METATYPE(ftp::Folder)
