#pragma once
// What the window suites share: a temporary program directory and a clean
// program state per test, a prompt that answers message boxes, readable Qt
// texts in failure messages, helpers to find a window's controls and to act
// on a modal window of ours once it is shown, and local file helpers.

#include "QtPrinting.h"
#include "ScriptedPrompt.h"
#include "TestFiles.h"
#include "platform/Paths.h"
#include "platform/gui/Choosers.h"
#include "session/SessionState.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QStringList>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QWidget>
#include <gtest/gtest.h>

#include <functional>

class WindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(programDir.isValid());
        platform::setProgramDirectory(programDir.path());
        resetSessionState();
    }
    void TearDown() override
    {
        platform::setChooserOverride({});
        platform::setOpenOverride({});
        resetSessionState();
        platform::setProgramDirectory(QString());
    }

    QTemporaryDir programDir;
    ScriptedPrompt prompt;
};

// The control of `window` with this object name; fails the test when missing.
template<typename T>
T *child(const QWidget *window, const char *name)
{
    T *found = window->findChild<T *>(QString::fromLatin1(name));
    EXPECT_NE(found, nullptr) << "no control named " << name;
    return found;
}

// Local files: written with the folders above them (a failed write fails the
// test), read back whole.
inline void writeFile(const QString &path, const QByteArray &content)
{
    ASSERT_TRUE(testfiles::writeFile(path, content)) << path.toStdString();
}
using testfiles::readFile;

// A mouse click on the button (or check box) of `window` with this object name.
inline void clickOn(const QWidget *window, const char *name)
{
    if (auto *button = child<QAbstractButton>(window, name))
        QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(6, button->height() / 2));
}

// Runs `act` once `ready` holds, from the event loop (a modal window's own
// loop included), so that a test never waits on a real box. Checks again on
// each of a bounded number of turns; if it never holds, the test fails and the
// modal window shown, if any, is hidden to end its loop.
inline void whenReady(std::function<bool()> ready, std::function<void()> act, int turnsLeft = 2000)
{
    QTimer::singleShot(5, [ready = std::move(ready), act = std::move(act), turnsLeft]() mutable {
        if (ready())
            act();
        else if (turnsLeft > 0)
            whenReady(std::move(ready), std::move(act), turnsLeft - 1);
        else {
            ADD_FAILURE() << "the window never got ready";
            if (QWidget *modal = QApplication::activeModalWidget())
                modal->hide();
        }
    });
}

// Hands the next modal window to `answer` as soon as it is shown; `answer`
// must close it.
inline void whenModalShown(std::function<void(QWidget *)> answer)
{
    whenReady([] { return QApplication::activeModalWidget() && QApplication::activeModalWidget()->isVisible(); },
              [answer = std::move(answer)] { answer(QApplication::activeModalWidget()); });
}
