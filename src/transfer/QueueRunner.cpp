// Running the transfer queue: the first row again and again, with speed,
// amount and time left shown on the running row.
#include "transfer/TransferQueue.h"

#include "platform/Prompt.h"
#include "platform/Yield.h"
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
constexpr double kRepaintInterval = 0.25;

double monotonicSeconds()
{
    static QElapsedTimer clock;
    if (!clock.isValid())
        clock.start();
    return double(clock.nsecsElapsed()) / 1e9;
}
} // namespace

QString TransferQueue::ConvertTime(double TheTime)
{
    qint64 total = qint64(std::floor(TheTime < 0 ? 0 : TheTime));
    const qint64 hours = total / 3600;
    total -= hours * 3600;
    // Durations of a day or more keep counting hours rather than wrapping.
    return QStringLiteral("%1:%2:%3")
        .arg(hours, 2, 10, QLatin1Char('0'))
        .arg(total / 60, 2, 10, QLatin1Char('0'))
        .arg(total % 60, 2, 10, QLatin1Char('0'));
}

void TransferQueue::RunTransferQueue()
{
    // A start request from a tool bar while the queue runs is ignored.
    if (bQueueBusy)
        return;
    m_session.setProgressValue(0);
    bQueueBusy = true;
    const int n = m_model.count();
    if (n == 0) {
        platform::inform(LangStr(534), platform::PromptIcon::Information);
        m_session.setProgressVisible(false);
        bQueueBusy = false;
        return;
    }
    QString curRemote = m_ftp.GetFTPDirectory();
    const QString savedLocal = m_host.localPathText();
    const QString savedRemote = m_host.remotePathText();
    if (m_host.binaryTransferChosen())
        m_ftp.SetTransferBinary();
    else
        m_ftp.SetTransferASCII();
    m_session.logState(9, QString());

    for (int i = 0; i < n && m_model.count() > 0; ++i) {
        markTransferStart();
        const QueueRow row = m_model.row(0);
        const QString &remote = row.text[QueueRow::Remote];
        if (remote != curRemote) {
            if (row.isDownload())
                m_ftp.CheckAndCreateSubFolder(row.text[QueueRow::Local], clsFTPClient::LocalSlash, remote);
            else
                m_ftp.CheckAndCreateSubFolder(remote, QStringLiteral("/"), QString());
            curRemote = remote;
        }
        if (row.isDownload()) {
            if (!runDownload(row)) {
                failRun();
                return;
            }
        } else if (runUpload(row) == UploadOutcome::Stopped) {
            break;
        }
        m_model.removeFirst();
        m_session.setProgressVisible(false);
        platform::yieldNow();
    }
    completeRun(savedLocal, savedRemote);
}

// False ends the run; a skipped file (or a refused name) only drops its row.
bool TransferQueue::runDownload(const QueueRow &row)
{
    const QString &name = row.text[QueueRow::Name];
    if (isUnsafeRemoteName(name)) {
        m_session.logState(12, LangStr(kUnsafeNameId) + name);
        return true;
    }
    m_host.setCurrentLocalFolder(row.text[QueueRow::Local]);
    m_session.setProgressValue(0);
    m_session.setProgressVisible(true);
    if (m_ftp.FTPDownloadFile(chkdir(row.text[QueueRow::Local], name), name))
        return true;
    if (lExistChoice == 2) {
        lExistChoice = 5; // a later failure must not pass for a skip
        return true;
    }
    return false;
}

TransferQueue::UploadOutcome TransferQueue::runUpload(const QueueRow &row)
{
    QString local = row.text[QueueRow::Local];
    QString name = row.text[QueueRow::Name];
    m_host.placeQueueProgressBar();
    if (m_ftp.FTPUploadFile(local, name)) {
        m_ftp.ActionOut(QString());
        m_session.logState(12, sLastResponse);
        return UploadOutcome::Done;
    }
    if (bStopTransfer) {
        m_session.setProgressValue(0);
        bStopTransfer = false;
        return UploadOutcome::Stopped;
    }
    // Refused, skipped, cancelled or failed: the reason is logged and the
    // row dropped; the run goes on.
    m_ftp.ActionOut(QString());
    if (inet::lastError() != 0 && !sLastError.isEmpty())
        m_session.logState(12, sLastError);
    else
        m_session.logState(12, sLastResponse);
    m_session.setProgressValue(0);
    m_session.setProgressVisible(false);
    return UploadOutcome::Dropped;
}

void TransferQueue::completeRun(const QString &savedLocal, const QString &savedRemote)
{
    m_session.logState(10, QString());
    bOverwriteAll = false;
    if (bVeuxSon)
        m_host.playWave(options::soundFilePath(options::son()));
    m_session.setKeepAliveEnabled(true);
    m_session.setProgressVisible(false);
    bQueueBusy = false;
    if (!savedRemote.isEmpty())
        m_ftp.SetFTPDirectory(savedRemote);
    if (!savedLocal.isEmpty())
        m_host.setCurrentLocalFolder(savedLocal);
    m_session.refreshDirectoryListing();
    m_session.refreshLocalDir();
}

// A download that failed (not skipped) ends the run: its row and the rows
// after it stay, and the log says why.
void TransferQueue::failRun()
{
    if (inet::lastError() != 0 && !sLastError.isEmpty())
        m_session.logState(12, sLastError);
    m_session.setProgressVisible(false);
    bQueueBusy = false;
}

void TransferQueue::markTransferStart()
{
    m_transferStart = m_clock ? m_clock() : monotonicSeconds();
    m_lastPaint = -1;
}

void TransferQueue::mFTP_FileTransferProgress(qint64 lCurrentBytes, qint64 lTotalBytes)
{
    bActivity = true;
    const double now = m_clock ? m_clock() : monotonicSeconds();
    const double elapsed = now - m_transferStart;
    if (elapsed > 0)
        TransferSpeed = std::round(std::floor(double(lCurrentBytes) / elapsed) / 1000.0 * 100.0) / 100.0;
    if (lTotalBytes >= lCurrentBytes)
        m_barValue = lCurrentBytes;
    // The figures are computed for every event but painted at most four
    // times a second, and always at the end, so the block loops keep their pace.
    const bool last = lCurrentBytes >= lTotalBytes;
    if (!last && m_lastPaint >= 0 && now - m_lastPaint < kRepaintInterval)
        return;
    m_lastPaint = now;

    m_host.setProgressMaximum(lTotalBytes);
    m_session.setProgressValue(m_barValue);
    if (m_model.count() > 0) {
        m_model.setCell(0, QueueRow::Speed, QString::number(TransferSpeed, 'f', 2) + QStringLiteral(" Kbps"));
        m_model.setCell(0, QueueRow::Detail, QStringLiteral("%1 %2 %3 KB")
                                                 .arg(m_barValue / 1024)
                                                 .arg(LangStr(539))
                                                 .arg(lTotalBytes / 1024));
        if (TransferSpeed > 0)
            m_model.setCell(0, QueueRow::TimeLeft,
                            ConvertTime(std::floor(double(lTotalBytes - m_barValue) / 1024.0 / TransferSpeed)));
    }
    m_host.progressShown(m_barValue, lTotalBytes);
    platform::yieldToEventLoop();
    m_host.placeQueueProgressBar();
}
