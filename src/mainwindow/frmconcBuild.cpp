// The controls of the main window and where they sit. Captions are not set
// here: LoadResMenu gives every control its text in the current language.
#include "mainwindow/frmconc.h"

#include "mainwindow/PaneModel.h"
#include "mainwindow/PaneView.h"
#include "mainwindow/SessionLog.h"
#include "platform/gui/Icons.h"
#include "transfer/QueueModel.h"

#include <QAction>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QProgressBar>
#include <QSplitter>
#include <QStatusBar>
#include <QTextEdit>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QTreeView>
#include <QVBoxLayout>

namespace {

constexpr int KeepAliveMs = 30000;
constexpr int UpdateCheckMs = 10000;
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
    buildLog();

    auto *panes = new QSplitter(Qt::Horizontal);
    panes->setObjectName(QStringLiteral("FrameResizeLocServ"));
    panes->addWidget(buildLocalPane());
    panes->addWidget(buildCompareColumn());
    panes->addWidget(buildServerPane());
    panes->setStretchFactor(0, 1);
    panes->setStretchFactor(1, 0);
    panes->setStretchFactor(2, 1);
    panes->setChildrenCollapsible(false);

    // The two horizontal splitter bars of the design are this splitter's handles.
    auto *bands = new QSplitter(Qt::Vertical);
    bands->setObjectName(QStringLiteral("Frame16"));
    bands->addWidget(RTBHeader);
    bands->addWidget(panes);
    bands->addWidget(buildQueue());
    bands->setStretchFactor(0, 17);
    bands->setStretchFactor(1, 58);
    bands->setStretchFactor(2, 25);
    bands->setSizes({130, 440, 200});
    bands->setChildrenCollapsible(false);
    setCentralWidget(bands);

    statusBar()->setObjectName(QStringLiteral("StatusBar1"));

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

    auto *spacer = new QWidget(bar);
    spacer->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    bar->addWidget(spacer);
    picMAJ = new QLabel(bar);
    picMAJ->setObjectName(QStringLiteral("picMAJ"));
    picMAJ->setPixmap(icons::named(QStringLiteral("maj")).pixmap(24, 24));
    lblMAJ = new QLabel(bar);
    lblMAJ->setObjectName(QStringLiteral("lblMAJ"));
    bar->addWidget(picMAJ)->setVisible(false);
    bar->addWidget(lblMAJ)->setVisible(false);
    return bar;
}

void frmconc::buildLog()
{
    RTBHeader = new QTextEdit(this);
    RTBHeader->setObjectName(QStringLiteral("RTBHeader"));
    RTBHeader->setReadOnly(true);
    RTBHeader->setUndoRedoEnabled(false);
    RTBHeader->setContextMenuPolicy(Qt::CustomContextMenu);
    RTBHeader->setMinimumHeight(48);
    m_log = std::make_unique<SessionLog>(RTBHeader);
}

QToolBar *frmconc::paneToolBar(const QStringList &keys, void (frmconc::*handler)(const QString &))
{
    auto *bar = new QToolBar;
    bar->setOrientation(Qt::Vertical);
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

PaneView *frmconc::detailsList(QAbstractItemModel *model)
{
    auto *list = new PaneView;
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

QWidget *frmconc::buildLocalPane()
{
    auto *frame = new QWidget;
    frame->setObjectName(QStringLiteral("FrameLocal"));
    Label11 = new QLabel(frame);
    Label11->setObjectName(QStringLiteral("Label11"));
    QFont bold = Label11->font();
    bold.setBold(true);
    Label11->setFont(bold);
    txtLocalPath = new QLineEdit(frame);
    txtLocalPath->setObjectName(QStringLiteral("txtLocalPath"));
    txtLocalPath->setReadOnly(true); // shows the folder; typing in it does nothing
    cmdUpLocal = smallButton(frame, QStringLiteral("cmdUpLocal"), QStringLiteral("up"));
    cmdBrowseLocal = smallButton(frame, QStringLiteral("cmdBrowseLocal"), QStringLiteral("browse"));
    Toolbar2 = paneToolBar({"CreateDirectory", "Delete", "Rename", "refresh", "upload", "sendlist"},
                           &frmconc::Toolbar2_ButtonClick);
    Toolbar2->setObjectName(QStringLiteral("Toolbar2"));
    lvLocal = detailsList(m_localModel);
    lvLocal->setObjectName(QStringLiteral("lvLocal"));
    for (int c = 0; c < 4; ++c)
        lvLocal->setColumnWidth(c, PaneColumnWidths[c]);
    lvLocal->setMinimumHeight(Toolbar2->sizeHint().height()); // the tool bar is never cut

    auto *grid = new QGridLayout(frame);
    grid->setContentsMargins(4, 2, 0, 2);
    grid->setSpacing(3);
    grid->addWidget(Label11, 0, 0, 1, 4);
    grid->addWidget(txtLocalPath, 1, 0);
    grid->addWidget(cmdUpLocal, 1, 1);
    grid->addWidget(cmdBrowseLocal, 1, 2);
    grid->addWidget(lvLocal, 2, 0, 1, 3);
    grid->addWidget(Toolbar2, 2, 3, Qt::AlignTop);
    grid->setColumnStretch(0, 1);

    connect(cmdUpLocal, &QToolButton::clicked, this, &frmconc::cmdUpLocal_Click);
    connect(cmdBrowseLocal, &QToolButton::clicked, this, &frmconc::cmdBrowseLocal_Click);
    connect(lvLocal, &QTreeView::doubleClicked, this, &frmconc::openLocalEntry);
    auto *localList = static_cast<PaneView *>(lvLocal);
    connect(localList, &PaneView::dragStarted, this, &frmconc::lvLocal_OLEStartDrag);
    connect(localList, &PaneView::dropped, this, &frmconc::lvLocal_OLEDragDrop);
    connect(localList, &PaneView::deletePressed, this, &frmconc::lvLocal_KeyDown);
    return frame;
}

QWidget *frmconc::buildServerPane()
{
    auto *frame = new QWidget;
    frame->setObjectName(QStringLiteral("fraServer"));
    lblServerHost = new QLabel(frame);
    lblServerHost->setObjectName(QStringLiteral("lblServerHost"));
    QFont bold = lblServerHost->font();
    bold.setBold(true);
    lblServerHost->setFont(bold);
    TxtRemotePath = new QLineEdit(frame);
    TxtRemotePath->setObjectName(QStringLiteral("TxtRemotePath"));
    TxtRemotePath->setReadOnly(true);
    cmdUpServerPath = smallButton(frame, QStringLiteral("cmdUpServerPath"), QStringLiteral("up"));
    Toolbar1 = paneToolBar({"CreateDirectory", "Delete", "Rename", "refresh", "Download", "sendlist", "updir"},
                           &frmconc::Toolbar1_ButtonClick);
    Toolbar1->setObjectName(QStringLiteral("Toolbar1"));
    Toolbar1->setEnabled(false); // until connected
    listviewServer = detailsList(m_serverModel);
    listviewServer->setObjectName(QStringLiteral("listviewServer"));
    for (int c = 0; c < 4; ++c)
        listviewServer->setColumnWidth(c, PaneColumnWidths[c]);
    listviewServer->setMinimumHeight(Toolbar1->sizeHint().height());

    auto *grid = new QGridLayout(frame);
    grid->setContentsMargins(0, 2, 4, 2);
    grid->setSpacing(3);
    grid->addWidget(lblServerHost, 0, 0, 1, 3);
    grid->addWidget(TxtRemotePath, 1, 1);
    grid->addWidget(cmdUpServerPath, 1, 2);
    grid->addWidget(Toolbar1, 2, 0, Qt::AlignTop);
    grid->addWidget(listviewServer, 2, 1, 1, 2);
    grid->setColumnStretch(1, 1);
    // The path row is as tall as the local pane's (its buttons set the height).
    grid->setRowMinimumHeight(1, cmdUpServerPath->sizeHint().height());

    connect(cmdUpServerPath, &QToolButton::clicked, this, &frmconc::cmdUpServerPath_Click);
    connect(listviewServer, &QTreeView::doubleClicked, this, &frmconc::openServerEntry);
    auto *serverList = static_cast<PaneView *>(listviewServer);
    connect(serverList, &PaneView::dragStarted, this, &frmconc::listviewServer_OLEStartDrag);
    connect(serverList, &PaneView::dropped, this, &frmconc::listviewServer_OLEDragDrop);
    connect(serverList, &PaneView::deletePressed, this, &frmconc::listviewServer_KeyDown);
    return frame;
}

QWidget *frmconc::buildCompareColumn()
{
    auto *column = new QWidget;
    column->setObjectName(QStringLiteral("picResizeLocServ"));
    cmdCompare = smallButton(column, QStringLiteral("cmdCompare"), QStringLiteral("compare"));
    cmdCompare->setIconSize(QSize(22, 22));
    auto *layout = new QVBoxLayout(column);
    layout->setContentsMargins(2, 0, 2, 6);
    layout->addStretch(1);
    layout->addWidget(cmdCompare);
    column->setFixedWidth(cmdCompare->sizeHint().width() + 4);
    connect(cmdCompare, &QToolButton::clicked, this, [] {
        // The folder comparison window comes with the transfer tools.
    });
    return column;
}

QWidget *frmconc::buildQueue()
{
    auto *band = new QWidget;
    band->setObjectName(QStringLiteral("queueBand"));

    picLineAttente = new QWidget(band);
    picLineAttente->setObjectName(QStringLiteral("picLineAttente"));
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
    wait->setContentsMargins(4, 0, 4, 0);
    wait->addWidget(aviLineAttente);
    wait->addWidget(lblProgressqueue1);
    wait->addWidget(lblProgressqueue2);
    wait->addStretch(1);
    picLineAttente->setVisible(false);

    ListView3 = detailsList(m_queue);
    ListView3->setObjectName(QStringLiteral("ListView3"));
    ListView3->header()->setMinimumSectionSize(1); // lets the "Date" column all but vanish
    for (int c = 0; c < int(std::size(QueueColumnTwips)); ++c)
        ListView3->setColumnWidth(c, qMax(1, QueueColumnTwips[c] / TwipsPerPixel));
    // Rows are dropped on the queue, never dragged out of it.
    ListView3->setDragEnabled(false);
    connect(static_cast<PaneView *>(ListView3), &PaneView::dropped, this, &frmconc::ListView3_OLEDragDrop);

    // Laid over the running row's "Progress" cell by the queue runner.
    ProgressBar1 = new QProgressBar(ListView3->viewport());
    ProgressBar1->setObjectName(QStringLiteral("ProgressBar1"));
    ProgressBar1->setRange(0, 100);
    ProgressBar1->setValue(0);
    ProgressBar1->setTextVisible(false);
    ProgressBar1->setVisible(false);

    auto *layout = new QVBoxLayout(band);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    layout->addWidget(picLineAttente);
    layout->addWidget(ListView3, 1);
    return band;
}
