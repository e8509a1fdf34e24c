#pragma once
// A main window on a fresh program folder and a fresh home folder (with a
// Desktop), questions answered by a ScriptedPrompt and whatever the window
// opens with the desktop recorded instead of opened. The update window is not
// shown at start-up (the options say so) and the update server is a closed
// local port, unless a test says otherwise.

#include "ScriptedPrompt.h"
#include "mainwindow/frmconc.h"
#include "platform/Paths.h"
#include "platform/gui/Choosers.h"
#include "session/SessionState.h"
#include "settings/Options.h"
#include "update/UpdateConfig.h"
#include "update/frmViewUpdate.h"

#include <QApplication>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QDir>
#include <QStringList>
#include <QTemporaryDir>
#include <QTimer>
#include <gtest/gtest.h>

#include <functional>
#include <memory>

class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        resetSessionState();
        ASSERT_TRUE(programDir.isValid() && homeDir.isValid());
        platform::setProgramDirectory(programDir.path());
        savedHome = qgetenv("HOME");
        savedConfig = qgetenv("XDG_CONFIG_HOME");
        qputenv("HOME", homeDir.path().toUtf8());
        qputenv("XDG_CONFIG_HOME", QDir(homeDir.path()).filePath(QStringLiteral(".config")).toUtf8());
        QDir(homeDir.path()).mkpath(QStringLiteral("Desktop"));
        platform::setOpenOverride([this](const QString &what) {
            opened << what;
            return true;
        });
        update::setUpdateServerUrl(QStringLiteral("http://127.0.0.1:1"));
        ASSERT_TRUE(options::setCheckUpdateAtStart(false).ok());
    }

    void TearDown() override
    {
        window.reset();
        platform::setOpenOverride({});
        platform::setChooserOverride({});
        update::setUpdateServerUrl(QString());
        qputenv("HOME", savedHome);
        qputenv("XDG_CONFIG_HOME", savedConfig);
        resetSessionState();
    }

    // The window as the program starts it.
    frmconc &startWindow()
    {
        window = std::make_unique<frmconc>();
        window->Form_Load();
        return *window;
    }

    QString desktop() const { return QDir(homeDir.path()).filePath(QStringLiteral("Desktop")); }

    // Answers the next modal window of ours by handing it to `answer`, which
    // must close it; records its class name.
    void answerNextModal(std::function<void(QWidget *)> answer, int turnsLeft = 500)
    {
        QTimer::singleShot(0, [this, answer, turnsLeft] {
            QWidget *modal = QApplication::activeModalWidget();
            if (!modal) {
                if (turnsLeft > 0) // not shown yet: try again on the next turn
                    answerNextModal(answer, turnsLeft - 1);
                return;
            }
            modalClasses << QString::fromLatin1(modal->metaObject()->className());
            answer(modal);
        });
    }

    // Hands the update window to `answer` once its check has given its
    // answer (the window shows its result line and may be closed); `answer`
    // must close it. Records "frmViewUpdate".
    void answerUpdateWindow(std::function<void(frmViewUpdate *)> answer, int turnsLeft = 2000)
    {
        QTimer::singleShot(5, [this, answer, turnsLeft] {
            auto *update = qobject_cast<frmViewUpdate *>(QApplication::activeModalWidget());
            const bool answered = update && update->lblNoUpdate->isVisible() && update->Command1->isEnabled()
                                  && !update->Animation1->isVisible();
            if (!answered) {
                if (turnsLeft > 0)
                    answerUpdateWindow(answer, turnsLeft - 1);
                else
                    ADD_FAILURE() << "the update window never answered";
                return;
            }
            modalClasses << QStringLiteral("frmViewUpdate");
            answer(update);
        });
    }
    void closeUpdateWindow()
    {
        answerUpdateWindow([](frmViewUpdate *update) { update->Command1->click(); });
    }

    QTemporaryDir programDir;
    QTemporaryDir homeDir;
    QByteArray savedHome;
    QByteArray savedConfig;
    ScriptedPrompt prompt;
    std::unique_ptr<frmconc> window;
    QStringList opened;
    QStringList modalClasses;
};
