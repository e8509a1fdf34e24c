#include "cli/PaneRows.h"

#include "session/FileTypes.h"
#include "session/SizeText.h"
#include "session/cdEnum.h"
#include "settings/StringTable.h"

#include <QDir>
#include <QFileInfo>

namespace cli {

QList<PaneRow> serverPaneRows(const cdEnum &listing)
{
    QList<PaneRow> rows;
    for (const cDItemAttribute &e : listing) {
        PaneRow row;
        row.name = e.Filename;
        row.isFolder = e.Directory;
        row.size = !e.Directory && e.FileSize == 0 ? QStringLiteral("0") : formatSizeText(e.FileSize);
        row.type = e.Directory ? LangStr(698) : GetFileExtension(e.Filename);
        row.when = dateTimeFromDateValue(e.LastWriteTime);
        row.date = formatGeneralDate(row.when);
        rows.append(row);
    }
    return rows;
}

QList<PaneRow> localPaneRows(const QString &folder)
{
    QList<PaneRow> rows;
    const QDir dir(folder);
    const auto sort = QDir::Name | QDir::IgnoreCase;
    for (const QFileInfo &info : dir.entryInfoList(QDir::Dirs | QDir::NoDotAndDotDot, sort)) {
        PaneRow row;
        row.name = info.fileName();
        row.type = LangStr(698);
        row.isFolder = true;
        rows.append(row);
    }
    for (const QFileInfo &info : dir.entryInfoList(QDir::Files, sort)) {
        PaneRow row;
        row.name = info.fileName();
        row.size = formatSizeText(info.size());
        row.type = GetFileExtension(info.fileName());
        row.when = info.lastModified();
        row.date = formatGeneralDate(row.when);
        rows.append(row);
    }
    return rows;
}

QStringList formatTable(const QList<PaneRow> &rows)
{
    qsizetype nameWidth = 0, sizeWidth = 0, typeWidth = 0;
    for (const PaneRow &r : rows) {
        nameWidth = qMax(nameWidth, r.name.size());
        sizeWidth = qMax(sizeWidth, r.size.size());
        typeWidth = qMax(typeWidth, r.type.size());
    }
    QStringList lines;
    for (const PaneRow &r : rows) {
        const QString line = r.name.leftJustified(nameWidth) + QStringLiteral("  ") + r.size.rightJustified(sizeWidth)
            + QStringLiteral("  ") + r.type.leftJustified(typeWidth) + QStringLiteral("  ") + r.date;
        qsizetype end = line.size();
        while (end > 0 && line.at(end - 1) == QLatin1Char(' '))
            --end;
        lines << line.left(end);
    }
    return lines;
}

QList<CompareRow> compareRows(const QList<PaneRow> &rows)
{
    QList<CompareRow> out;
    for (const PaneRow &r : rows) {
        if (isDotEntry(r.name))
            continue;
        out.append({r.name, r.size, comparison::dayText(r.when), r.type, r.isFolder});
    }
    return out;
}

} // namespace cli
