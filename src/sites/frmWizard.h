#pragma once
// The new-site wizard: name, host, user and password, local folder, then a
// summary. The host's step also chooses how the connection is protected
// (FTP over TLS). Finishing adds the site to the address book in folder
// iSelGroupe (port 21, or 990 for implicit TLS, binary, active mode; the site
// manager edits the rest later) and accepts the dialog; cancelling writes
// nothing.

#include <QDialog>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QStackedWidget;

class frmWizard : public QDialog {
    Q_OBJECT
public:
    explicit frmWizard(QWidget *parent = nullptr);

    // The folder that will hold the new site; set before the window is shown.
    int iSelGroupe = 0;

    // Captions every control again in the current language.
    void applyCaptions();
    // The step shown, 0 to 5.
    int step() const { return m_step; }

    // TXT[1] site name, TXT[2] host, TXT[3] user name, TXT[4] local folder.
    QLineEdit *TXT[5] = {};
    QLineEdit *txtPass = nullptr;
    QCheckBox *chkAnonyme = nullptr;
    QComboBox *cboTls = nullptr; // in the order of sitetls::Choices
    QPushButton *cmdBrowse = nullptr;
    QPushButton *cmdBack = nullptr;
    QPushButton *cmdNext = nullptr;
    QPushButton *cmdTerminer = nullptr;
    QPushButton *cmdCancel = nullptr;
    QStackedWidget *pic = nullptr; // one page per step
    QLabel *img = nullptr;         // the picture of the step shown

private:
    struct Caption {
        QLabel *label;
        int id;
    };

    QWidget *buildStep(int step);
    QLabel *newLabel(QWidget *page, int id, bool wrap = true);
    void showStep(int step);
    void cmdNext_Click();
    void cmdBack_Click();
    void chkAnonyme_Click(bool checked);
    void cmdBrowse_Click();
    void cmdTerminer_Click();

    int m_step = 0;
    QLabel *lblUpdate = nullptr;
    QList<Caption> m_captions;
};
