#include "session/LogLines.h"

#include "settings/StringTable.h"

namespace {

const QString CrLf = QStringLiteral("\r\n");
const QString LineLead = QStringLiteral(" - ");
const QString StatusLead = QStringLiteral("  ");
constexpr int FailureRuleLength = 70;
constexpr int ShortestLine = 3; // a remainder shorter than this is noise

void appendReplyLines(QList<LogLine> &out, QString remaining)
{
    // Size replies ("213 ...") answer our own queries and would only clutter the log.
    while (remaining.size() >= ShortestLine) {
        const qsizetype end = remaining.indexOf(CrLf);
        const QString line = end < 0 ? remaining : remaining.left(end);
        if (!line.startsWith(QLatin1String("213")))
            out.append({LineLead + line, LogLine::Kind::Reply, logline::ReplyIndentTwips});
        remaining = end < 0 ? QString() : remaining.mid(end + CrLf.size());
    }
}

void appendFailureBlock(QList<LogLine> &out, const QString &serverName)
{
    const QString rule(FailureRuleLength, QLatin1Char('-'));
    const auto kind = LogLine::Kind::Failure;
    out.append({rule, kind, logline::StatusIndentTwips});
    out.append({LangStr(532) + QLatin1Char(' ') + serverName, kind, logline::StatusIndentTwips});
    out.append({rule, kind, logline::StatusIndentTwips});
}

} // namespace

quint32 LogLine::rgb(Kind kind)
{
    switch (kind) {
    case Kind::Reply: return 0x3A8727;   // (58, 135, 39)
    case Kind::Status: return 0x3661A7;  // (54, 97, 167)
    case Kind::Failure: return 0xD5552B; // (213, 85, 43)
    }
    return 0;
}

namespace logline {

QList<LogLine> linesFor(int State, const QString &sMessage, const QString &serverName,
                        const QString &userName)
{
    QList<LogLine> out;
    if (!sMessage.isEmpty()) {
        if (State == WarningState)
            out.append({LineLead + sMessage, LogLine::Kind::Failure, MessageIndentTwips});
        else if (sMessage.contains(CrLf))
            appendReplyLines(out, sMessage);
        else
            out.append({LineLead + sMessage, LogLine::Kind::Reply, MessageIndentTwips});
        return out;
    }
    if (State == FailureState) {
        appendFailureBlock(out, serverName);
        return out;
    }
    const QString text = statusText(State, serverName, userName);
    if (!text.isEmpty()) {
        const auto kind = State == DeniedState ? LogLine::Kind::Failure : LogLine::Kind::Status;
        out.append({StatusLead + text, kind, StatusIndentTwips});
    }
    return out;
}

QString statusText(int State, const QString &serverName, const QString &userName)
{
    switch (State) {
    case 0: return LangStr(510);
    case 1: return LangStr(511) + LineLead + serverName;
    case 2: return serverName + LineLead + LangStr(512);
    case 3: return LangStr(513);
    case 4: return userName + QLatin1Char(' ') + LangStr(514);
    case 5: return LangStr(515);
    case 6: return LangStr(516);
    case 7: return LangStr(517);
    case 8: return LangStr(518);
    case 9: return LangStr(519);
    case 10: return LangStr(520);
    case DeniedState: return LangStr(674);
    default: return QString(); // 11 has its own block; 12 and the rest write nothing
    }
}

QString unreadLinesText(int count, const QString &firstLine)
{
    return QString::number(count) + QLatin1Char(' ') + LangStr(count == 1 ? 871 : 872) + QLatin1Char('"') + firstLine
           + QLatin1Char('"');
}

} // namespace logline
