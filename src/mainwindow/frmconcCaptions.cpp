// Every caption of the main window in the current language. The string ids
// are kept here, apart from the controls, so that a language switch can
// caption the window again at any time: tool tips included.
#include "mainwindow/frmconc.h"

#include "settings/StringTable.h"
#include "sites/frmManager.h"

#include <QAbstractItemModel>
#include <QAction>
#include <QHash>
#include <QLabel>
#include <QMenu>
#include <QToolBar>
#include <QToolButton>
#include <QTreeView>

namespace {

struct ButtonText {
    int caption; // 0: the button shows no text
    int toolTip;
};

// The main tool bar: caption and tool tip of every key.
const QHash<QString, ButtonText> &mainButtons()
{
    static const QHash<QString, ButtonText> texts = {
        {QStringLiteral("manag"), {677, 201}},   {QStringLiteral("Disconnect"), {678, 204}},
        {QStringLiteral("reconnect"), {679, 203}}, {QStringLiteral("Transfer"), {680, 241}},
        {QStringLiteral("Stop"), {681, 300}},    {QStringLiteral("command"), {230, 571}},
        {QStringLiteral("DropIn"), {682, 554}},  {QStringLiteral("tool"), {212, 212}},
        {QStringLiteral("help"), {214, 214}},    {QStringLiteral("siteweb"), {216, 216}},
        {QStringLiteral("maj"), {656, 605}},
    };
    return texts;
}

// The server pane's tool bar (tool tips only).
const QHash<QString, ButtonText> &serverButtons()
{
    static const QHash<QString, ButtonText> texts = {
        {QStringLiteral("CreateDirectory"), {0, 400}}, {QStringLiteral("Delete"), {0, 583}},
        {QStringLiteral("Rename"), {0, 294}},          {QStringLiteral("refresh"), {0, 301}},
        {QStringLiteral("Download"), {0, 585}},        {QStringLiteral("sendlist"), {0, 671}},
        {QStringLiteral("updir"), {0, 685}},
    };
    return texts;
}

// The local pane's tool bar (tool tips only).
const QHash<QString, ButtonText> &localButtons()
{
    static const QHash<QString, ButtonText> texts = {
        {QStringLiteral("CreateDirectory"), {0, 291}}, {QStringLiteral("Delete"), {0, 583}},
        {QStringLiteral("Rename"), {0, 294}},          {QStringLiteral("refresh"), {0, 301}},
        {QStringLiteral("upload"), {0, 584}},          {QStringLiteral("sendlist"), {0, 671}},
    };
    return texts;
}

void captionItems(const QList<QAction *> &items, const QList<int> &ids)
{
    for (int i = 0; i < items.size() && i < ids.size(); ++i)
        if (ids[i] > 0)
            items[i]->setText(LangStr(ids[i]));
}

void setHeaders(QAbstractItemModel *model, const QStringList &texts)
{
    for (int c = 0; c < texts.size() && c < model->columnCount(); ++c)
        model->setHeaderData(c, Qt::Horizontal, texts[c], Qt::DisplayRole);
}

} // namespace

void frmconc::LoadResMenu()
{
    captionMenus();
    lblMAJ->setText(LangStr(610));
    cmdBrowseLocal->setToolTip(LangStr(673));
    cmdUpLocal->setToolTip(LangStr(302));
    cmdUpServerPath->setToolTip(LangStr(302));
    captionLists();
    captionToolBar(tbToolBar);
    captionToolBar(Toolbar1);
    captionToolBar(Toolbar2);
    cmdCompare->setToolTip(LangStr(684));
    lblProgressqueue1->setText(LangStr(671));
    lblProgressqueue2->setText(LangStr(672));
    cmdCancelConnect->setText(LangStr(808));
    captionProtection();
    if (m_manager)
        m_manager->applyCaptions();
    captionToolWindows();
}

void frmconc::captionMenus()
{
    mnuFile1->setTitle(LangStr(200));
    captionItems(mnuFile, {201, 202, 203, 204, 205});
    mnuEdit1->setTitle(LangStr(210));
    captionItems(mnuEdit, {211, 212});
    mnuEdit2Menu->setTitle(LangStr(213));
    captionItems(mnuEdit3, {217, 218});
    mnuView1->setTitle(LangStr(220));
    mnuView0Menu->setTitle(LangStr(221));
    mnuView[1]->setText(LangStr(222));
    mnuView2Menu->setTitle(LangStr(223));
    captionItems(mnuView2, {224, 225, 650});
    captionItems(mnuView3, {226, 227, 228, 229});
    mnuCommand1->setTitle(LangStr(230));
    mnuCommand0Menu->setTitle(LangStr(231));
    mnuCommand1Menu->setTitle(LangStr(232));
    mnuCommand2Menu->setTitle(LangStr(233));
    for (const QList<QAction *> &items : {mnuCommand2, mnuCommand3, mnuCommand4})
        captionItems(items, {235, 234}); // server item, then local item
    mnuCommand[3]->setText(LangStr(571));
    mnuHelp1->setTitle(LangStr(214));
    captionItems(mnuHelp2, {215, 588, 216});

    captionItems(mnupop_list1, {260, 261, 262});
    captionItems(mnupop_stat1, {270});
    // The server pane creates a folder on the server, not a local one.
    captionItems(mnuPop_Server1, {290, 400, 292, 293, 294, 295});
    mnuPop_Server1[7]->setText(LoadResString(1566)); // "CHMOD" in both languages
    captionItems(mnuPop_LocalFile1, {290, 291, 292, 293, 294, 295});
}

void frmconc::captionLists()
{
    const QStringList paneColumns = {LangStr(130), LangStr(131), LoadResString(10003), LangStr(132)};
    setHeaders(lvLocal->model(), paneColumns);
    setHeaders(listviewServer->model(), paneColumns);
    QStringList queueColumns;
    for (int id : {133, 134, 135, 136, 137, 138, 139, 562, 586, 587})
        queueColumns << LangStr(id);
    queueColumns << QStringLiteral("Date"); // nearly invisible; keeps its own name
    setHeaders(ListView3->model(), queueColumns);
}

void frmconc::captionToolBar(QToolBar *bar)
{
    const QHash<QString, ButtonText> &texts =
        bar == tbToolBar ? mainButtons() : bar == Toolbar1 ? serverButtons() : localButtons();
    for (QAction *action : bar->actions()) {
        const auto text = texts.constFind(action->data().toString());
        if (text == texts.constEnd())
            continue;
        if (text->caption > 0)
            action->setText(LangStr(text->caption));
        action->setToolTip(LangStr(text->toolTip));
    }
}
