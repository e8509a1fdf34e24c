#pragma once
// The update window: shows the answer of the update server (is a newer version
// out?) and, on request, downloads it and hands over to the external updater,
// after which the program must end. The check and the download are the
// UpdateService's; this window shows them and asks the questions around them.
//
// The main window uses it in three ways:
//   - silentCheck() on the first tick of timerMAJ: no window, no message box;
//     when it returns true the main window shows its "maj" button;
//   - showModal() for the "maj" button, lblMAJ, the options window's update
//     button and the start-up when the "SWU" option asks for it: the window
//     opens modally and runs the visible check at once; when it returns true
//     the updater was started and the caller ends the program.

#include "update/UpdateService.h"

#include <QDialog>

class QCheckBox;
class QLabel;
class QProgressBar;
class QPushButton;
class clsFTPClient;

// What the update window needs from the main window.
class UpdateHost {
public:
    virtual ~UpdateHost() = default;
    // The main window's disconnect routine, run when the user agreed to
    // disconnect before an update: close the connection, clear the server
    // pane, the transfer queue, the remote path box and the session log,
    // stop the keep-alive and switch the connection tool bar off. bConnected
    // is false afterwards.
    virtual void disconnectFromServer() = 0;
    // The updater has been started and the program must end. Called from
    // inside the update window's modal loop, right after the window hid
    // itself: close the main window without waiting for anything (a queued
    // close is fine). bUpdateLaunched is set.
    virtual void closeMainWindow() = 0;
};

class frmViewUpdate : public QDialog, public UpdateView {
    Q_OBJECT
public:
    // `ftp`: the session object the downloads go through.
    frmViewUpdate(clsFTPClient &ftp, UpdateHost &host, QWidget *parent = nullptr);
    ~frmViewUpdate() override;

    // The silent check of the start-up timer: true when the update server
    // offers a newer version. Nothing is shown, whatever happens.
    static bool silentCheck(clsFTPClient &ftp);
    // Opens the window modally and runs the visible check. True when the
    // updater was started from it; otherwise "ver.tf" is deleted when the
    // window closes. When the user asked for it, a server that cannot be
    // reached is reported in a message box too; the window opened at
    // start-up only says so in its result line.
    static bool showModal(clsFTPClient &ftp, UpdateHost &host, QWidget *parent, bool askedByUser = true);

    // Captions in the current language.
    void applyCaptions();

    // ---- design members
    // The visible check and its result: "Update available" and the start
    // button, or "Tarvo FTP is up-to-date".
    void cmdUpdate_Click();
    void cmdStartUpdate_Click();
    void Command1_Click();
    void chkStartWithUpdate_Click(bool checked);

    UpdateService &service() { return m_service; }

    // ---- UpdateView
    void setInfo(const QString &text) override;
    void setNoUpdate(const QString &text) override;
    void setCheckButtonVisible(bool visible) override;
    void setCloseEnabled(bool enabled) override;
    void setAnimationRunning(bool running) override;

    // ---- controls, under their design names
    QLabel *lblTitre = nullptr;
    QLabel *lblInfo = nullptr;     // status line
    QLabel *lblNoUpdate = nullptr; // result line
    QLabel *lblNbrUpdate = nullptr; // kept for the design; the service counts files in lblInfo
    QProgressBar *pbProg = nullptr; // kept for the design; hidden
    QProgressBar *Animation1 = nullptr; // a busy bar stands for the animation
    QCheckBox *chkStartWithUpdate = nullptr;
    QPushButton *cmdUpdate = nullptr;
    QPushButton *cmdStartUpdate = nullptr;
    QPushButton *Command1 = nullptr;

protected:
    void closeEvent(QCloseEvent *event) override;
    void reject() override;

private:
    void buildWindow();
    void Form_Load();
    void showResult(int resultId);
    bool busy() const;

    UpdateHost &m_host;
    UpdateService m_service;
    int m_resultId = 602;   // the string the result line shows after a check
    bool m_checking = false;
    bool m_updating = false;
    bool m_launched = false; // the updater was started from this window
    bool m_reportUnreachable = true; // a box when the server cannot be reached
};
