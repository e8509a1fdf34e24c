#pragma once
// Running the transfer queue: the waiting rows go, in order, to transfer
// connections of their own (as many as the user chose and the server takes,
// kept between files), each row showing its own speed, amount and time left.
// The runner never waits: it sends commands and acts on their results as
// they come back. Every row ends with a typed outcome; the run ends with the
// list of them.

#include "session/FtpLink.h"
#include "transfer/QueueModel.h"

#include <QList>
#include <QObject>
#include <QPointer>
#include <QTimer>

#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <utility>
#include <vector>

class clsFTPClient;
class SessionHost;
class QueueHost;

struct RowOutcome {
    enum class Kind {
        Done,
        Skipped,   // the user answered Skip
        Cancelled, // the user answered Cancel
        Stopped,   // stopped by the user, or removed from the queue while it ran
        Failed,
        Refused    // a name that cannot become a local path
    };
    QString name;
    QueueRow::Direction direction = QueueRow::Direction::Upload;
    Kind kind = Kind::Done;
    QString reason; // the error text of a failure
};

// The progress handler's figures for one row: speed in thousands of bytes a
// second since the file started (the row's old speed when no time passed),
// the bar's value (kept when the total is below the count), and the time
// left in seconds (kept while the speed is 0). A transfer that resumed at
// byte `base` counts its speed from there.
struct RowProgress {
    qint64 done = 0;
    double speed = -1;
    double timeLeft = -1;
};
RowProgress rowProgress(const QueueRow &row, qint64 current, qint64 total, double elapsed, qint64 base = 0);

class QueueRunner : public QObject {
    Q_OBJECT
public:
    QueueRunner(clsFTPClient &ftp, QueueModel &model, SessionHost &session, QueueHost &host,
                QObject *parent = nullptr);
    ~QueueRunner() override;

    // Starts a run of the rows queued now; ignored while one goes on. With
    // `moreToCome`, the rows admitted until endOfRows() join it (a server
    // folder still being listed), and it may start with none.
    void start(bool moreToCome = false);
    // The row just appended to the model joins the run.
    void admitRow();
    void endOfRows();
    bool isRunning() const { return m_running; }
    // The stop button: what runs stops (partial files stay), nothing more starts.
    void stop();
    // The connection goes away: the run ends at once, every connection with it.
    void abandon();
    // Connections for transfers: 1 to 10; 0 reads the user's option at each run.
    void setConnections(int count) { m_wanted = count; }
    // Tries after a dropped connection or a time-out: 0 to 10; -1 reads the
    // user's option at each run. The pause before the first retry (doubled
    // before each next one) is the tests' to shorten.
    void setRetries(int count) { m_retries = count; }
    void setRetryPause(int ms) { m_retryPauseMs = ms; }

    // The progress handler, for the first running row.
    void progressOfFirstRow(qint64 current, qint64 total);
    double transferSpeed() const { return m_speed; }
    // Seconds on a monotonic clock; tests put their own clock in.
    void setClock(std::function<double()> clock) { m_clock = std::move(clock); }
    // The first running row's file starts now: its speed counts from here.
    void markTransferStart();

signals:
    void started();
    void finished(const QList<RowOutcome> &outcomes);

private:
    struct Slot {
        std::unique_ptr<ftp::FtpLink> owned; // null: the browsing connection
        QPointer<ftp::FtpLink> link;
        bool connected = false;
        bool refused = false;
        quint64 command = 0; // the transfer it runs, 0 when free
    };
    struct Running {
        QueueRow row;
        Slot *slot = nullptr;
        double started = 0;
        double lastPaint = -1;
        qint64 base = 0;    // the byte this try began at
        bool onBar = false; // its figures were on the progress bar
    };
    struct Question {
        QPointer<ftp::FtpLink> link;
        ftp::Request request;
    };

    double now() const;
    void dispatch();
    Slot *freeSlot();
    Slot *addSlot();
    void connectSignals(ftp::FtpLink *link);
    void begin(Slot *slot, int index);
    void onConnected(Slot *slot, const ftp::Result &result);
    // A command is named by its connection and its number there.
    using Key = std::pair<const ftp::FtpLink *, quint64>;
    void onResult(Key command, const ftp::Result &result);
    void endDownload(const Running &r, const ftp::Result &result, bool removed);
    void endUpload(const Running &r, const ftp::Result &result, bool removed);
    void record(const QueueRow &row, RowOutcome::Kind kind, const QString &reason = QString());
    void logFailure(const QueueRow &row, const ftp::Result &result);
    static QString failureText(const ftp::Result &result);
    void onNote(Key command, const ftp::TransferNote &note);
    int answerFor(const ftp::Request &request);
    void onProgress(Key command, qint64 current, qint64 total);
    void askNext();
    void stopRowsLeaving(int first, int last);
    void finish();
    void closeIdleSlots();

    clsFTPClient &m_ftp;
    QueueModel &m_model;
    SessionHost &m_session;
    QueueHost &m_host;

    std::vector<std::unique_ptr<Slot>> m_slots;
    std::map<Key, Running> m_rows;      // by command
    std::deque<Question> m_questions;
    QList<RowOutcome> m_outcomes;
    QTimer m_idle;                      // closes the connections a minute after a run
    std::function<double()> m_clock;

    int m_wanted = 0;
    int m_retries = -1;
    int m_retryPauseMs = 1000;
    ftp::RetryPolicy m_retry; // this run's
    int m_limit = 0;          // connections the server takes this run
    bool m_running = false;
    bool m_feeding = false;   // more rows may join: the run waits for them
    quint64 m_run = 0;        // this run's number, for the connections' memory of folders
    bool m_stopping = false;
    bool m_failed = false;    // a download failed: no completion steps
    bool m_asking = false;
    bool m_saidLimit = false;
    int m_budget = 0;         // rows this run may still start
    quint32 m_transferType = 0;
    QString m_savedLocal;
    double m_speed = 0;
    double m_firstStart = 0;
    double m_barShown = -1;   // when the progress bar last took a value
};
