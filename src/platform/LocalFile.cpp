#include "platform/LocalFile.h"

#include <QFile>

#include <cerrno>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {
namespace {
constexpr size_t kBufferSize = 1 << 20;

QByteArray nativePath(const QString &path)
{
    return QFile::encodeName(path);
}
} // namespace

FileWriter::~FileWriter()
{
    close();
}

bool FileWriter::open(const QString &path)
{
    close();
    m_fd = ::open(nativePath(path).constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    m_errno = m_fd < 0 ? errno : 0;
    if (!m_buffer)
        m_buffer = takeBuffer(kBufferSize);
    m_used = 0;
    return m_fd >= 0;
}

bool FileWriter::openAt(const QString &path, qint64 offset)
{
    if (offset <= 0)
        return open(path);
    close();
    m_fd = ::open(nativePath(path).constData(), O_WRONLY | O_CREAT | O_CLOEXEC, 0666);
    m_errno = m_fd < 0 ? errno : 0;
    if (m_fd >= 0 && (::ftruncate(m_fd, off_t(offset)) != 0 || ::lseek(m_fd, off_t(offset), SEEK_SET) < 0)) {
        m_errno = errno;
        ::close(m_fd);
        m_fd = -1;
    }
    if (!m_buffer)
        m_buffer = takeBuffer(kBufferSize);
    m_used = 0;
    return m_fd >= 0;
}

bool FileWriter::flush()
{
    if (m_tap && m_used > 0)
        m_tap(m_buffer.get(), qint64(m_used));
    size_t done = 0;
    while (done < m_used) {
        const ssize_t n = ::write(m_fd, m_buffer.get() + done, m_used - done);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            m_errno = errno;
            return false;
        }
        done += size_t(n);
    }
    m_used = 0;
    return true;
}

bool FileWriter::write(const char *data, qint64 size)
{
    if (m_fd < 0)
        return false;
    while (size > 0) {
        const size_t room = kBufferSize - m_used;
        const size_t chunk = size_t(qMin<qint64>(size, qint64(room)));
        std::memcpy(m_buffer.get() + m_used, data, chunk);
        m_used += chunk;
        data += chunk;
        size -= qint64(chunk);
        if (m_used == kBufferSize && !flush())
            return false;
    }
    return true;
}

bool FileWriter::close()
{
    if (m_fd < 0)
        return m_errno == 0;
    bool ok = flush();
    if (::close(m_fd) != 0 && ok) {
        m_errno = errno;
        ok = false;
    }
    m_fd = -1;
    m_buffer.reset();
    return ok;
}

FileReader::~FileReader()
{
    close();
}

bool FileReader::open(const QString &path)
{
    close();
    m_fd = ::open(nativePath(path).constData(), O_RDONLY | O_CLOEXEC);
    if (m_fd < 0) {
        m_errno = errno;
        return false;
    }
    struct stat st;
    if (fstat(m_fd, &st) != 0 || S_ISDIR(st.st_mode)) {
        m_errno = S_ISDIR(st.st_mode) ? EISDIR : errno;
        close();
        return false;
    }
    m_size = st.st_size;
    if (!m_buffer)
        m_buffer = takeBuffer(kBufferSize);
    m_pos = m_end = 0;
    return true;
}

qint64 FileReader::read(char *data, qint64 size)
{
    qint64 done = 0;
    while (done < size) {
        if (m_pos == m_end) {
            const ssize_t n = ::read(m_fd, m_buffer.get(), kBufferSize);
            if (n < 0) {
                if (errno == EINTR)
                    continue;
                m_errno = errno;
                return -1;
            }
            if (n == 0)
                break;
            m_pos = 0;
            m_end = size_t(n);
            if (m_tap)
                m_tap(m_buffer.get(), n);
        }
        const size_t chunk = size_t(qMin<qint64>(size - done, qint64(m_end - m_pos)));
        std::memcpy(data + done, m_buffer.get() + m_pos, chunk);
        m_pos += chunk;
        done += qint64(chunk);
    }
    return done;
}

bool FileReader::seek(qint64 offset)
{
    if (m_fd < 0 || ::lseek(m_fd, off_t(offset), SEEK_SET) < 0) {
        m_errno = m_fd < 0 ? EBADF : errno;
        return false;
    }
    m_pos = m_end = 0;
    return true;
}

void FileReader::close()
{
    if (m_fd >= 0)
        ::close(m_fd);
    m_fd = -1;
    m_buffer.reset();
}

qint64 localFileSize(const QString &path, int *error)
{
    FileReader reader;
    if (!reader.open(path)) {
        if (error)
            *error = reader.error();
        return -1;
    }
    return reader.size();
}

QStringList undecodableNames(const QString &folder)
{
    QStringList names;
    DIR *dir = ::opendir(nativePath(folder).constData());
    if (!dir)
        return names;
    while (const dirent *entry = ::readdir(dir)) {
        const QByteArray raw(entry->d_name);
        const QString name = QFile::decodeName(raw);
        if (QFile::encodeName(name) != raw)
            names << name;
    }
    ::closedir(dir);
    return names;
}

bool setFileModificationTime(const QString &path, const QDateTime &local)
{
    if (!local.isValid())
        return false;
    const qint64 ms = local.toMSecsSinceEpoch();
    timespec times[2];
    times[0].tv_sec = 0;
    times[0].tv_nsec = UTIME_OMIT; // access time untouched
    times[1].tv_sec = time_t(ms / 1000);
    times[1].tv_nsec = long((ms % 1000) * 1'000'000);
    return utimensat(AT_FDCWD, nativePath(path).constData(), times, 0) == 0;
}

} // namespace platform
