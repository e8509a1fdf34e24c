#include "cli/Console.h"

#include <termios.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>

namespace cli {
namespace {

QString colourOn(const LogLine &line)
{
    const quint32 rgb = LogLine::rgb(line.kind);
    const QString weight = line.emphasised() ? QStringLiteral("1;") : QString();
    return QStringLiteral("\x1b[") + weight
        + QStringLiteral("38;2;%1;%2;%3m").arg((rgb >> 16) & 0xff).arg((rgb >> 8) & 0xff).arg(rgb & 0xff);
}

const QString ColourOff = QStringLiteral("\x1b[0m");
const QString WipeLine = QStringLiteral("\r\x1b[K");

} // namespace

Console::Console()
{
    m_inputTerminal = isatty(STDIN_FILENO) == 1;
    m_errorTerminal = isatty(STDERR_FILENO) == 1;
    const char *term = std::getenv("TERM");
    m_colour = m_errorTerminal && !std::getenv("NO_COLOR") && !(term && std::strcmp(term, "dumb") == 0);
}

void Console::write(std::FILE *stream, const QString &text)
{
    const QByteArray bytes = text.toUtf8();
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stream);
    std::fflush(stream);
}

void Console::out(const QString &line)
{
    clearProgress();
    write(stdout, line + QLatin1Char('\n'));
}

void Console::error(const QString &line)
{
    clearProgress();
    write(stderr, line + QLatin1Char('\n'));
}

void Console::log(const LogLine &line)
{
    clearProgress();
    if (m_colour)
        write(stderr, colourOn(line) + line.text + ColourOff + QLatin1Char('\n'));
    else
        write(stderr, line.text + QLatin1Char('\n'));
}

void Console::progress(const QString &line)
{
    if (!m_errorTerminal)
        return;
    write(stderr, WipeLine + line);
    m_progressShown = true;
}

void Console::clearProgress()
{
    if (!m_progressShown)
        return;
    m_progressShown = false;
    write(stderr, WipeLine);
}

bool Console::readLine(QString &line, const QString &prompt)
{
    if (!prompt.isEmpty())
        write(stderr, prompt);
    char *buffer = nullptr;
    size_t capacity = 0;
    const ssize_t n = getline(&buffer, &capacity, stdin);
    if (n < 0) {
        std::free(buffer);
        return false;
    }
    QByteArray bytes(buffer, n);
    std::free(buffer);
    if (bytes.endsWith('\n'))
        bytes.chop(1);
    if (bytes.endsWith('\r'))
        bytes.chop(1);
    line = QString::fromUtf8(bytes);
    return true;
}

bool Console::readSecret(QString &line, const QString &prompt)
{
    termios saved{};
    const bool terminal = m_inputTerminal && tcgetattr(STDIN_FILENO, &saved) == 0;
    if (terminal) {
        termios quiet = saved;
        quiet.c_lflag &= ~tcflag_t(ECHO);
        tcsetattr(STDIN_FILENO, TCSANOW, &quiet);
    }
    const bool ok = readLine(line, prompt);
    if (terminal) {
        tcsetattr(STDIN_FILENO, TCSANOW, &saved);
        write(stderr, QStringLiteral("\n"));
    }
    return ok;
}

} // namespace cli
