#pragma once
// What the transfer queue needs from the window that shows it (the main
// window, the command-line front end, the tests), besides SessionHost.

#include <QString>

class QueueHost {
public:
    virtual ~QueueHost() = default;

    // The local pane's folder: base of uploads, target of downloads.
    virtual QString currentLocalFolder() = 0;
    // The local pane goes to this folder and shows it.
    virtual void setCurrentLocalFolder(const QString &folder) = 0;
    // The texts of the two path boxes, remembered before a run and restored after.
    virtual QString localPathText() = 0;
    virtual QString remotePathText() = 0;
    // Binary (true) or ASCII transfer, as chosen for the site in use.
    virtual bool binaryTransferChosen() = 0;

    virtual void setProgressMaximum(qint64 maximum) = 0;
    virtual void placeQueueProgressBar() = 0;
    virtual void showQueueWait(bool show) = 0;
    virtual void setBusy(bool busy) = 0; // the hourglass pointer
    virtual void playWave(const QString &file) = 0;
    // The progress figures of the running row changed (repainted at most
    // every quarter of a second).
    virtual void progressShown(qint64 current, qint64 total) { Q_UNUSED(current); Q_UNUSED(total); }
};
