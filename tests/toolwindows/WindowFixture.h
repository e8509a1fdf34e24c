#pragma once
// What the tool window suites share beyond the window suites' common ground:
// English captions, a real transfer queue (with the engine's test host
// standing in for the main window), and small helpers to drive windows.

#include "SessionWait.h"
#include "FtpServer.h"
#include "TestHosts.h"
#include "WindowTestSupport.h"
#include "session/clsFTPClient.h"
#include "transfer/QueueModel.h"
#include "transfer/TransferQueue.h"

#include <QAction>
#include <QToolBar>
#include <QToolButton>

#include <memory>

class WindowSuite : public WindowTest {
protected:
    void SetUp() override
    {
        WindowTest::SetUp();
        LanguageOffset = 1000;
    }
};

// The queue of the main window, as the engine keeps it.
struct QueueBench {
    clsFTPClient ftp;
    QueueModel model;
    TestHost host;
    TransferQueue queue{ftp, model, host, host};

    QueueBench() { ftp.setHost(&host); }
    ~QueueBench()
    {
        if (bConnected)
            ftp.CloseConnection();
        bConnected = false;
    }

    // Logs in to the server and lists its root, as the server pane would.
    bool connectTo(const FtpServer &server)
    {
        ftp.setTimeouts({5000, 5000, 5000});
        bConnected = testwait::open(ftp, server.host(), server.port(), server.user(), server.password(), true);
        if (bConnected) {
            sCurrentHost = server.host();
            testwait::result([this](clsFTPClient::Done d) { ftp.GetDirectoryListing(QStringLiteral("*.*"), d); });
        }
        return bConnected;
    }

    QStringList column(int column) const
    {
        QStringList out;
        for (int i = 0; i < model.count(); ++i)
            out << model.text(i, column);
        return out;
    }
    // "name -> remote folder" of every row, in order.
    QStringList namesAndRemotes() const
    {
        QStringList out;
        for (int i = 0; i < model.count(); ++i)
            out << model.text(i, QueueRow::Name) + " -> " + model.text(i, QueueRow::Remote);
        return out;
    }
};

// Clicks the tool button that shows this action.
inline void clickAction(QToolBar *bar, QAction *action)
{
    ASSERT_NE(action, nullptr);
    auto *button = qobject_cast<QToolButton *>(bar->widgetForAction(action));
    ASSERT_NE(button, nullptr);
    button->click();
}
