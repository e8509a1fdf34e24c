#pragma once
// Local files for the transfer loops, which move data in small blocks: large
// buffers keep each block at the cost of a memcpy. Failures keep the errno so
// that the caller can show the system's own text.

#include "platform/BufferPool.h"

#include <QDateTime>
#include <QString>
#include <QStringList>

#include <functional>

namespace platform {

// Sees every byte that goes to (or comes from) the disk, a buffer at a time:
// a transfer hashes its file there instead of block by block.
using FileTap = std::function<void(const char *data, qint64 size)>;

class FileWriter {
public:
    FileWriter() = default;
    ~FileWriter();
    FileWriter(const FileWriter &) = delete;
    FileWriter &operator=(const FileWriter &) = delete;

    // Creates or truncates the file.
    bool open(const QString &path);
    // Keeps the first `offset` bytes of the file (made when missing) and
    // writes on from there: a transfer that resumes.
    bool openAt(const QString &path, qint64 offset);
    bool write(const char *data, qint64 size);
    bool close(); // flushes; false when the last bytes could not be written
    int error() const { return m_errno; }
    void setTap(FileTap tap) { m_tap = std::move(tap); }

private:
    bool flush();
    FileTap m_tap;
    int m_fd = -1;
    int m_errno = 0;
    PooledBuffer m_buffer;
    size_t m_used = 0;
};

class FileReader {
public:
    FileReader() = default;
    ~FileReader();
    FileReader(const FileReader &) = delete;
    FileReader &operator=(const FileReader &) = delete;

    bool open(const QString &path);
    qint64 size() const { return m_size; }
    // Fills exactly `size` bytes unless the file ends; -1 on a read error.
    qint64 read(char *data, qint64 size);
    // Reads on from byte `offset`.
    bool seek(qint64 offset);
    void close();
    int error() const { return m_errno; }
    void setTap(FileTap tap) { m_tap = std::move(tap); }

private:
    FileTap m_tap;
    int m_fd = -1;
    int m_errno = 0;
    qint64 m_size = 0;
    PooledBuffer m_buffer;
    size_t m_pos = 0;
    size_t m_end = 0;
};

// The size of a local file, or -1 (errno in *error) when it cannot be read.
qint64 localFileSize(const QString &path, int *error = nullptr);

// The names in a folder that no text can stand for (bytes that are not
// UTF-8): Qt's listings leave them out, so a caller that must not lose a
// file in silence asks here. Shown decoded, with replacement characters.
QStringList undecodableNames(const QString &folder);

// Sets only the last-write time of a file, given as local time.
bool setFileModificationTime(const QString &path, const QDateTime &local);

} // namespace platform
