#pragma once
// The main window: start-up object of the program and home of the one FTP
// session (mFTP). From top to bottom: the main tool bar, the session log, the
// local pane and the server pane side by side, the transfer queue and the
// status bar, placed in twips from the window's size (WindowLayout) and moved
// by three splitter bars. It connects and disconnects (premier_Connect), keeps
// the connection alive, writes the session log and sends every command of its
// tool bars and menus to the window or routine that does the work: the
// comparison window, the drop-in basket and the update window among them.

#include "mainwindow/MainWindowApi.h"
#include "mainwindow/PaneModel.h"
#include "mainwindow/PaneView.h"
#include "mainwindow/WindowLayout.h"
#include "session/FtpCommand.h"
#include "session/SessionHost.h"
#include "settings/clsTraduction.h"
#include "transfer/QueueHost.h"
#include "transfer/frmCompare.h"
#include "transfer/frmDropIn.h"
#include "transfer/frmExist.h"
#include "update/frmViewUpdate.h"

#include <QHash>
#include <QList>
#include <QMainWindow>
#include <QPointer>

#include <functional>
#include <memory>

class QAction;
class QActionGroup;
class QLabel;
class QLineEdit;
class QMenu;
class QMimeData;
class QProgressBar;
class QStatusBar;
class QTextEdit;
class QTimer;
class QToolBar;
class QToolButton;
class QTreeView;
class QUrl;
class clsFTPClient;
class frmManager;
class frmloadup;
class QueueModel;
class RepaintLimiter;
class RunPainting;
class SessionLog;
class SplitterBar;
class TransferQueue;

class frmconc : public QMainWindow,
                public SessionHost,
                public MenuCaptioner,
                public ConnectionStarter,
                public PaneRowSource,
                public QueueHost,
                public CompareHost,
                public DropInHost,
                public UpdateHost {
    Q_OBJECT
public:
    explicit frmconc(QWidget *parent = nullptr);
    ~frmconc() override;

    // The start-up: splash, language, session, captions, desktop folder,
    // hidden menu bar, maximised window, then (as the options say) the update
    // window and the site manager, then the update timer.
    void Form_Load();

    // ---- design members other windows and the engine call
    // Connects with the site manager's boxes; the login goes on in the
    // background (Cancel in the status bar, or Stop, ends it) and `done` runs
    // once the attempt has ended.
    void premier_Connect(bool IsQuickConnect, std::function<void()> done = {}) override;
    // Ends a connection attempt that is still going on.
    void cancelConnecting();
    void mFTP_StateChanged(int State, const QString &sMessage);
    void RefreshDirectoryListing();
    void RefreshLocalDir();
    // Removes the selected local folder (an empty one) after the question.
    void DeleteLocalDirectory();
    // ---- the queue side of the panes
    // Puts the selection of the local pane (true) or of the server pane into
    // the queue, folders expanded.
    void DragDropManuel(bool bIsFromLocal);
    // One local file as an upload row: sNameDrag is its path, or "" for the
    // local pane's selected row (then nothing happens unless bIsFromDrag or a
    // row is selected).
    void menuupload_Click(const QString &sNameDrag, const QString &sNamePathDrag, bool bIsFromDrag);
    // Every file below a local folder as upload rows.
    void LocalSubFolder(const QString &fPath, const QString &sOriginPath);
    // Every file below a remote folder (a full path) as download rows.
    void addfolder(const QString &dir);
    // A local folder and a name joined by exactly one separator.
    static QString chkdir(const QString &dir, const QString &File);
    // Transfers the queue's rows one after the other; ignored while it runs.
    void RunTransferQueue();
    void mFTP_FileTransferProgress(qint64 lCurrentBytes, qint64 lTotalBytes);
    static QString ConvertTime(double TheTime);
    // Lays ProgressBar1 over the "Progress" cell of the queue's first row.
    void PlaceQueueProgressBar();
    void ShowQueueWait(bool bShow);
    // Removes the selected rows of the queue, keeping the others in order.
    void RemoveSelectedRows();
    void mnupop_list1_Click(int Index);
    QueueModel *queueModel() const { return m_queue; }
    // The queue engine (CompareHost and DropInHost ask for it too).
    TransferQueue &transferQueue() override { return *m_transfer; }
    void PlayWave(const QString &File);
    void ActiveMenu(bool bEnable);
    // One tick of timerKeepAlive (public so that tests drive it by hand).
    void timerKeepAlive_Timer();
    // The tick of timerMAJ: one silent update check, then the timer stops;
    // a newer version shows the "maj" button and the update notice.
    void timerMAJ_Timer();

    // ---- the layout (frmconcLayout.cpp)
    // Before start-up has finished: puts the window back to normal size (or
    // to the size saved at the last press on it); after it: lays out every
    // band from the window's size, unless bInLoad.
    void Form_Resize();
    // The bands as laid out now, in twips (splitter moves included).
    const WindowLayout &currentLayout() const { return m_layout; }
    const WindowLayoutRules &layoutRules() const { return m_layoutRules; }
    // Releases of the three splitter bars; `pos` in pixels relative to the bar.
    void picResizeHaut_MouseUp(Qt::MouseButton Button, const QPoint &pos);
    void picResizeBas_MouseUp(Qt::MouseButton Button, const QPoint &pos);
    void FrameResizeLocServ_MouseUp(Qt::MouseButton Button, const QPoint &pos);

    // ---- the windows opened from here (frmconcWindows.cpp)
    void cmdCompare_Click();
    // Opens the update window modally and runs the visible check; true when
    // the updater was started (the main window is then closing). The window
    // of the start-up, which the user did not ask for, reports a server that
    // cannot be reached only in its result line, never in a box.
    bool showUpdateWindow(bool askedByUser = true);
    void lblMAJ_Click();
    frmCompare *compareWindow() const { return m_compare; }
    frmDropIn *dropInWindow() const { return m_dropIn; }

    // ---- MenuCaptioner: every caption of this window in the current language
    void LoadResMenu() override;

    // ---- SessionHost
    void setKeepAliveEnabled(bool enabled) override;
    void logState(int state, const QString &message) override;
    void setProgressValue(qint64 value) override;
    void setProgressVisible(bool visible) override;
    void refreshLocalDir() override;
    void refreshDirectoryListing() override;
    bool overWriteExist(const QString &fileName, bool isUp, bool canResume = false,
                        const ftp::Request *question = nullptr) override;
    bool deleteItem(const QString &fileName, bool isUp) override;
    // FTP over TLS (frmconcSecurity.cpp)
    CertificateAnswer askCertificate(const inet::CertificateInfo &info) override;
    void showProtection(const ConnectionProtection &protection) override;

    // ---- QueueHost
    QString currentLocalFolder() override { return m_localFolder; }
    void setCurrentLocalFolder(const QString &folder) override { setLocalFolder(folder); }
    QString localPathText() override { return m_localFolder; }
    QString remotePathText() override;
    bool binaryTransferChosen() override;
    void setProgressMaximum(qint64 maximum) override;
    void placeQueueProgressBar() override { PlaceQueueProgressBar(); }
    void showQueueWait(bool show) override { ShowQueueWait(show); }
    void setBusy(bool busy) override;
    void playWave(const QString &file) override { PlayWave(file); }

    // ---- PaneRowSource (the file-exists question reads the panes' rows)
    bool findLocalRow(const QString &name, QString &size, QString &date) override;
    bool findServerRow(const QString &name, QString &size, QString &date) override;
    // The one file-exists / delete question window of the program.
    frmExist *exist();

    // ---- the panes' rows
    PaneModel *localModel() const { return m_localModel; }
    PaneModel *serverModel() const { return m_serverModel; }

    // ---- CompareHost: copies of what each pane shows now (the server pane
    // without "." and "..", and nothing when not connected)
    QList<CompareRow> localPaneRows() override;
    QList<CompareRow> serverPaneRows() override;
    QString localPaneFolder() override { return m_localFolder; }
    QString serverPaneFolder() override;

    // ---- DropInHost: the main window steps aside while the basket is open.
    void setMainWindowAway(bool away) override;

    // ---- UpdateHost
    // Closes the connection and clears everything that belonged to it: the
    // server pane, the queue, the remote path, the log, the keep-alive.
    void disconnectFromServer() override;
    void closeMainWindow() override;

    // ---- events of the panes, under the names the lists' events have
    // Drops: `data` dropped at `pos` (viewport coordinates of the list).
    void listviewServer_OLEDragDrop(const QMimeData *data, const QPoint &pos);
    void lvLocal_OLEDragDrop(const QMimeData *data, const QPoint &pos);
    void ListView3_OLEDragDrop(const QMimeData *data, const QPoint &pos);
    // A drag starts in a pane: the other pane's selection goes.
    void listviewServer_OLEStartDrag();
    void lvLocal_OLEStartDrag();
    void listviewServer_KeyDown();
    void lvLocal_KeyDown();
    // The file manager keys of each pane (frmconcKeys.cpp).
    void localPaneKey(PaneView::KeyCommand command);
    void serverPaneKey(PaneView::KeyCommand command);
    // A folder typed in a path box: Enter opens it (an unknown one is an
    // error in the log and the box shows the folder again); leaving the box
    // without Enter puts the folder shown back.
    void txtLocalPath_Enter();
    void txtLocalPath_Left();
    void TxtRemotePath_Enter();
    void TxtRemotePath_Left();
    void mnuPop_Server1_Click(int Index);
    void mnuPop_LocalFile1_Click(int Index);
    void openServerEntry(const QModelIndex &index);
    void openLocalEntry(const QModelIndex &index);
    // A click on a column header of one of the lists.
    void sortListByColumn(QTreeView *list, int column);

    // ---- commands, by the key of their tool bar button
    void tbToolBar_ButtonClick(const QString &key);
    void Toolbar1_ButtonClick(const QString &key);
    void Toolbar2_ButtonClick(const QString &key);
    QAction *toolbarButton(QToolBar *bar, const QString &key) const;
    // Switches the interface language at once (the Edit menu's language items).
    void switchLanguage(bool english);
    // Opens the help page of the current language in the desktop's browser.
    void openHelp();

    // The one site manager, created the first time it is needed.
    frmManager *manager();
    // The current local folder (the design's dirMyDir path); setting it
    // re-reads the local pane.
    QString localFolder() const { return m_localFolder; }
    void setLocalFolder(const QString &path);

    // ---- the session and the controls, under their design names
    clsFTPClient *mFTP = nullptr;
    QString sActiveList; // "local", "server" or "bas": the list pressed last

    QWidget *Frame16 = nullptr; // the band area below the tool bar
    QToolBar *tbToolBar = nullptr;
    QLabel *lblMAJ = nullptr;
    QLabel *picMAJ = nullptr;
    QTimer *timerMAJ = nullptr;
    QTimer *timerKeepAlive = nullptr;
    QTextEdit *RTBHeader = nullptr;

    QWidget *FrameLocal = nullptr;
    QLabel *Label11 = nullptr; // holds the shortened local path (its tool tip: the whole one)
    QLineEdit *txtLocalPath = nullptr;
    QToolButton *cmdBrowseLocal = nullptr;
    QToolButton *cmdUpLocal = nullptr;
    QToolBar *Toolbar2 = nullptr;
    QTreeView *lvLocal = nullptr;

    QWidget *fraServer = nullptr;
    QLabel *lblServerHost = nullptr; // holds the host of the connection; the window title shows it
    QLineEdit *TxtRemotePath = nullptr;
    QToolButton *cmdUpServerPath = nullptr;
    QToolBar *Toolbar1 = nullptr;
    QTreeView *listviewServer = nullptr;

    QWidget *FrameResizeLocServ = nullptr;
    SplitterBar *picResizeLocServ = nullptr;
    SplitterBar *picResizeHaut = nullptr;
    SplitterBar *picResizeBas = nullptr;
    QToolButton *cmdCompare = nullptr;
    QStatusBar *StatusBar1 = nullptr;
    QToolButton *cmdCancelConnect = nullptr; // in the status bar while a connection is being made
    QLabel *picProtection = nullptr; // the lock in the status line, while connected
    QLabel *lblProtection = nullptr; // "Encrypted (TLSv1.3)" or "Not encrypted"

    QTreeView *ListView3 = nullptr;
    RepaintLimiter *m_queueRepaints = nullptr;
    QProgressBar *ProgressBar1 = nullptr;
    QWidget *picLineAttente = nullptr;
    QProgressBar *aviLineAttente = nullptr;
    QLabel *lblProgressqueue1 = nullptr;
    QLabel *lblProgressqueue2 = nullptr;

    // Top menus (hidden by ActiveMenu(false)) and their items by index.
    QMenu *mnuFile1 = nullptr, *mnuEdit1 = nullptr, *mnuView1 = nullptr;
    QMenu *mnuCommand1 = nullptr, *mnuHelp1 = nullptr;
    QList<QAction *> mnuFile, mnuEdit, mnuEdit3, mnuView, mnuView2, mnuView3;
    QList<QAction *> mnuCommand, mnuCommand2, mnuCommand3, mnuCommand4, mnuHelp2;
    QMenu *mnuEdit2Menu = nullptr, *mnuView0Menu = nullptr, *mnuView2Menu = nullptr;
    QMenu *mnuCommand0Menu = nullptr, *mnuCommand1Menu = nullptr, *mnuCommand2Menu = nullptr;
    // Pop-up menus.
    QMenu *mnupop_stat = nullptr, *mnupop_list = nullptr;
    QMenu *mnuPop_LocalFile = nullptr, *mnuPop_Server = nullptr, *mnuPop_LocalDir = nullptr;
    QList<QAction *> mnupop_stat1, mnupop_list1, mnuPop_LocalFile1, mnuPop_Server1;

    SessionLog *log() const { return m_log.get(); }

protected:
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    // Form_MouseDown: a press on the window's own surface keeps its size.
    void mousePressEvent(QMouseEvent *event) override;

private:
    // building (frmconcBuild.cpp)
    void buildWindow();
    QToolBar *buildMainToolBar();
    void buildLocalPane();
    void buildServerPane();
    void buildQueue();
    void buildSplitters();
    void buildLog();
    void buildUpdateNotice(QToolBar *bar);
    void buildProtectionStatus();
    void captionProtection();
    QToolBar *paneToolBar(QWidget *parent, const QStringList &keys, void (frmconc::*handler)(const QString &));
    PaneView *detailsList(QWidget *parent, QAbstractItemModel *model);
    // menus (frmconcMenus.cpp)
    void buildMenus();
    void buildPopupMenus();
    void mnuFile_Click(int Index);
    void mnuEdit3_Click(int Index);
    void mnuView_Click(int Index);
    void mnuView2_Click(int Index);
    void mnuView3_Click(int Index);
    void mnuCommand_Click(int Index);
    void mnuHelp2_Click(int Index);
    void showListMenu(QMenu *menu, QWidget *list, const QPoint &pos);
    // captions (frmconcCaptions.cpp)
    void captionToolBar(QToolBar *bar);
    void captionMenus();
    void captionLists();
    // connection (frmconcConnect.cpp)
    void clearServerSide();
    void connectionAttemptEnded(const ftp::Result &result, const QString &server, const QString &startFolder);
    void showConnecting(bool connecting);
    // Lists the server folder into the pane; `then` runs once the listing is back.
    void refreshServerPane(std::function<void()> then);
    // The host of the connection in lblServerHost and the window title.
    void showServerHost(const QString &host);
    QString managerText(QLineEdit *frmManager::*box);
    void openSiteLocalFolder(const QString &folder);
    // panes (frmconcPanes.cpp, frmconcServer.cpp, frmconcLocal.cpp)
    void LoadLocalListing();
    void cmdUpServerPath_Click();
    void cmdUpLocal_Click();
    void cmdBrowseLocal_Click();
    void createServerFolder();
    void renameServerEntry();
    void serverPermissions(const QString &path);
    void moveSelectionToParent();
    int moveSelectionIntoFolderAt(const QPoint &pos);
    void TxtRemotePath_Change(const QString &text);
    // Upload rows for files and folders dropped from the desktop's file manager.
    void queueDesktopFiles(const QList<QUrl> &urls);
    void createLocalFolder();
    void renameLocalEntry(bool filesOnly);
    void deleteLocalSelection();
    void deleteServerSelection();
    QStringList selectedNames(QTreeView *list) const;
    // The text of the first selected row, "" when none is (GetSelectedName).
    QString GetSelectedName(QTreeView *list) const;
    QString localPath(const QString &name) const;
    bool refuseUnsafeName(const QString &name);
    // One download row for the server pane's row (a double-click).
    void queueServerFile(int row);
    void setupQueue();
    // layout (frmconcLayout.cpp)
    void layoutBands();
    void applyLayout();
    void placeQueueWait();
    void placeIn(QWidget *widget, const QRectF &twips, QPointF origin = QPointF()) const;
    double pixelsToTwipsX(double pixels) const;
    double pixelsToTwipsY(double pixels) const;
    // windows and start-up helpers (frmconc.cpp, frmconcWindows.cpp)
    void showOptions();
    void showCommand();
    void showAbout();
    void showDropIn();
    void showUpdateNotice();
    void captionToolWindows();
    void closeToolWindows();
    void openWebSite();

    std::unique_ptr<SessionLog> m_log;
    std::unique_ptr<clsTraduction> m_traduction;
    frmManager *m_manager = nullptr;
    frmloadup *m_splash = nullptr;
    PaneModel *m_serverModel = nullptr;
    PaneModel *m_localModel = nullptr;
    frmExist *m_exist = nullptr;
    QueueModel *m_queue = nullptr;
    TransferQueue *m_transfer = nullptr;
    // QProgressBar counts in int: sizes beyond that are shown in larger units.
    int m_progressShift = 0;
    QActionGroup *m_viewGroup = nullptr;
    QAction *m_picMAJAction = nullptr; // the update notice's places in the tool bar
    QAction *m_lblMAJAction = nullptr;
    QPointer<frmCompare> m_compare;
    QPointer<frmDropIn> m_dropIn;
    WindowLayoutRules m_layoutRules;
    WindowLayout m_layout;
    QSize m_savedSize; // the window's size at the last press on its surface
    bool m_inResize = false;
    QString m_localFolder;
    QString m_remoteFolderShown; // what the program last put into TxtRemotePath
    qint16 m_startWindowChoice = 0;
    quint64 m_listingGeneration = 0; // only the newest listing asked for fills the pane
    std::unique_ptr<RunPainting> m_runPainting; // while the queue runs
    ConnectionProtection m_protection; // of the connection, as the session told
};
