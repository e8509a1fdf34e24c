// Folders on both sides and the remote operations of the server pane.
#include "cli/CliSession.h"

#include "cli/CliText.h"
#include "cli/Console.h"
#include "cli/PaneRows.h"
#include "platform/inet/Inet.h"
#include "session/SessionState.h"
#include "settings/StringTable.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

namespace cli {
namespace {

// A reply as lines for printing: the NUL that ends a raw command's reply and
// the empty lines left out.
QStringList replyLines(QString reply)
{
    reply.remove(QChar(0));
    QStringList lines = reply.split(QStringLiteral("\r\n"));
    lines.removeAll(QString());
    return lines;
}

const QString TsvOption = QStringLiteral("--tsv");

QString expandHome(const QString &path)
{
    if (path == QLatin1String("~"))
        return QDir::homePath();
    if (path.startsWith(QLatin1String("~/")))
        return QDir::homePath() + path.mid(1);
    return path;
}

} // namespace

CommandResult CliSession::cmdPwd(const QStringList &)
{
    const QString dir = m_ftp.GetFTPDirectory();
    if (dir.isEmpty())
        return remoteFailure();
    m_console.out(dir);
    return CommandResult::ok();
}

CommandResult CliSession::cmdCd(const QStringList &args)
{
    if (!await([&](clsFTPClient::Done done) { m_ftp.SetFTPDirectory(args.first(), done); }).ok())
        return remoteFailure(args.first());
    log(12, sLastResponse);
    m_host.setRemotePath(m_ftp.GetFTPDirectory());
    return CommandResult::ok();
}

// Lists the current server folder into the session's Directory(); false when
// the listing failed (an empty folder or no match is not a failure).
bool CliSession::listRemote(const QString &pattern)
{
    sLastError.clear();
    const QString filter = pattern.isEmpty() ? QStringLiteral("*.*") : pattern;
    return await([&](clsFTPClient::Done done) { m_ftp.GetDirectoryListing(filter, done); }).ok();
}

CommandResult CliSession::cmdLs(const QStringList &args)
{
    const bool tsv = m_options.tsv || args.value(0) == TsvOption;
    const QStringList patterns = args.value(0) == TsvOption ? args.mid(1) : args;
    if (patterns.size() > 1)
        return CommandResult::badInput(text(Text::TooManyArguments, QStringLiteral("ls [--tsv] [PATTERN]")));
    // Lines of the listing no format understood are told in the log
    // (standard error) by the session itself.
    if (!listRemote(patterns.value(0)))
        return remoteFailure(text(Text::ListingFailed));
    const QList<PaneRow> rows = serverPaneRows(m_ftp.Directory());
    for (const QString &line : tsv ? formatTsv(rows) : formatTable(rows))
        m_console.out(line);
    // The server's reply to the listing goes to the log, as after a refresh.
    m_ftp.ActionOut(QString());
    log(12, sLastResponse);
    return CommandResult::ok();
}

CommandResult CliSession::cmdLcd(const QStringList &args)
{
    const QString path = QDir::cleanPath(QDir(m_host.currentLocalFolder()).absoluteFilePath(expandHome(args.first())));
    if (!QFileInfo(path).isDir())
        return CommandResult::failed(text(Text::NotLocalFolder, path));
    m_host.setCurrentLocalFolder(path);
    return CommandResult::ok();
}

CommandResult CliSession::cmdLpwd(const QStringList &)
{
    m_console.out(m_host.currentLocalFolder());
    return CommandResult::ok();
}

CommandResult CliSession::cmdLls(const QStringList &)
{
    const QString folder = m_host.currentLocalFolder();
    if (!QFileInfo(folder).isDir())
        return CommandResult::failed(text(Text::NotLocalFolder, folder));
    for (const QString &line : formatTable(localPaneRows(folder)))
        m_console.out(line);
    return CommandResult::ok();
}

CommandResult CliSession::cmdMkdir(const QStringList &args)
{
    const QString name = args.first();
    if (!await([&](clsFTPClient::Done done) { m_ftp.CreateFTPDirectory(name, done); }).ok())
        return remoteFailure(LangStr(523) + QStringLiteral("  ") + name + QLatin1Char(' ') + LangStr(524));
    m_console.out(LangStr(523) + QStringLiteral("  ") + name + QLatin1Char(' ') + LangStr(527));
    log(12, sLastResponse);
    return CommandResult::ok();
}

CommandResult CliSession::cmdRmdir(const QStringList &args)
{
    // The session reports nothing of its own here: the server's reply says why.
    const ftp::Result r = await([&](clsFTPClient::Done done) { m_ftp.RemoveFTPDirectory(args.first(), done); });
    const bool removed = r.ok();
    const QString reply = r.response;
    log(12, reply);
    if (!removed) {
        const QStringList lines = replyLines(reply);
        return CommandResult::failed(LangStr(508) + (lines.isEmpty() ? QString() : QStringLiteral(": ") + lines.join(QLatin1Char(' '))));
    }
    m_console.out(LangStr(509));
    return CommandResult::ok();
}

CommandResult CliSession::cmdRm(const QStringList &args)
{
    CommandResult result = CommandResult::ok();
    for (const QString &name : args) {
        sLastError.clear();
        if (!await([&](clsFTPClient::Done done) { m_ftp.DeleteFTPFile(name, done); }).ok()) {
            const CommandResult failed = remoteFailure(LangStr(526) + QStringLiteral(": ") + name);
            if (result.status == StatusSuccess)
                result = failed;
            continue;
        }
        log(12, sLastResponse);
        m_console.out(name + QStringLiteral(": ") + LangStr(525));
    }
    return result;
}

CommandResult CliSession::cmdRename(const QStringList &args)
{
    if (!await([&](clsFTPClient::Done done) { m_ftp.RenameFTPFile(args.at(0), args.at(1), done); }).ok())
        return remoteFailure(LangStr(530));
    log(12, sLastResponse);
    m_console.out(LangStr(529));
    return CommandResult::ok();
}

CommandResult CliSession::rawCommand(const QString &line)
{
    const ftp::Result r = await([&](clsFTPClient::Done done) { m_ftp.SetCHMOD(line, QString(), false, done); });
    // The keep-alive's NOOP does not keep its reply in sCommandResponse.
    const bool noop = line == QLatin1String("NOOP");
    const QString reply = noop ? r.response : sCommandResponse;
    const QStringList lines = replyLines(r.ok() ? reply : sLastError);
    if (!r.ok()) {
        log(12, sLastError);
        return CommandResult::failed(lines.join(QLatin1Char('\n')));
    }
    log(12, r.response);
    for (const QString &l : lines)
        m_console.out(l);
    return CommandResult::ok();
}

CommandResult CliSession::checkChmod(const QStringList &args)
{
    static const QRegularExpression mode(QStringLiteral("^[0-7]{3,4}$"));
    if (!mode.match(args.at(0)).hasMatch())
        return CommandResult::badInput(text(Text::BadMode, args.at(0)));
    return CommandResult::ok();
}

CommandResult CliSession::cmdChmod(const QStringList &args)
{
    return rawCommand(QStringLiteral("SITE CHMOD ") + args.at(0) + QLatin1Char(' ') + args.at(1));
}

CommandResult CliSession::cmdQuote(const QStringList &args)
{
    return rawCommand(args.join(QLatin1Char(' ')));
}

CommandResult CliSession::cmdSize(const QStringList &args)
{
    const ftp::Result r = await([&](clsFTPClient::Done done) { m_ftp.GetFTPFileSize(args.first(), done); });
    if (!r.ok())
        return remoteFailure(text(Text::NoSuchRemote, args.first()));
    const qint64 size = r.size;
    if (size < 0)
        return CommandResult::failed(text(Text::NoSuchRemote, args.first()));
    m_console.out(QString::number(size));
    return CommandResult::ok();
}

} // namespace cli
