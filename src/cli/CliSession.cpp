#include "cli/CliSession.h"

#include "cli/CliText.h"
#include "cli/Console.h"
#include "cli/Interrupt.h"
#include "platform/Keyring.h"
#include "platform/Prompt.h"
#include "session/SessionState.h"
#include "settings/StringTable.h"

#include <QEventLoop>
#include <QTimer>

#include <utility>

namespace cli {

const CliSession::Command CliSession::Commands[] = {
    {"open", 1, 4, false, &CliSession::cmdOpen, "open HOST [PORT] [USER [PASSWORD]] | open SITE", nullptr, 1},
    {"close", 0, 0, false, &CliSession::cmdClose, "close"},
    {"pwd", 0, 0, true, &CliSession::cmdPwd, "pwd"},
    {"cd", 1, 1, true, &CliSession::cmdCd, "cd DIR"},
    {"ls", 0, 2, true, &CliSession::cmdLs, "ls [--tsv] [PATTERN]"},
    {"lcd", 1, 1, false, &CliSession::cmdLcd, "lcd DIR"},
    {"lpwd", 0, 0, false, &CliSession::cmdLpwd, "lpwd"},
    {"lls", 0, 0, false, &CliSession::cmdLls, "lls"},
    {"get", 1, -1, true, &CliSession::cmdGet, "get [-q] NAME..."},
    {"put", 1, -1, true, &CliSession::cmdPut, "put [-q] NAME..."},
    {"queue", 0, 0, false, &CliSession::cmdQueue, "queue"},
    {"run", 0, 0, true, &CliSession::cmdRun, "run"},
    {"clear", 0, 0, false, &CliSession::cmdClear, "clear"},
    {"mkdir", 1, 1, true, &CliSession::cmdMkdir, "mkdir DIR"},
    {"rmdir", 1, 1, true, &CliSession::cmdRmdir, "rmdir DIR"},
    {"rm", 1, -1, true, &CliSession::cmdRm, "rm NAME..."},
    {"rename", 2, 2, true, &CliSession::cmdRename, "rename OLD NEW"},
    {"chmod", 2, 2, true, &CliSession::cmdChmod, "chmod MODE NAME", &CliSession::checkChmod},
    {"quote", 1, -1, true, &CliSession::cmdQuote, "quote LINE"},
    {"size", 1, 1, true, &CliSession::cmdSize, "size NAME"},
    {"compare", 0, 0, true, &CliSession::cmdCompare, "compare"},
    {"sites", 0, 0, false, &CliSession::cmdSites, "sites"},
    {"site-add", 3, 8, false, &CliSession::cmdSiteAdd,
     "site-add FOLDER NAME HOST [PORT [USER [PASSWORD [REMOTE [LOCAL]]]]]", nullptr, 3},
    {"help", 0, 1, false, &CliSession::cmdHelp, "help"},
    {"quit", 0, 0, false, &CliSession::cmdQuit, "quit"},
    {"exit", 0, 0, false, &CliSession::cmdQuit, "exit"},
};

CliSession::CliSession(Console &console, const CliOptions &options)
    : m_console(console),
      m_options(options),
      m_host(console, m_model, options.exists),
      m_queue(m_ftp, m_model, m_host, m_host)
{
    m_ftp.setHost(&m_host);
    const int ms = options.timeoutSeconds * 1000;
    m_ftp.setTimeouts({ms, ms, ms});
    QObject::connect(&m_ftp, &clsFTPClient::reconnected, [this] { log(12, LangStr(803)); });
    if (options.parallel)
        m_queue.runner().setConnections(*options.parallel);
    if (options.retries)
        m_queue.runner().setRetries(*options.retries);
    // Whether a transfer command failed is the runner's outcomes and the
    // expansion's refusals, never a log text.
    QObject::connect(&m_queue, &TransferQueue::entryRefused,
                     [this](const QString &text) { m_host.noteFailure(text); });
    QObject::connect(&m_queue, &TransferQueue::runFinished, [this](const QList<RowOutcome> &outcomes) {
        m_outcomes = outcomes;
        m_runEnded = true;
        wake();
    });
    QObject::connect(&m_queue, &TransferQueue::expansionFinished, [this] { wake(); });
    platform::setPrompt(&m_host);
    keyring::setNoticeSink([this] { log(12, LangStr(893)); });
    lConnectMode = options.passive.value_or(true) ? qint32(inet::INTERNET_FLAG_PASSIVE) : 0;
    m_host.setBinaryTransfer(options.binary.value_or(true));
    m_ftp.security().setExtraCaCertificates(options.caCertificates);
    m_ftp.security().setPinnedFingerprint(options.fingerprint);
}

CliSession::~CliSession()
{
    m_ftp.CloseConnection();
    bConnected = false;
    platform::setPrompt(nullptr);
    keyring::setNoticeSink(nullptr);
}

const CliSession::Command *CliSession::findCommand(const QString &name)
{
    for (const Command &c : Commands) {
        if (name == QLatin1String(c.name))
            return &c;
    }
    return nullptr;
}

CommandResult CliSession::execute(const QStringList &words)
{
    if (words.isEmpty())
        return CommandResult::ok();
    const Command *command = findCommand(words.first());
    if (!command)
        return CommandResult::badInput(text(Text::UnknownCommand, words.first()));
    const QStringList args = words.mid(1);
    const QString usage = QString::fromLatin1(command->usage);
    if (args.size() < command->minArgs)
        return CommandResult::badInput(text(Text::MissingArgument, usage));
    if (command->maxArgs >= 0 && args.size() > command->maxArgs)
        return CommandResult::badInput(text(Text::TooManyArguments, usage));
    for (int i = 0; i < args.size(); ++i) {
        if (args.at(i).isEmpty() && (command->emptyAllowedFrom < 0 || i < command->emptyAllowedFrom))
            return CommandResult::badInput(text(Text::EmptyName) + QStringLiteral("; ") + text(Text::MissingArgument, usage));
    }
    if (command->check) {
        if (CommandResult checked = command->check(args); checked.status != StatusSuccess)
            return checked;
    }
    if (command->needsConnection && !(bConnected && hConnection))
        return CommandResult::failed(LangStr(500));
    // Each command reports its own failure, never one left by an earlier one.
    sLastError.clear();
    return (this->*command->run)(args);
}

CommandResult CliSession::remoteFailure(const QString &fallback)
{
    const QString reason = sLastError.isEmpty() ? fallback : sLastError;
    if (!sLastError.isEmpty())
        log(12, sLastError);
    return CommandResult::failed(QString(reason).replace(QStringLiteral("\r\n"), QStringLiteral("\n")).trimmed());
}

ftp::Result CliSession::await(const std::function<void(clsFTPClient::Done)> &start)
{
    ftp::Result result;
    bool done = false;
    start([&](const ftp::Result &r) {
        result = r;
        done = true;
        wake();
    });
    waitUntil([&] { return done; });
    return result;
}

void CliSession::waitUntil(const std::function<bool()> &done)
{
    if (done())
        return;
    QEventLoop loop;
    QEventLoop *outer = std::exchange(m_waiting, &loop);
    QTimer tick; // Ctrl-C comes as a signal, not as an event
    tick.setInterval(20);
    bool forwarded = false;
    QObject::connect(&tick, &QTimer::timeout, &loop, [&] {
        if (!forwarded && interruptRequested()) {
            forwarded = true;
            bStopTransfer = true;
            m_queue.stop();
            m_ftp.cancelOperations();
        }
        if (done())
            loop.quit();
    });
    tick.start();
    while (!done())
        loop.exec();
    m_waiting = outer;
}

void CliSession::wake()
{
    if (m_waiting)
        m_waiting->quit();
}

CommandResult CliSession::cmdHelp(const QStringList &)
{
    m_console.out(text(Text::Help));
    return CommandResult::ok();
}

CommandResult CliSession::cmdQuit(const QStringList &)
{
    m_quit = true;
    return CommandResult::ok();
}

} // namespace cli
