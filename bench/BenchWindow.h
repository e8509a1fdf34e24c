#pragma once
#include <cstdio>
// What the window benchmarks share: a main window offscreen with a program
// folder of its own, logged in to a local server through the quick-connect
// boxes, and the queue driven by the panes' buttons. The session and the
// queue work in the background, so every step runs the window's event loop
// until its work has ended, as the user's window would.

#include "mainwindow/frmconc.h"
#include "platform/Paths.h"
#include "platform/TimeZone.h"
#include "session/SessionState.h"
#include "session/clsFTPClient.h"
#include "sites/frmManager.h"
#include "transfer/QueueModel.h"
#include "transfer/TransferQueue.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QItemSelectionModel>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTreeView>

#include <functional>
#include <memory>

namespace bench {

inline double seconds(const QElapsedTimer &clock)
{
    return double(clock.nsecsElapsed()) / 1e9;
}

// Runs the window's event loop until `done` holds.
inline void runUntil(const std::function<bool()> &done)
{
    while (!done())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
}

// The session, the folder expansion and the queue have all ended.
inline bool idle(frmconc &window)
{
    return !bConnecting && !window.mFTP->isBusy() && !window.transferQueue().isRunning()
        && !window.transferQueue().isExpanding();
}

inline void settle(frmconc &window)
{
    runUntil([&window] { return idle(window); });
}

// A main window as the program starts it, shown offscreen unless `show` is false.
class Window {
    QTemporaryDir m_programDir; // first in, last out: the window writes its files there

public:
    explicit Window(bool show = true)
    {
        platform::setProgramDirectory(m_programDir.path());
        resetSessionState();
        window = std::make_unique<frmconc>();
        // As at the end of the start-up (without its update check and site
        // manager): the bands laid out from the window's size. Before it,
        // every band keeps its first small size and the panes, the queue and
        // the log lie over each other, so that each repaint of one is a
        // repaint of all.
        bLoaded = true;
        window->resize(1280, 900);
        if (show)
            window->show();
        window->Form_Resize();
        QApplication::processEvents();
    }

    // Fills the quick-connect boxes and connects (passive); returns at once.
    void startConnecting(quint16 port)
    {
        frmManager *m = window->manager();
        m->TxtServer->setText(QStringLiteral("127.0.0.1"));
        m->TxtPort->setText(QString::number(port));
        m->TxtUser->setText(QStringLiteral("anonymous"));
        m->txtPass->setText(QStringLiteral("bench@"));
        lConnectMode = 0x08000000; // passive
        window->premier_Connect(true);
    }
    // Connected with the first listing in the server pane.
    bool connectTo(quint16 port)
    {
        startConnecting(port);
        settle(*window);
        return bConnected;
    }

    // Enters a server folder and lists it into the server pane; false when
    // the pane does not show it. Each step waits for the one before: on a
    // slow server a command sent while the session is busy is not taken.
    bool openServerFolder(const QString &folder)
    {
        bool entered = false;
        for (int attempt = 0; attempt < 3 && !entered; ++attempt) {
            settle(*window);
            bool done = false;
            window->mFTP->SetFTPDirectory(folder, false, [&](const ftp::Result &r) {
                entered = r.ok();
                if (!entered)
                    std::fprintf(stderr, "CWD %s: %s\n", qPrintable(folder), qPrintable(r.response));
                done = true;
            });
            runUntil([&done] { return done; });
        }
        if (!entered)
            return false;
        settle(*window);
        window->RefreshDirectoryListing();
        settle(*window);
        return window->remotePathText().endsWith(folder);
    }

    // Selects `name` in the server pane (download) or the local pane and
    // presses that pane's transfer button; the rows go and the run starts
    // in the background. False when the name is not in the pane.
    bool pressTransfer(bool download, const QString &name)
    {
        QTreeView *list = download ? window->listviewServer : window->lvLocal;
        auto *model = static_cast<PaneModel *>(list->model());
        const int row = model->findName(name);
        if (row < 0)
            return false;
        list->clearSelection();
        list->selectionModel()->select(model->index(row, 0), QItemSelectionModel::Select | QItemSelectionModel::Rows);
        if (download)
            window->Toolbar1_ButtonClick(QStringLiteral("Download"));
        else
            window->Toolbar2_ButtonClick(QStringLiteral("upload"));
        return true;
    }

    std::unique_ptr<frmconc> window;
};

} // namespace bench
