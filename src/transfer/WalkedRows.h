#pragma once
// A server folder's walk turned into download rows while it is still going
// on: the folders come one by one, depth first, and each file becomes a row
// as soon as every row before it is known. The rows come in the order of a
// depth-first reading of the listings: a folder's files, and at each of its
// folders, that folder's rows.

#include "session/FtpCommand.h"
#include "transfer/TransferQueue.h"

#include <functional>
#include <vector>

class WalkedRows {
public:
    struct Sink {
        // A file of `remoteFolder` for `localFolder`.
        std::function<void(const RemoteSelection &file, const QString &remoteFolder, const QString &localFolder)> file;
        // An entry or folder left out: the log text's id and the name it names.
        std::function<void(int stringId, const QString &name)> refused;
    };
    WalkedRows(QString localBase, Sink sink);

    // The walk's next folder.
    void add(const ftp::Folder &folder);
    bool empty() const { return m_folders.empty(); }

private:
    struct Frame {
        size_t folder = 0; // in m_folders
        size_t entry = 0;  // its next entry
        QString localFolder;
    };
    void advance();
    void open();
    bool leftOut(const ftp::Folder &folder, const inet::FindRecord &entry) const;

    QString m_localBase;
    Sink m_sink;
    std::vector<ftp::Folder> m_folders;
    size_t m_next = 0; // the next folder to open
    std::vector<Frame> m_stack;
};
