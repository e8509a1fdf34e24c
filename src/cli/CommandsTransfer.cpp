// The transfer queue: adding files and folders as the panes do, running it,
// and the folder comparison.
#include "cli/CliSession.h"

#include "cli/CliText.h"
#include "cli/Console.h"
#include "cli/PaneRows.h"
#include "platform/inet/Inet.h"
#include "session/DateValue.h"
#include "session/FileTypes.h"
#include "session/SessionState.h"
#include "settings/StringTable.h"

#include <QDir>
#include <QFileInfo>

namespace cli {
namespace {

const QString QueueOnly = QStringLiteral("-q");

bool hasWildcard(const QString &name)
{
    return name.contains(QLatin1Char('*')) || name.contains(QLatin1Char('?'));
}

// The rows the runner leaves behind, as the error of a command.
QString rowsLeftText(const QueueModel &model)
{
    return text(Text::FilesLeft, QString::number(model.count()));
}

} // namespace

CommandResult CliSession::cmdGet(const QStringList &args)
{
    const bool queueOnly = args.first() == QueueOnly;
    const QStringList names = queueOnly ? args.mid(1) : args;
    if (names.isEmpty())
        return CommandResult::badInput(text(Text::MissingArgument, QStringLiteral("get [-q] NAME...")));
    m_host.startWatch();
    const CommandResult added = addRemoteNames(names);
    return finishTransferCommand(added, queueOnly);
}

CommandResult CliSession::cmdPut(const QStringList &args)
{
    const bool queueOnly = args.first() == QueueOnly;
    const QStringList names = queueOnly ? args.mid(1) : args;
    if (names.isEmpty())
        return CommandResult::badInput(text(Text::MissingArgument, QStringLiteral("put [-q] NAME...")));
    m_host.startWatch();
    const CommandResult added = addLocalNames(names);
    return finishTransferCommand(added, queueOnly);
}

// After the rows were added: the queue runs unless only adding was asked
// (or nothing is queued). A name the expansion refused fails the command
// too, whatever the run gives.
CommandResult CliSession::finishTransferCommand(const CommandResult &added, bool queueOnly)
{
    CommandResult result = added;
    // Server folders are listed in the background: their rows come first.
    waitUntil([this] { return !m_queue.isExpanding(); });
    if (result.status == StatusSuccess)
        result = queueOnly || m_model.count() == 0 ? watchResult() : runQueue();
    m_host.stopWatch();
    return result;
}

// Server names are those of the current folder, as the server pane shows
// them; a folder is told from a file by the listing, as the pane does.
CommandResult CliSession::addRemoteNames(const QStringList &names)
{
    if (!listRemote(QString()))
        return remoteFailure(text(Text::ListingFailed));
    QList<RemoteSelection> selection;
    for (const QString &name : names) {
        if (name.contains(QLatin1Char('/')))
            return CommandResult::failed(text(Text::RemoteNameOnly, name));
        bool matched = false;
        for (const cDItemAttribute &e : m_ftp.Directory()) {
            const bool hit = hasWildcard(name) ? !isDotEntry(e.Filename) && inet::matchesPattern(e.Filename, name)
                                               : e.Filename == name;
            if (!hit)
                continue;
            RemoteSelection entry;
            entry.name = e.Filename;
            entry.size = e.sizeKnown ? e.FileSize : -1;
            if (e.timeKnown)
                entry.date = dateTimeFromDateValue(e.LastWriteTime);
            selection.append(entry);
            matched = true;
        }
        if (!matched)
            return CommandResult::failed(text(Text::NoSuchRemote, name));
    }
    m_queue.addRemoteSelection(selection);
    return CommandResult::ok();
}

// Local names are taken in the current local folder (wildcards match its
// entries); a path elsewhere is added the way a file dropped from the file
// manager is.
CommandResult CliSession::addLocalNames(const QStringList &names)
{
    const QString folder = m_host.currentLocalFolder();
    QList<LocalSelection> inFolder;
    QStringList elsewhere;
    for (const QString &name : names) {
        if (hasWildcard(name) && !name.contains(QLatin1Char('/'))) {
            const QFileInfoList hits = QDir(folder).entryInfoList({name}, QDir::Dirs | QDir::Files | QDir::NoDotAndDotDot,
                                                                  QDir::Name | QDir::IgnoreCase);
            if (hits.isEmpty())
                return CommandResult::failed(text(Text::NoSuchLocal, name));
            for (const QFileInfo &hit : hits)
                inFolder.append({hit.fileName(), hit.isDir()});
            continue;
        }
        const QFileInfo info(QDir(folder).absoluteFilePath(name));
        if (!info.exists())
            return CommandResult::failed(text(Text::NoSuchLocal, info.filePath()));
        if (QDir::cleanPath(info.absolutePath()) == QDir::cleanPath(folder))
            inFolder.append({info.fileName(), info.isDir()});
        else
            elsewhere << QDir::cleanPath(info.absoluteFilePath());
    }
    m_queue.addLocalSelection(inFolder);
    for (const QString &path : elsewhere) {
        if (QFileInfo(path).isDir())
            m_queue.LocalSubFolder(path, QString());
        else
            m_queue.menuupload(path, QString());
    }
    return CommandResult::ok();
}

CommandResult CliSession::watchResult()
{
    if (m_host.watchFailed())
        return CommandResult::failed(m_host.watchError());
    return CommandResult::ok();
}

// Runs the queue as the tool bars do and waits for its end. Whether the
// command failed is read from the rows' outcomes: a failure, a stop, a
// cancelled question, or rows left behind.
CommandResult CliSession::runQueue()
{
    const QString savedLocal = m_host.currentLocalFolder();
    m_host.setRemotePath(m_ftp.GetFTPDirectory());
    m_runEnded = false;
    m_outcomes.clear();
    m_queue.RunTransferQueue();
    waitUntil([this] { return m_runEnded || !m_queue.isRunning(); });
    m_console.clearProgress();
    bStopTransfer = false;
    for (const RowOutcome &o : std::as_const(m_outcomes)) {
        switch (o.kind) {
        case RowOutcome::Kind::Failed: m_host.noteFailure(o.name + QStringLiteral(": ") + o.reason.trimmed()); break;
        case RowOutcome::Kind::Cancelled: m_host.noteFailure(text(Text::Cancelled, o.name)); break;
        case RowOutcome::Kind::Stopped: m_host.noteFailure(LangStr(801) + o.name); break;
        case RowOutcome::Kind::Refused: m_host.noteFailure(LangStr(790) + o.name); break;
        case RowOutcome::Kind::Done:
        case RowOutcome::Kind::Skipped: break;
        }
    }
    if (m_model.count() == 0)
        return watchResult();
    // A run that ended early leaves the local side where its last row took it.
    m_host.setCurrentLocalFolder(savedLocal);
    return CommandResult::failed(m_host.watchFailed() ? m_host.watchError() + QLatin1Char('\n') + rowsLeftText(m_model)
                                                      : rowsLeftText(m_model));
}

CommandResult CliSession::cmdRun(const QStringList &)
{
    if (m_model.count() == 0) {
        m_console.out(LangStr(534));
        return CommandResult::ok();
    }
    m_host.startWatch();
    return finishTransferCommand(CommandResult::ok(), false);
}

CommandResult CliSession::cmdQueue(const QStringList &)
{
    if (m_model.count() == 0) {
        m_console.out(LangStr(534));
        return CommandResult::ok();
    }
    QList<PaneRow> rows;
    for (int i = 0; i < m_model.count(); ++i) {
        const QueueRow &r = m_model.row(i);
        const QString from = r.isDownload() ? r.remote : r.local;
        const QString to = r.isDownload() ? r.local : r.remote;
        // Name, size, direction, then where from and where to.
        rows.append({r.name, m_model.text(i, QueueRow::Size), m_model.text(i, QueueRow::Status),
                     from + QStringLiteral(" -> ") + to, false, {}});
    }
    for (const QString &line : formatTable(rows))
        m_console.out(line);
    return CommandResult::ok();
}

CommandResult CliSession::cmdClear(const QStringList &)
{
    m_model.clear();
    m_console.clearProgress();
    return CommandResult::ok();
}

CommandResult CliSession::cmdCompare(const QStringList &)
{
    if (!listRemote(QString()))
        return remoteFailure(text(Text::ListingFailed));
    const QList<CompareRow> server = cli::compareRows(serverPaneRows(m_ftp.Directory()));
    const QList<CompareRow> local = cli::compareRows(localPaneRows(m_host.currentLocalFolder()));
    const CompareResult result = comparison::CompareLists(local, server);

    const auto markText = [](CompareMark mark) {
        switch (mark) {
        case CompareMark::Missing: return LangStr(687);
        case CompareMark::SizeDiffers: return LangStr(688);
        case CompareMark::DateDiffers: return LangStr(689);
        case CompareMark::None: break;
        }
        return QString();
    };
    QList<PaneRow> lines;
    const auto addSide = [&](const QString &side, const QList<CompareRow> &rows, const QList<CompareFlags> &flags) {
        for (int i = 0; i < rows.size(); ++i) {
            const CompareMark mark = flags.at(i).mark();
            if (mark != CompareMark::None)
                lines.append({side, QString(), markText(mark), rows.at(i).name, false, {}});
        }
    };
    addSide(LangStr(134).trimmed(), local, result.local);
    addSide(LangStr(135).trimmed(), server, result.server);
    for (const QString &line : formatTable(lines))
        m_console.out(line);
    return CommandResult::ok();
}

} // namespace cli
