#include "mainwindow/PaneModel.h"

#include "session/SizeText.h"

#include <QMimeData>

#include <algorithm>
#include <numeric>

PaneModel::PaneModel(bool plainZero, QObject *parent) : QAbstractTableModel(parent), m_plainZero(plainZero) {}

QString PaneModel::dragMimeType()
{
    return QStringLiteral("application/x-tarvoftp-pane-rows");
}

int PaneModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : count();
}

int PaneModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(ColumnCount);
}

const PaneModel::Texts &PaneModel::texts(int r) const
{
    Texts &t = m_texts[size_t(r)];
    if (!t.made) {
        const PaneRow &row = m_rows[size_t(r)];
        if (row.showsSize)
            t.size = (m_plainZero && row.size == 0) ? QStringLiteral("0") : formatSizeText(row.size);
        if (row.showsDate)
            t.date = formatGeneralDate(row.date);
        t.made = true;
    }
    return t;
}

QString PaneModel::text(int r, int column) const
{
    if (r < 0 || r >= count())
        return QString();
    switch (column) {
    case NameColumn: return m_rows[size_t(r)].name;
    case SizeColumn: return texts(r).size;
    case TypeColumn: return m_rows[size_t(r)].typeText;
    case DateColumn: return texts(r).date;
    default: return QString();
    }
}

QVariant PaneModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= count())
        return QVariant();
    const PaneRow &r = m_rows[size_t(index.row())];
    switch (role) {
    case Qt::DisplayRole:
        return text(index.row(), index.column());
    case Qt::DecorationRole:
        if (index.column() == NameColumn && r.icon >= 0 && r.icon < iconCount())
            return m_icons[size_t(r.icon)];
        return QVariant();
    case Qt::TextAlignmentRole:
        if (index.column() == SizeColumn)
            return QVariant(Qt::AlignRight | Qt::AlignVCenter);
        return QVariant(Qt::AlignLeft | Qt::AlignVCenter);
    case RawValueRole:
        switch (index.column()) {
        case NameColumn: return r.name;
        case SizeColumn: return r.showsSize ? QVariant(r.size) : QVariant();
        case TypeColumn: return r.typeText;
        case DateColumn: return r.showsDate ? QVariant(r.date) : QVariant();
        default: return QVariant();
        }
    case IsFolderRole:
        return r.isFolder;
    case ImageRole:
        return r.image;
    default:
        return QVariant();
    }
}

QVariant PaneModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section >= 0 && section < ColumnCount)
        return m_headers[section];
    return QAbstractTableModel::headerData(section, orientation, role);
}

bool PaneModel::setHeaderData(int section, Qt::Orientation orientation, const QVariant &value, int role)
{
    if (orientation != Qt::Horizontal || (role != Qt::DisplayRole && role != Qt::EditRole) || section < 0
        || section >= ColumnCount)
        return false;
    m_headers[section] = value.toString();
    emit headerDataChanged(orientation, section, section);
    return true;
}

Qt::ItemFlags PaneModel::flags(const QModelIndex &index) const
{
    if (!index.isValid())
        return Qt::ItemIsDropEnabled;
    return Qt::ItemIsSelectable | Qt::ItemIsEnabled | Qt::ItemIsDragEnabled | Qt::ItemIsDropEnabled;
}

QStringList PaneModel::mimeTypes() const
{
    return {dragMimeType()};
}

QMimeData *PaneModel::mimeData(const QModelIndexList &indexes) const
{
    QStringList names;
    for (const QModelIndex &index : indexes)
        if (index.column() == NameColumn)
            names << text(index.row(), NameColumn);
    auto *data = new QMimeData;
    data->setData(dragMimeType(), names.join(QLatin1Char('\n')).toUtf8());
    return data;
}

Qt::DropActions PaneModel::supportedDropActions() const
{
    return Qt::CopyAction | Qt::MoveAction;
}

Qt::DropActions PaneModel::supportedDragActions() const
{
    return Qt::CopyAction | Qt::MoveAction;
}

void PaneModel::setRows(std::vector<PaneRow> rows)
{
    beginResetModel();
    m_rows = std::move(rows);
    m_texts.assign(m_rows.size(), Texts());
    applySort();
    endResetModel();
}

void PaneModel::clear()
{
    setRows({});
}

void PaneModel::removeRowAt(int r)
{
    if (r < 0 || r >= count())
        return;
    beginRemoveRows(QModelIndex(), r, r);
    m_rows.erase(m_rows.begin() + r);
    m_texts.erase(m_texts.begin() + r);
    endRemoveRows();
}

int PaneModel::findName(const QString &name) const
{
    for (int r = 0; r < count(); ++r)
        if (m_rows[size_t(r)].name == name)
            return r;
    return -1;
}

QList<PaneRowSnapshot> PaneModel::snapshot() const
{
    QList<PaneRowSnapshot> rows;
    rows.reserve(count());
    for (int r = 0; r < count(); ++r) {
        const PaneRow &row = m_rows[size_t(r)];
        rows.append({row.name, texts(r).size, texts(r).date, row.date, row.typeText, row.isFolder, row.sizeRough});
    }
    return rows;
}

int PaneModel::iconFor(const QString &key, const std::function<QIcon()> &make)
{
    const auto found = m_iconKeys.constFind(key);
    if (found != m_iconKeys.constEnd())
        return *found;
    m_icons.push_back(make());
    const int index = iconCount() - 1;
    m_iconKeys.insert(key, index);
    return index;
}

void PaneModel::sort(int column, Qt::SortOrder order)
{
    if (column < 0 || column >= ColumnCount)
        return;
    emit layoutAboutToBeChanged();
    m_sortColumn = column;
    m_sortOrder = order;
    const std::vector<size_t> moved = applySort();
    // Selected rows stay selected where they went.
    if (!moved.empty()) {
        std::vector<int> newPosition(moved.size());
        for (size_t i = 0; i < moved.size(); ++i)
            newPosition[moved[i]] = int(i);
        const QModelIndexList before = persistentIndexList();
        QModelIndexList after;
        after.reserve(before.size());
        for (const QModelIndex &index : before)
            after << this->index(newPosition[size_t(index.row())], index.column());
        changePersistentIndexList(before, after);
    }
    emit layoutChanged();
}

// The list compares the texts it shows, without regard to case. Returns,
// for each new position, the old position of its row.
std::vector<size_t> PaneModel::applySort()
{
    if (m_sortColumn < 0 || m_rows.size() < 2)
        return {};
    std::vector<QString> keys(m_rows.size());
    for (int r = 0; r < count(); ++r)
        keys[size_t(r)] = text(r, m_sortColumn);
    std::vector<size_t> order(m_rows.size());
    std::iota(order.begin(), order.end(), size_t(0));
    const bool ascending = m_sortOrder == Qt::AscendingOrder;
    std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) {
        const int c = QString::compare(keys[a], keys[b], Qt::CaseInsensitive);
        return ascending ? c < 0 : c > 0;
    });
    std::vector<PaneRow> rows;
    std::vector<Texts> texts;
    rows.reserve(m_rows.size());
    texts.reserve(m_rows.size());
    for (size_t i : order) {
        rows.push_back(std::move(m_rows[i]));
        texts.push_back(std::move(m_texts[i]));
    }
    m_rows = std::move(rows);
    m_texts = std::move(texts);
    return order;
}
