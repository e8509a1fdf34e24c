#include "transfer/frmDropIn.h"

#include "platform/Prompt.h"
#include "platform/gui/Icons.h"
#include "session/SessionState.h"
#include "settings/StringTable.h"
#include "transfer/QueueModel.h"
#include "transfer/TransferQueue.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QDragEnterEvent>
#include <QFileIconProvider>
#include <QFileInfo>
#include <QFrame>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMimeData>
#include <QMimeDatabase>
#include <QPointer>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <functional>

namespace {
constexpr int kColumns = 6;

// The basket's list: takes file lists dropped from the desktop.
class DropList : public QTreeWidget {
public:
    DropList(QWidget *parent, std::function<void(const QList<QUrl> &)> onDrop)
        : QTreeWidget(parent), m_onDrop(std::move(onDrop))
    {
        setAcceptDrops(true);
        viewport()->setAcceptDrops(true);
        setDragDropMode(QAbstractItemView::DropOnly);
    }

protected:
    void dragEnterEvent(QDragEnterEvent *event) override { acceptFiles(event); }
    void dragMoveEvent(QDragMoveEvent *event) override { acceptFiles(event); }
    void dropEvent(QDropEvent *event) override
    {
        // Data without a file list adds nothing.
        if (!event->mimeData() || !event->mimeData()->hasUrls()) {
            event->ignore();
            return;
        }
        event->setDropAction(Qt::CopyAction);
        event->accept();
        m_onDrop(event->mimeData()->urls());
    }

private:
    static void acceptFiles(QDropEvent *event)
    {
        if (event->mimeData() && event->mimeData()->hasUrls()) {
            event->setDropAction(Qt::CopyAction);
            event->accept();
        } else {
            event->ignore();
        }
    }

    std::function<void(const QList<QUrl> &)> m_onDrop;
};

// The hourglass for as long as a drop is being handled.
struct BusyCursor {
    BusyCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~BusyCursor() { QApplication::restoreOverrideCursor(); }
};
} // namespace

frmDropIn::frmDropIn(DropInHost &host) : QDialog(nullptr), m_host(host)
{
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    buildWindow();
    Form_Load();
}

frmDropIn::~frmDropIn() = default;

frmDropIn *frmDropIn::showDropIn(DropInHost &host)
{
    if (!bConnected) {
        const QString exeName = QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName();
        platform::inform(LangStr(556), platform::PromptIcon::Information, exeName);
        return nullptr;
    }
    static QPointer<frmDropIn> open;
    // A closed basket may still wait for its deletion: a new one replaces it.
    if (!open || !open->isVisible()) {
        open = new frmDropIn(host);
        open->setAttribute(Qt::WA_DeleteOnClose);
    }
    open->show();
    open->raise();
    open->activateWindow();
    return open;
}

void frmDropIn::buildWindow()
{
    frMain = new QFrame(this);
    frMain->setFrameShape(QFrame::StyledPanel);
    picLogo = new QLabel(frMain);
    picLogo->setPixmap(icons::named(QStringLiteral("DropIn")).pixmap(32, 32));
    lblExplic = new QLabel(frMain);
    lblExplic->setWordWrap(true);
    lvDropIn = new DropList(frMain, [this](const QList<QUrl> &urls) { dropPaths(urls); });
    lvDropIn->setColumnCount(kColumns);
    lvDropIn->setRootIsDecorated(false);
    lvDropIn->setUniformRowHeights(true);
    lvDropIn->setSelectionMode(QAbstractItemView::ExtendedSelection);
    lvDropIn->header()->setSectionsClickable(true);
    int column = 0;
    for (int width : {200, 220, 120, 120, 80})
        lvDropIn->setColumnWidth(column++, width);
    connect(lvDropIn->header(), &QHeaderView::sectionClicked, this, &frmDropIn::lvDropIn_ColumnClick);

    cmdOk = new QPushButton(QStringLiteral("Ok"), this);
    cmdCancel = new QPushButton(QStringLiteral("Cancel"), this);
    cmdOk->setDefault(true);
    connect(cmdOk, &QPushButton::clicked, this, &frmDropIn::cmdOk_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &frmDropIn::cmdCancel_Click);

    auto *head = new QHBoxLayout;
    head->addWidget(picLogo, 0, Qt::AlignTop);
    head->addWidget(lblExplic, 1);
    auto *frame = new QVBoxLayout(frMain);
    frame->addLayout(head);
    frame->addWidget(lvDropIn, 1);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(cmdOk);
    buttons->addWidget(cmdCancel);
    auto *main = new QVBoxLayout(this);
    main->addWidget(frMain, 1);
    main->addLayout(buttons);
    setTabOrder(lvDropIn, cmdOk);
    setTabOrder(cmdOk, cmdCancel);
    resize(860, 380);
}

void frmDropIn::Form_Load()
{
    applyCaptions();
    m_away = true;
    m_host.setMainWindowAway(true);
}

void frmDropIn::Form_Unload()
{
    if (!m_away)
        return;
    m_away = false;
    m_host.setMainWindowAway(false);
}

void frmDropIn::applyCaptions()
{
    setWindowTitle(LangStr(555));
    lblExplic->setText(LangStr(554));
    QStringList headers;
    // Columns 1 to 5 are the queue's 133 to 137; the sixth keeps its design text.
    for (int k = 0; k <= kColumns - 2; ++k)
        headers << LangStr(130 + k + kColumns - 3);
    headers << QStringLiteral("Status");
    lvDropIn->setHeaderLabels(headers);
}

void frmDropIn::dropPaths(const QList<QUrl> &urls)
{
    // The walk yields to the event loop: a second drop or a close meanwhile
    // would work on a basket (and a queue) that is still being filled.
    if (m_busy)
        return;
    m_busy = true;
    cmdOk->setEnabled(false);
    cmdCancel->setEnabled(false);
    {
        BusyCursor hourglass;
        TransferQueue &queue = m_host.transferQueue();
        for (const QUrl &url : urls) {
            // A path that is not a local file, or vanished meanwhile, ends the
            // handler there; what was added before stays.
            if (!url.isLocalFile())
                break;
            const QString path = QDir::cleanPath(url.toLocalFile());
            const QFileInfo info(path);
            if (!info.exists())
                break;
            if (info.isDir()) {
                SubFolder(path, QString());
            } else {
                if (!queue.menuupload(path, QString()))
                    break;
                AddDropRow(path, path, QString());
            }
        }
    }
    cmdOk->setEnabled(true);
    cmdCancel->setEnabled(true);
    m_busy = false;
}

void frmDropIn::SubFolder(const QString &fPath, const QString &sOriginPath)
{
    TransferQueue &queue = m_host.transferQueue();
    queue.setUploadObserver([this](const QString &path, const QString &sNamePathDrag) {
        const qsizetype cut = path.lastIndexOf(QLatin1Char('/'));
        AddDropRow(path.mid(cut + 1), path.left(cut + 1), sNamePathDrag);
    });
    queue.LocalSubFolder(fPath, sOriginPath);
    queue.setUploadObserver({});
}

void frmDropIn::AddDropRow(const QString &name, const QString &folder, const QString &remote)
{
    const QString path = QFileInfo(name).isAbsolute() ? name : folder + name;
    auto *item = new QTreeWidgetItem(
        QStringList{name, folder, remote, sCurrentHost, sLastQueuedSize, LangStr(522)});
    item->setIcon(0, fileIcon(path));
    lvDropIn->addTopLevelItem(item);
    lvDropIn->setCurrentItem(item);
}

// The local file's own icon, looked up once per type.
QIcon frmDropIn::fileIcon(const QString &path)
{
    const QFileInfo info(path);
    const QString type = QMimeDatabase().mimeTypeForFile(info, QMimeDatabase::MatchExtension).name();
    auto it = m_iconCache.constFind(type);
    if (it != m_iconCache.constEnd())
        return *it;
    const QIcon icon = QFileIconProvider().icon(info);
    m_iconCache.insert(type, icon);
    return icon;
}

// Each click turns the order round, whatever the column; the list then stays
// sorted as rows are added.
void frmDropIn::lvDropIn_ColumnClick(int column)
{
    m_sortOrder = m_sortOrder == Qt::AscendingOrder ? Qt::DescendingOrder : Qt::AscendingOrder;
    lvDropIn->setSortingEnabled(true);
    lvDropIn->header()->setSortIndicator(column, m_sortOrder);
    lvDropIn->sortByColumn(column, m_sortOrder);
}

void frmDropIn::cmdOk_Click()
{
    close();
}

void frmDropIn::cmdCancel_Click()
{
    if (m_busy)
        return;
    m_host.transferQueue().model().clear();
    close();
}

void frmDropIn::reject()
{
    close();
}

void frmDropIn::closeEvent(QCloseEvent *event)
{
    if (m_busy) {
        event->ignore();
        return;
    }
    Form_Unload();
    event->accept();
}

void frmDropIn::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange)
        applyCaptions();
    QDialog::changeEvent(event);
}
