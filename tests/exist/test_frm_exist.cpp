// The file-exists and delete questions, answered by clicking the real window.
#include "session/DateValue.h"
#include "session/SessionState.h"
#include "transfer/frmExist.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <gtest/gtest.h>

#include <functional>

namespace {

class FakePanes : public PaneRowSource {
public:
    bool findLocalRow(const QString &name, QString &size, QString &date) override
    {
        if (name != localName)
            return false;
        size = "  5";
        date = "2024-01-02 03:04:05";
        return true;
    }
    bool findServerRow(const QString &name, QString &size, QString &date) override
    {
        if (name != serverName)
            return false;
        size = " 1 234";
        date = "2023-06-07 08:09:10";
        return true;
    }
    QString localName = "a.txt";
    QString serverName = "a.txt";
};

// Runs `act` on the window once it is shown modally.
void whenShown(frmExist &window, std::function<void()> act)
{
    QTimer::singleShot(0, &window, [&window, act] {
        ASSERT_TRUE(window.isVisible());
        act();
    });
}

class ExistDialog : public ::testing::Test {
protected:
    void SetUp() override { resetSessionState(); }
    void TearDown() override { resetSessionState(); }
    FakePanes panes;
    frmExist window{&panes};
};

TEST_F(ExistDialog, EachButtonGivesItsAnswer)
{
    // The button (none: the close box), the answer, lExistChoice, bOverwriteAll.
    const struct { QPushButton *frmExist::*button; bool answer; int choice; bool all; } cases[] = {
        {&frmExist::cmdOver, true, 3, false}, {&frmExist::cmdAll, true, 4, true},
        {&frmExist::cmdCancel, false, 1, false}, {nullptr, false, 1, false}};
    for (const auto &c : cases) {
        lExistChoice = 0;
        bOverwriteAll = false;
        whenShown(window, [this, &c] { c.button ? (window.*c.button)->click() : (void)window.close(); });
        EXPECT_EQ(window.OverWriteExist("a.txt", true), c.answer) << c.choice;
        EXPECT_EQ(lExistChoice, c.choice);
        EXPECT_EQ(bOverwriteAll, c.all);
    }
}

// Resume and Resume All are offered only for a file that can be continued;
// the countdown and the other answers stay as they are.
TEST_F(ExistDialog, ResumeIsOfferedForASmallerFileOnly)
{
    LanguageOffset = 1000;
    const struct { bool canResume; QPushButton *frmExist::*button; int choice; bool resumeAll; } cases[] = {
        {true, &frmExist::cmdResume, 6, false},
        {true, &frmExist::cmdResumeAll, 7, true},
        {true, &frmExist::cmdOver, 3, false},
        {false, &frmExist::cmdOver, 3, false},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.choice);
        lExistChoice = 0;
        bResumeAll = false;
        bool offered = false, counting = false;
        QString caption;
        whenShown(window, [&] {
            offered = window.cmdResume->isVisible() && window.cmdResumeAll->isVisible();
            counting = window.Timer1->isActive() && window.cmdJump->isVisible();
            caption = window.cmdResume->text() + "|" + window.cmdResumeAll->text();
            (window.*c.button)->click();
        });
        EXPECT_TRUE(window.OverWriteExist("a.txt", false, c.canResume));
        EXPECT_EQ(offered, c.canResume);
        EXPECT_TRUE(counting);
        EXPECT_EQ(caption, "Resume|Resume All");
        EXPECT_EQ(lExistChoice, c.choice);
        EXPECT_EQ(bResumeAll, c.resumeAll);
        EXPECT_FALSE(bOverwriteAll);
    }
    // The delete question never offers it.
    bool offered = true;
    whenShown(window, [&] {
        offered = window.cmdResume->isVisible();
        window.cmdCancel->click();
    });
    window.DeleteItem("a.txt", false);
    EXPECT_FALSE(offered);
}

TEST_F(ExistDialog, CountdownAnswersSkipOnTheSixthTick)
{
    whenShown(window, [this] { window.cmdOver->click(); });
    window.OverWriteExist("a.txt", false);
    QStringList captions;
    whenShown(window, [&] {
        window.Timer1->stop(); // ticked by hand
        for (int i = 0; i < 6 && window.isVisible(); ++i) {
            window.Timer1_Timer();
            captions << window.cmdJump->text();
        }
    });
    EXPECT_FALSE(window.OverWriteExist("a.txt", false)); // Skip, even after an Overwrite before
    EXPECT_EQ(lExistChoice, 2);
    EXPECT_EQ(captions.mid(0, 5), QStringList({"Passer - 4", "Passer - 3", "Passer - 2", "Passer - 1", "Passer - 0"}));
    EXPECT_FALSE(window.lblTimer->isVisibleTo(&window));
}

TEST_F(ExistDialog, UploadShowsTheServerFileFirstDownloadNeedsTheLocalRow)
{
    LanguageOffset = 1000;
    QStringList shown;
    const auto readAndSkip = [&] {
        shown = {window.windowTitle(), window.lblTitre->text(), window.lblsize1->text(), window.lblsize2->text(),
                 window.lbl654->text()};
        window.cmdJump->click();
    };
    whenShown(window, readAndSkip);
    window.OverWriteExist("a.txt", true);
    EXPECT_EQ(shown, QStringList({"The file already exist", "a.txt - The file already exist", " 1 234", "  5",
                                  "Would you like to replace the existing file ?"}));

    panes.localName = "other.txt";
    whenShown(window, readAndSkip);
    window.OverWriteExist("a.txt", false);
    EXPECT_EQ(shown.mid(2, 2), QStringList({"", ""}));

    // The queue's own figures are of the very files, not of a row of the same
    // name in whatever folder a pane shows: they win, and fill what no pane has.
    panes.localName = "a.txt";
    ftp::Request question;
    question.existingSize = 8000000;
    question.incomingSize = 20000000;
    question.incomingTime = QDateTime(QDate(2025, 3, 4), QTime(5, 6, 7));
    QString incomingDate;
    whenShown(window, [&] {
        incomingDate = window.lbldate2->text();
        readAndSkip();
    });
    window.OverWriteExist("a.txt", false, true, &question);
    EXPECT_EQ(shown.mid(2, 2), QStringList({"8 000 000", "20 000 000"}));
    EXPECT_EQ(incomingDate, formatGeneralDate(question.incomingTime));
}

TEST_F(ExistDialog, DeleteQuestionHasNoSkipAndRemoveAllSetsTheFlag)
{
    LanguageOffset = 1000;
    bool skipVisible = true, timerRunning = true;
    QString head, secondBlock;
    whenShown(window, [&] {
        skipVisible = window.cmdJump->isVisible();
        timerRunning = window.Timer1->isActive();
        head = window.lblTitre->text();
        secondBlock = window.lbl654->text() + window.lblsize2->text();
        window.cmdAll->click();
    });
    EXPECT_TRUE(window.DeleteItem("a.txt", false));
    EXPECT_FALSE(skipVisible);
    EXPECT_FALSE(timerRunning);
    EXPECT_EQ(head, "Are you sure you want to delete : a.txt");
    EXPECT_EQ(secondBlock, "");
    EXPECT_TRUE(bDeleteAll);

    whenShown(window, [this] { window.cmdOver->click(); });
    EXPECT_TRUE(window.DeleteItem("a.txt", true));
    EXPECT_FALSE(bDeleteAll);
}

} // namespace
