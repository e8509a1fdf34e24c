#pragma once
// Line-based access to the program's small 8-bit text files (options, sites,
// folders, update files): Windows-1252 text, CR LF line ends.

#include "settings/FileResult.h"

#include <QString>
#include <QStringList>

namespace textfile {

struct Lines {
    // False only when the file exists and could not be read: callers must then
    // not rewrite it, or they would throw away what they could not see.
    bool ok = true;
    QStringList lines;  // without their line ends; a missing file has none
    QString error;      // why the file could not be read
};

// Splits on LF, drops the CR before it; a last line without a line end counts.
Lines readLines(const QString &path);

// Writes every line followed by CR LF into a temporary file beside path and
// renames it over path, so a crash or a full disk never leaves half a file.
FileResult writeLines(const QString &path, const QStringList &lines);

} // namespace textfile
