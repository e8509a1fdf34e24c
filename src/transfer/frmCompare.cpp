#include "transfer/frmCompare.h"

#include "session/DateValue.h"
#include "session/SizeText.h"

#include "dialogs/WindowText.h"
#include "platform/Prompt.h"
#include "platform/gui/Icons.h"
#include "settings/StringTable.h"
#include "transfer/QueueModel.h"
#include "transfer/TransferQueue.h"

#include <QAction>
#include <QCloseEvent>
#include <QEvent>
#include <QHash>
#include <QHeaderView>
#include <QLabel>
#include <QPixmap>
#include <QPointer>
#include <QProgressBar>
#include <QTimer>
#include <QToolBar>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {
constexpr int kFoldersChangedId = 760;
// The layout keeps these margins of the design around the two halves
// (360 and 720 twips at 15 twips a pixel).
constexpr int kSideMargin = 24;
constexpr int kBottomMargin = 48;

struct ButtonText {
    const QString &key;
    int caption;
    int uploadTip;
    int downloadTip;
    const char *icon;
};

const ButtonText kButtons[] = {
    {comparison::KeyMissing, 687, 691, 694, "cmp-missing"},
    {comparison::KeySize, 688, 692, 695, "cmp-size"},
    {comparison::KeyDate, 689, 693, 696, "cmp-date"},
};

// Unmarked rows get an empty picture of the same size, so that every name
// starts at the same place.
QIcon noMarkIcon()
{
    QPixmap empty(16, 16);
    empty.fill(Qt::transparent);
    return QIcon(empty);
}

QIcon markIcon(CompareMark mark)
{
    switch (mark) {
    case CompareMark::Missing: return icons::named(QStringLiteral("cmp-missing"));
    case CompareMark::DateDiffers: return icons::named(QStringLiteral("cmp-date"));
    case CompareMark::SizeDiffers: return icons::named(QStringLiteral("cmp-size"));
    case CompareMark::None: break;
    }
    return noMarkIcon();
}

// Rows start in the list's own font; only the cells that differ change.
void setBold(QTreeWidgetItem *item, int column, bool bold)
{
    if (!bold && !item->font(column).bold())
        return;
    QFont f = item->font(column);
    f.setBold(bold);
    item->setFont(column, f);
}

// The copy of a pane: the day of each date only, and never "." or "..".
QList<CompareRow> copyOfPane(const QList<CompareRow> &pane)
{
    QList<CompareRow> rows;
    rows.reserve(pane.size());
    for (CompareRow row : pane) {
        if (row.name == QLatin1String(".") || row.name == QLatin1String(".."))
            continue;
        row.dateText = comparison::dayTextOfPaneDate(row.dateText);
        rows.append(row);
    }
    return rows;
}
} // namespace

frmCompare::frmCompare(CompareHost &host, QWidget *parent) : QDialog(parent), m_host(host)
{
    setWindowFlag(Qt::WindowMaximizeButtonHint, true);
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    buildWindow();
    Form_Load();
}

frmCompare::~frmCompare() = default;

frmCompare *frmCompare::showCompare(CompareHost &host, QWidget *parent)
{
    static QPointer<frmCompare> open;
    // A closed window may still wait for its deletion: a new one replaces it.
    if (!open || !open->isVisible()) {
        open = new frmCompare(host, parent);
        open->setAttribute(Qt::WA_DeleteOnClose);
    }
    open->show();
    open->raise();
    open->activateWindow();
    return open;
}

QWidget *frmCompare::buildHalf(QLabel *&label, QToolBar *&bar, QTreeWidget *&list)
{
    auto *half = new QWidget(Picture1);
    label = new QLabel(half);
    bar = new QToolBar(half);
    bar->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    bar->setIconSize(QSize(16, 16));
    for (const ButtonText &b : kButtons) {
        QAction *action = bar->addAction(icons::named(QString::fromLatin1(b.icon)), QString());
        action->setData(b.key);
    }
    list = new QTreeWidget(half);
    list->setColumnCount(4);
    list->setRootIsDecorated(false);
    list->setUniformRowHeights(true);
    list->setSelectionMode(QAbstractItemView::ExtendedSelection);
    list->header()->setStretchLastSection(false);
    list->header()->setSectionResizeMode(0, QHeaderView::Stretch);
    // Fixed widths: measuring every row of a long list would cost more than
    // the comparison itself.
    list->setColumnWidth(1, 80);
    list->setColumnWidth(2, 90);

    auto *top = new QHBoxLayout;
    top->setContentsMargins(0, 0, 0, 0);
    top->addWidget(label);
    top->addWidget(bar, 1);
    auto *layout = new QVBoxLayout(half);
    layout->setContentsMargins(0, 0, 4, 0);
    layout->addLayout(top);
    layout->addWidget(list, 1);
    return half;
}

void frmCompare::buildWindow()
{
    Picture1 = new QWidget(this);
    Picture2 = buildHalf(Label1, Toolbar1, lvLocal);
    Picture3 = buildHalf(Label4, Toolbar4, lvServer);
    windowtext::tag(Label1, 686);
    windowtext::tag(Label4, 690);

    picAnim = new QWidget(this);
    Anim_Compare = new QProgressBar(picAnim);
    Anim_Compare->setRange(0, 0); // busy
    Anim_Compare->setTextVisible(false);
    auto *animLayout = new QHBoxLayout(picAnim);
    animLayout->setContentsMargins(0, 0, 0, 0);
    animLayout->addWidget(Anim_Compare);

    Timer1 = new QTimer(this);
    Timer1->setInterval(2000);
    Timer1->setSingleShot(true);
    connect(Timer1, &QTimer::timeout, this, &frmCompare::Timer1_Timer);
    connect(Toolbar1, &QToolBar::actionTriggered, this,
            [this](QAction *a) { Toolbar1_ButtonClick(a->data().toString()); });
    connect(Toolbar4, &QToolBar::actionTriggered, this,
            [this](QAction *a) { Toolbar4_ButtonClick(a->data().toString()); });
    resize(960, 560);
    setMinimumSize(480, 240);
}

void frmCompare::Form_Load()
{
    picAnim->show();
    Timer1->start();
    FillCompareLists();
    CompareLists();
    applyCaptions();
}

void frmCompare::applyCaptions()
{
    setWindowTitle(LangStr(684));
    windowtext::applyTaggedCaptions(this);
    for (const ButtonText &b : kButtons) {
        button(Toolbar1, b.key)->setText(LangStr(b.caption));
        button(Toolbar1, b.key)->setToolTip(LangStr(b.uploadTip));
        button(Toolbar4, b.key)->setText(LangStr(b.caption));
        button(Toolbar4, b.key)->setToolTip(LangStr(b.downloadTip));
    }
    // Name and size as the queue names them; date and type as the panes do.
    const QStringList headers = {LangStr(133), LangStr(131), LangStr(132), LoadResString(10003)};
    lvLocal->setHeaderLabels(headers);
    lvServer->setHeaderLabels(headers);
}

QAction *frmCompare::button(QToolBar *bar, const QString &key) const
{
    for (QAction *action : bar->actions())
        if (action->data().toString() == key)
            return action;
    return nullptr;
}

void frmCompare::FillCompareLists()
{
    m_localFolder = m_host.localPaneFolder();
    m_serverFolder = m_host.serverPaneFolder();
    m_localRows = copyOfPane(m_host.localPaneRows());
    m_serverRows = copyOfPane(m_host.serverPaneRows());
    fillList(lvLocal, m_localRows);
    fillList(lvServer, m_serverRows);
}

void frmCompare::fillList(QTreeWidget *list, const QList<CompareRow> &rows)
{
    list->clear();
    QList<QTreeWidgetItem *> items;
    items.reserve(rows.size());
    for (const CompareRow &row : rows) {
        auto *item = new QTreeWidgetItem({row.name, row.sizeText, row.dateText, row.typeText});
        item->setTextAlignment(1, Qt::AlignRight | Qt::AlignVCenter);
        items.append(item);
    }
    list->addTopLevelItems(items);
}

void frmCompare::CompareLists()
{
    m_marks = comparison::CompareLists(m_localRows, m_serverRows);
    markList(lvServer, m_marks.server);
    markList(lvLocal, m_marks.local);
}

void frmCompare::markList(QTreeWidget *list, const QList<CompareFlags> &flags)
{
    // One picture per mark, shared by every row.
    QHash<int, QIcon> pictures;
    for (CompareMark m : {CompareMark::None, CompareMark::Missing, CompareMark::DateDiffers, CompareMark::SizeDiffers})
        pictures.insert(int(m), markIcon(m));
    for (int i = 0; i < list->topLevelItemCount() && i < flags.size(); ++i) {
        QTreeWidgetItem *item = list->topLevelItem(i);
        const CompareFlags &f = flags.at(i);
        item->setIcon(0, pictures.value(int(f.mark())));
        setBold(item, 0, f.boldRow());
        setBold(item, 3, f.boldRow());
        setBold(item, 1, f.boldSize());
        setBold(item, 2, f.boldDate());
    }
}

bool frmCompare::IsQueued(const QString &name) const
{
    return comparison::IsQueued(m_host.transferQueue().model(), name);
}

void frmCompare::SubFolder(const QString &fPath, const QString &sOriginPath)
{
    m_host.transferQueue().LocalSubFolder(fPath, sOriginPath);
}

// The rows shown belong to the folders compared: once a pane went elsewhere,
// queuing them would take files of the same name from another folder, or send
// them to one nobody compared.
bool frmCompare::panesStillShowTheComparedFolders()
{
    if (m_host.localPaneFolder() == m_localFolder && m_host.serverPaneFolder() == m_serverFolder)
        return true;
    platform::inform(LangStr(kFoldersChangedId), platform::PromptIcon::Information);
    return false;
}

// A folder never has a queue row of its own name: it counts as queued once a
// row of the same direction below it is in the queue, so that pressing a
// button twice does not queue its files twice.
bool frmCompare::folderQueued(const QString &name, bool upload) const
{
    const QueueModel &model = m_host.transferQueue().model();
    const QString base = upload ? TransferQueue::chkdir(m_localFolder, name)
                                : TransferQueue::joinRemote(m_serverFolder, name);
    const QString below = base + QLatin1Char('/');
    for (int i = 0; i < model.count(); ++i) {
        const QueueRow &row = model.row(i);
        if (row.isDownload() == upload)
            continue;
        const QString &place = upload ? row.local : row.remote;
        if (place.startsWith(below) || (!upload && place == base))
            return true;
    }
    return false;
}

// Which rows a button adds is decided before any is added, so that the files
// a folder brings do not hide a later row of the same name.
QList<int> frmCompare::rowsToAdd(const QString &key, bool upload) const
{
    const QList<CompareRow> &rows = upload ? m_localRows : m_serverRows;
    QList<int> out = comparison::rowsToQueue(key, rows, upload ? m_marks.local : m_marks.server,
                                             m_host.transferQueue().model());
    out.removeIf([&](int i) { return rows.at(i).isFolder && folderQueued(rows.at(i).name, upload); });
    return out;
}

void frmCompare::Toolbar1_ButtonClick(const QString &key)
{
    TransferQueue &queue = m_host.transferQueue();
    const QList<int> rows = rowsToAdd(key, true);
    if (rows.isEmpty() || !panesStillShowTheComparedFolders())
        return;
    for (int i : rows) {
        const CompareRow &r = m_localRows.at(i);
        if (r.isFolder)
            SubFolder(TransferQueue::chkdir(m_localFolder, r.name), QString());
        else
            queue.menuupload(TransferQueue::chkdir(m_localFolder, r.name), QString());
    }
}

void frmCompare::Toolbar4_ButtonClick(const QString &key)
{
    TransferQueue &queue = m_host.transferQueue();
    const QList<int> rows = rowsToAdd(key, false);
    if (rows.isEmpty() || !panesStillShowTheComparedFolders())
        return;
    const QList<CompareRow> pane = m_host.serverPaneRows();
    QList<RemoteSelection> selection;
    for (int i : rows) {
        const QString &name = m_serverRows.at(i).name;
        for (const CompareRow &p : pane) {
            if (p.name != name)
                continue;
            // The pane's own texts are what this window holds of the row.
            RemoteSelection entry;
            entry.name = p.name;
            if (!parseSizeText(p.sizeText, entry.size))
                entry.size = -1;
            entry.date = parseGeneralDate(p.dateText);
            selection.append(entry);
        }
    }
    queue.addRemoteSelection(selection);
}

void frmCompare::Timer1_Timer()
{
    Timer1->stop();
    Anim_Compare->setRange(0, 1); // a still bar: the animation stops
    picAnim->hide();
}

void frmCompare::Form_Resize()
{
    const QRect inner = contentsRect();
    const int width = qMax(0, inner.width() - kSideMargin);
    const int height = qMax(0, inner.height() - kBottomMargin);
    Picture1->setGeometry(inner.left() + kSideMargin / 2, inner.top() + kSideMargin / 2, width, height);
    const int half = width / 2;
    Picture2->setGeometry(0, 0, half, height);
    Picture3->setGeometry(half, 0, width - half, height);
    picAnim->setGeometry(inner.left() + kSideMargin / 2, Picture1->geometry().bottom() + 8, qMin(width, 240), 16);
}

void frmCompare::resizeEvent(QResizeEvent *event)
{
    QDialog::resizeEvent(event);
    Form_Resize();
}

void frmCompare::closeEvent(QCloseEvent *event)
{
    Timer1->stop(); // Form_Unload: the animation stops
    event->accept();
}

// Escape closes the window as the title bar does.
void frmCompare::reject()
{
    close();
}

void frmCompare::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange)
        applyCaptions();
    QDialog::changeEvent(event);
}
