#pragma once
// Splitting what the user typed into commands and words. Commands are
// separated by ";" and words by spaces; double quotes group a word that holds
// spaces or ";" (inside them \" is a quote and \\ a backslash); a command
// starting with "#" makes the rest of the line a comment. Pure functions.

#include <QString>
#include <QStringList>

namespace cli {

// The commands of one line (or of -c), split at ";" outside quotes, trimmed,
// empty ones and comments left out. A quote left open ends the line: its
// command still comes back whole and splitWords reports it.
QStringList splitCommands(const QString &line);

// The words of one command. False (with the reason in *error) for a quote
// left open.
bool splitWords(const QString &command, QStringList &words, QString *error);

// True when the text holds CR or LF: such a command is never run.
bool hasLineBreak(const QString &text);

// The words written back as one line (quoted where needed) with every
// password replaced by stars: what the command echo and the log may show.
QString echoText(const QStringList &words);

// A port typed by the user: a whole number from 1 to 65535.
bool parsePortText(const QString &text, quint16 &port);
// True when a word is made of digits only (a port rather than a user name).
bool looksLikePort(const QString &text);

} // namespace cli
