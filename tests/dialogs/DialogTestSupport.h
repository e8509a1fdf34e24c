#pragma once
// What the window suites share: a temporary program directory and a clean
// program state per test, a prompt that answers message boxes, and helpers to
// find a window's controls and to answer a modal dialog of our own.

#include "ScriptedPrompt.h"
#include "platform/Paths.h"
#include "session/SessionState.h"

#include <QAbstractButton>
#include <QApplication>
#include <QTest>
#include <QTemporaryDir>
#include <QTimer>
#include <QWidget>
#include <gtest/gtest.h>

#include <functional>

class WindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        platform::setProgramDirectory(dir.path());
        resetSessionState();
    }
    void TearDown() override
    {
        resetSessionState();
        platform::setProgramDirectory(QString());
    }

    QTemporaryDir dir;
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

// A mouse click on the button (or check box) of `window` with this object name.
inline void clickOn(const QWidget *window, const char *name)
{
    if (auto *button = child<QAbstractButton>(window, name))
        QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(6, button->height() / 2));
}

// Runs `answer` on the modal dialog as soon as it is shown: the dialog's own
// event loop delivers the call, so the test never waits on a real box.
inline void whenModalShown(std::function<void(QWidget *)> answer, int triesLeft = 200)
{
    QTimer::singleShot(0, [answer = std::move(answer), triesLeft]() mutable {
        if (QWidget *modal = QApplication::activeModalWidget()) {
            answer(modal);
            return;
        }
        if (triesLeft > 0)
            whenModalShown(std::move(answer), triesLeft - 1);
        else
            ADD_FAILURE() << "no modal dialog was shown";
    });
}
