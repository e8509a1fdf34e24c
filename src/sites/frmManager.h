#pragma once
// The address book window: a tree of folders and saved sites, the selected
// site's settings, and the commands to connect, add, delete and edit. Its text
// boxes also serve for a quick connection typed by hand: the main window's
// connect routine reads them. One instance lives as long as the main window.

#include "sites/SiteTls.h"

#include <QDialog>

class QAction;
class QLineEdit;
class QCheckBox;
class QComboBox;
class QPushButton;
class QRadioButton;
class QTabWidget;
class QToolBar;
class QTreeWidget;
class QTreeWidgetItem;
class clsFTPClient;
class ConnectionStarter;
class FileResult;

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
    // FTP over TLS, in the order of sitetls::Choices; like Opt, a choice
    // applies to the session at once, and is saved with the site.
    QComboBox *cboTls = nullptr;
    QTreeWidget *tvManager = nullptr;

    // The other controls. The tool bar's buttons are reached by their key
    // ("connect", "addfolder", "addsite", "delete", "param", "assist").
    QToolBar *Toolbar1 = nullptr;
    QWidget *picGeneralMain = nullptr; // the right-hand panel, shown while a site is selected
    QTabWidget *pages = nullptr;       // its two tabs: general page, option page
    QWidget *picGeneral = nullptr;
    QWidget *picOption = nullptr;
    QPushButton *cmdSavechange = nullptr;
    QPushButton *cmdLocalPath = nullptr;
    QAction *toolbarButton(const QString &key) const;

    // Tree nodes carry their key under this role: "TP" + folder number for a
    // folder, "TV" + site number for a site.
    static constexpr int KeyRole = Qt::UserRole;
    static QString nodeKey(const QTreeWidgetItem *node);

    // Rebuilds the tree from the address book's collections. The node keyed
    // selectKey is selected when there is one; otherwise the first node is
    // selected and expanded and becomes the current folder.
    void LoadDatabaseList(const QString &selectKey = QString());

    // The transfer type chosen for the site in use (the queue runner asks).
    bool binaryTransferSelected() const;
    // The folder that a new site goes into (number as text).
    QString currentFolderNumber() const;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildWindow();
    QWidget *buildGeneralPage();
    QWidget *buildOptionPage();
    void connectSignals();

    // tree
    void nodeSelected(QTreeWidgetItem *node);
    void showSite(const QString &siteNumber, const QString &folderNumber);
    void clearFields();
    void markSelectedSite(QTreeWidgetItem *current, QTreeWidgetItem *previous);

    // commands
    void toolbarClicked(const QString &key);
    void requestConnect();
    void runConnect();
    void addFolder();
    void addSite();
    void deleteNode();
    void startWizard();
    void showOptionPage(bool show);

    // editing
    void fieldEdited();
    void optClicked(int index);
    void tlsChosen(int index);
    void showTlsMode(sitetls::Mode mode);
    sitetls::Mode chosenTlsMode() const;
    void anonymousClicked(bool checked);
    void saveChanges();
    void chooseLocalPath();
    bool confirmReplace(const QString &name, const QString &currentName);
    void reloadData();
    bool report(const FileResult &result);

    class Private;
    Private *d;
};
