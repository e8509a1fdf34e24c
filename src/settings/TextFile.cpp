#include "settings/TextFile.h"

#include "settings/Cp1252.h"
#include "settings/StringTable.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>

namespace textfile {
namespace {

QString describe(int frenchId, const QString &path, const QString &reason)
{
    return QStringLiteral("%1 %2 (%3)").arg(LangStr(frenchId), QDir::toNativeSeparators(path), reason);
}

} // namespace

Lines readLines(const QString &path)
{
    Lines result;
    QFile file(path);
    if (!file.exists())
        return result;
    if (!file.open(QIODevice::ReadOnly)) {
        result.ok = false;
        result.error = describe(702, path, file.errorString());
        return result;
    }
    const QByteArray bytes = file.readAll();
    if (bytes.isEmpty())
        return result;
    QList<QByteArray> raw = bytes.split('\n');
    if (bytes.endsWith('\n'))
        raw.removeLast();
    result.lines.reserve(raw.size());
    for (QByteArray &line : raw) {
        if (line.endsWith('\r'))
            line.chop(1);
        result.lines.append(cp1252::decode(line));
    }
    return result;
}

FileResult writeLines(const QString &path, const QStringList &lines)
{
    QByteArray bytes;
    for (const QString &line : lines) {
        bytes += cp1252::encode(line);
        bytes += "\r\n";
    }
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return FileResult::failure(describe(701, path, file.errorString()));
    // Without commit() the temporary file is removed and path stays as it was.
    if (file.write(bytes) != bytes.size())
        return FileResult::failure(describe(701, path, file.errorString()));
    if (!file.commit())
        return FileResult::failure(describe(701, path, file.errorString()));
    return FileResult::success();
}

} // namespace textfile
