#pragma once
// Feeds commands to a session from a script, from -c or from a terminal,
// echoes them (passwords hidden), reports each failure on standard error and
// decides whether the run goes on.

#include <QString>

namespace cli {

class CliSession;
class Console;

class ScriptRunner {
public:
    ScriptRunner(Console &console, CliSession &session, bool keepGoing, bool echo);

    // Runs the commands of one line. False when the run must stop (a failure
    // without --keep-going, or quit).
    bool runLine(const QString &line);

    // A whole text (a script file): line by line.
    void runText(const QString &text);
    // Standard input, line by line; with a prompt when interactive.
    void runInput(bool interactive);

    // 0 when every command succeeded, else the status of the first failure.
    int status() const { return m_status; }

private:
    bool runCommand(const QString &command);
    void fail(int status, const QString &command, const QString &error);

    Console &m_console;
    CliSession &m_session;
    bool m_keepGoing;
    bool m_echo;
    bool m_interactive = false;
    int m_status = 0;
};

} // namespace cli
