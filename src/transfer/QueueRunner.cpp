#include "transfer/QueueRunner.h"

#include "platform/Prompt.h"
#include "session/FileTypes.h"
#include "session/SessionHost.h"
#include "session/SessionState.h"
#include "session/clsFTPClient.h"
#include "settings/Options.h"
#include "settings/StringTable.h"
#include "transfer/QueueHost.h"

#include <QElapsedTimer>

#include <cmath>

namespace {
constexpr int kUnsafeNameId = 790;
constexpr int kSkippedId = 800;
constexpr int kStoppedId = 801;
constexpr int kFailedId = 802;
constexpr int kFewerConnectionsId = 804;
constexpr int kBrowsingConnectionId = 805;
constexpr int kChecksumDiffersId = 850;
constexpr int kSizeDiffersId = 851;
constexpr int kRetryId = 852;
constexpr int kNoResumeId = 853;
constexpr int kResumingId = 854;
constexpr int kVerifiedId = 857;
constexpr int kSizeWordId = 858;
constexpr double kRepaintInterval = 0.25;
constexpr int kIdleCloseMs = 60 * 1000;
constexpr int kMaxConnections = 10;

double monotonicSeconds()
{
    static QElapsedTimer clock;
    if (!clock.isValid())
        clock.start();
    return double(clock.nsecsElapsed()) / 1e9;
}

} // namespace

QueueRunner::QueueRunner(clsFTPClient &ftp, QueueModel &model, SessionHost &session, QueueHost &host,
                         QObject *parent)
    : QObject(parent), m_ftp(ftp), m_model(model), m_session(session), m_host(host)
{
    m_idle.setSingleShot(true);
    m_idle.setInterval(kIdleCloseMs);
    connect(&m_idle, &QTimer::timeout, this, &QueueRunner::closeIdleSlots);
    // However rows leave the queue (remove, remove all, a cancelled basket),
    // a row that runs is stopped first; its partial file stays.
    connect(&m_model, &QAbstractItemModel::rowsAboutToBeRemoved, this,
            [this](const QModelIndex &, int first, int last) { stopRowsLeaving(first, last); });
    connect(&m_model, &QAbstractItemModel::modelAboutToBeReset, this,
            [this] { stopRowsLeaving(0, m_model.count() - 1); });
}

QueueRunner::~QueueRunner()
{
    m_rows.clear();
    m_slots.clear();
}

double QueueRunner::now() const
{
    return m_clock ? m_clock() : monotonicSeconds();
}

// ---- a run -------------------------------------------------------------------------

void QueueRunner::start(bool moreToCome)
{
    // A start request while the queue runs is ignored.
    if (m_running)
        return;
    m_session.setProgressValue(0);
    const int n = m_model.count();
    if (n == 0 && !moreToCome) {
        platform::inform(LangStr(534), platform::PromptIcon::Information);
        m_session.setProgressVisible(false);
        return;
    }
    const std::optional<ftp::LoginParams> login = m_ftp.loginParams();
    if (!login || !hConnection) {
        // Nothing can move without a session; the rows wait for one.
        m_ftp.ErrorOut(inet::ErrorIncorrectHandleState, QStringLiteral("FTPDownloadFile"), QString());
        m_session.logState(12, sLastError);
        m_session.setProgressVisible(false);
        return;
    }
    m_idle.stop();
    // Connections to another server (or user) than the session's now are no use.
    const bool sameServer = login && !m_slots.empty() && m_slots.front()->owned
                            && m_slots.front()->owned->login().host == login->host
                            && m_slots.front()->owned->login().port == login->port
                            && m_slots.front()->owned->login().user == login->user
                            && m_slots.front()->owned->login().passive == login->passive;
    if (!sameServer)
        m_slots.clear();
    std::erase_if(m_slots, [](const std::unique_ptr<Slot> &s) { return !s->owned || s->refused; });
    bQueueBusy = true;
    m_running = true;
    m_feeding = moreToCome;
    static quint64 runs = 0; // one count for every runner: they may share the browsing connection
    m_run = ++runs;
    m_stopping = false;
    m_failed = false;
    m_saidLimit = false;
    m_outcomes.clear();
    m_barShown = -1;
    m_budget = n;
    const int wanted = m_wanted > 0 ? m_wanted : options::simultaneousTransfers();
    m_limit = qBound(1, wanted, kMaxConnections);
    m_retry.retries = m_retries >= 0 ? qMin(m_retries, options::MaxRetries) : options::retries();
    m_retry.firstPauseMs = m_retryPauseMs;
    m_savedLocal = m_host.localPathText();
    if (m_host.binaryTransferChosen())
        m_ftp.SetTransferBinary();
    else
        m_ftp.SetTransferASCII();
    m_transferType = m_ftp.transferType();
    emit started();
    m_session.logState(9, QString());
    dispatch();
}

void QueueRunner::dispatch()
{
    while (m_running && !m_stopping && !m_failed && m_budget > 0) {
        const int index = m_model.firstWaiting();
        if (index < 0)
            break;
        const QueueRow &row = m_model.row(index);
        if (isUnsafeRemoteName(row.name) && row.isDownload()) {
            // Refused before any connection is asked: the row goes, the run goes on.
            --m_budget;
            m_session.logState(12, LangStr(kUnsafeNameId) + row.name);
            record(row, RowOutcome::Kind::Refused);
            m_model.remove(row.id);
            continue;
        }
        Slot *slot = freeSlot();
        if (!slot)
            break;
        --m_budget;
        begin(slot, index);
    }
    // A run fed by a listing waits for its next rows, unless it is ending.
    if (m_running && m_rows.empty() && (!m_feeding || m_stopping || m_failed))
        finish();
}

void QueueRunner::admitRow()
{
    if (!m_running || !m_feeding)
        return;
    ++m_budget;
    dispatch();
}

void QueueRunner::endOfRows()
{
    if (!m_feeding)
        return;
    m_feeding = false;
    if (m_running && m_rows.empty() && m_outcomes.isEmpty() && m_model.count() == 0) {
        // The folders held no file: as a run of an empty queue, none at all.
        m_running = false;
        bQueueBusy = false;
        m_session.setProgressVisible(false);
        platform::inform(LangStr(534), platform::PromptIcon::Information);
        emit finished(m_outcomes);
        return;
    }
    if (m_running)
        dispatch();
}

QueueRunner::Slot *QueueRunner::freeSlot()
{
    // No connection of its own is left: the browsing connection, one file at a time.
    const bool browsingOnly = m_limit == 0;
    int usable = 0;
    for (const std::unique_ptr<Slot> &s : m_slots) {
        if (s->refused || !s->link || (browsingOnly && s->owned))
            continue;
        ++usable;
        if (s->command == 0)
            return s.get();
    }
    if (usable >= qMax(m_limit, 1))
        return nullptr;
    return addSlot();
}

QueueRunner::Slot *QueueRunner::addSlot()
{
    auto slot = std::make_unique<Slot>();
    if (m_limit == 0 || !m_ftp.loginParams()) {
        // The server takes no connection besides the browsing one: the files
        // go over that one, one at a time.
        if (!m_ftp.link())
            return nullptr;
        slot->link = m_ftp.link();
        slot->connected = true;
    } else {
        slot->owned = std::make_unique<ftp::FtpLink>(*m_ftp.loginParams());
        slot->link = slot->owned.get();
        Slot *s = slot.get();
        ftp::FtpLink *link = slot->link;
        connect(link, &ftp::FtpLink::certificateRequested, this,
                [this, link](const ftp::Request &request) { m_ftp.answerCertificate(link, request); });
        slot->owned->submit(ftp::Connect{}, [this, s](const ftp::Result &r) { onConnected(s, r); });
    }
    connectSignals(slot->link);
    m_slots.push_back(std::move(slot));
    return m_slots.back().get();
}

void QueueRunner::connectSignals(ftp::FtpLink *link)
{
    connect(link, &ftp::FtpLink::progress, this, [this, link](quint64 command, qint64 current, qint64 total) {
        onProgress({link, command}, current, total);
    });
    connect(link, &ftp::FtpLink::stateChanged, this, [this, link](quint64 command, int state, const QString &message) {
        if (m_rows.count({link, command}))
            m_session.logState(state, message);
    });
    connect(link, &ftp::FtpLink::noted, this, [this, link](quint64 command, const ftp::TransferNote &note) {
        onNote({link, command}, note);
    });
    connect(link, &ftp::FtpLink::requested, this, [this, link](const ftp::Request &request) {
        m_questions.push_back({link, request});
        askNext();
    });
}

void QueueRunner::onConnected(Slot *slot, const ftp::Result &result)
{
    if (result.ok()) {
        slot->connected = true;
        return;
    }
    // Refused (too many connections from this address or user, often with
    // 421 or 530): fewer connections, down to the browsing one.
    slot->refused = true;
    const int left = int(std::count_if(m_slots.begin(), m_slots.end(),
                                       [](const std::unique_ptr<Slot> &s) { return !s->refused; }));
    m_limit = left;
    if (!m_saidLimit) {
        m_saidLimit = true;
        m_session.logState(12, left > 0 ? LangStr(kFewerConnectionsId).arg(left) : LangStr(kBrowsingConnectionId));
    }
}

void QueueRunner::begin(Slot *slot, int index)
{
    QueueRow row = m_model.row(index);
    m_model.setState(row.id, QueueRow::State::Running);
    Running running{row, slot, now(), -1};
    if (m_rows.empty())
        m_firstStart = running.started;
    m_session.setProgressValue(0);
    ftp::Command command;
    const bool browsing = !slot->owned;
    if (row.isDownload()) {
        m_host.setCurrentLocalFolder(row.local);
        m_session.setProgressVisible(true);
        ftp::Retrieve c;
        c.remoteFolder = row.remote;
        c.name = row.name;
        c.localFolder = row.local;
        c.expectedSize = row.size;
        c.remoteTime = row.remoteDate;
        c.transferType = m_transferType;
        c.returnToFolder = browsing;
        c.retry = m_retry;
        command = c;
    } else {
        m_host.placeQueueProgressBar();
        ftp::Store c;
        c.remoteFolder = row.remote;
        c.localPath = row.local;
        c.name = row.name;
        c.transferType = m_transferType;
        c.returnToFolder = browsing;
        c.retry = m_retry;
        c.run = m_run;
        command = c;
    }
    // The browsing connection may outlive the runner, and the id is known
    // only once the command is sent (its result always comes later).
    QPointer<QueueRunner> self(this);
    auto key = std::make_shared<Key>(slot->link.data(), 0);
    key->second = slot->link->submit(std::move(command), [self, key](const ftp::Result &r) {
        if (self)
            self->onResult(*key, r);
    });
    slot->command = key->second;
    m_rows.emplace(*key, std::move(running));
}

// ---- the end of a row ----------------------------------------------------------------

void QueueRunner::onResult(Key command, const ftp::Result &result)
{
    auto it = m_rows.find(command);
    if (it == m_rows.end())
        return;
    const Running r = it->second;
    m_rows.erase(it);
    if (r.slot)
        r.slot->command = 0;
    const bool removed = m_model.indexOf(r.row.id) < 0;
    if (!removed)
        m_model.setState(r.row.id, QueueRow::State::Waiting);
    // A connection the server refused never ran the row: it waits for another.
    if (r.slot && r.slot->refused && !r.slot->connected && !removed) {
        ++m_budget;
        dispatch();
        return;
    }
    if (r.row.isDownload())
        endDownload(r, result, removed);
    else
        endUpload(r, result, removed);
    dispatch();
    // The bar goes only once nothing runs: hidden and shown again between two
    // files, it has everything beneath it repainted once a file, and a tree
    // of small files then waits on the window's painting.
    if (m_rows.empty())
        m_session.setProgressVisible(false);
    else
        m_host.placeQueueProgressBar();
}

void QueueRunner::endDownload(const Running &r, const ftp::Result &result, bool removed)
{
    const QueueRow &row = r.row;
    switch (result.outcome) {
    case ftp::Outcome::Done:
        record(row, RowOutcome::Kind::Done);
        m_model.remove(row.id);
        return;
    case ftp::Outcome::Skipped:
        lExistChoice = 5; // a later failure must not pass for a skip
        m_session.logState(12, LangStr(kSkippedId) + row.name);
        record(row, RowOutcome::Kind::Skipped);
        m_model.remove(row.id);
        return;
    case ftp::Outcome::Declined:
        // Cancel ends the run: this row and the rest stay.
        record(row, RowOutcome::Kind::Cancelled);
        m_failed = true;
        return;
    case ftp::Outcome::Stopped:
        m_session.logState(12, LangStr(kStoppedId) + row.name);
        record(row, RowOutcome::Kind::Stopped);
        // A row taken out of the queue while it ran ends only itself.
        if (!removed)
            m_failed = true;
        return;
    case ftp::Outcome::Failed:
        logFailure(row, result);
        record(row, RowOutcome::Kind::Failed, failureText(result));
        // A download that failed ends the run: its row and the rows after it stay.
        m_failed = true;
        return;
    }
}

void QueueRunner::endUpload(const Running &r, const ftp::Result &result, bool removed)
{
    const QueueRow &row = r.row;
    switch (result.outcome) {
    case ftp::Outcome::Done:
        m_ftp.ActionOut(QString());
        m_session.logState(12, result.response);
        record(row, RowOutcome::Kind::Done);
        m_model.remove(row.id);
        return;
    case ftp::Outcome::Skipped:
    case ftp::Outcome::Declined:
        // Both drop the row and the run goes on; only Cancel counts as a refusal.
        m_session.logState(12, LangStr(kSkippedId) + row.name);
        record(row, result.outcome == ftp::Outcome::Skipped ? RowOutcome::Kind::Skipped
                                                             : RowOutcome::Kind::Cancelled);
        m_model.remove(row.id);
        return;
    case ftp::Outcome::Stopped:
        m_session.logState(12, LangStr(kStoppedId) + row.name);
        record(row, RowOutcome::Kind::Stopped);
        // The stopped row and the rows after it stay; the run completes.
        if (!removed)
            m_stopping = true;
        return;
    case ftp::Outcome::Failed:
        logFailure(row, result);
        record(row, RowOutcome::Kind::Failed, failureText(result));
        if (result.interrupted) {
            // Cut off while sending: the row stays and nothing more starts.
            m_stopping = true;
            return;
        }
        // Refused by the server (or the local file unreadable): the row goes,
        // the run goes on.
        m_model.remove(row.id);
        return;
    }
}

void QueueRunner::record(const QueueRow &row, RowOutcome::Kind kind, const QString &reason)
{
    m_outcomes.append({row.name, row.direction, kind, reason});
}

// The error as the session shows it, and the file it happened to when the
// text does not say.
void QueueRunner::logFailure(const QueueRow &row, const ftp::Result &result)
{
    const QString text = failureText(result);
    if (!text.isEmpty())
        m_session.logState(12, text);
    if (!text.contains(row.name))
        m_session.logState(12, LangStr(kFailedId) + row.name);
}

// The server's reply when it was an error (426...), else what the
// connection did: a cut data connection leaves the 150 of its start as the
// last reply, which says nothing of why the transfer ended.
QString QueueRunner::failureText(const ftp::Result &result)
{
    if (result.error == inet::ErrorChecksumDiffers)
        return LangStr(kChecksumDiffersId);
    if (result.error == inet::ErrorSizeDiffers)
        return LangStr(kSizeDiffersId);
    ftp::Result failure = result;
    const QString reply = result.response.trimmed();
    const bool errorReply = reply.startsWith(QLatin1Char('4')) || reply.startsWith(QLatin1Char('5'));
    // An unexpected reply is all an extended error has to say.
    failure.response = errorReply || result.error == inet::ErrorExtended ? reply : QString();
    return failure.errorText(LanguageOffset == 0);
}

// What a transfer says on the way: where its data starts (the figures count
// from there), that it starts over or tries again, that it was verified.
void QueueRunner::onNote(Key command, const ftp::TransferNote &note)
{
    auto it = m_rows.find(command);
    if (it == m_rows.end())
        return;
    Running &r = it->second;
    const QString &name = r.row.name;
    switch (note.kind) {
    case ftp::TransferNote::Kind::Started:
        r.started = now();
        r.base = note.offset;
        r.lastPaint = -1;
        if (note.offset > 0)
            m_session.logState(12, LangStr(kResumingId).arg(name, QString::number(note.offset)));
        return;
    case ftp::TransferNote::Kind::NoResume:
        m_session.logState(12, LangStr(kNoResumeId).arg(name));
        return;
    case ftp::TransferNote::Kind::Retrying: {
        // The line says why, so that a link that keeps dropping can be told
        // from a server that keeps timing out.
        ftp::Result failure;
        failure.outcome = ftp::Outcome::Failed;
        failure.error = note.error;
        failure.response = note.response;
        m_session.logState(12, LangStr(kRetryId).arg(name, QString::number(note.attempt),
                                                      QString::number(note.attempts), failureText(failure)));
        return;
    }
    case ftp::TransferNote::Kind::Verified:
        m_session.logState(12, LangStr(kVerifiedId).arg(name, note.algorithm.isEmpty() ? LangStr(kSizeWordId)
                                                                                      : note.algorithm));
        return;
    }
}

// ---- the end of a run ------------------------------------------------------------------

void QueueRunner::finish()
{
    if (!m_running)
        return;
    m_running = false;
    m_feeding = false;
    m_session.setProgressVisible(false);
    bQueueBusy = false;
    bStopTransfer = false;
    // The browsing connection's signals are ours only for the run.
    for (const std::unique_ptr<Slot> &s : m_slots)
        if (!s->owned && s->link)
            disconnect(s->link, nullptr, this, nullptr);
    std::erase_if(m_slots, [](const std::unique_ptr<Slot> &s) { return !s->owned || s->refused; });
    if (!m_slots.empty())
        m_idle.start();
    if (m_failed) {
        // No completion line, no sound, no return to the folders.
        emit finished(m_outcomes);
        return;
    }
    m_session.logState(10, QString());
    bOverwriteAll = false;
    bResumeAll = false;
    if (bVeuxSon)
        m_host.playWave(options::soundFilePath(options::son()));
    m_session.setKeepAliveEnabled(true);
    if (!m_savedLocal.isEmpty())
        m_host.setCurrentLocalFolder(m_savedLocal);
    m_session.refreshDirectoryListing();
    m_session.refreshLocalDir();
    emit finished(m_outcomes);
}

void QueueRunner::stop()
{
    if (!m_running)
        return; // nothing runs: nothing changes, now or later
    bStopTransfer = true;
    m_stopping = true;
    for (const auto &[command, r] : m_rows)
        if (r.slot && r.slot->link)
            r.slot->link->cancel(command.second);
    if (m_rows.empty()) {
        // Waiting for the rows of a listing: the run ends as a stopped download's does.
        m_failed = true;
        finish();
    }
}

void QueueRunner::abandon()
{
    m_idle.stop();
    m_questions.clear();
    if (m_running) {
        const std::map<Key, Running> rows = std::move(m_rows);
        m_rows.clear();
        for (const auto &[command, r] : rows) {
            m_session.logState(12, LangStr(kStoppedId) + r.row.name);
            record(r.row, RowOutcome::Kind::Stopped);
            m_model.setState(r.row.id, QueueRow::State::Waiting);
            if (r.slot && r.slot->link)
                r.slot->link->cancel(command.second);
        }
        m_failed = true;
        finish();
    }
    m_slots.clear(); // each connection stops and ends on its own thread
}

void QueueRunner::closeIdleSlots()
{
    if (!m_running)
        m_slots.clear();
}

void QueueRunner::stopRowsLeaving(int first, int last)
{
    for (int i = qMax(first, 0); i <= last && i < m_model.count(); ++i) {
        const QueueRow &row = m_model.row(i);
        if (!row.isRunning())
            continue;
        for (const auto &[command, r] : m_rows)
            if (r.row.id == row.id && r.slot && r.slot->link)
                r.slot->link->cancel(command.second);
    }
}

// ---- questions -----------------------------------------------------------------------

// One question at a time, in the order they came: a question shows a modal
// window, and other transfers may ask meanwhile.
void QueueRunner::askNext()
{
    if (m_asking)
        return;
    m_asking = true;
    while (!m_questions.empty()) {
        const Question q = m_questions.front();
        m_questions.pop_front();
        if (!q.link || !m_rows.count({q.link.data(), q.request.command}))
            continue; // stopped meanwhile: nobody waits for this answer
        if (m_failed || m_stopping) {
            // A run that ends (Cancel, Stop, a failure) asks nothing more:
            // the transfer waiting for an answer stops, and its row stays.
            q.link->cancel(q.request.command);
            continue;
        }
        const int answer = answerFor(q.request);
        // Cancel ends a run of downloads from now on, not once its transfer
        // has answered: a question already on its way is not asked.
        if (answer == int(ftp::ExistsAnswer::Cancel) && !q.request.isUpload)
            m_failed = true;
        if (q.link)
            q.link->answer(q.request.id, answer);
    }
    m_asking = false;
}

// After Overwrite all or Resume all the question answers itself; Resume all
// decides the file it was given for too.
int QueueRunner::answerFor(const ftp::Request &request)
{
    using ftp::ExistsAnswer;
    if (bOverwriteAll)
        return int(ExistsAnswer::OverwriteAll);
    if (!bResumeAll) {
        m_session.overWriteExist(request.fileName, request.isUpload, request.canResume(), &request);
        const int choice = lExistChoice;
        if (choice == int(ExistsAnswer::Resume) && request.canResume())
            return choice;
        if (choice != int(ExistsAnswer::ResumeAll))
            return choice >= 1 && choice <= 4 ? choice : int(ExistsAnswer::Cancel);
    }
    return int(ftp::resumeAnswer(request));
}

// ---- progress ------------------------------------------------------------------------

RowProgress rowProgress(const QueueRow &row, qint64 current, qint64 total, double elapsed, qint64 base)
{
    RowProgress p{row.done, row.speed, row.timeLeft};
    if (elapsed > 0)
        p.speed = std::round(std::floor(double(qMax<qint64>(0, current - base)) / elapsed) / 1000.0 * 100.0) / 100.0;
    if (total >= current)
        p.done = current;
    if (p.speed > 0)
        p.timeLeft = std::floor(double(total - p.done) / 1024.0 / p.speed);
    return p;
}

void QueueRunner::markTransferStart()
{
    m_firstStart = now();
    for (auto &[command, r] : m_rows)
        r.started = m_firstStart, r.lastPaint = -1;
}

void QueueRunner::progressOfFirstRow(qint64 current, qint64 total)
{
    for (int i = 0; i < m_model.count(); ++i) {
        const QueueRow &row = m_model.row(i);
        if (!row.isRunning())
            continue;
        for (const auto &[command, r] : m_rows)
            if (r.row.id == row.id) {
                onProgress(command, current, total);
                return;
            }
    }
}

void QueueRunner::onProgress(Key command, qint64 current, qint64 total)
{
    auto it = m_rows.find(command);
    if (it == m_rows.end())
        return;
    Running &r = it->second;
    bActivity = true;
    const int index = m_model.indexOf(r.row.id);
    if (index < 0)
        return;
    const QueueRow &row = m_model.row(index);
    const double t = now();
    const RowProgress figures = rowProgress(row, current, total, t - r.started, r.base);
    if (t > r.started)
        m_speed = figures.speed;
    // The figures are computed for every event but shown at most four times
    // a second, and always at the end.
    const bool last = current >= total;
    if (!last && r.lastPaint >= 0 && t - r.lastPaint < kRepaintInterval)
        return;
    r.lastPaint = t;
    // The progress bar and the host follow the first running row.
    int first = 0;
    while (first < index && !m_model.row(first).isRunning())
        ++first;
    const quint64 id = row.id;
    // The bar repaints itself at once for every value it takes, so it takes
    // one at most four times a second whichever row it follows: small files
    // each showing their first and last figures had the window paint twice
    // a file while the next files waited. A file the bar has shown still
    // ends on it.
    const bool barDue = m_barShown < 0 || t - m_barShown >= kRepaintInterval || (last && r.onBar);
    if (first == index && barDue) {
        m_barShown = t;
        r.onBar = true;
        m_host.setProgressMaximum(total);
        m_session.setProgressValue(figures.done);
        m_host.placeQueueProgressBar();
    }
    m_model.setProgress(id, figures.done, total, figures.speed, figures.timeLeft);
    if (first == index)
        m_host.progressShown(figures.done, total);
}
