#pragma once
// The address book window: a tree of folders and saved sites, the selected
// site's settings, and the commands to connect, add, delete and edit. Its text
// boxes also serve for a quick connection typed by hand: the main window's
// connect routine reads them. One instance lives as long as the main window.

#include <QDialog>

class QLineEdit;
class QCheckBox;
class QRadioButton;
class QTreeWidget;
class clsFTPClient;
class ConnectionStarter;

class frmManager : public QDialog {
    Q_OBJECT
public:
    frmManager(clsFTPClient *ftp, ConnectionStarter *starter, QWidget *parent = nullptr);
    ~frmManager() override;

    // Shows the window modally; when the user connects (button or double-click)
    // the window hides, the main window connects, and the window comes back
    // (modal again) when the connection failed.
    void showModal();
    // Captions every control again in the current language.
    void applyCaptions();

    // Read by the connect routine.
    QLineEdit *TxtSiteName = nullptr;
    QLineEdit *TxtServer = nullptr;
    QLineEdit *TxtPort = nullptr;
    QLineEdit *TxtUser = nullptr;
    QLineEdit *txtPass = nullptr;
    QLineEdit *txtExt = nullptr;   // remote folder opened after connecting
    QLineEdit *txtLocal = nullptr; // local folder opened after connecting
    // Opt(0) binary, Opt(1) ASCII, Opt(2) active, Opt(3) passive.
    QRadioButton *Opt[4] = {nullptr, nullptr, nullptr, nullptr};
    QCheckBox *chkAnonyme = nullptr;
    QTreeWidget *tvManager = nullptr;

    // The transfer type chosen for the site in use (the queue runner asks).
    bool binaryTransferSelected() const;
    // The folder that a new site goes into (number as text).
    QString currentFolderNumber() const;

private:
    class Private;
    Private *d;
};
