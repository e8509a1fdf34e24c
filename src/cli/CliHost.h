#pragma once
// The command line's side of the engine: what the main window does for the
// session and the queue (log, progress, the file-exists question, the local
// folder), done on a terminal or in a script. It also answers the program's
// message boxes (the question seam) and keeps the first failure of a
// transfer command.

#include "cli/CliOptions.h"
#include "platform/Prompt.h"
#include "session/SessionHost.h"
#include "transfer/QueueHost.h"

#include <QString>

class QueueModel;

namespace cli {

class Console;

class CliHost : public SessionHost, public QueueHost, public platform::Prompt {
public:
    CliHost(Console &console, QueueModel &model, ExistsPolicy policy);

    // The names the status lines show (the connection's server and user).
    void setConnectionNames(const QString &server, const QString &user);
    void setBinaryTransfer(bool binary) { m_binary = binary; }
    bool binaryTransfer() const { return m_binary; }

    // The current server folder as last shown (restored after a run).
    void setRemotePath(const QString &path) { m_remotePath = path; }

    // ---- watching a transfer command
    void startWatch();
    void stopWatch() { m_watching = false; }
    bool watchFailed() const { return m_failed; }
    // The first failure of the watch is its error.
    void noteFailure(const QString &text);
    QString watchError() const { return m_failure; }

    // SessionHost
    void setKeepAliveEnabled(bool) override {}
    void logState(int state, const QString &message) override;
    void setProgressValue(qint64) override;
    void setProgressVisible(bool visible) override;
    void refreshLocalDir() override {}
    void refreshDirectoryListing() override {}
    bool overWriteExist(const QString &fileName, bool isUp, bool canResume = false,
                        const ftp::Request *question = nullptr) override;
    bool deleteItem(const QString &, bool) override { return false; }
    // Asked on a terminal; without one, the certificate and its fingerprint
    // go to standard error and the answer is no.
    CertificateAnswer askCertificate(const inet::CertificateInfo &info) override;

    // QueueHost
    QString currentLocalFolder() override { return m_localFolder; }
    void setCurrentLocalFolder(const QString &folder) override { m_localFolder = folder; }
    QString localPathText() override { return m_localFolder; }
    QString remotePathText() override { return m_remotePath; }
    bool binaryTransferChosen() override { return m_binary; }
    void setProgressMaximum(qint64) override {}
    void placeQueueProgressBar() override {}
    void showQueueWait(bool) override {}
    void setBusy(bool) override {}
    void playWave(const QString &) override {}
    void progressShown(qint64 current, qint64 total) override;

    // platform::Prompt: messages are printed; a question is asked on a
    // terminal and otherwise gets the answer that changes nothing.
    platform::PromptAnswer ask(const platform::PromptRequest &request) override;

private:
    int askExists(const QString &fileName, bool canResume);
    void describeCertificate(const inet::CertificateInfo &info);

    Console &m_console;
    QueueModel &m_model;
    ExistsPolicy m_policy;
    QString m_server;
    QString m_user;
    QString m_localFolder;
    QString m_remotePath;
    bool m_binary = true;
    bool m_watching = false;
    bool m_failed = false;
    QString m_failure;
};

} // namespace cli
