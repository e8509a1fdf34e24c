#pragma once
// The two questions asked before a file is lost: "overwrite the existing
// file?" (with a countdown that answers Skip) and "delete this entry?". Both
// show the size and date of the file(s) concerned, taken from the panes' rows,
// and record the answer in the program-wide values the callers read
// (lExistChoice, bOverwriteAll, bDeleteAll).

#include "session/SessionHost.h"

#include <QDialog>

class QLabel;
class QPushButton;
class QTimer;

// Where the window finds a file's size and date: the first row of a pane whose
// name equals the file's exactly (size = its size column, date = its date column).
class PaneRowSource {
public:
    virtual ~PaneRowSource() = default;
    virtual bool findLocalRow(const QString &name, QString &size, QString &date) = 0;
    virtual bool findServerRow(const QString &name, QString &size, QString &date) = 0;
};

class frmExist : public QDialog {
    Q_OBJECT
public:
    explicit frmExist(PaneRowSource *panes, QWidget *parent = nullptr);

    // isUp: true for an upload (the existing file is on the server). True to
    // go ahead (replace, or continue with Resume). canResume: the existing
    // file is the smaller one; Resume and Resume All are offered.
    // question, when given, describes the two files better than a pane's row
    // of the same name, which may be of another folder.
    bool OverWriteExist(const QString &sFileName, bool bIsUp, bool bCanResume = false,
                        const ftp::Request *question = nullptr);
    // isUp: true for a server entry. True to delete.
    bool DeleteItem(const QString &sFileName, bool bIsUp);
    void GetFileInfo(const QString &sFileName, bool pbIsUp, bool bIsDel, const ftp::Request *question = nullptr);
    // One tick of the countdown (public so that tests tick it by hand).
    void Timer1_Timer();

    QString sExistMode;
    bool bOverwriteResult = false;
    bool bDeleteResult = false;

    QLabel *lblTitre = nullptr;
    QLabel *lbl131 = nullptr, *lbl132 = nullptr, *lblsize1 = nullptr, *lbldate1 = nullptr;
    QLabel *lbl654 = nullptr, *lbl655 = nullptr;
    QLabel *lbl131b = nullptr, *lbl132b = nullptr, *lblsize2 = nullptr, *lbldate2 = nullptr;
    QLabel *picTimer = nullptr, *lblTimer = nullptr;
    QPushButton *cmdOver = nullptr, *cmdAll = nullptr, *cmdJump = nullptr, *cmdCancel = nullptr;
    QPushButton *cmdResume = nullptr, *cmdResumeAll = nullptr;
    QTimer *Timer1 = nullptr;

protected:
    void reject() override; // the title bar's close box and Escape: Cancel

private:
    void Form_Load();
    void panesFileInfo(const QString &sFileName, bool pbIsUp, bool bIsDel);
    void cmdOver_Click();
    void cmdAll_Click();
    void cmdJump_Click();
    void cmdCancel_Click();
    void cmdResume_Click();
    void cmdResumeAll_Click();
    void finish();
    void caption(QLabel *label, int id);

    PaneRowSource *m_panes;
};
