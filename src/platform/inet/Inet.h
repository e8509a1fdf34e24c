#pragma once
// Our internet library: an FTP client (control connection, passive and active
// data connections, listings) and an HTTP downloader, with synchronous calls.
//
// Error model: no call throws. Every call sets the last error (0 on success)
// and, when a server answered, the last response: read them right after the
// call with lastError() and lastResponseInfo(). Error numbers are those the
// session and its windows rely on (see ErrorCode); formatMessage() gives their
// texts. An FTP reply of 4xx/5xx to an operation is ErrorExtended with the reply
// in lastResponseInfo().
//
// Calls block with time-outs (they never hang) and belong on a thread of their
// own: a connection is used by one thread at a time, and the error state below
// is kept per thread. Another thread ends a call early through the calling
// thread's stop flag (setStopFlag()).

#include <QByteArray>
#include <QByteArrayView>
#include <QDateTime>
#include <QList>
#include <QSslCertificate>
#include <QString>
#include <QStringList>
#include <QtGlobal>

#include <atomic>
#include <functional>
#include <memory>
#include <vector>

namespace inet {

enum ErrorCode : quint32 {
    NoError = 0,
    ErrorNoMoreFiles = 18,            // find: nothing (more) to return
    // Our own refusals. They stay below the internet range so that the session
    // shows our text and not a stale server reply.
    ErrorInvalidPort = 9001,          // port text not a whole number 1-65535
    ErrorLineBreak = 9002,            // CR or LF in a command or name: never sent
    ErrorLocalFile = 9003,            // a local file could not be opened/read/written
    ErrorStopped = 9004,              // the thread's stop flag was raised during the call
    // FTP over TLS. Below the internet range too: the server's last reply
    // ("234 AUTH TLS OK") would explain nothing.
    ErrorTlsRefused = 9005,           // AUTH TLS, PBSZ or PROT P refused where TLS is required
    ErrorTlsHandshake = 9006,         // a TLS handshake failed (control or data connection)
    ErrorCertificateRejected = 9007,  // the server's certificate was not trusted: nothing was sent
    // A finished transfer that does not match the server's file.
    ErrorChecksumDiffers = 9008,      // our hash of the bytes is not the server's
    ErrorSizeDiffers = 9009,          // the file's size is not the server's (SIZE)
    ErrorTimeout = 12002,             // no answer within the time-out
    ErrorExtended = 12003,            // the server refused: see lastResponseInfo()
    ErrorInternal = 12004,
    ErrorInvalidUrl = 12005,
    ErrorNameNotResolved = 12007,
    ErrorIncorrectUserName = 12013,   // 530 after USER
    ErrorIncorrectPassword = 12014,   // 530 after PASS
    ErrorLoginFailure = 12015,        // any other refused login
    ErrorIncorrectHandleState = 12019,// operation on a closed or not connected handle
    ErrorCannotConnect = 12029,
    ErrorConnectionAborted = 12030,   // the peer reset the connection
    ErrorConnectionReset = 12031,
    ErrorTransferInProgress = 12110,  // a find or file is already open on this connection
    ErrorFtpDropped = 12111,          // the control connection was closed by the server
    ErrorHttpStatus = 12152,          // HTTP answer outside 2xx
};

// Attribute bits of a find record.
inline constexpr quint32 FILE_ATTRIBUTE_READONLY = 0x1;
inline constexpr quint32 FILE_ATTRIBUTE_HIDDEN = 0x2;
inline constexpr quint32 FILE_ATTRIBUTE_SYSTEM = 0x4;
inline constexpr quint32 FILE_ATTRIBUTE_DIRECTORY = 0x10;
inline constexpr quint32 FILE_ATTRIBUTE_ARCHIVE = 0x20;
inline constexpr quint32 FILE_ATTRIBUTE_NORMAL = 0x80;
inline constexpr quint32 FILE_ATTRIBUTE_TEMPORARY = 0x100;
inline constexpr quint32 FILE_ATTRIBUTE_REPARSE_POINT = 0x400; // a symbolic link
inline constexpr quint32 FILE_ATTRIBUTE_COMPRESSED = 0x800;
inline constexpr quint32 FILE_ATTRIBUTE_OFFLINE = 0x1000;

// Flags of connectFtp().
inline constexpr quint32 INTERNET_FLAG_PASSIVE = 0x08000000;
// The port of implicit FTP over TLS when none is given.
inline constexpr quint16 kImplicitTlsPort = 990;
// Transfer flags of openFile(): 0 is the default (binary).
inline constexpr quint32 FTP_TRANSFER_TYPE_ASCII = 1;
inline constexpr quint32 FTP_TRANSFER_TYPE_BINARY = 2;
// Access of openFile().
inline constexpr quint32 GENERIC_READ = 0x80000000u;
inline constexpr quint32 GENERIC_WRITE = 0x40000000u;

// 100-nanosecond intervals since 1601-01-01 00:00 UTC.
using FileTime = quint64;
FileTime fileTimeFromDateTime(const QDateTime &utc);
QDateTime dateTimeFromFileTime(FileTime ft); // in UTC

struct FindRecord {
    // DIRECTORY or NORMAL; REPARSE_POINT alone for a link (its kind is the
    // server's to tell when it is opened); 0 when the listing did not say.
    quint32 attributes = 0;
    // What the listing gave. A line may leave out the size or the date; a
    // size in blocks or with a unit ("1.2M") is only near the real one.
    bool sizeKnown = false;
    bool sizeRough = false;
    bool timeKnown = false;
    FileTime creationTime = 0;
    FileTime lastAccessTime = 0;
    FileTime lastWriteTime = 0;
    qint64 size = 0;
    QString name;       // exactly as listed
    QString linkTarget; // what a link points to, as listed; "" when not said
    // MLSD's "unique" fact: the server's own name for the file or folder
    // (two entries with the same one are the same thing); empty when not given.
    QByteArray unique;
};

// ---- listing parser: pure functions, no I/O -------------------------------
//
// Formats: Unix "ls -l" and its many variants (numeric permissions, the
// NetPresenz form), DOS/IIS, MLSD facts, EPLF, VMS, OS/2, NetWare, OS/400,
// MVS datasets and members, Tandem, OS-9, the VxWorks form of Nortel
// devices, Connect:Enterprise mailboxes. Each line is tried against the
// format of the line before it first, then against the others. Times without
// a zone are the server's local clock and are stored as if they were this
// machine's local time, so that they show as listed; `now` decides the year
// of "Mon dd hh:mm" dates.

// What a listing says of itself: the lines no format understood, and, from
// an MLSD answer's "cdir" and "pdir" lines, the "unique" facts of the listed
// folder and of its parent (empty when not given).
struct ListingSummary {
    int unreadLines = 0;
    QString firstUnread; // the first of them, shortened
    QByteArray folderUnique;
    QByteArray parentUnique;

    static constexpr int kShownLength = 80;
};

// Reads a listing line by line as it arrives; a value with no I/O.
class ListingParser {
public:
    // mlsd: the answer to MLSD (its format is tried first).
    ListingParser(const QDateTime &now, bool mlsd);
    ~ListingParser();
    ListingParser(const ListingParser &) = delete;
    ListingParser &operator=(const ListingParser &) = delete;

    // Reads the lines of `data`, split at CR and LF; the last one counts as
    // complete. Entries are appended to `out`.
    void addLines(QByteArrayView data, std::vector<FindRecord> &out);
    // The end of the listing: an entry still waiting for its second line
    // goes out as it is.
    void finish(std::vector<FindRecord> &out);
    const ListingSummary &summary() const { return m_summary; }

private:
    void addLine(QByteArrayView line, std::vector<FindRecord> &out);
    void note(QByteArrayView line);
    void noteFolder(const FindRecord &rec);

    struct State;
    std::unique_ptr<State> d;
    ListingSummary m_summary;
};

// One line of a LIST answer, every format tried. False when the line is not
// an entry (totals, headers, blanks, garbage).
bool parseListLine(QByteArrayView line, FindRecord &out, const QDateTime &now);
// One line of an MLSD answer; false for cdir/pdir entries and malformed lines.
bool parseMlsdLine(QByteArrayView line, FindRecord &out);
// A whole answer split at CR/LF; lines that are not entries are skipped and
// those no format understood are counted in `summary`.
std::vector<FindRecord> parseListing(QByteArrayView data, bool mlsd, const QDateTime &now,
                                     ListingSummary *summary = nullptr);

// True when `name` matches a pattern with * and ?; "*.*", "*" and "" match all.
bool matchesPattern(const QString &name, const QString &pattern);

// File names travel as UTF-8. Bytes that are not valid UTF-8 are kept as the
// code points U+DC80..U+DCFF so that a listed name goes back to the server
// byte for byte (download, rename, delete).
QString decodeName(QByteArrayView bytes);
QByteArray encodeName(const QString &name);

// ---- error state -----------------------------------------------------------

quint32 lastError();
void setLastError(quint32 code);
// The server's last reply: its lines exactly as sent, CR LF separated, ending
// with CR LF. Empty when no server answered yet.
QString lastResponseInfo();
void setLastResponseInfo(const QString &text);

// Text of an error code for `module` ("" or "wininet.dll": our table of the
// codes above; "kernel32": the system's text for an errno value). The text ends
// with CR LF; "" when the module has no text for the code.
QString formatMessage(quint32 code, const QString &module, bool french);

// ---- stopping a call from another thread ----------------------------------

// The flag the calling thread's waits watch (nullptr: none). Once it is raised
// every wait ends within kStopSliceMs and the call fails with ErrorStopped. A
// reply cut short that way leaves the control connection out of step, so it is
// closed, as after a time-out; a transfer's data connection is only dropped.
inline constexpr int kStopSliceMs = 20;
void setStopFlag(const std::atomic<bool> *flag);
bool stopRequested();

// ---- time-outs -------------------------------------------------------------

struct Timeouts {
    int connectMs = 20000;  // TCP connect and greeting
    int replyMs = 30000;    // any reply on the control connection
    int dataMs = 30000;     // accept/connect/read/write on a data connection
};

class FtpConnection;
class FtpFind;
class FtpFile;

// ---- FTP over TLS ------------------------------------------------------------

enum class TlsMode {
    IfOffered, // AUTH TLS; plain FTP when the server refuses it
    Required,  // AUTH TLS must succeed, or the connection ends before USER
    Implicit,  // TLS from the first byte (port 990 by default)
    Off,       // plain FTP
};

// The server's certificate as shown to someone deciding whether to trust it.
struct CertificateInfo {
    QString host;
    quint16 port = 0;
    QString subject, issuer;
    QDateTime notBefore, notAfter; // UTC
    QByteArray sha256;             // of the DER certificate, 32 bytes
    QStringList problems;          // why it is not trusted, one readable sentence each
    // The fingerprint trusted before for this server when the certificate is
    // another one now (a changed certificate); empty otherwise.
    QByteArray previousSha256;
};

// Asked, on the connection's own thread, when neither the system's CAs (plus
// the extra ones) with the host-name check nor trustedSha256 vouch for the
// server. True means "go on"; the caller may block here while it asks the user.
using CertificateCheck = std::function<bool(const CertificateInfo &)>;

struct ConnectOptions {
    TlsMode tls = TlsMode::Off;
    QList<QSslCertificate> extraCaCertificates;
    // A certificate trusted as it is (SHA-256 of its DER form, 32 bytes).
    QByteArray trustedSha256;
    CertificateCheck check; // none: an untrusted certificate ends the connection
    bool frenchTexts = false; // language of CertificateInfo::problems
};

// "AB:CD:..." for a fingerprint; the reverse accepts any case, with or without
// colons, and gives an empty array for anything but 32 bytes of hex.
QString fingerprintText(const QByteArray &sha256);
QByteArray parseFingerprint(const QString &text);

// The library session: owns every connection opened from it.
class InternetSession {
public:
    explicit InternetSession(const QString &agent);
    ~InternetSession();
    InternetSession(const InternetSession &) = delete;
    InternetSession &operator=(const InternetSession &) = delete;

    QString agent() const { return m_agent; }
    void setTimeouts(const Timeouts &t) { m_timeouts = t; }
    Timeouts timeouts() const { return m_timeouts; }

    // Connects, reads the greeting, logs in, asks FEAT (and OPTS UTF8 ON when
    // offered). Port 0 means 21. flags: INTERNET_FLAG_PASSIVE or 0 (active).
    // nullptr on failure. After success lastResponseInfo() holds the greeting
    // followed by the login reply (the server's welcome). Plain FTP.
    FtpConnection *connectFtp(const QString &host, quint16 port, const QString &user,
                              const QString &password, quint32 flags);
    // The same with TLS as options.tls says (port 0: 990 for Implicit). With
    // TLS the certificate is checked before anything else is sent, the login
    // is followed by PBSZ 0 and PROT P, and every data connection is TLS,
    // resuming the control connection's session.
    FtpConnection *connectFtp(const QString &host, quint16 port, const QString &user,
                              const QString &password, quint32 flags, const ConnectOptions &options);
    // Closes (QUIT, then the socket) and deletes the connection.
    void closeConnection(FtpConnection *connection);

private:
    QString m_agent;
    Timeouts m_timeouts;
    std::vector<std::unique_ptr<FtpConnection>> m_connections;
};

// The hash functions a server may compute for a file, weakest first.
enum class HashAlgorithm { None, Md5, Sha1, Sha256 };
// "SHA-256", "SHA-1", "MD5" (as HASH names them); "" for None.
QByteArray hashName(HashAlgorithm algorithm);

// A running hash over the bytes of a transfer, fed block by block (blocks of
// any size, however small). The hashing itself runs on a thread of its own:
// addData() only copies, so the transfer does not wait for the hash.
class Digest {
public:
    explicit Digest(HashAlgorithm algorithm = HashAlgorithm::None);
    ~Digest();
    Digest(const Digest &) = delete;
    Digest &operator=(const Digest &) = delete;

    HashAlgorithm algorithm() const { return m_algorithm; }
    // Starts over (with another algorithm, or None for no hash at all).
    void reset(HashAlgorithm algorithm);
    void addData(const char *data, qsizetype size);
    // The digest of everything added (raw bytes), once the hashing thread
    // caught up; the hash starts over after it.
    QByteArray result();

private:
    struct Hasher;
    HashAlgorithm m_algorithm = HashAlgorithm::None;
    std::unique_ptr<Hasher> d;
};

struct FtpFeatures {
    bool mlsd = false;
    bool epsv = false;
    bool utf8 = false;
    bool size = false;
    bool mdtm = false;
    bool mfmt = false;
    bool restStream = false; // "REST STREAM": transfers may start at an offset
    // HASH and the algorithms it offers, with the one selected now; and the
    // older one-algorithm commands.
    QList<HashAlgorithm> hash;
    HashAlgorithm hashSelected = HashAlgorithm::None;
    bool xsha256 = false;
    bool xsha1 = false;
    bool xmd5 = false;
};

class FtpConnectionPrivate;

// One logged-in control connection.
class FtpConnection {
public:
    ~FtpConnection();
    FtpConnection(const FtpConnection &) = delete;
    FtpConnection &operator=(const FtpConnection &) = delete;

    // A raw command line without data connection; the reply lands in
    // lastResponseInfo(). 4xx/5xx replies are ErrorExtended.
    bool command(const QString &line);
    bool getCurrentDirectory(QString &dir);
    bool setCurrentDirectory(const QString &dir);
    bool createDirectory(const QString &dir);
    bool removeDirectory(const QString &dir);
    bool deleteFile(const QString &name);
    bool renameFile(const QString &from, const QString &to);

    // Lists the current directory (MLSD when offered, else LIST) and returns
    // the first entry matching `pattern` (wildcards) or, for a plain name, the
    // entry of that name. nullptr with ErrorNoMoreFiles when nothing matches.
    std::unique_ptr<FtpFind> findFirstFile(const QString &pattern, FindRecord &first);
    // What the listing of the last findFirstFile said of itself (the lines no
    // format understood), also when it gave no entry at all and so no handle.
    ListingSummary lastListingSummary() const;

    // Opens a remote file: GENERIC_READ (RETR) or GENERIC_WRITE (STOR), with
    // FTP_TRANSFER_TYPE_* flags. nullptr on failure.
    std::unique_ptr<FtpFile> openFile(const QString &name, quint32 access, quint32 transferFlags);
    // The same from byte `offset` on (REST offset first). When the server
    // does not take REST, a download starts at 0 and an upload is appended
    // with APPE (STOR from 0 when APPE is refused too); the file's
    // startOffset() says where it began.
    std::unique_ptr<FtpFile> openFile(const QString &name, quint32 access, quint32 transferFlags, qint64 offset);

    // SIZE (in binary form: TYPE I first when needed): false when the server
    // does not answer it with a number.
    bool fileSize(const QString &name, qint64 &size);
    // The strongest hash the server computes for a file (HASH, XSHA256,
    // XSHA1, XMD5); None when it offers none.
    HashAlgorithm bestHash() const;
    // The server's hash of a file (raw bytes): HASH, after OPTS HASH when
    // another algorithm is selected, or the X command of the algorithm.
    bool fileHash(const QString &name, HashAlgorithm algorithm, QByteArray &digest);
    // MFMT: the file's modification time on the server, when offered.
    bool setFileTime(const QString &name, const QDateTime &utc);

    bool isBusy() const;             // a find or a file is open
    bool isAlive() const;            // the control connection is still up
    // Takes, without waiting, what the server said unasked (a "421 timed out"
    // before it hung up, kept as the last response); false once it hung up.
    bool checkAlive();
    FtpFeatures features() const;
    void setUseMlsd(bool use);       // tests: force LIST even when MLSD is offered
    bool passive() const;
    // TLS on the control connection (and so on every data connection), with
    // the negotiated protocol ("TLSv1.3") and cipher; empty texts for plain FTP.
    bool isEncrypted() const;
    QString tlsProtocol() const;
    QString tlsCipher() const;

private:
    friend class InternetSession;
    friend class FtpFind;
    friend class FtpFile;
    FtpConnection();
    std::unique_ptr<FtpConnectionPrivate> d;
};

// An open listing. Closing it (or destroying it) ends the listing.
class FtpFind {
public:
    ~FtpFind();
    // The next entry; false with ErrorNoMoreFiles at the end, or with the error
    // that ended the listing once the entries read before it are used up.
    bool next(FindRecord &record);
    // The entries next() has still to give (the listing is read whole).
    size_t remaining() const { return m_records.size() - m_pos; }
    void close();

private:
    friend class FtpConnection;
    friend class FtpConnectionPrivate;
    FtpFind() = default;
    FtpConnection *m_connection = nullptr;
    std::vector<FindRecord> m_records;
    size_t m_pos = 0;
    quint32 m_endError = ErrorNoMoreFiles;
    QString m_endResponse;
};

class FtpFilePrivate;

// An open remote file. Reads and writes of any size cost next to nothing:
// the data goes through large internal buffers.
class FtpFile {
public:
    ~FtpFile(); // closes (aborting when unfinished); the result is lost
    // Reads up to `size` bytes, blocking until that many arrived or the data
    // ended; `got` < size only at the end. False on time-out or drop.
    bool read(char *buffer, quint32 size, quint32 &got);
    bool write(const char *buffer, quint32 size, quint32 &written);
    // Ends the transfer. After the whole download or upload: reads the final
    // reply, a 4xx/5xx is a failure. In the middle of a download: ABOR and the
    // replies drained; the connection stays usable.
    bool close();
    qint64 bytesTransferred() const;
    // The byte of the file the transfer began at (see openFile()).
    qint64 startOffset() const;

private:
    friend class FtpConnection;
    friend class FtpConnectionPrivate;
    FtpFile();
    std::unique_ptr<FtpFilePrivate> d;
};

// ---- other services --------------------------------------------------------

// What the TLS library keeps for the calling thread, given back now. A
// thread that used a connection calls it last: left to the thread's exit, it
// runs after anyone waiting for the thread was told it ended, and at the end
// of the program it then races the library's own clean-up (a double free).
void releaseThreadState();

// True whenever a network interface is up, loopback included.
bool isOnline();

// Downloads an http/https URL into a file (no cache). A status outside 2xx,
// a time-out or a write error is a failure and leaves no file behind.
bool downloadUrlToFile(const QString &url, const QString &localPath, int timeoutMs = 30000);
// Requests a URL and forgets the answer (waits at most timeoutMs for it).
bool openUrl(const QString &url, int timeoutMs = 10000);

} // namespace inet
