#include "transfer/QueueModel.h"

#include "session/DateValue.h"
#include "session/SizeText.h"
#include "settings/StringTable.h"

#include <algorithm>
#include <cmath>

namespace {

// 1536 -> "1.5 KiB": the amounts as people read them.
QString readableBytes(qint64 bytes)
{
    static const char *units[] = {"B", "KiB", "MiB", "GiB", "TiB"};
    double value = double(qMax<qint64>(bytes, 0));
    int unit = 0;
    while (value >= 1024 && unit < 4) {
        value /= 1024;
        ++unit;
    }
    return unit == 0 ? QStringLiteral("%1 B").arg(bytes)
                     : QStringLiteral("%1 %2").arg(value, 0, 'f', 1).arg(QLatin1String(units[unit]));
}

// Thousands of bytes a second -> "12.3 MB/s".
QString readableSpeed(double kiloBytes)
{
    const double bytes = kiloBytes * 1000;
    if (bytes >= 1e9)
        return QStringLiteral("%1 GB/s").arg(bytes / 1e9, 0, 'f', 2);
    if (bytes >= 1e6)
        return QStringLiteral("%1 MB/s").arg(bytes / 1e6, 0, 'f', 1);
    return QStringLiteral("%1 kB/s").arg(bytes / 1e3, 0, 'f', 1);
}

} // namespace

// HH:MM:SS, hours going on past a day rather than wrapping.
QString queueTimeText(double seconds)
{
    qint64 total = qint64(std::floor(seconds < 0 ? 0 : seconds));
    const qint64 hours = total / 3600;
    total -= hours * 3600;
    return QStringLiteral("%1:%2:%3")
        .arg(hours, 2, 10, QLatin1Char('0'))
        .arg(total / 60, 2, 10, QLatin1Char('0'))
        .arg(total % 60, 2, 10, QLatin1Char('0'));
}

QueueModel::QueueModel(QObject *parent) : QAbstractTableModel(parent)
{
    static const char *designTexts[QueueRow::ColumnCount] = {
        "File Name", "Local", "Remote", "Host", "Size (Bytes)", "Status",
        "Progress", "Vitesse", "detail", "Temps", "Date"};
    for (int i = 0; i < QueueRow::ColumnCount; ++i)
        m_headers[i] = QString::fromLatin1(designTexts[i]);
}

int QueueModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : count();
}

int QueueModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(QueueRow::ColumnCount);
}

namespace {
QString cellText(const QueueRow &r, int column)
{
    switch (column) {
    case QueueRow::Name: return r.name;
    case QueueRow::Local: return r.local;
    case QueueRow::Remote: return r.remote;
    case QueueRow::Host: return r.host;
    case QueueRow::Size: return r.size < 0 ? QString() : formatSizeText(r.size);
    case QueueRow::Status: return r.isDownload() ? QueueModel::DownloadStatus : LangStr(522);
    case QueueRow::Speed:
        return r.speed < 0 ? QString() : QString::number(r.speed, 'f', 2) + QStringLiteral(" Kbps");
    case QueueRow::Detail:
        if (r.speed < 0 && r.total == 0)
            return QString();
        return QStringLiteral("%1 %2 %3 KB").arg(r.done / 1024).arg(LangStr(539)).arg(r.total / 1024);
    case QueueRow::TimeLeft: return r.timeLeft < 0 ? QString() : queueTimeText(r.timeLeft);
    case QueueRow::RemoteDate: return r.remoteDate.isValid() ? formatGeneralDate(r.remoteDate) : QString();
    default: return QString();
    }
}
} // namespace

QString QueueModel::text(int index, int column) const
{
    return index < 0 || index >= count() ? QString() : cellText(row(index), column);
}

QVariant QueueModel::rawValue(const QueueRow &r, int column) const
{
    switch (column) {
    case QueueRow::Size: return r.size;
    case QueueRow::Speed: return r.speed;
    case QueueRow::Detail: return r.done;
    case QueueRow::TimeLeft: return r.timeLeft;
    case QueueRow::RemoteDate: return r.remoteDate;
    default: return cellText(r, column);
    }
}

QVariant QueueModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= count())
        return QVariant();
    const QueueRow &r = row(index.row());
    const int column = index.column();
    if (role == Qt::DisplayRole)
        return text(index.row(), column);
    if (role == Qt::ToolTipRole) {
        if (column == QueueRow::Speed && r.speed >= 0)
            return readableSpeed(r.speed);
        if (column == QueueRow::Detail && (r.speed >= 0 || r.total > 0))
            return QStringLiteral("%1 / %2").arg(readableBytes(r.done), readableBytes(r.total));
        if (column == QueueRow::Size && r.size >= 0)
            return readableBytes(r.size);
        return text(index.row(), column);
    }
    if (role == RawValueRole)
        return rawValue(r, column);
    if (role == Qt::DecorationRole && column == 0 && m_iconProvider)
        return m_iconProvider(r.iconKey);
    return QVariant();
}

QVariant QueueModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section >= 0
        && section < QueueRow::ColumnCount)
        return m_headers[section];
    return QAbstractTableModel::headerData(section, orientation, role);
}

bool QueueModel::setHeaderData(int section, Qt::Orientation orientation, const QVariant &value, int role)
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0
        || section >= QueueRow::ColumnCount)
        return false;
    m_headers[section] = value.toString();
    emit headerDataChanged(orientation, section, section);
    return true;
}

void QueueModel::sort(int column, Qt::SortOrder order)
{
    if (column < 0 || column >= QueueRow::ColumnCount)
        return;
    emit layoutAboutToBeChanged();
    // Sizes and dates by value, the other columns by their text.
    std::stable_sort(m_rows.begin(), m_rows.end(), [&](const QueueRow &a, const QueueRow &b) {
        int c = 0;
        if (column == QueueRow::Size)
            c = a.size < b.size ? -1 : a.size > b.size ? 1 : 0;
        else if (column == QueueRow::RemoteDate)
            c = a.remoteDate < b.remoteDate ? -1 : b.remoteDate < a.remoteDate ? 1 : 0;
        else
            c = QString::compare(cellText(a, column), cellText(b, column), Qt::CaseInsensitive);
        return order == Qt::AscendingOrder ? c < 0 : c > 0;
    });
    emit layoutChanged();
}

quint64 QueueModel::append(QueueRow r)
{
    r.id = ++m_lastId;
    beginInsertRows(QModelIndex(), count(), count());
    m_rows.push_back(std::move(r));
    endInsertRows();
    return m_lastId;
}

int QueueModel::indexOf(quint64 id) const
{
    for (size_t i = 0; i < m_rows.size(); ++i)
        if (m_rows[i].id == id)
            return int(i);
    return -1;
}

void QueueModel::remove(quint64 id)
{
    const int p = indexOf(id);
    if (p < 0)
        return;
    beginRemoveRows(QModelIndex(), p, p);
    m_rows.erase(m_rows.begin() + p);
    endRemoveRows();
}

void QueueModel::removeRows(QList<int> positions)
{
    std::sort(positions.begin(), positions.end(), std::greater<int>());
    positions.erase(std::unique(positions.begin(), positions.end()), positions.end());
    for (int p : positions) {
        if (p < 0 || p >= count())
            continue;
        beginRemoveRows(QModelIndex(), p, p);
        m_rows.erase(m_rows.begin() + p);
        endRemoveRows();
    }
}

void QueueModel::clear()
{
    if (m_rows.empty())
        return;
    beginResetModel();
    m_rows.clear();
    endResetModel();
}

int QueueModel::firstWaiting() const
{
    for (size_t i = 0; i < m_rows.size(); ++i)
        if (!m_rows[i].isRunning())
            return int(i);
    return -1;
}

int QueueModel::runningCount() const
{
    return int(std::count_if(m_rows.begin(), m_rows.end(), [](const QueueRow &r) { return r.isRunning(); }));
}

void QueueModel::setState(quint64 id, QueueRow::State state)
{
    const int p = indexOf(id);
    if (p < 0 || m_rows[size_t(p)].state == state)
        return;
    m_rows[size_t(p)].state = state;
    emit dataChanged(index(p, 0), index(p, QueueRow::ColumnCount - 1), {Qt::DisplayRole});
}

void QueueModel::setProgress(quint64 id, qint64 done, qint64 total, double speed, double timeLeft)
{
    const int p = indexOf(id);
    if (p < 0)
        return;
    QueueRow &r = m_rows[size_t(p)];
    r.done = done;
    r.total = total;
    r.speed = speed;
    r.timeLeft = timeLeft;
    // Only the figures changed: the row is not measured again.
    emit dataChanged(index(p, QueueRow::Progress), index(p, QueueRow::TimeLeft), {Qt::DisplayRole});
}

bool QueueModel::containsName(const QString &name) const
{
    return std::any_of(m_rows.begin(), m_rows.end(), [&](const QueueRow &r) { return r.name == name; });
}

void QueueModel::setIconProvider(std::function<QVariant(const QString &)> provider)
{
    m_iconProvider = std::move(provider);
}
