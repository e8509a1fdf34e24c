#pragma once
// A stand-in for the main window: records what the engine asked of it and
// answers its questions from a script.

#include "session/SessionHost.h"
#include "session/SessionState.h"
#include "transfer/QueueHost.h"
#include "transfer/QueueModel.h"
#include "transfer/TransferQueue.h"

#include <QList>
#include <QStringList>

#include <functional>

// The kinds of a run's outcomes, in order.
inline QList<RowOutcome::Kind> kindsOf(const QList<RowOutcome> &outcomes)
{
    QList<RowOutcome::Kind> kinds;
    for (const RowOutcome &o : outcomes)
        kinds << o.kind;
    return kinds;
}

class TestHost : public SessionHost, public QueueHost {
public:
    // SessionHost
    void setKeepAliveEnabled(bool enabled) override { keepAlive = enabled; }
    void logState(int state, const QString &message) override { log << QStringLiteral("%1|%2").arg(state).arg(message); }
    void setProgressValue(qint64 value) override { progressFigures += value != 0; }
    void setProgressVisible(bool visible) override
    {
        progressHides += progressVisible && !visible;
        progressVisible = visible;
    }
    void refreshLocalDir() override {}
    void refreshDirectoryListing() override {}
    bool overWriteExist(const QString &fileName, bool isUp, bool canResume = false,
                        const ftp::Request * = nullptr) override
    {
        asked << fileName;
        askedUp << isUp;
        askedResume << canResume;
        // Default: overwrite. Otherwise 1 cancel, 2 skip, 3 overwrite, 4 all,
        // 6 resume, 7 resume all.
        const int answer = answers.isEmpty() ? 3 : answers.takeFirst();
        lExistChoice = answer;
        bOverwriteAll = answer == 4;
        bResumeAll = answer == 7;
        return answer >= 3;
    }
    bool deleteItem(const QString &, bool) override { return false; }

    // QueueHost
    QString currentLocalFolder() override { return localFolder; }
    void setCurrentLocalFolder(const QString &folder) override { localFolder = folder; }
    QString localPathText() override { return localFolder; }
    QString remotePathText() override { return remotePath; }
    bool binaryTransferChosen() override { return binary; }
    void setProgressMaximum(qint64) override {}
    void placeQueueProgressBar() override {}
    void showQueueWait(bool show) override { waitShown = waitShown || show; }
    void setBusy(bool) override {}
    void playWave(const QString &file) override { played << file; }
    void progressShown(qint64 current, qint64 total) override
    {
        if (onProgress)
            onProgress(current, total);
    }

    std::function<void(qint64, qint64)> onProgress;
    QStringList log;
    QStringList asked;
    QList<bool> askedUp;
    QList<bool> askedResume;
    QList<int> answers;
    QStringList played;
    QString localFolder;
    QString remotePath = QStringLiteral("/"); // the server pane shows the root
    bool binary = true;
    bool keepAlive = false;
    bool progressVisible = false;
    int progressHides = 0;   // the bar shown, then hidden
    int progressFigures = 0; // values other than 0 the bar took
    bool waitShown = false;
};
