#include "session/DeleteSelection.h"

#include "platform/Prompt.h"
#include "session/FileTypes.h"
#include "session/SessionHost.h"
#include "session/SessionState.h"
#include "session/clsFTPClient.h"

#include <QFile>

#include <cerrno>
#include <unistd.h>

namespace {
// The system's error of removing one local entry, 0 when it went.
int removeLocalEntry(const QString &path, bool folder)
{
    const QByteArray native = QFile::encodeName(path);
    const int rc = folder ? ::rmdir(native.constData()) : ::unlink(native.constData());
    return rc == 0 ? 0 : errno;
}
} // namespace

void DeleteLocalSelection(const QList<LocalPaneRow> &selected, const QString &localFolder,
                          clsFTPClient &ftp, SessionHost &host, const std::function<void(int)> &removeRow)
{
    // From the last row to the first, so that removing a row does not move
    // the rows still to be handled.
    for (auto it = selected.crbegin(); it != selected.crend(); ++it) {
        const LocalPaneRow &row = *it;
        if (isDotEntry(row.name) || row.name.isEmpty() || row.name.contains(QLatin1Char('/')))
            continue;
        if (!bDeleteAll && !host.deleteItem(row.name, false))
            continue;
        const QString path = localFolder.endsWith(QLatin1Char('/')) ? localFolder + row.name
                                                                    : localFolder + QLatin1Char('/') + row.name;
        const int error = removeLocalEntry(path, row.sizeText.isEmpty());
        removeRow(row.position);
        if (error != 0) {
            ftp.ErrorOut(quint32(error), QStringLiteral("RemoveDirectory"), QStringLiteral("kernel32"));
            host.logState(12, sLastError);
        }
    }
    bDeleteAll = false;
}

void DeleteRemoteSelection(const QStringList &selectedNames, clsFTPClient &ftp, SessionHost &host)
{
    // Every question first, in list order; the deletions then go to the
    // connection in that order, and the refresh after them.
    struct Deletion {
        QString name;
        bool folder;
    };
    QList<Deletion> deletions;
    for (const QString &name : selectedNames) {
        if (isDotEntry(name))
            continue;
        const cDItemAttribute *entry = ftp.Directory().Item(name);
        if (entry && entry->Directory) {
            // Folders are confirmed one by one, even after "remove all".
            if (host.deleteItem(name, true))
                deletions.append({name, true});
            continue;
        }
        if (bDeleteAll || host.deleteItem(name, true))
            deletions.append({name, false});
    }
    bDeleteAll = false;
    clsFTPClient *session = &ftp;
    SessionHost *shown = &host;
    for (const Deletion &d : deletions) {
        if (d.folder) {
            ftp.RemoveFTPDirectory(d.name, [session, shown](const ftp::Result &) {
                session->ActionOut(QString());
                shown->logState(12, sLastResponse);
            });
        } else {
            ftp.DeleteFTPFile(d.name, [shown](const ftp::Result &r) {
                if (r.ok())
                    shown->logState(12, sLastResponse);
                else
                    platform::inform(sLastError, platform::PromptIcon::None);
            });
        }
    }
    host.refreshDirectoryListing();
}
