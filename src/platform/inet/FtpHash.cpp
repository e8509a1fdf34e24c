// Verifying a transfer: the server's size and hash of a file (SIZE, HASH and
// the older X commands), our own hash of the bytes as they stream, and the
// file's time on the server (MFMT).
#include "platform/inet/FtpConnection_p.h"

#include <openssl/evp.h>

#include <algorithm>
#include <condition_variable>
#include <cstring>
#include <deque>
#include <mutex>
#include <thread>
#include <vector>

namespace inet {

using detail::Reply;

namespace {

const EVP_MD *evpOf(HashAlgorithm algorithm)
{
    switch (algorithm) {
    case HashAlgorithm::Md5: return EVP_md5();
    case HashAlgorithm::Sha1: return EVP_sha1();
    case HashAlgorithm::Sha256: return EVP_sha256();
    case HashAlgorithm::None: break;
    }
    return nullptr;
}

int digestLength(HashAlgorithm algorithm)
{
    switch (algorithm) {
    case HashAlgorithm::Md5: return 16;
    case HashAlgorithm::Sha1: return 20;
    case HashAlgorithm::Sha256: return 32;
    case HashAlgorithm::None: break;
    }
    return 0;
}

HashAlgorithm algorithmNamed(QByteArray name)
{
    name = name.trimmed().toUpper();
    if (name == "SHA-256")
        return HashAlgorithm::Sha256;
    if (name == "SHA-1")
        return HashAlgorithm::Sha1;
    if (name == "MD5")
        return HashAlgorithm::Md5;
    return HashAlgorithm::None;
}

bool isHex(const QByteArray &word)
{
    for (char c : word)
        if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F')))
            return false;
    return !word.isEmpty();
}

} // namespace

QByteArray hashName(HashAlgorithm algorithm)
{
    switch (algorithm) {
    case HashAlgorithm::Md5: return "MD5";
    case HashAlgorithm::Sha1: return "SHA-1";
    case HashAlgorithm::Sha256: return "SHA-256";
    case HashAlgorithm::None: break;
    }
    return QByteArray();
}

// ---- our side ------------------------------------------------------------------

// The blocks are copied into pieces of 1 MiB that a thread of its own hashes
// in order: the hash runs beside the transfer on another core, and what is
// left of it when the last byte came overlaps the server's own hashing.
// A few pieces in flight at most: a slow hash holds the transfer back
// rather than filling the memory.
struct Digest::Hasher {
    static constexpr size_t kPiece = 1 << 20;
    static constexpr int kPieces = 8;

    explicit Hasher(const EVP_MD *md) : context(EVP_MD_CTX_new())
    {
        EVP_DigestInit_ex(context, md, nullptr);
        filling.reserve(kPiece);
        thread = std::thread([this] { hashPieces(); });
    }
    ~Hasher()
    {
        {
            std::lock_guard lock(mutex);
            quit = true;
        }
        changed.notify_all();
        thread.join();
        EVP_MD_CTX_free(context);
    }

    void hashPieces()
    {
        std::unique_lock lock(mutex);
        for (;;) {
            changed.wait(lock, [this] { return quit || !full.empty(); });
            if (full.empty())
                return;
            std::vector<char> piece = std::move(full.front());
            full.pop_front();
            busy = true;
            lock.unlock();
            EVP_DigestUpdate(context, piece.data(), piece.size());
            piece.clear();
            lock.lock();
            busy = false;
            spare.push_back(std::move(piece));
            changed.notify_all();
        }
    }

    // The piece being filled goes to the thread; the next one is a spare.
    void handOver()
    {
        std::unique_lock lock(mutex);
        full.push_back(std::move(filling));
        ++inFlight;
        changed.notify_all();
        if (spare.empty() && inFlight >= kPieces)
            changed.wait(lock, [this] { return !spare.empty(); });
        if (!spare.empty()) {
            filling = std::move(spare.back());
            spare.pop_back();
            --inFlight;
        } else {
            filling = std::vector<char>();
            filling.reserve(kPiece);
        }
    }

    void add(const char *data, size_t size)
    {
        while (size > 0) {
            const size_t n = std::min(size, kPiece - filling.size());
            filling.insert(filling.end(), data, data + n);
            data += n;
            size -= n;
            if (filling.size() == kPiece)
                handOver();
        }
    }

    QByteArray finish()
    {
        if (!filling.empty())
            handOver();
        std::unique_lock lock(mutex);
        changed.wait(lock, [this] { return full.empty() && !busy; });
        unsigned char out[EVP_MAX_MD_SIZE];
        unsigned int length = 0;
        EVP_DigestFinal_ex(context, out, &length);
        return QByteArray(reinterpret_cast<const char *>(out), int(length));
    }

    EVP_MD_CTX *context;
    std::vector<char> filling;
    std::mutex mutex;
    std::condition_variable changed;
    std::deque<std::vector<char>> full;
    std::vector<std::vector<char>> spare;
    int inFlight = 0; // pieces made and not back as spares
    bool busy = false;
    bool quit = false;
    std::thread thread;
};

Digest::Digest(HashAlgorithm algorithm) { reset(algorithm); }

Digest::~Digest() = default;

void Digest::reset(HashAlgorithm algorithm)
{
    m_algorithm = algorithm;
    d.reset();
    if (const EVP_MD *md = evpOf(algorithm))
        d = std::make_unique<Hasher>(md);
}

void Digest::addData(const char *data, qsizetype size)
{
    if (d && size > 0)
        d->add(data, size_t(size));
}

QByteArray Digest::result()
{
    if (!d)
        return QByteArray();
    const QByteArray out = d->finish();
    reset(m_algorithm);
    return out;
}

// ---- the server's side -------------------------------------------------------------

void parseHashFeature(const QByteArray &list, FtpFeatures &features)
{
    features.hash.clear();
    features.hashSelected = HashAlgorithm::None;
    for (QByteArray name : list.trimmed().split(';')) {
        const bool selected = name.trimmed().endsWith('*');
        if (selected)
            name = name.trimmed().chopped(1);
        const HashAlgorithm algorithm = algorithmNamed(name);
        if (algorithm == HashAlgorithm::None)
            continue;
        features.hash.append(algorithm);
        if (selected)
            features.hashSelected = algorithm;
    }
}

QByteArray digestInReply(const QByteArray &text, HashAlgorithm algorithm)
{
    const int hexLength = 2 * digestLength(algorithm);
    const QByteArray first = text.left(text.indexOf('\r'));
    // "213 SHA-256 0-1023 9f86d0... name" or "213 9f86d0...": the code first,
    // a name (which may look like anything) last.
    const QList<QByteArray> words = first.mid(4).split(' ');
    for (const QByteArray &word : words)
        if (word.size() == hexLength && isHex(word))
            return QByteArray::fromHex(word);
    return QByteArray();
}

bool FtpConnection::fileSize(const QString &name, qint64 &size)
{
    size = -1;
    const QByteArray line = "SIZE " + encodeName(name);
    if (FtpConnectionPrivate::isUnsafeLine(line))
        return d->fail(ErrorLineBreak);
    // The size in bytes is the binary one (servers refuse SIZE in ASCII).
    Reply reply;
    if (!d->usable(false) || !d->setType('I') || !d->exchange(line, reply))
        return false;
    bool ok = false;
    const qint64 value = reply.text.mid(4, reply.text.indexOf('\r') - 4).trimmed().toLongLong(&ok);
    if (reply.code != 213 || !ok || value < 0)
        return d->fail(ErrorExtended);
    size = value;
    return d->succeed();
}

HashAlgorithm FtpConnection::bestHash() const
{
    const FtpFeatures &f = d->features;
    if (f.hash.contains(HashAlgorithm::Sha256) || f.xsha256)
        return HashAlgorithm::Sha256;
    if (f.hash.contains(HashAlgorithm::Sha1) || f.xsha1)
        return HashAlgorithm::Sha1;
    if (f.hash.contains(HashAlgorithm::Md5) || f.xmd5)
        return HashAlgorithm::Md5;
    return HashAlgorithm::None;
}

bool FtpConnection::fileHash(const QString &name, HashAlgorithm algorithm, QByteArray &digest)
{
    digest.clear();
    FtpFeatures &f = d->features;
    QByteArray verb;
    if (f.hash.contains(algorithm)) {
        if (f.hashSelected != algorithm) {
            if (!d->usable(false) || !d->simple("OPTS HASH " + hashName(algorithm)))
                return false;
            f.hashSelected = algorithm;
        }
        verb = "HASH ";
    } else if (algorithm == HashAlgorithm::Sha256 && f.xsha256) {
        verb = "XSHA256 ";
    } else if (algorithm == HashAlgorithm::Sha1 && f.xsha1) {
        verb = "XSHA1 ";
    } else if (algorithm == HashAlgorithm::Md5 && f.xmd5) {
        verb = "XMD5 ";
    } else {
        return d->fail(ErrorInternal);
    }
    const QByteArray line = verb + encodeName(name);
    if (FtpConnectionPrivate::isUnsafeLine(line))
        return d->fail(ErrorLineBreak);
    Reply reply;
    if (!d->usable(false) || !d->exchange(line, reply))
        return false;
    if (reply.kind() != 2)
        return d->fail(ErrorExtended);
    digest = digestInReply(reply.text, algorithm);
    return digest.isEmpty() ? d->fail(ErrorExtended) : d->succeed();
}

bool FtpConnection::setFileTime(const QString &name, const QDateTime &utc)
{
    if (!d->features.mfmt || !utc.isValid())
        return d->fail(ErrorInternal);
    const QByteArray line = "MFMT " + utc.toUTC().toString(QStringLiteral("yyyyMMddHHmmss")).toLatin1() + ' '
                            + encodeName(name);
    if (FtpConnectionPrivate::isUnsafeLine(line))
        return d->fail(ErrorLineBreak);
    return d->usable(false) && d->simple(line);
}

} // namespace inet
