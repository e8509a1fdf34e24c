#include "cli/ScriptRunner.h"

#include "cli/CliSession.h"
#include "cli/CommandLine.h"
#include "cli/Console.h"
#include "cli/Interrupt.h"
#include "settings/StringTable.h"

namespace cli {
namespace {
const QString Prompt = QStringLiteral("tarvoftp> ");
const QString ProgramName = QStringLiteral("tarvoftp-cli");
} // namespace

ScriptRunner::ScriptRunner(Console &console, CliSession &session, bool keepGoing, bool echo)
    : m_console(console), m_session(session), m_keepGoing(keepGoing), m_echo(echo)
{
}

void ScriptRunner::fail(int status, const QString &command, const QString &error)
{
    QString where = ProgramName;
    if (!command.isEmpty())
        where += QStringLiteral(": ") + command;
    m_console.error(where + QStringLiteral(": ") + error);
    if (m_status == 0)
        m_status = status;
}

bool ScriptRunner::runCommand(const QString &command)
{
    // Nothing holding a line break reaches the server, not even a part of it.
    if (hasLineBreak(command)) {
        fail(StatusBadInput, QString(), LangStr(708));
        return m_keepGoing;
    }
    QStringList words;
    QString error;
    if (!splitWords(command, words, &error)) {
        fail(StatusBadInput, QString(), error);
        return m_keepGoing;
    }
    if (words.isEmpty())
        return true;
    if (m_echo)
        m_console.error(Prompt + echoText(words));
    armInterrupt();
    CommandResult result = m_session.execute(words);
    if (interruptRequested())
        result = {InterruptedStatus, result.error.isEmpty() ? QStringLiteral("^C") : result.error};
    if (result.status != StatusSuccess) {
        fail(result.status, words.first(), result.error);
        // Ctrl-C stops a script even with --keep-going; a prompt stays.
        return m_keepGoing && (result.status != InterruptedStatus || m_interactive);
    }
    return !m_session.quitRequested();
}

bool ScriptRunner::runLine(const QString &line)
{
    for (const QString &command : splitCommands(line)) {
        if (!runCommand(command))
            return false;
    }
    return true;
}

void ScriptRunner::runText(const QString &text)
{
    const QStringList lines = text.split(QLatin1Char('\n'));
    for (QString line : lines) {
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
        if (!runLine(line))
            return;
    }
}

void ScriptRunner::runInput(bool interactive)
{
    m_interactive = interactive;
    QString line;
    while (m_console.readLine(line, interactive ? Prompt : QString())) {
        if (!runLine(line))
            return;
    }
    if (interactive)
        m_console.error(QString());
}

} // namespace cli
