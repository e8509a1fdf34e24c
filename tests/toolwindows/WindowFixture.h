#pragma once
// What the window suites share: a temporary program directory, a clean
// program state and English captions per test, a prompt that answers message
// boxes, a real transfer queue (with the engine's test host standing in for
// the main window), and small helpers to drive windows.

#include "FtpServer.h"
#include "ScriptedPrompt.h"
#include "TestHosts.h"
#include "platform/Paths.h"
#include "session/SessionState.h"
#include "session/clsFTPClient.h"
#include "transfer/QueueModel.h"
#include "transfer/TransferQueue.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QWidget>
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <ostream>

// Readable texts in failure messages.
inline void PrintTo(const QString &text, std::ostream *os)
{
    *os << '"' << text.toStdString() << '"';
}

class WindowSuite : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(programDir.isValid());
        platform::setProgramDirectory(programDir.path());
        resetSessionState();
        LanguageOffset = 1000;
    }
    void TearDown() override
    {
        resetSessionState();
        platform::setProgramDirectory(QString());
    }

    QTemporaryDir programDir;
    ScriptedPrompt prompt;
};

// The queue of the main window, as the engine keeps it.
struct QueueBench {
    clsFTPClient ftp;
    QueueModel model;
    TestHost host{model};
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
        bConnected = ftp.OpenConnection(server.host(), QString::number(server.port()), server.user(),
                                        server.password(), 0x08000000);
        if (bConnected) {
            sCurrentHost = server.host();
            ftp.GetDirectoryListing(QStringLiteral("*.*"));
        }
        return bConnected;
    }

    QStringList column(int column) const
    {
        QStringList out;
        for (int i = 0; i < model.count(); ++i)
            out << model.row(i).text[column];
        return out;
    }
    // "name -> remote folder" of every row, in order.
    QStringList namesAndRemotes() const
    {
        QStringList out;
        for (int i = 0; i < model.count(); ++i)
            out << model.row(i).text[QueueRow::Name] + " -> " + model.row(i).text[QueueRow::Remote];
        return out;
    }
};

inline void writeFile(const QString &path, const QByteArray &content)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(content);
}

// Clicks the tool button that shows this action.
inline void clickAction(QToolBar *bar, QAction *action)
{
    ASSERT_NE(action, nullptr);
    auto *button = qobject_cast<QToolButton *>(bar->widgetForAction(action));
    ASSERT_NE(button, nullptr);
    button->click();
}

// Runs `act` once `ready` holds, from the event loop (a modal dialog's own
// loop included), checking again on each of a bounded number of turns.
inline void whenReady(std::function<bool()> ready, std::function<void()> act, int turnsLeft = 2000)
{
    QTimer::singleShot(5, [ready = std::move(ready), act = std::move(act), turnsLeft]() mutable {
        if (ready()) {
            act();
            return;
        }
        if (turnsLeft > 0)
            whenReady(std::move(ready), std::move(act), turnsLeft - 1);
        else {
            ADD_FAILURE() << "the window never got ready";
            if (QWidget *modal = QApplication::activeModalWidget())
                modal->hide(); // ends its modal loop: the test goes on and fails
        }
    });
}
