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
        if (e.sizeKnown) {
            row.size = !e.Directory && e.FileSize == 0 ? QStringLiteral("0") : formatSizeText(e.FileSize);
            // a size in blocks or with a unit is no byte count
            row.bytes = e.sizeRough ? -1 : e.FileSize;
        }
        row.type = e.isLink ? LangStr(870) : e.Directory ? LangStr(698) : GetFileExtension(e.Filename);
        if (e.timeKnown) {
            row.when = dateTimeFromDateValue(e.LastWriteTime);
            row.date = formatGeneralDate(row.when);
        }
        row.kind = e.isLink ? 'l' : e.Directory ? 'd' : e.Normal ? 'f' : 0;
        row.linkTarget = e.linkTarget;
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
        row.kind = 'd';
        rows.append(row);
    }
    for (const QFileInfo &info : dir.entryInfoList(QDir::Files, sort)) {
        PaneRow row;
        row.name = info.fileName();
        row.size = formatSizeText(info.size());
        row.type = GetFileExtension(info.fileName());
        row.when = info.lastModified();
        row.date = formatGeneralDate(row.when);
        row.bytes = info.size();
        row.kind = 'f';
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

namespace {

QString tsvField(QString text)
{
    text.replace(QLatin1Char('\\'), QStringLiteral("\\\\"));
    text.replace(QLatin1Char('\t'), QStringLiteral("\\t"));
    text.replace(QLatin1Char('\r'), QStringLiteral("\\r"));
    text.replace(QLatin1Char('\n'), QStringLiteral("\\n"));
    return text;
}

} // namespace

QStringList formatTsv(const QList<PaneRow> &rows)
{
    QStringList lines;
    lines.reserve(rows.size());
    for (const PaneRow &r : rows) {
        QString line = (r.bytes >= 0 ? QString::number(r.bytes) : QString()) + QLatin1Char('\t')
            + (r.when.isValid() ? r.when.toString(QStringLiteral("yyyy-MM-ddTHH:mm:ss")) : QString())
            + QLatin1Char('\t') + (r.kind ? QString(QLatin1Char(r.kind)) : QString()) + QLatin1Char('\t')
            + tsvField(r.name);
        if (r.kind == 'l')
            line += QLatin1Char('\t') + tsvField(r.linkTarget);
        lines << line;
    }
    return lines;
}

QList<CompareRow> compareRows(const QList<PaneRow> &rows)
{
    QList<CompareRow> out;
    for (const PaneRow &r : rows) {
        if (isDotEntry(r.name))
            continue;
        // A size that is no exact byte count cannot be compared with one.
        const bool exact = r.bytes >= 0 || r.size.isEmpty();
        out.append({r.name, exact ? r.size : QString(), comparison::dayText(r.when), r.type, r.isFolder});
    }
    return out;
}

} // namespace cli
