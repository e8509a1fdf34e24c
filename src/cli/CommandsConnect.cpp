// Connecting and the address book.
#include "cli/CliSession.h"

#include "cli/CliText.h"
#include "cli/CommandLine.h"
#include "cli/Console.h"
#include "session/SessionState.h"
#include "settings/StringTable.h"
#include "sites/clsGestionData.h"

#include <QDir>
#include <QFileInfo>

namespace cli {
namespace {

// What an anonymous login sends, as the site manager's anonymous box does.
const QString AnonymousUser = QStringLiteral("anonymous");
const QString AnonymousPassword = QStringLiteral("tarvo@example.com");

} // namespace

bool CliSession::findSite(const QString &name, ConnectTarget &target) const
{
    clsGestionData data;
    data.SetFirstData();
    const int count = clsGestionData::siteCollection().count();
    for (int i = 1; i <= count; ++i) {
        if (!data.SetCollectionData(QString::number(i), false) || data.sServerName != name)
            continue;
        target.host = data.sServerIp;
        target.port = data.sServerPort.trimmed().isEmpty() ? QStringLiteral("21") : data.sServerPort.trimmed();
        target.user = data.sServerUser;
        target.password = data.sitePassword();
        // An option given on the command line wins over what the site stores.
        target.binary = m_options.binary.value_or(data.sServerTransfert == QLatin1String("1"));
        target.passive = m_options.passive.value_or(data.sServerTypeConnect != QLatin1String("1"));
        target.tls = m_options.tls.value_or(data.tlsMode);
        target.remoteDir = data.sServerInitServPath;
        target.localDir = data.sServerInitialPath;
        return true;
    }
    return false;
}

CommandResult CliSession::cmdOpen(const QStringList &args)
{
    ConnectTarget target;
    if (args.size() == 1 && findSite(args.first(), target)) {
        if (target.host.trimmed().isEmpty())
            return CommandResult::failed(text(Text::SiteWithoutServer, args.first()));
        if (target.user.isEmpty()) {
            target.user = AnonymousUser;
            target.password = AnonymousPassword;
        }
        return connectTo(target);
    }
    target.host = args.first();
    target.passive = m_options.passive.value_or(true);
    target.binary = m_options.binary.value_or(true);
    target.tls = m_options.tls.value_or(inet::TlsMode::IfOffered);
    int next = 1;
    if (args.size() > 1 && looksLikePort(args.at(1))) {
        quint16 port = 0;
        if (!parsePortText(args.at(1), port))
            return CommandResult::badInput(LangStr(740) + args.at(1));
        target.port = QString::number(port);
        next = 2;
    }
    if (args.size() > next + 2)
        return CommandResult::badInput(text(Text::TooManyArguments, QStringLiteral("open HOST [PORT] [USER [PASSWORD]]")));
    if (args.size() <= next || args.at(next).isEmpty()) {
        target.user = AnonymousUser;
        target.password = AnonymousPassword;
    } else {
        target.user = args.at(next);
        if (args.size() > next + 1) {
            target.password = args.at(next + 1);
        } else if (m_console.canAsk()) {
            m_console.readSecret(target.password, LangStr(103));
        } else {
            target.password = qEnvironmentVariable("TARVOFTP_PASSWORD");
        }
    }
    return connectTo(target);
}

// The site's local folder becomes the current one; a missing one is made
// (one level) and a folder that cannot be made leaves the current one.
void CliSession::useSiteLocalFolder(const QString &folder)
{
    if (folder.isEmpty())
        return;
    const QString path = QDir(m_host.currentLocalFolder()).absoluteFilePath(folder);
    if (QFileInfo(path).isDir()) {
        sSiteLocalPath = QDir::cleanPath(path);
        m_host.setCurrentLocalFolder(sSiteLocalPath);
    } else if (QDir().mkdir(path)) {
        m_host.setCurrentLocalFolder(QDir::cleanPath(path));
    }
}

CommandResult CliSession::connectTo(const ConnectTarget &target)
{
    if (bConnected || hConnection)
        disconnect();
    useSiteLocalFolder(target.localDir);
    m_host.setConnectionNames(target.host, target.user);
    m_host.setBinaryTransfer(target.binary);
    sCurrentHost = target.host;
    lConnectMode = target.passive ? qint32(inet::INTERNET_FLAG_PASSIVE) : 0;
    m_ftp.security().setMode(target.tls);

    bConnecting = true;
    log(0, QString());
    const ftp::Result opened = await([&](clsFTPClient::Done done) {
        m_ftp.OpenConnection(target.host, target.port, target.user, target.password, lConnectMode, done);
    });
    bConnecting = false;
    if (!opened.ok()) {
        bConnected = false;
        log(11, QString());
        return remoteFailure(LangStr(532) + QLatin1Char(' ') + target.host);
    }
    bConnected = true;
    m_ftp.ActionOut(QString());
    if (!sLastResponse.isEmpty())
        log(12, sLastResponse); // the server's welcome
    log(1, QString());
    CommandResult result = CommandResult::ok();
    // A start folder that cannot be entered would send the next transfers
    // elsewhere: the connection stays, but the command fails.
    if (!target.remoteDir.isEmpty()
        && !await([&](clsFTPClient::Done done) { m_ftp.SetFTPDirectory(target.remoteDir, done); }).ok())
        result = remoteFailure(target.remoteDir);
    m_host.setRemotePath(m_ftp.GetFTPDirectory());
    return result;
}

void CliSession::disconnect()
{
    m_queue.connectionClosing();
    m_ftp.CloseConnection();
    bConnected = false;
    // As the desktop's disconnect: waiting rows belong to the old connection.
    m_model.clear();
    m_host.setRemotePath(QString());
}

CommandResult CliSession::cmdClose(const QStringList &)
{
    if (bConnected || hConnection)
        disconnect();
    return CommandResult::ok();
}

CommandResult CliSession::cmdSites(const QStringList &)
{
    clsGestionData data;
    if (const FileResult loaded = data.SetFirstData(); !loaded)
        return CommandResult::failed(loaded.error());
    const int folders = clsGestionData::folderCollection().count();
    const int sites = clsGestionData::siteCollection().count();
    for (int f = 1; f <= folders; ++f) {
        if (!data.SetCollectionSec(QString::number(f)))
            continue;
        m_console.out(data.sTypeFtp);
        const qint32 folderNo = data.lTypeNo;
        for (int s = 1; s <= sites; ++s) {
            if (!data.SetCollectionData(QString::number(s), false) || data.lServerType != folderNo)
                continue;
            QString where = data.sServerIp;
            if (!data.sServerPort.isEmpty())
                where += QLatin1Char(':') + data.sServerPort;
            m_console.out(QStringLiteral("    ") + data.sServerName + QStringLiteral("  (") + where + QLatin1Char(')'));
        }
    }
    return CommandResult::ok();
}

CommandResult CliSession::cmdSiteAdd(const QStringList &args)
{
    clsGestionData::SiteFields fields;
    fields.name = args.at(1);
    fields.host = args.at(2);
    if (args.size() > 3) {
        quint16 port = 0;
        if (!parsePortText(args.at(3), port))
            return CommandResult::badInput(LangStr(740) + args.at(3));
        fields.port = QString::number(port);
    }
    fields.user = args.value(4);
    fields.password = args.value(5);
    fields.remotePath = args.value(6);
    fields.localPath = args.value(7);
    fields.transfer = m_options.binary.value_or(true) ? QStringLiteral("1") : QStringLiteral("2");
    fields.mode = m_options.passive.value_or(true) ? QStringLiteral("2") : QStringLiteral("1");

    clsGestionData data;
    if (const FileResult loaded = data.SetFirstData(); !loaded)
        return CommandResult::failed(loaded.error());
    const KeyedCollection &folders = clsGestionData::folderCollection();
    for (int f = 1; f <= folders.count() && fields.folder.isEmpty(); ++f) {
        if (folders.item(f) == args.at(0))
            fields.folder = folders.key(f);
    }
    if (fields.folder.isEmpty()) {
        if (const FileResult added = data.addFolder(args.at(0)); !added)
            return CommandResult::failed(added.error());
        fields.folder = QString::number(data.lTypeNo);
    }
    QString line;
    if (const FileResult composed = clsGestionData::composeSiteLine(fields, &line); !composed)
        return CommandResult::badInput(composed.error());
    // Saved as an edit so that a site of the same name keeps its number.
    if (const FileResult saved = data.SaveDataChange(line, false, true, QString()); !saved)
        return CommandResult::failed(saved.error());
    if (m_options.tls) {
        if (const FileResult saved = data.setTlsMode(data.lServerNo, *m_options.tls); !saved)
            return CommandResult::failed(saved.error());
    }
    data.SetFirstData();
    m_console.out(text(Text::SiteSaved, fields.name));
    return CommandResult::ok();
}

} // namespace cli
