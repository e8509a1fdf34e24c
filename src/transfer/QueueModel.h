#pragma once
// The transfer queue: one row per file to upload or download. A row holds
// typed values (direction, paths, 64-bit size, date, state and progress); the
// model makes the eleven columns the queue list shows from them. The first
// waiting row is always the next file to transfer. The windows show it
// through a view; the engine reads and changes the model, never a view, and
// nothing reads a display text back.

#include <QAbstractTableModel>
#include <QDateTime>
#include <QString>

#include <deque>
#include <functional>

// HH:MM:SS of a number of seconds (the time-left column).
QString queueTimeText(double seconds);

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
    enum class Direction { Upload, Download };
    enum class State { Waiting, Running };

    quint64 id = 0;          // given by the model; stays while the row lives
    Direction direction = Direction::Upload;
    QString name;
    QString local;
    QString remote;
    QString host;
    qint64 size = -1;        // bytes; -1 when unknown
    QDateTime remoteDate;    // downloads: the remote file's time, local clock; invalid: none
    // What the icon shows: "local:<path>" (the local file's own icon) or
    // "image:<n>" (a picture number of the server pane).
    QString iconKey;

    // While it runs: the figures of the progress handler.
    State state = State::Waiting;
    qint64 done = 0;         // bytes so far
    qint64 total = 0;        // bytes in all, as last reported
    double speed = -1;       // thousands of bytes a second; -1: none yet
    double timeLeft = -1;    // seconds; -1: none yet

    bool isDownload() const { return direction == Direction::Download; }
    bool isRunning() const { return state == State::Running; }
};

class QueueModel : public QAbstractTableModel {
    Q_OBJECT
public:
    static inline const QString DownloadStatus = QStringLiteral("Download");
    // The byte counts behind a cell (sizes, done and total, speed): for
    // sorting and for tool tips in readable units.
    enum Role { RawValueRole = Qt::UserRole + 1 };

    explicit QueueModel(QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    bool setHeaderData(int section, Qt::Orientation orientation, const QVariant &value, int role) override;
    void sort(int column, Qt::SortOrder order) override;

    const QueueRow &row(int index) const { return m_rows[size_t(index)]; }
    int count() const { return int(m_rows.size()); }
    // The text a cell shows.
    QString text(int row, int column) const;
    // Adds a row at the end and gives it its id.
    quint64 append(QueueRow row);
    // The position of a row, -1 when it is gone.
    int indexOf(quint64 id) const;
    void remove(quint64 id);
    // Removes the rows at these positions, keeping the others in order.
    void removeRows(QList<int> positions);
    void clear();
    // The first row not running yet, -1 when none is left.
    int firstWaiting() const;
    int runningCount() const;
    void setState(quint64 id, QueueRow::State state);
    // The progress handler's figures of a running row.
    void setProgress(quint64 id, qint64 done, qint64 total, double speed, double timeLeft);
    // True when a row has exactly this name.
    bool containsName(const QString &name) const;

    // The windows give the queue its pictures; the engine only keeps keys.
    void setIconProvider(std::function<QVariant(const QString &iconKey)> provider);

private:
    QVariant rawValue(const QueueRow &r, int column) const;

    std::deque<QueueRow> m_rows;
    quint64 m_lastId = 0;
    QString m_headers[QueueRow::ColumnCount];
    std::function<QVariant(const QString &)> m_iconProvider;
};
