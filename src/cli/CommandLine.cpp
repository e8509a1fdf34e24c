#include "cli/CommandLine.h"

#include "cli/CliText.h"

namespace cli {
namespace {

const QString Stars = QStringLiteral("****");

// The position of the password among a command's words, or -1.
int passwordWord(const QStringList &words)
{
    if (words.isEmpty())
        return -1;
    const QString &name = words.first();
    if (name == QLatin1String("open")) {
        // open HOST [PORT] USER PASSWORD
        const int user = words.size() > 2 && looksLikePort(words.at(2)) ? 3 : 2;
        return words.size() > user + 1 ? user + 1 : -1;
    }
    if (name == QLatin1String("site-add"))
        return words.size() > 6 ? 6 : -1;
    return -1;
}

QString quoted(const QString &word)
{
    const bool plain = !word.isEmpty() && !word.contains(QLatin1Char(' ')) && !word.contains(QLatin1Char(';'))
        && !word.contains(QLatin1Char('"')) && !word.startsWith(QLatin1Char('#'));
    if (plain)
        return word;
    QString out = QStringLiteral("\"");
    for (QChar c : word) {
        if (c == QLatin1Char('"') || c == QLatin1Char('\\'))
            out += QLatin1Char('\\');
        out += c;
    }
    return out + QLatin1Char('"');
}

} // namespace

QStringList splitCommands(const QString &line)
{
    QStringList out;
    QString current;
    bool inQuotes = false;
    bool comment = false;
    // A command starting with "#" makes the rest of the line a comment.
    auto flush = [&]() {
        const QString command = current.trimmed();
        current.clear();
        if (command.startsWith(QLatin1Char('#')))
            comment = true;
        else if (!command.isEmpty())
            out << command;
    };
    for (qsizetype i = 0; i < line.size() && !comment; ++i) {
        const QChar c = line.at(i);
        if (inQuotes && c == QLatin1Char('\\') && i + 1 < line.size()) {
            current += c;
            current += line.at(++i);
            continue;
        }
        if (c == QLatin1Char('"'))
            inQuotes = !inQuotes;
        if (c == QLatin1Char(';') && !inQuotes)
            flush();
        else
            current += c;
    }
    if (!comment)
        flush();
    return out;
}

bool splitWords(const QString &command, QStringList &words, QString *error)
{
    words.clear();
    QString current;
    bool inWord = false;
    bool inQuotes = false;
    for (qsizetype i = 0; i < command.size(); ++i) {
        const QChar c = command.at(i);
        if (inQuotes) {
            if (c == QLatin1Char('\\') && i + 1 < command.size()
                && (command.at(i + 1) == QLatin1Char('"') || command.at(i + 1) == QLatin1Char('\\'))) {
                current += command.at(++i);
            } else if (c == QLatin1Char('"')) {
                inQuotes = false;
            } else {
                current += c;
            }
        } else if (c == QLatin1Char('"')) {
            inQuotes = true;
            inWord = true;
        } else if (c == QLatin1Char(' ') || c == QLatin1Char('\t')) {
            if (inWord)
                words << current;
            current.clear();
            inWord = false;
        } else {
            current += c;
            inWord = true;
        }
    }
    if (inQuotes) {
        if (error)
            *error = text(Text::UnterminatedQuote);
        return false;
    }
    if (inWord)
        words << current;
    return true;
}

bool hasLineBreak(const QString &text)
{
    return text.contains(QLatin1Char('\r')) || text.contains(QLatin1Char('\n'));
}

QString echoText(const QStringList &words)
{
    // A raw PASS command carries a password too, whatever follows it.
    if (words.size() > 1 && words.first() == QLatin1String("quote")) {
        const QString line = words.mid(1).join(QLatin1Char(' ')).trimmed();
        if (line.startsWith(QLatin1String("PASS"), Qt::CaseInsensitive))
            return QStringLiteral("quote ") + line.left(4) + QLatin1Char(' ') + Stars;
    }
    QStringList out;
    const int secret = passwordWord(words);
    for (int i = 0; i < words.size(); ++i)
        out << (i == secret ? Stars : quoted(words.at(i)));
    return out.join(QLatin1Char(' '));
}

bool parsePortText(const QString &text, quint16 &port)
{
    if (!looksLikePort(text) || text.size() > 5)
        return false;
    const uint value = text.toUInt();
    if (value < 1 || value > 65535)
        return false;
    port = quint16(value);
    return true;
}

bool looksLikePort(const QString &text)
{
    if (text.isEmpty())
        return false;
    for (QChar c : text) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return false;
    }
    return true;
}

} // namespace cli
