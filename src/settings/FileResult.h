#pragma once
// Outcome of an operation on one of the program's small data files.
// The design's callers often ignore it; a window that wants to can show error()
// in its log or a message box. A failed save never leaves a half-written file.

#include <QString>

class FileResult {
public:
    static FileResult success() { return FileResult(); }
    static FileResult failure(const QString &error) { return FileResult(error); }

    bool ok() const { return m_error.isEmpty(); }
    explicit operator bool() const { return ok(); }
    // A sentence the user can read; empty on success.
    QString error() const { return m_error; }

private:
    FileResult() = default;
    explicit FileResult(const QString &error) : m_error(error.isEmpty() ? QStringLiteral("?") : error) {}
    QString m_error;
};
