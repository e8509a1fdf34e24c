#pragma once
// One command-line session: the same session object, queue model, folder
// expansion and runner as the desktop program, driven by typed commands
// instead of panes and tool bars.

#include "cli/CliHost.h"
#include "cli/CliOptions.h"
#include "session/clsFTPClient.h"
#include "transfer/QueueModel.h"
#include "transfer/TransferQueue.h"

#include <QString>

#include <functional>
#include <QStringList>

class QEventLoop;

namespace cli {

class Console;

enum ExitStatus { StatusSuccess = 0, StatusFailure = 1, StatusBadInput = 2 };

struct CommandResult {
    int status = StatusSuccess;
    QString error; // shown on standard error when the command failed

    static CommandResult ok() { return {}; }
    static CommandResult failed(const QString &error) { return {StatusFailure, error}; }
    static CommandResult badInput(const QString &error) { return {StatusBadInput, error}; }
};

class CliSession {
public:
    CliSession(Console &console, const CliOptions &options);
    ~CliSession();
    CliSession(const CliSession &) = delete;
    CliSession &operator=(const CliSession &) = delete;

    // Runs one command given as its words (the command name first).
    CommandResult execute(const QStringList &words);
    bool quitRequested() const { return m_quit; }

private:
    using Handler = CommandResult (CliSession::*)(const QStringList &args);
    struct Command {
        const char *name;
        int minArgs;
        int maxArgs; // -1: any number
        bool needsConnection;
        Handler run;
        const char *usage;
        // Checks the words before anything else (nullptr: nothing to check),
        // so that bad input is told as such, connected or not.
        CommandResult (*check)(const QStringList &args) = nullptr;
        // Words from this position on may be empty (a login's or a site's
        // texts); -1: none may. An empty name would mean the folder itself.
        int emptyAllowedFrom = -1;
    };
    static const Command *findCommand(const QString &name);
    static const Command Commands[];

    // connection (CommandsConnect.cpp)
    struct ConnectTarget {
        QString host, port, user, password; // no port: the mode's (21, or 990 for implicit TLS)
        bool passive = true;
        bool binary = true;
        inet::TlsMode tls = inet::TlsMode::IfOffered;
        QString remoteDir, localDir;
    };
    CommandResult cmdOpen(const QStringList &args);
    CommandResult cmdClose(const QStringList &args);
    CommandResult cmdSites(const QStringList &args);
    CommandResult cmdSiteAdd(const QStringList &args);
    bool findSite(const QString &name, ConnectTarget &target) const;
    CommandResult connectTo(const ConnectTarget &target);
    void useSiteLocalFolder(const QString &folder);
    void disconnect();

    // folders and remote operations (CommandsFolders.cpp)
    CommandResult cmdPwd(const QStringList &args);
    CommandResult cmdCd(const QStringList &args);
    CommandResult cmdLs(const QStringList &args);
    CommandResult cmdLcd(const QStringList &args);
    CommandResult cmdLpwd(const QStringList &args);
    CommandResult cmdLls(const QStringList &args);
    CommandResult cmdMkdir(const QStringList &args);
    CommandResult cmdRmdir(const QStringList &args);
    CommandResult cmdRm(const QStringList &args);
    CommandResult cmdRename(const QStringList &args);
    CommandResult cmdChmod(const QStringList &args);
    static CommandResult checkChmod(const QStringList &args);
    CommandResult cmdQuote(const QStringList &args);
    CommandResult cmdSize(const QStringList &args);
    CommandResult rawCommand(const QString &line);
    bool listRemote(const QString &pattern);

    // transfers (CommandsTransfer.cpp)
    CommandResult cmdGet(const QStringList &args);
    CommandResult cmdPut(const QStringList &args);
    CommandResult cmdQueue(const QStringList &args);
    CommandResult cmdRun(const QStringList &args);
    CommandResult cmdClear(const QStringList &args);
    CommandResult cmdCompare(const QStringList &args);
    CommandResult addRemoteNames(const QStringList &names);
    CommandResult addLocalNames(const QStringList &names);
    CommandResult finishTransferCommand(const CommandResult &added, bool queueOnly);
    CommandResult runQueue();
    CommandResult watchResult();

    CommandResult cmdHelp(const QStringList &args);
    CommandResult cmdQuit(const QStringList &args);

    // The engine's failure text, written to the log as the window does.
    CommandResult remoteFailure(const QString &fallback = QString());
    // Sends one command of the session and waits for its result. A terminal
    // has no window to keep alive: the command line waits, with Ctrl-C
    // stopping what runs as the stop button does.
    ftp::Result await(const std::function<void(clsFTPClient::Done)> &start);
    // Runs the event loop until `done` holds.
    void waitUntil(const std::function<bool()> &done);
    void wake();
    void log(int state, const QString &message) { m_host.logState(state, message); }

    Console &m_console;
    CliOptions m_options;
    QueueModel m_model;
    CliHost m_host;
    clsFTPClient m_ftp;
    TransferQueue m_queue;
    bool m_quit = false;
    bool m_runEnded = false;
    QEventLoop *m_waiting = nullptr;
    QList<RowOutcome> m_outcomes; // of the last run
};

} // namespace cli
