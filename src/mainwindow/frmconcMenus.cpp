// The menus of the main window. The top menus repeat the tool bars' commands
// and stay hidden (ActiveMenu); the pop-up menus open on a right click on the
// log, the two panes and the queue. Items are kept by index, as the command
// handlers receive them.
#include "mainwindow/frmconc.h"

#include "mainwindow/SessionLog.h"
#include "platform/Prompt.h"
#include "session/SessionState.h"
#include "settings/StringTable.h"

#include <QAbstractItemModel>
#include <QActionGroup>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QMenu>
#include <QMenuBar>
#include <QProgressBar>
#include <QTextEdit>
#include <QTreeView>

namespace {

// Adds `count` items to a menu; each click calls handler(index).
QList<QAction *> addItems(QMenu *menu, int count, const std::function<void(int)> &handler)
{
    QList<QAction *> items;
    for (int i = 0; i < count; ++i) {
        QAction *action = menu->addAction(QString());
        QObject::connect(action, &QAction::triggered, menu, [handler, i] { handler(i); });
        items << action;
    }
    return items;
}

} // namespace

void frmconc::buildMenus()
{
    QMenuBar *bar = menuBar();
    mnuFile1 = bar->addMenu(QString());
    mnuFile = addItems(mnuFile1, 5, [this](int i) { mnuFile_Click(i); });
    mnuFile1->insertSeparator(mnuFile[3]);

    mnuEdit1 = bar->addMenu(QString());
    mnuEdit = addItems(mnuEdit1, 2, [this](int i) { if (i == 1) showOptions(); });
    mnuEdit[0]->setEnabled(false); // Select All: switched off in this window
    mnuEdit2Menu = mnuEdit1->addMenu(QString());
    mnuEdit << mnuEdit2Menu->menuAction();
    mnuEdit3 = addItems(mnuEdit2Menu, 2, [this](int i) { mnuEdit3_Click(i); });

    mnuView1 = bar->addMenu(QString());
    mnuView0Menu = mnuView1->addMenu(QString());
    mnuView2 = addItems(mnuView0Menu, 3, [this](int i) { mnuView2_Click(i); });
    m_viewGroup = new QActionGroup(this);
    for (QAction *item : mnuView2) {
        item->setCheckable(true);
        m_viewGroup->addAction(item);
    }
    mnuView2[2]->setChecked(true);
    QAction *refresh = mnuView1->addAction(QString());
    connect(refresh, &QAction::triggered, this, [this] { mnuView_Click(1); });
    mnuView2Menu = mnuView1->addMenu(QString());
    mnuView3 = addItems(mnuView2Menu, 4, [this](int i) { mnuView3_Click(i); });
    mnuView3[1]->setEnabled(false); // By type: switched off
    mnuView = {mnuView0Menu->menuAction(), refresh, mnuView2Menu->menuAction()};

    mnuCommand1 = bar->addMenu(QString());
    mnuCommand0Menu = mnuCommand1->addMenu(QString());
    mnuCommand1Menu = mnuCommand1->addMenu(QString());
    mnuCommand2Menu = mnuCommand1->addMenu(QString());
    // Each submenu: the server item, then the local item.
    mnuCommand2 = addItems(mnuCommand0Menu, 2, [this](int i) {
        i == 0 ? Toolbar1_ButtonClick(QStringLiteral("CreateDirectory")) : Toolbar2_ButtonClick(QStringLiteral("CreateDirectory"));
    });
    mnuCommand3 = addItems(mnuCommand1Menu, 2, [this](int i) {
        i == 0 ? Toolbar1_ButtonClick(QStringLiteral("Rename")) : Toolbar2_ButtonClick(QStringLiteral("Rename"));
    });
    mnuCommand4 = addItems(mnuCommand2Menu, 2, [this](int i) {
        i == 0 ? Toolbar1_ButtonClick(QStringLiteral("Delete")) : Toolbar2_ButtonClick(QStringLiteral("Delete"));
    });
    QAction *raw = mnuCommand1->addAction(QString());
    connect(raw, &QAction::triggered, this, [this] { mnuCommand_Click(3); });
    mnuCommand = {mnuCommand0Menu->menuAction(), mnuCommand1Menu->menuAction(), mnuCommand2Menu->menuAction(), raw};

    mnuHelp1 = bar->addMenu(QString());
    mnuHelp2 = addItems(mnuHelp1, 3, [this](int i) { mnuHelp2_Click(i); });
    mnuHelp1->menuAction()->setVisible(false); // switched off: the tool bar has help and about
}

void frmconc::buildPopupMenus()
{
    mnupop_stat = new QMenu(this);
    mnupop_stat->setObjectName(QStringLiteral("mnupop_stat"));
    mnupop_stat1 = addItems(mnupop_stat, 1, [this](int) { m_log->clear(); });
    connect(RTBHeader, &QWidget::customContextMenuRequested, this,
            [this](const QPoint &pos) { mnupop_stat->popup(RTBHeader->viewport()->mapToGlobal(pos)); });

    mnupop_list = new QMenu(this);
    mnupop_list->setObjectName(QStringLiteral("mnupop_list"));
    mnupop_list1 = addItems(mnupop_list, 3, [this](int i) { mnupop_list1_Click(i); });
    connect(ListView3, &QWidget::customContextMenuRequested, this,
            [this](const QPoint &pos) { showListMenu(mnupop_list, ListView3, pos); });

    // The pane pop-ups hand their items to the pane tool bars' commands.
    mnuPop_Server = new QMenu(this);
    mnuPop_Server->setObjectName(QStringLiteral("mnuPop_Server"));
    mnuPop_Server1 = addItems(mnuPop_Server, 9, [this](int i) { mnuPop_Server1_Click(i); });
    mnuPop_Server1[3]->setVisible(false); // Create file: switched off
    mnuPop_Server1[6]->setSeparator(true);
    mnuPop_Server1[8]->setSeparator(true);
    connect(listviewServer, &QWidget::customContextMenuRequested, this, [this](const QPoint &pos) {
        if (hConnection && bConnected)
            showListMenu(mnuPop_Server, listviewServer, pos);
    });

    mnuPop_LocalFile = new QMenu(this);
    mnuPop_LocalFile->setObjectName(QStringLiteral("mnuPop_LocalFile"));
    mnuPop_LocalFile1 = addItems(mnuPop_LocalFile, 6, [this](int i) { mnuPop_LocalFile1_Click(i); });
    mnuPop_LocalFile1[2]->setVisible(false); // Delete selected directory: switched off
    mnuPop_LocalFile1[3]->setVisible(false); // Create file: switched off
    connect(lvLocal, &QWidget::customContextMenuRequested, this,
            [this](const QPoint &pos) { showListMenu(mnuPop_LocalFile, lvLocal, pos); });

    mnuPop_LocalDir = new QMenu(this); // has no items
    mnuPop_LocalDir->setObjectName(QStringLiteral("mnuPop_LocalDir"));
}

void frmconc::showListMenu(QMenu *menu, QWidget *list, const QPoint &pos)
{
    auto *view = qobject_cast<QAbstractItemView *>(list);
    menu->popup(view ? view->viewport()->mapToGlobal(pos) : list->mapToGlobal(pos));
}

void frmconc::ActiveMenu(bool bEnable)
{
    for (QMenu *menu : {mnuFile1, mnuEdit1, mnuView1, mnuCommand1})
        menu->menuAction()->setVisible(bEnable);
    // With nothing to show, the bar itself takes no room.
    menuBar()->setVisible(bEnable);
}

void frmconc::mnuFile_Click(int Index)
{
    switch (Index) {
    case 0: tbToolBar_ButtonClick(QStringLiteral("manag")); break;
    case 1: tbToolBar_ButtonClick(QStringLiteral("manag")); break; // quick connect: the manager's boxes
    case 2: premier_Connect(false); break;
    case 3: disconnectFromServer(); break;
    case 4: close(); break;
    default: break;
    }
}

void frmconc::mnuEdit3_Click(int Index)
{
    switchLanguage(Index == 0);
}

void frmconc::mnuView_Click(int Index)
{
    if (Index != 1)
        return;
    if (bConnected)
        RefreshDirectoryListing();
    LoadLocalListing();
}

void frmconc::mnuView2_Click(int Index)
{
    // Our lists always show details; the icon and list views keep the name
    // column only, as a list of names would.
    for (QTreeView *list : {lvLocal, listviewServer}) {
        list->setHeaderHidden(Index != 2);
        for (int c = 1; c < list->model()->columnCount(); ++c)
            list->setColumnHidden(c, Index != 2);
    }
    mnuView2[Index]->setChecked(true);
}

void frmconc::mnuView3_Click(int Index)
{
    static constexpr int columns[] = {0, 2, 1, 3}; // by name, type, size, date
    if (Index < 0 || Index > 3)
        return;
    for (QTreeView *list : {lvLocal, listviewServer})
        list->sortByColumn(columns[Index], Qt::AscendingOrder);
}

void frmconc::mnuCommand_Click(int Index)
{
    if (Index == 3)
        showCommand();
}

void frmconc::mnuHelp2_Click(int Index)
{
    switch (Index) {
    case 0: openHelp(); break;
    case 1: openWebSite(); break;
    case 2: showAbout(); break;
    default: break;
    }
}
