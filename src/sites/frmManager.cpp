// The site manager: its controls, captions, and the way it hands a connection
// to the main window. The tree lives in frmManagerTree.cpp, the commands that
// change the address book in frmManagerEdit.cpp.
#include "sites/frmManager_p.h"

#include "mainwindow/MainWindowApi.h"
#include "platform/Prompt.h"
#include "platform/gui/Icons.h"
#include "session/SessionState.h"
#include "session/clsFTPClient.h"
#include "settings/StringTable.h"
#include "sites/SiteInput.h"

#include <QAction>
#include <QApplication>
#include <QPointer>
#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSplitter>
#include <QTabWidget>
#include <QToolBar>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

struct ToolbarKey {
    const char *key;
    int captionId;
};

// The tool bar in its order, with the string id of each caption.
constexpr ToolbarKey toolbarKeys[] = {
    {"connect", 180}, {"addfolder", 667}, {"addsite", 668},
    {"delete", 670},  {"param", 669},     {"assist", 624},
};

} // namespace

frmManager::frmManager(clsFTPClient *ftp, ConnectionStarter *starter, QWidget *parent)
    : QDialog(parent), d(new Private)
{
    d->ftp = ftp;
    d->starter = starter;
    setObjectName(QStringLiteral("frmManager"));
    buildWindow();
    connectSignals();
    applyCaptions();
    reloadData();
    LoadDatabaseList();
}

frmManager::~frmManager()
{
    delete d;
}

QAction *frmManager::toolbarButton(const QString &key) const
{
    return d->buttons.value(key);
}

bool frmManager::binaryTransferSelected() const
{
    return Opt[0]->isChecked();
}

QString frmManager::currentFolderNumber() const
{
    return d->currentFolder;
}

void frmManager::buildWindow()
{
    Toolbar1 = new QToolBar(this);
    Toolbar1->setObjectName(QStringLiteral("Toolbar1"));
    Toolbar1->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    for (const ToolbarKey &button : toolbarKeys) {
        QAction *action = Toolbar1->addAction(QString());
        action->setObjectName(QLatin1String(button.key));
        d->buttons.insert(QLatin1String(button.key), action);
    }
    d->buttons.value(QStringLiteral("param"))->setCheckable(true);

    tvManager = new QTreeWidget(this);
    tvManager->setObjectName(QStringLiteral("tvManager"));
    tvManager->setHeaderHidden(true);
    tvManager->setColumnCount(1);
    tvManager->setMinimumWidth(200);
    tvManager->installEventFilter(this);

    picGeneralMain = new QWidget(this);
    picGeneralMain->setObjectName(QStringLiteral("picGeneralMain"));
    d->lblFrm[4] = new QLabel(picGeneralMain);
    QFont heading = d->lblFrm[4]->font();
    heading.setBold(true);
    d->lblFrm[4]->setFont(heading);
    pages = new QTabWidget(picGeneralMain);
    picGeneral = buildGeneralPage();
    picOption = buildOptionPage();
    pages->addTab(picGeneral, QString());
    pages->addTab(picOption, QString());
    cmdSavechange = new QPushButton(picGeneralMain);
    cmdSavechange->setObjectName(QStringLiteral("cmdSavechange"));
    cmdSavechange->setEnabled(false);
    // Enter belongs to the tree (it connects to the chosen site), not to Save.
    cmdSavechange->setAutoDefault(false);

    auto *panel = new QVBoxLayout(picGeneralMain);
    panel->setContentsMargins(0, 0, 0, 0);
    panel->addWidget(d->lblFrm[4]);
    panel->addWidget(pages, 1);
    auto *saveRow = new QHBoxLayout;
    saveRow->addStretch(1);
    saveRow->addWidget(cmdSavechange);
    panel->addLayout(saveRow);
    picGeneralMain->hide();

    auto *splitter = new QSplitter(this);
    splitter->addWidget(tvManager);
    splitter->addWidget(picGeneralMain);
    splitter->setStretchFactor(1, 1);
    splitter->setChildrenCollapsible(false);

    auto *layout = new QVBoxLayout(this);
    layout->setMenuBar(Toolbar1);
    layout->addWidget(splitter);
    resize(640, 400);
}

QWidget *frmManager::buildGeneralPage()
{
    auto *page = new QWidget;
    page->setObjectName(QStringLiteral("picGeneral"));
    auto newBox = [page](const char *name) {
        auto *box = new QLineEdit(page);
        box->setObjectName(QLatin1String(name));
        return box;
    };
    TxtSiteName = newBox("TxtSiteName");
    TxtServer = newBox("TxtServer");
    TxtPort = newBox("TxtPort");
    TxtPort->setText(QStringLiteral("21"));
    TxtUser = newBox("TxtUser");
    txtPass = newBox("txtPass");
    txtPass->setEchoMode(QLineEdit::Password);
    chkAnonyme = new QCheckBox(page);
    chkAnonyme->setObjectName(QStringLiteral("chkAnonyme"));
    TxtSiteName->installEventFilter(this);

    auto *form = new QFormLayout(page);
    const std::pair<int, QLineEdit *> rows[] = {
        {5, TxtSiteName}, {7, TxtServer}, {9, TxtPort}, {6, TxtUser}, {8, txtPass}};
    for (const auto &[index, box] : rows) {
        d->lblFrm[index] = new QLabel(page);
        d->lblFrm[index]->setBuddy(box);
        form->addRow(d->lblFrm[index], box);
    }
    form->addRow(chkAnonyme);
    return page;
}

QWidget *frmManager::buildOptionPage()
{
    auto *page = new QWidget;
    page->setObjectName(QStringLiteral("picOption"));
    auto *layout = new QVBoxLayout(page);
    for (int frame = 0; frame < 2; ++frame) {
        d->Frame[frame] = new QGroupBox(page);
        auto *inner = new QVBoxLayout(d->Frame[frame]);
        for (int i = frame * 2; i < frame * 2 + 2; ++i) {
            Opt[i] = new QRadioButton(d->Frame[frame]);
            Opt[i]->setObjectName(QStringLiteral("Opt%1").arg(i));
            inner->addWidget(Opt[i]);
        }
        layout->addWidget(d->Frame[frame]);
    }
    Opt[0]->setChecked(true);
    Opt[2]->setChecked(true);
    d->Frame[2] = new QGroupBox(page);
    cboTls = new QComboBox(d->Frame[2]);
    cboTls->setObjectName(QStringLiteral("cboTls"));
    for (const sitetls::Choice &choice : sitetls::Choices)
        cboTls->addItem(QString(), int(choice.mode));
    (new QVBoxLayout(d->Frame[2]))->addWidget(cboTls);
    layout->addWidget(d->Frame[2]);

    txtExt = new QLineEdit(page);
    txtExt->setObjectName(QStringLiteral("txtExt"));
    txtLocal = new QLineEdit(page);
    txtLocal->setObjectName(QStringLiteral("txtLocal"));
    cmdLocalPath = new QPushButton(page);
    cmdLocalPath->setObjectName(QStringLiteral("cmdLocalPath"));
    cmdLocalPath->setAutoDefault(false);
    d->lblFrm[10] = new QLabel(page);
    d->lblFrm[10]->setBuddy(txtExt);
    d->lblLocalPath = new QLabel(page);
    d->lblLocalPath->setBuddy(txtLocal);

    auto *form = new QFormLayout;
    form->addRow(d->lblFrm[10], txtExt);
    auto *localRow = new QHBoxLayout;
    localRow->addWidget(txtLocal, 1);
    localRow->addWidget(cmdLocalPath);
    form->addRow(d->lblLocalPath, localRow);
    layout->addLayout(form);
    layout->addStretch(1);
    return page;
}

void frmManager::connectSignals()
{
    for (auto it = d->buttons.cbegin(); it != d->buttons.cend(); ++it) {
        const QString key = it.key();
        connect(it.value(), &QAction::triggered, this, [this, key] { toolbarClicked(key); });
    }
    connect(tvManager, &QTreeWidget::currentItemChanged, this,
            [this](QTreeWidgetItem *current, QTreeWidgetItem *previous) {
                markSelectedSite(current, previous);
                nodeSelected(current);
            });
    // Not itemActivated: on desktops that activate on a single click, merely
    // choosing a site would connect. Enter is handled in eventFilter().
    connect(tvManager, &QTreeWidget::itemDoubleClicked, this, [this](QTreeWidgetItem *node) {
        if (nodeKey(node).startsWith(QLatin1String("TV")))
            requestConnect();
    });
    connect(tvManager, &QTreeWidget::itemExpanded, this, [this](QTreeWidgetItem *node) {
        const QString key = nodeKey(node);
        if (key.startsWith(QLatin1String("TP")))
            d->currentFolder = key.mid(2);
    });
    connect(pages, &QTabWidget::currentChanged, this,
            [this](int index) { d->buttons.value(QStringLiteral("param"))->setChecked(index == 1); });

    for (QLineEdit *box : {TxtSiteName, TxtServer, TxtUser, txtPass, TxtPort, txtExt, txtLocal})
        connect(box, &QLineEdit::textChanged, this, &frmManager::fieldEdited);
    for (int i = 0; i < 4; ++i)
        connect(Opt[i], &QRadioButton::clicked, this, [this, i] { optClicked(i); });
    connect(chkAnonyme, &QCheckBox::clicked, this, &frmManager::anonymousClicked);
    connect(cboTls, &QComboBox::activated, this, &frmManager::tlsChosen);
    connect(cmdSavechange, &QPushButton::clicked, this, &frmManager::saveChanges);
    connect(cmdLocalPath, &QPushButton::clicked, this, &frmManager::chooseLocalPath);
}

void frmManager::applyCaptions()
{
    setWindowTitle(LangStr(106));
    for (const ToolbarKey &button : toolbarKeys) {
        QAction *action = d->buttons.value(QLatin1String(button.key));
        action->setText(LangStr(button.captionId));
        action->setToolTip(LangStr(button.captionId));
    }
    const std::pair<QString, const char *> pictures[] = {
        {QStringLiteral("connect"), "reconnect"}, {QStringLiteral("addfolder"), "CreateDirectory"},
        {QStringLiteral("addsite"), "tree-site"}, {QStringLiteral("delete"), "Delete"},
        {QStringLiteral("param"), "tool"}, {QStringLiteral("assist"), "wizard-0"}};
    for (const auto &[key, picture] : pictures)
        d->buttons.value(key)->setIcon(icons::named(QLatin1String(picture)));

    for (int i = 4; i <= 10; ++i)
        d->lblFrm[i]->setText(LangStr(102 + i));
    pages->setTabText(0, LangStr(572));
    pages->setTabText(1, LoadResString(1573)); // the same word in both languages
    chkAnonyme->setText(LangStr(634));
    d->Frame[0]->setTitle(LangStr(190));
    d->Frame[1]->setTitle(LangStr(191));
    for (int i = 0; i < 4; ++i)
        Opt[i]->setText(LangStr(150 + i));
    d->Frame[2]->setTitle(LangStr(sitetls::ChoicesCaptionId));
    for (int i = 0; i < cboTls->count(); ++i)
        cboTls->setItemText(i, LangStr(sitetls::Choices[i].captionId));
    cmdLocalPath->setText(LangStr(635));
    d->lblLocalPath->setText(LangStr(574));
    cmdSavechange->setText(LangStr(420));
}

bool frmManager::eventFilter(QObject *watched, QEvent *event)
{
    // The name a site is stored under is remembered when it is loaded; a name
    // typed while no site was loaded is remembered on entering the box.
    if (watched == TxtSiteName && event->type() == QEvent::FocusIn && d->rememberedName.isEmpty())
        d->rememberedName = TxtSiteName->text();
    // Enter on a site connects to it, as a double-click does.
    if (watched == tvManager && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if ((key == Qt::Key_Return || key == Qt::Key_Enter)
            && nodeKey(tvManager->currentItem()).startsWith(QLatin1String("TV"))) {
            requestConnect();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void frmManager::toolbarClicked(const QString &key)
{
    if (key == QLatin1String("connect"))
        requestConnect();
    else if (key == QLatin1String("addfolder"))
        addFolder();
    else if (key == QLatin1String("addsite"))
        addSite();
    else if (key == QLatin1String("delete"))
        deleteNode();
    else if (key == QLatin1String("param"))
        showOptionPage(pages->currentIndex() == 0);
    else if (key == QLatin1String("assist"))
        startWizard();
}

void frmManager::showOptionPage(bool show)
{
    const bool siteSelected = nodeKey(tvManager->currentItem()).startsWith(QLatin1String("TV"));
    if (siteSelected)
        pages->setCurrentIndex(show ? 1 : 0);
    // The button shows the page in view, also when the click changed nothing.
    d->buttons.value(QStringLiteral("param"))->setChecked(pages->currentIndex() == 1);
}

void frmManager::showModal()
{
    if (d->inShowModal || d->connecting) {
        // Asked from inside a connection attempt (nothing to connect to):
        // the window shows again once the attempt is over.
        d->showAgain = true;
        return;
    }
    d->inShowModal = true;
    d->pendingConnect = false;
    exec();
    d->inShowModal = false;
    // The connection runs after exec() has ended, so that failing again and
    // again does not pile up nested event loops; a failure shows the window
    // again from the attempt's end.
    if (d->pendingConnect)
        runConnect();
}

void frmManager::requestConnect()
{
    if (!nodeKey(tvManager->currentItem()).startsWith(QLatin1String("TV")))
        return;
    const QString port = TxtPort->text();
    if (!port.isEmpty() && !siteinput::portIsValid(port)) {
        platform::inform(LangStr(740) + port, platform::PromptIcon::Warning);
        return;
    }
    if (d->inShowModal) {
        d->pendingConnect = true;
        hide(); // ends exec(); showModal() connects
        return;
    }
    runConnect();
}

void frmManager::runConnect()
{
    hide();
    if (!d->starter)
        return;
    d->connecting = true;
    d->showAgain = false;
    QPointer<frmManager> self(this);
    d->starter->premier_Connect(false, [self] {
        if (!self)
            return;
        self->d->connecting = false;
        if (!bConnected || self->d->showAgain)
            self->showModal();
    });
}
