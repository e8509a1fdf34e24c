#pragma once
// The rows of one pane (local or server): name, size, type and date, with the
// row's picture. Texts are made when a view, a sort or a reader first asks for
// them, so a folder of tens of thousands of entries appears at once; the raw
// values (bytes, date value) stay available for whoever wants to compare them.
// Header clicks sort by the column's text, as the panes always did; once a
// list is sorted, a new listing comes in sorted the same way.

#include "session/DateValue.h"

#include <QAbstractTableModel>
#include <QHash>
#include <QIcon>
#include <QList>
#include <QString>

#include <functional>
#include <vector>

struct PaneRow {
    QString name;
    QString typeText;
    qint64 size = 0;
    DateValue date = 0;
    bool isFolder = false;
    bool showsSize = true; // local folders show no size
    bool showsDate = true; // nor a date
    bool sizeRough = false; // the server gave the size in blocks or with a unit
    int icon = -1;         // index in the model's picture table
    int image = 0;         // the server pane's picture number (0 in the local pane)
};

// A copy of one row as the pane shows it (for the comparison window).
struct PaneRowSnapshot {
    QString name;
    QString sizeText;
    QString dateText;
    DateValue date = 0;
    QString typeText;
    bool isFolder = false;
    bool sizeRough = false;
};

class PaneModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column { NameColumn = 0, SizeColumn = 1, TypeColumn = 2, DateColumn = 3, ColumnCount = 4 };
    enum Role {
        RawValueRole = Qt::UserRole + 1, // name, bytes (qint64), type, date value (double)
        IsFolderRole,
        ImageRole // the server pane's picture number
    };

    // plainZero: a size of 0 shows as "0" (server pane) rather than "  0".
    explicit PaneModel(bool plainZero, QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    bool setHeaderData(int section, Qt::Orientation orientation, const QVariant &value, int role) override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    QStringList mimeTypes() const override;
    QMimeData *mimeData(const QModelIndexList &indexes) const override;
    Qt::DropActions supportedDropActions() const override;
    Qt::DropActions supportedDragActions() const override;
    // Sorts by the column's text and keeps that order for later listings.
    void sort(int column, Qt::SortOrder order) override;

    // Replaces every row (one reset, whatever the count).
    void setRows(std::vector<PaneRow> rows);
    void clear();
    void removeRowAt(int row);
    int count() const { return int(m_rows.size()); }
    const PaneRow &row(int r) const { return m_rows[size_t(r)]; }
    QString text(int row, int column) const;
    // The first row whose name is exactly `name`, or -1.
    int findName(const QString &name) const;
    QList<PaneRowSnapshot> snapshot() const;

    // The picture table: one entry per kind of row (a key such as "image:21"
    // or "type:pdf"), never one per row; `make` runs once per key.
    int iconFor(const QString &key, const std::function<QIcon()> &make);
    int iconCount() const { return int(m_icons.size()); }

    int sortColumn() const { return m_sortColumn; }
    Qt::SortOrder sortOrder() const { return m_sortOrder; }

    // The mime type of rows dragged out of a pane.
    static QString dragMimeType();

private:
    struct Texts {
        QString size;
        QString date;
        bool made = false;
    };
    const Texts &texts(int row) const;
    std::vector<size_t> applySort();

    std::vector<PaneRow> m_rows;
    // Texts of the size and date columns, made on first use.
    mutable std::vector<Texts> m_texts;
    std::vector<QIcon> m_icons;
    QHash<QString, int> m_iconKeys;
    QString m_headers[ColumnCount];
    bool m_plainZero;
    int m_sortColumn = -1;
    Qt::SortOrder m_sortOrder = Qt::AscendingOrder;
};
