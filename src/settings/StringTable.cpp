#include "settings/StringTable.h"

#include "session/SessionState.h"
#include "settings/StringTableFormat.h"

#include <QFile>
#include <QtDebug>

#include <algorithm>

namespace {

// Read once from the resource compiled into the program.
const QHash<int, QString> &table()
{
    static const QHash<int, QString> strings = [] {
        QFile file(QStringLiteral(":/strings.txt"));
        if (!file.open(QIODevice::ReadOnly)) {
            qWarning("string table: the compiled-in resource :/strings.txt is missing");
            return QHash<int, QString>();
        }
        QStringList problems;
        auto parsed = parseStringTable(QString::fromUtf8(file.readAll()), &problems);
        for (const QString &problem : problems)
            qWarning("string table: %s", qPrintable(problem));
        return parsed;
    }();
    return strings;
}

} // namespace

QString LoadResString(int id)
{
    const auto it = table().constFind(id);
    if (it != table().cend())
        return *it;
    return QStringLiteral("[%1]").arg(id);
}

QString LangStr(int frenchId)
{
    return LoadResString(frenchId + int(LanguageOffset));
}

bool HasResString(int id)
{
    return table().contains(id);
}

QList<int> AllResStringIds()
{
    QList<int> ids = table().keys();
    std::sort(ids.begin(), ids.end());
    return ids;
}
