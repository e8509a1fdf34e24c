// The controls of the main window and where they sit. Captions are not set
// here: LoadResMenu gives every control its text in the current language.
#include "mainwindow/frmconc.h"

#include "mainwindow/PaneModel.h"
#include "mainwindow/PaneView.h"
#include "mainwindow/RepaintLimiter.h"
#include "mainwindow/SessionLog.h"
#include "mainwindow/SplitterBar.h"
#include "platform/gui/Icons.h"
#include "transfer/QueueModel.h"

#include <QAction>
#include <QFrame>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QProgressBar>
#include <QStatusBar>
#include <QTextEdit>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QTreeView>

namespace {

constexpr int KeepAliveMs = 30000;
constexpr int UpdateCheckMs = 10000;
// The queue repaints at most this often while a run changes it file by file.
constexpr int kQueueRepaintMs = 50;
constexpr int TwipsPerPixel = 15; // 1440 twips per inch at 96 dots per inch

// Widths of the queue's columns in twips; the last one ("Date") is there for
// the download to read, not for the user to see.
constexpr int QueueColumnTwips[] = {2540, 3246, 3246, 2187, 2117, 1588, 1764, 1764, 3175, 1834, 2};
constexpr int PaneColumnWidths[] = {180, 85, 135, 150};

QToolButton *smallButton(QWidget *parent, const QString &name, const QString &icon)
{
    auto *button = new QToolButton(parent);
    button->setObjectName(name);
    button->setIcon(icons::named(icon));
    button->setAutoRaise(true);
    return button;
}

} // namespace

void frmconc::buildWindow()
{
    setObjectName(QStringLiteral("frmconc"));
    setWindowTitle(QStringLiteral("Tarvo FTP"));
    setWindowIcon(icons::named(QStringLiteral("tarvoftp")));

    m_serverModel = new PaneModel(true, this);
    m_localModel = new PaneModel(false, this);
    m_queue = new QueueModel(this);

    tbToolBar = buildMainToolBar();
    addToolBar(Qt::TopToolBarArea, tbToolBar);

    // Every band is placed by the layout (Form_Resize), never by a Qt layout:
    // creation order is stacking order, the splitters and the compare button
    // last so that they lie over the panes' edges.
    Frame16 = new QWidget(this);
    Frame16->setObjectName(QStringLiteral("Frame16"));
    setCentralWidget(Frame16);
    buildLog();
    buildLocalPane();
    buildServerPane();
    buildQueue();
    StatusBar1 = new QStatusBar(Frame16);
    StatusBar1->setObjectName(QStringLiteral("StatusBar1"));
    // Shown while a connection is being made: a silent server must never
    // leave the user waiting with no way out.
    cmdCancelConnect = new QToolButton(StatusBar1);
    cmdCancelConnect->setObjectName(QStringLiteral("cmdCancelConnect"));
    cmdCancelConnect->setToolButtonStyle(Qt::ToolButtonTextOnly);
    cmdCancelConnect->setVisible(false);
    StatusBar1->addPermanentWidget(cmdCancelConnect);
    connect(cmdCancelConnect, &QToolButton::clicked, this, &frmconc::cancelConnecting);
    buildProtectionStatus();
    buildSplitters();

    timerKeepAlive = new QTimer(this);
    timerKeepAlive->setObjectName(QStringLiteral("timerKeepAlive"));
    timerKeepAlive->setInterval(KeepAliveMs);
    connect(timerKeepAlive, &QTimer::timeout, this, &frmconc::timerKeepAlive_Timer);
    timerMAJ = new QTimer(this);
    timerMAJ->setObjectName(QStringLiteral("timerMAJ"));
    timerMAJ->setInterval(UpdateCheckMs);
    connect(timerMAJ, &QTimer::timeout, this, &frmconc::timerMAJ_Timer);

    buildMenus();
    buildPopupMenus();
}

QToolBar *frmconc::buildMainToolBar()
{
    auto *bar = new QToolBar(this);
    bar->setObjectName(QStringLiteral("tbToolBar"));
    bar->setMovable(false);
    bar->setFloatable(false);
    bar->setIconSize(QSize(24, 24));
    bar->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    bar->toggleViewAction()->setEnabled(false);
    const QStringList keys = {"manag", "Disconnect", "reconnect", "Transfer", "Stop", "command",
                              "DropIn",  "tool",       "help",      "siteweb",  "maj"};
    for (const QString &key : keys) {
        QAction *action = bar->addAction(icons::named(key), QString());
        action->setData(key);
        action->setObjectName(key);
        connect(action, &QAction::triggered, this, [this, key] { tbToolBar_ButtonClick(key); });
        if (key == QLatin1String("manag") || key == QLatin1String("Stop") || key == QLatin1String("tool"))
            bar->addSeparator();
    }
    // Shown only once a newer version has been found.
    toolbarButton(bar, QStringLiteral("maj"))->setVisible(false);

    buildUpdateNotice(bar);
    return bar;
}

// The update notice at the tool bar's far end: a picture and "Update
// available", both clickable, shown with the "maj" button.
void frmconc::buildUpdateNotice(QToolBar *bar)
{
    auto *spacer = new QWidget(bar);
    spacer->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    bar->addWidget(spacer);
    picMAJ = new QLabel(bar);
    picMAJ->setObjectName(QStringLiteral("picMAJ"));
    picMAJ->setPixmap(icons::named(QStringLiteral("maj")).pixmap(24, 24));
    lblMAJ = new QLabel(bar);
    lblMAJ->setObjectName(QStringLiteral("lblMAJ"));
    QFont bold = lblMAJ->font();
    bold.setBold(true);
    lblMAJ->setFont(bold);
    lblMAJ->setContentsMargins(2, 0, 8, 0);
    for (QLabel *notice : {picMAJ, lblMAJ}) {
        notice->setCursor(Qt::PointingHandCursor);
        notice->installEventFilter(this);
    }
    m_picMAJAction = bar->addWidget(picMAJ);
    m_lblMAJAction = bar->addWidget(lblMAJ);
    m_picMAJAction->setVisible(false);
    m_lblMAJAction->setVisible(false);
}

void frmconc::buildLog()
{
    RTBHeader = new QTextEdit(Frame16);
    RTBHeader->setObjectName(QStringLiteral("RTBHeader"));
    RTBHeader->setReadOnly(true);
    RTBHeader->setUndoRedoEnabled(false);
    RTBHeader->setContextMenuPolicy(Qt::CustomContextMenu);
    m_log = std::make_unique<SessionLog>(RTBHeader);
}

QToolBar *frmconc::paneToolBar(QWidget *parent, const QStringList &keys,
                                void (frmconc::*handler)(const QString &))
{
    auto *bar = new QToolBar(parent);
    bar->setOrientation(Qt::Vertical);
    bar->setFloatable(false);
    bar->setMovable(false);
    bar->setIconSize(QSize(22, 22));
    bar->setToolButtonStyle(Qt::ToolButtonIconOnly);
    for (const QString &key : keys) {
        QAction *action = bar->addAction(icons::named(key), QString());
        action->setData(key);
        action->setObjectName(key);
        connect(action, &QAction::triggered, this, [this, handler, key] { (this->*handler)(key); });
    }
    return bar;
}

PaneView *frmconc::detailsList(QWidget *parent, QAbstractItemModel *model)
{
    auto *list = new PaneView(parent);
    list->setModel(model);
    list->setRootIsDecorated(false);
    list->setItemsExpandable(false);
    list->setUniformRowHeights(true);
    list->setAllColumnsShowFocus(true);
    list->setSelectionMode(QAbstractItemView::ExtendedSelection);
    list->setSelectionBehavior(QAbstractItemView::SelectRows);
    list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    list->setContextMenuPolicy(Qt::CustomContextMenu);
    list->setIconSize(QSize(16, 16));
    list->header()->setStretchLastSection(false);
    list->header()->setSectionsMovable(false);
    list->viewport()->installEventFilter(this);

    // A click on a column header sorts by that column's text, flipping the
    // order each time; the lists start in the order they were filled.
    QHeaderView *header = list->header();
    header->setSectionsClickable(true);
    header->setSortIndicatorShown(false);
    connect(header, &QHeaderView::sectionClicked, this, [this, list](int column) { sortListByColumn(list, column); });
    return list;
}

void frmconc::sortListByColumn(QTreeView *list, int column)
{
    const bool wasDescending = list->property("sortedDescending").toBool();
    const Qt::SortOrder order = wasDescending ? Qt::AscendingOrder : Qt::DescendingOrder;
    list->setProperty("sortedDescending", !wasDescending);
    list->header()->setSortIndicatorShown(true);
    list->header()->setSortIndicator(column, order);
    list->model()->sort(column, order);
}

void frmconc::buildLocalPane()
{
    FrameLocal = new QWidget(Frame16);
    FrameLocal->setObjectName(QStringLiteral("FrameLocal"));
    Label11 = new QLabel(FrameLocal);
    Label11->setObjectName(QStringLiteral("Label11"));
    Label11->setVisible(false); // the path box shows the folder
    txtLocalPath = new QLineEdit(FrameLocal);
    txtLocalPath->setObjectName(QStringLiteral("txtLocalPath"));
    // Shows the folder; a folder typed in it and confirmed with Enter opens.
    cmdUpLocal = smallButton(FrameLocal, QStringLiteral("cmdUpLocal"), QStringLiteral("up"));
    cmdBrowseLocal = smallButton(FrameLocal, QStringLiteral("cmdBrowseLocal"), QStringLiteral("browse"));
    Toolbar2 = paneToolBar(FrameLocal, {"CreateDirectory", "Delete", "Rename", "refresh", "upload", "sendlist"},
                           &frmconc::Toolbar2_ButtonClick);
    Toolbar2->setObjectName(QStringLiteral("Toolbar2"));
    lvLocal = detailsList(FrameLocal, m_localModel);
    lvLocal->setObjectName(QStringLiteral("lvLocal"));
    for (int c = 0; c < 4; ++c)
        lvLocal->setColumnWidth(c, PaneColumnWidths[c]);
    setTabOrder(txtLocalPath, cmdUpLocal);
    setTabOrder(cmdUpLocal, cmdBrowseLocal);
    setTabOrder(cmdBrowseLocal, lvLocal);

    connect(cmdUpLocal, &QToolButton::clicked, this, &frmconc::cmdUpLocal_Click);
    connect(cmdBrowseLocal, &QToolButton::clicked, this, &frmconc::cmdBrowseLocal_Click);
    connect(lvLocal, &QTreeView::doubleClicked, this, &frmconc::openLocalEntry);
    auto *localList = static_cast<PaneView *>(lvLocal);
    connect(localList, &PaneView::dragStarted, this, &frmconc::lvLocal_OLEStartDrag);
    connect(localList, &PaneView::dropped, this, &frmconc::lvLocal_OLEDragDrop);
    connect(localList, &PaneView::keyCommand, this, &frmconc::localPaneKey);
    connect(txtLocalPath, &QLineEdit::returnPressed, this, &frmconc::txtLocalPath_Enter);
    connect(txtLocalPath, &QLineEdit::editingFinished, this, &frmconc::txtLocalPath_Left);
}

void frmconc::buildServerPane()
{
    fraServer = new QWidget(Frame16);
    fraServer->setObjectName(QStringLiteral("fraServer"));
    lblServerHost = new QLabel(fraServer);
    lblServerHost->setObjectName(QStringLiteral("lblServerHost"));
    lblServerHost->setVisible(false);
    TxtRemotePath = new QLineEdit(fraServer);
    TxtRemotePath->setObjectName(QStringLiteral("TxtRemotePath"));
    cmdUpServerPath = smallButton(fraServer, QStringLiteral("cmdUpServerPath"), QStringLiteral("up"));
    Toolbar1 = paneToolBar(fraServer, {"CreateDirectory", "Delete", "Rename", "refresh", "Download", "sendlist", "updir"},
                           &frmconc::Toolbar1_ButtonClick);
    Toolbar1->setObjectName(QStringLiteral("Toolbar1"));
    Toolbar1->setEnabled(false); // until connected
    listviewServer = detailsList(fraServer, m_serverModel);
    listviewServer->setObjectName(QStringLiteral("listviewServer"));
    for (int c = 0; c < 4; ++c)
        listviewServer->setColumnWidth(c, PaneColumnWidths[c]);
    setTabOrder(lvLocal, TxtRemotePath);
    setTabOrder(TxtRemotePath, cmdUpServerPath);
    setTabOrder(cmdUpServerPath, listviewServer);

    connect(cmdUpServerPath, &QToolButton::clicked, this, &frmconc::cmdUpServerPath_Click);
    connect(listviewServer, &QTreeView::doubleClicked, this, &frmconc::openServerEntry);
    auto *serverList = static_cast<PaneView *>(listviewServer);
    connect(serverList, &PaneView::dragStarted, this, &frmconc::listviewServer_OLEStartDrag);
    connect(serverList, &PaneView::dropped, this, &frmconc::listviewServer_OLEDragDrop);
    connect(serverList, &PaneView::keyCommand, this, &frmconc::serverPaneKey);
    connect(TxtRemotePath, &QLineEdit::returnPressed, this, &frmconc::TxtRemotePath_Enter);
    connect(TxtRemotePath, &QLineEdit::editingFinished, this, &frmconc::TxtRemotePath_Left);
    connect(TxtRemotePath, &QLineEdit::textChanged, this, &frmconc::TxtRemotePath_Change);
}

// The three bars the user drags, and the compare button at the foot of the
// one between the panes.
void frmconc::buildSplitters()
{
    picResizeHaut = new SplitterBar(Qt::Horizontal, Frame16);
    picResizeHaut->setObjectName(QStringLiteral("picResizeHaut"));
    picResizeBas = new SplitterBar(Qt::Horizontal, Frame16);
    picResizeBas->setObjectName(QStringLiteral("picResizeBas"));
    FrameResizeLocServ = new QWidget(Frame16);
    FrameResizeLocServ->setObjectName(QStringLiteral("FrameResizeLocServ"));
    picResizeLocServ = new SplitterBar(Qt::Vertical, FrameResizeLocServ);
    picResizeLocServ->setObjectName(QStringLiteral("picResizeLocServ"));
    picResizeLocServ->setGhostArea(Frame16);
    connect(picResizeHaut, &SplitterBar::released, this, &frmconc::picResizeHaut_MouseUp);
    connect(picResizeBas, &SplitterBar::released, this, &frmconc::picResizeBas_MouseUp);
    connect(picResizeLocServ, &SplitterBar::released, this, &frmconc::FrameResizeLocServ_MouseUp);

    cmdCompare = smallButton(Frame16, QStringLiteral("cmdCompare"), QStringLiteral("compare"));
    cmdCompare->setIconSize(QSize(22, 22));
    connect(cmdCompare, &QToolButton::clicked, this, &frmconc::cmdCompare_Click);
}

void frmconc::buildQueue()
{
    // The limiter hears of a change of rows before the view does (it is
    // connected first), so that what it paints at once is the rows as they
    // still are.
    ListView3 = detailsList(Frame16, nullptr);
    m_queueRepaints = new RepaintLimiter(ListView3, kQueueRepaintMs, ListView3);
    m_queueRepaints->follow(m_queue);
    ListView3->setModel(m_queue);
    ListView3->setObjectName(QStringLiteral("ListView3"));
    ListView3->header()->setMinimumSectionSize(1); // lets the "Date" column all but vanish
    for (int c = 0; c < int(std::size(QueueColumnTwips)); ++c)
        ListView3->setColumnWidth(c, qMax(1, QueueColumnTwips[c] / TwipsPerPixel));
    // Rows are dropped on the queue, never dragged out of it.
    ListView3->setDragEnabled(false);
    connect(m_queueRepaints, &RepaintLimiter::released, this, &frmconc::PlaceQueueProgressBar);
    connect(static_cast<PaneView *>(ListView3), &PaneView::dropped, this, &frmconc::ListView3_OLEDragDrop);

    // Laid over the running row's "Progress" cell by the queue runner.
    ProgressBar1 = new QProgressBar(ListView3->viewport());
    ProgressBar1->setObjectName(QStringLiteral("ProgressBar1"));
    ProgressBar1->setRange(0, 100);
    ProgressBar1->setValue(0);
    ProgressBar1->setTextVisible(false);
    ProgressBar1->setVisible(false);

    // The wait panel lies over the top of the queue while folders are
    // expanded into rows.
    picLineAttente = new QFrame(Frame16);
    picLineAttente->setObjectName(QStringLiteral("picLineAttente"));
    picLineAttente->setAutoFillBackground(true);
    static_cast<QFrame *>(picLineAttente)->setFrameShape(QFrame::StyledPanel);
    aviLineAttente = new QProgressBar(picLineAttente);
    aviLineAttente->setObjectName(QStringLiteral("aviLineAttente"));
    aviLineAttente->setRange(0, 0); // a busy bar plays the endless animation
    aviLineAttente->setTextVisible(false);
    aviLineAttente->setFixedWidth(120);
    lblProgressqueue1 = new QLabel(picLineAttente);
    lblProgressqueue1->setObjectName(QStringLiteral("lblProgressqueue1"));
    lblProgressqueue2 = new QLabel(picLineAttente);
    lblProgressqueue2->setObjectName(QStringLiteral("lblProgressqueue2"));
    auto *wait = new QHBoxLayout(picLineAttente);
    wait->setContentsMargins(6, 3, 6, 3);
    wait->addWidget(aviLineAttente);
    wait->addWidget(lblProgressqueue1);
    wait->addWidget(lblProgressqueue2);
    wait->addStretch(1);
    picLineAttente->setVisible(false);
}
