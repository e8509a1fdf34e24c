// The windows the main window opens beside itself (the folder comparison, the
// drop-in basket, the update window, the options, the raw command, about) and
// what each of them asks of the main window in return.
#include "mainwindow/frmconc.h"

#include "dialogs/frmAbout.h"
#include "dialogs/frmCommand.h"
#include "session/clsFTPClient.h"
#include "settings/frmOption.h"

#include <QAction>
#include <QApplication>
#include <QTimer>
#include <QToolBar>

// ---- the comparison window -------------------------------------------------------

void frmconc::cmdCompare_Click()
{
    m_compare = frmCompare::showCompare(*this, this);
}

// ---- the drop-in basket ----------------------------------------------------------

void frmconc::showDropIn()
{
    // Not connected, the basket says so itself and opens nothing.
    if (frmDropIn *basket = frmDropIn::showDropIn(*this))
        m_dropIn = basket;
}

void frmconc::setMainWindowAway(bool away)
{
    setEnabled(!away);
    if (away) {
        setWindowState(windowState() | Qt::WindowMinimized);
        return;
    }
    setWindowState((windowState() & ~Qt::WindowMinimized) | Qt::WindowMaximized);
    if (isVisible()) {
        raise();
        activateWindow();
    }
}

// ---- the update window -----------------------------------------------------------

bool frmconc::showUpdateWindow(bool askedByUser)
{
    return frmViewUpdate::showModal(*mFTP, *this, this, askedByUser);
}

void frmconc::lblMAJ_Click()
{
    showUpdateWindow();
}

void frmconc::timerMAJ_Timer()
{
    // One silent check per run; the timer stops first, as the check lets the
    // event loop in while it waits for the update server.
    timerMAJ->stop();
    if (frmViewUpdate::silentCheck(*mFTP))
        showUpdateNotice();
}

void frmconc::showUpdateNotice()
{
    toolbarButton(tbToolBar, QStringLiteral("maj"))->setVisible(true);
    m_picMAJAction->setVisible(true);
    m_lblMAJAction->setVisible(true);
}

void frmconc::closeMainWindow()
{
    // Called from inside the update window's own loop: the close comes after it.
    QTimer::singleShot(0, this, &QWidget::close);
}

// ---- modal windows ---------------------------------------------------------------

void frmconc::showOptions()
{
    // The options window's update button closes it; the update window then
    // opens from here, over the main window.
    bool updateWanted = false;
    frmOption *options = nullptr;
    frmOption window(
        this,
        [&updateWanted, &options] {
            updateWanted = true;
            if (options)
                options->close();
        },
        this);
    options = &window;
    window.exec();
    if (updateWanted)
        showUpdateWindow();
}

void frmconc::showCommand()
{
    frmCommand window(mFTP, this);
    window.exec();
}

void frmconc::showAbout()
{
    frmAbout window(this);
    window.exec();
}

// ---- all of them -----------------------------------------------------------------

void frmconc::captionToolWindows()
{
    if (m_compare)
        m_compare->applyCaptions();
    if (m_dropIn)
        m_dropIn->applyCaptions();
    for (QWidget *top : QApplication::topLevelWidgets())
        if (auto *update = qobject_cast<frmViewUpdate *>(top))
            update->applyCaptions();
}

void frmconc::closeToolWindows()
{
    // Closing the basket is what gives the main window back: before the end.
    if (m_dropIn)
        m_dropIn->close();
    if (m_compare)
        m_compare->close();
}
