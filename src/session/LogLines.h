#pragma once
// The session log's line rules, kept apart from any text widget so that the
// desktop log and the command line write exactly the same lines. Given what
// the log writer receives (a State and a message), it says which lines to
// write, in which kind (colour and emphasis) and with which indent.
//
// - A message without CR LF is one line: " - " + message.
// - A message with CR LF is a server reply: one line per reply line, each
//   " - " + line; lines starting with "213" (our own size queries) are left
//   out, and a remainder shorter than three characters is noise. A last line
//   without CR LF is written like the others.
// - An empty message writes the status line of State (two spaces first);
//   State 11 writes the failure block, State 12 and unknown States nothing.
//
// The State is not looked at when the message is not empty, but for one:
// a message under WarningState is one line of the failure kind, a warning
// the user must not miss (a connection left unencrypted).

#include <QList>
#include <QString>
#include <QtGlobal>

struct LogLine {
    enum class Kind {
        Reply,   // server replies and messages: green, plain
        Status,  // status lines: blue, emphasised
        Failure  // the failure block and "Action denied": orange-red, emphasised
    };

    QString text;
    Kind kind = Kind::Reply;
    int indentTwips = 0; // 200 for reply lines, 100 for a single message, 0 for status lines

    bool emphasised() const { return kind != Kind::Reply; }
    // 24-bit colour of a kind, 0xRRGGBB.
    static quint32 rgb(Kind kind);

    bool operator==(const LogLine &other) const = default;
};

namespace logline {

inline constexpr int ReplyIndentTwips = 200;
inline constexpr int MessageIndentTwips = 100;
inline constexpr int StatusIndentTwips = 0;

inline constexpr int FailureState = 11;
inline constexpr int MessageState = 12;
inline constexpr int DeniedState = 13;
inline constexpr int WarningState = 14;

// The lines the log writer writes for (State, sMessage). serverName and
// userName are the connection's (the site manager's server and user boxes);
// the status lines of States 1, 2, 4 and the failure block show them.
QList<LogLine> linesFor(int State, const QString &sMessage, const QString &serverName,
                        const QString &userName);

// The status text of a State, without the two leading spaces; empty for the
// States that write nothing or a block of their own (11).
QString statusText(int State, const QString &serverName, const QString &userName);

// The notice of a listing holding lines no format understood: how many,
// and the first of them (already shortened), in quotes.
QString unreadLinesText(int count, const QString &firstLine);

} // namespace logline
