#pragma once
// Standard output, standard error and the terminal. Command results go to
// standard output; the session log, errors and the progress line to standard
// error. Colours and the progress line only when standard error is a terminal.

#include "session/LogLines.h"

#include <QString>

#include <cstdio>

namespace cli {

class Console {
public:
    Console();

    bool inputIsTerminal() const { return m_inputTerminal; }
    bool errorIsTerminal() const { return m_errorTerminal; }
    // Questions can be asked: both standard input and standard error are a terminal.
    bool canAsk() const { return m_inputTerminal && m_errorTerminal; }

    void out(const QString &line);          // a result line on standard output
    void error(const QString &line);        // a plain line on standard error
    void log(const LogLine &line);          // a session log line on standard error
    // The transient progress line (terminal only); replaced by the next one,
    // wiped before any other output.
    void progress(const QString &line);
    void clearProgress();

    // One line of standard input without its line end; false at its end.
    bool readLine(QString &line, const QString &prompt = QString());
    // A line read with the terminal's echo off (a password).
    bool readSecret(QString &line, const QString &prompt);

private:
    void write(std::FILE *stream, const QString &text);

    bool m_inputTerminal = false;
    bool m_errorTerminal = false;
    bool m_colour = false;
    bool m_progressShown = false;
};

} // namespace cli
