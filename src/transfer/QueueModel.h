#pragma once
// The transfer queue: one row per file to upload or download, eleven text
// columns as the queue list shows them. The first row is always the next file
// to transfer. The windows show it through a view; the engine (expansion,
// runner, download) reads and changes the model, never a view.

#include "session/SessionHost.h"

#include <QAbstractTableModel>
#include <QString>

#include <deque>
#include <functional>

struct QueueRow {
    enum Column {
        Name = 0,     // file name
        Local = 1,    // upload: full local path; download: local folder
        Remote = 2,   // remote folder
        Host = 3,
        Size = 4,     // "### ### ##0"
        Status = 5,   // "Upload" or "Download"
        Progress = 6,
        Speed = 7,
        Detail = 8,
        TimeLeft = 9,
        RemoteDate = 10,
        ColumnCount = 11
    };
    QString text[ColumnCount];
    // What the icon shows: "local:<path>" (the local file's own icon) or
    // "image:<n>" (a picture number of the server pane).
    QString iconKey;

    bool isDownload() const { return text[Status] == QLatin1String("Download"); }
};

class QueueModel : public QAbstractTableModel {
    Q_OBJECT
public:
    static inline const QString DownloadStatus = QStringLiteral("Download");

    explicit QueueModel(QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    bool setHeaderData(int section, Qt::Orientation orientation, const QVariant &value, int role) override;
    void sort(int column, Qt::SortOrder order) override;

    const QueueRow &row(int index) const { return m_rows[size_t(index)]; }
    int count() const { return int(m_rows.size()); }
    void append(const QueueRow &row);
    void removeFirst();
    // Removes the rows at these positions, keeping the others in order.
    void removeRows(QList<int> positions);
    void clear();
    void setCell(int row, int column, const QString &text);
    // True when a row has exactly this name as its text.
    bool containsName(const QString &name) const;
    // What a download reads of the first row (the next file).
    QueueHeadRow headRow() const;

    // The windows give the queue its pictures; the engine only keeps keys.
    void setIconProvider(std::function<QVariant(const QString &iconKey)> provider);

private:
    std::deque<QueueRow> m_rows;
    QString m_headers[QueueRow::ColumnCount];
    std::function<QVariant(const QString &)> m_iconProvider;
};
