#pragma once
// Test data on the local disk: whole files, repeatable random contents, and a
// folder tree as relative path -> content hash for byte-for-byte comparisons.

#include <QCryptographicHash>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <QRandomGenerator>

namespace testfiles {

// A file that cannot be read gives "<missing>", which no test content equals.
inline QByteArray readFile(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

// Writes `data`, making the folders above it first.
inline bool writeFile(const QString &path, const QByteArray &data)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(data) == data.size();
}

// Empties a folder, keeping the folder itself.
inline void clearFolder(const QString &root)
{
    const auto entries = QDir(root).entryInfoList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System);
    for (const QFileInfo &info : entries) {
        if (info.isDir() && !info.isSymLink())
            QDir(info.absoluteFilePath()).removeRecursively();
        else
            QFile::remove(info.absoluteFilePath());
    }
}

inline QByteArray randomBytes(qsizetype size, quint32 seed)
{
    QRandomGenerator gen(seed);
    QByteArray data(size, Qt::Uninitialized);
    for (qsizetype i = 0; i < size; ++i)
        data[i] = char(gen.generate() & 0xff);
    return data;
}

inline QByteArray sha256(const QByteArray &data) { return QCryptographicHash::hash(data, QCryptographicHash::Sha256).toHex(); }

// Relative path -> content hash of every file below `root`.
inline QMap<QString, QByteArray> treeOf(const QString &root)
{
    QMap<QString, QByteArray> out;
    QDirIterator it(root, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        out.insert(QDir(root).relativeFilePath(path), sha256(readFile(path)));
    }
    return out;
}

} // namespace testfiles
