#include "transfer/QueueModel.h"

#include <algorithm>

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

QVariant QueueModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= count())
        return QVariant();
    const QueueRow &r = row(index.row());
    if (role == Qt::DisplayRole || role == Qt::ToolTipRole)
        return r.text[index.column()];
    if (role == Qt::DecorationRole && index.column() == 0 && m_iconProvider)
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
    std::stable_sort(m_rows.begin(), m_rows.end(), [&](const QueueRow &a, const QueueRow &b) {
        const int c = QString::compare(a.text[column], b.text[column], Qt::CaseInsensitive);
        return order == Qt::AscendingOrder ? c < 0 : c > 0;
    });
    emit layoutChanged();
}

void QueueModel::append(const QueueRow &r)
{
    beginInsertRows(QModelIndex(), count(), count());
    m_rows.push_back(r);
    endInsertRows();
}

void QueueModel::removeFirst()
{
    if (m_rows.empty())
        return;
    beginRemoveRows(QModelIndex(), 0, 0);
    m_rows.pop_front();
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

void QueueModel::setCell(int r, int column, const QString &text)
{
    if (r < 0 || r >= count() || column < 0 || column >= QueueRow::ColumnCount)
        return;
    QString &cell = m_rows[size_t(r)].text[column];
    if (cell == text)
        return;
    cell = text;
    const QModelIndex i = index(r, column);
    emit dataChanged(i, i, {Qt::DisplayRole});
}

bool QueueModel::containsName(const QString &name) const
{
    return std::any_of(m_rows.begin(), m_rows.end(),
                       [&](const QueueRow &r) { return r.text[QueueRow::Name] == name; });
}

QueueHeadRow QueueModel::headRow() const
{
    QueueHeadRow head;
    if (m_rows.empty())
        return head;
    const QueueRow &r = m_rows.front();
    head.exists = true;
    head.text = r.text[QueueRow::Name];
    head.local = r.text[QueueRow::Local];
    head.size = r.text[QueueRow::Size];
    head.remoteDate = r.text[QueueRow::RemoteDate];
    return head;
}

void QueueModel::setIconProvider(std::function<QVariant(const QString &)> provider)
{
    m_iconProvider = std::move(provider);
}
