#include "transfer/Comparison.h"

#include "session/SizeText.h"
#include "transfer/QueueModel.h"

#include <QMultiHash>

namespace {

// The panes write sizes with group spaces and an empty file differently
// ("  0" locally, "0" on the server): the same byte count is the same size.
// A size the listing did not give (an empty cell) cannot be compared: it
// differs from nothing.
bool sizesDiffer(const QString &a, const QString &b)
{
    if (a.trimmed().isEmpty() || b.trimmed().isEmpty())
        return false;
    qint64 x = 0, y = 0;
    if (parseSizeText(a, x) && parseSizeText(b, y))
        return x != y;
    return a != b;
}

} // namespace

CompareMark CompareFlags::mark() const
{
    if (!found)
        return CompareMark::Missing;
    if (sizeDiff)
        return CompareMark::SizeDiffers;
    if (dateDiff)
        return CompareMark::DateDiffers;
    return CompareMark::None;
}

namespace comparison {

QList<CompareFlags> compareRows(const QList<CompareRow> &rows, const QList<CompareRow> &other)
{
    // Every row of the other list with the same name counts; an index by
    // name keeps large folders from costing rows x rows comparisons.
    QMultiHash<QString, const CompareRow *> byName;
    byName.reserve(other.size());
    for (const CompareRow &o : other)
        byName.insert(o.name, &o);
    QList<CompareFlags> out;
    out.reserve(rows.size());
    for (const CompareRow &r : rows) {
        CompareFlags flags;
        for (auto it = byName.constFind(r.name); it != byName.cend() && it.key() == r.name; ++it) {
            const CompareRow &o = **it;
            flags.found = true;
            // A folder's size and date say nothing about its content (the
            // local pane shows neither, the server a figure of its own), so
            // two folders of the same name count as equal.
            if (r.isFolder && o.isFolder)
                continue;
            // A folder and a file of one name are not the same thing, whatever
            // their columns say (a folder may show no size at all).
            if (r.isFolder != o.isFolder) {
                flags.sizeDiff = true;
                continue;
            }
            if (sizesDiffer(o.sizeText, r.sizeText))
                flags.sizeDiff = true;
            // The same for a date the listing did not give.
            if (o.dateText != r.dateText && !o.dateText.isEmpty() && !r.dateText.isEmpty())
                flags.dateDiff = true;
        }
        out.append(flags);
    }
    return out;
}

CompareResult CompareLists(const QList<CompareRow> &local, const QList<CompareRow> &server)
{
    CompareResult result;
    result.server = compareRows(server, local);
    result.local = compareRows(local, server);
    return result;
}

bool selects(const QString &key, const CompareFlags &flags)
{
    if (key == KeyMissing)
        return !flags.found;
    if (key == KeySize)
        return flags.found && flags.sizeDiff;
    if (key == KeyDate)
        return flags.found && flags.dateDiff;
    return false;
}

bool IsQueued(const QueueModel &queue, const QString &name)
{
    return queue.containsName(name);
}

QList<int> rowsToQueue(const QString &key, const QList<CompareRow> &rows, const QList<CompareFlags> &flags,
                       const QueueModel &queue)
{
    QList<int> out;
    const qsizetype n = qMin(rows.size(), flags.size());
    for (qsizetype i = 0; i < n; ++i) {
        if (selects(key, flags.at(i)) && !IsQueued(queue, rows.at(i).name))
            out.append(int(i));
    }
    return out;
}

QString dayText(const QDateTime &local)
{
    return local.isValid() ? local.date().toString(QStringLiteral("yyyy-MM-dd")) : QString();
}

QString dayText(DateValue value)
{
    return dayText(dateTimeFromDateValue(value));
}

QString dayTextOfPaneDate(const QString &paneDate)
{
    return dayText(parseGeneralDate(paneDate));
}

} // namespace comparison
