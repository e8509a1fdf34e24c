// The drop-in basket: real drops of file lists on its list, the rows it adds
// to a real transfer queue (connected to a real FTP server so that remote
// folders are filled in), Ok, Cancel, and the main window stepping aside.
#include "WindowFixture.h"
#include "transfer/frmDropIn.h"

#include <QDropEvent>
#include <QHeaderView>
#include <QLabel>
#include <QMimeData>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>
#include <QUrl>

namespace {

class FakeMainWindow : public DropInHost {
public:
    explicit FakeMainWindow(TransferQueue &queue) : m_queue(queue) {}
    TransferQueue &transferQueue() override { return m_queue; }
    void setMainWindowAway(bool away) override { awayCalls << away; }
    QList<bool> awayCalls;

private:
    TransferQueue &m_queue;
};

// Drops these local paths on the basket's list as the file manager would.
void dropOn(frmDropIn &basket, const QStringList &paths)
{
    QMimeData data;
    QList<QUrl> urls;
    for (const QString &p : paths)
        urls << QUrl::fromLocalFile(p);
    data.setUrls(urls);
    QWidget *target = basket.lvDropIn->viewport();
    const QPoint at = target->rect().center();
    QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &enter);
    ASSERT_TRUE(enter.isAccepted()) << "the list refuses file lists";
    QDropEvent drop(QPointF(at), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &drop);
}

QStringList basketRow(const frmDropIn &basket, int row)
{
    QStringList out;
    QTreeWidgetItem *item = basket.lvDropIn->topLevelItem(row);
    for (int c = 0; item && c < 6; ++c)
        out << item->text(c);
    return out;
}

class DropInBasket : public WindowSuite, public SuiteFtpServer {
protected:
    static void SetUpTestSuite() { startServer(); }
    static void TearDownTestSuite() { stopServer(); }

    void SetUp() override
    {
        WindowSuite::SetUp();
        readyServer();
        ASSERT_TRUE(bench.connectTo(*server)) << sLastError.toStdString();
        writeFile(local.filePath("one.txt"), "abc");
        writeFile(local.filePath("two.bin"), QByteArray(1234, 'x'));
        writeFile(local.filePath("folder/f1.txt"), "1");
        writeFile(local.filePath("folder/sub/f2.txt"), "22");
        writeFile(local.filePath("folder/.hidden"), "h");
    }

    // A row that was in the queue before the basket opened.
    void queueEarlierRow()
    {
        QueueRow row;
        row.name = "earlier.txt";
        bench.model.append(row);
    }

    QTemporaryDir local;
    QueueBench bench;
    FakeMainWindow mainWindow{bench.queue};
};

TEST_F(DropInBasket, TwoFilesMakeTwoQueueRowsAndTwoBasketRows)
{
    frmDropIn basket(mainWindow);
    const QString one = local.filePath("one.txt"), two = local.filePath("two.bin");
    dropOn(basket, {one, two});

    EXPECT_EQ(bench.namesAndRemotes(), QStringList({"one.txt -> /", "two.bin -> /"}));
    ASSERT_EQ(basket.lvDropIn->topLevelItemCount(), 2);
    // A file dropped by itself shows its full path twice and no sub-path.
    EXPECT_EQ(basketRow(basket, 0), QStringList({one, one, "", "127.0.0.1", "  3", "Upload"}));
    EXPECT_EQ(basketRow(basket, 1), QStringList({two, two, "", "127.0.0.1", " 1 234", "Upload"}));
    EXPECT_EQ(basket.lvDropIn->currentItem(), basket.lvDropIn->topLevelItem(1));
    EXPECT_FALSE(bQueueBusy); // the queue waits for the user
}

TEST_F(DropInBasket, AFolderBringsEveryFileWithItsSubPath)
{
    frmDropIn basket(mainWindow);
    dropOn(basket, {local.filePath("folder")});

    // Hidden files stay home, as in every folder walk.
    EXPECT_EQ(bench.namesAndRemotes(), QStringList({"f1.txt -> /folder", "f2.txt -> /folder/sub"}));
    ASSERT_EQ(basket.lvDropIn->topLevelItemCount(), 2);
    EXPECT_EQ(basketRow(basket, 0),
              QStringList({"f1.txt", local.filePath("folder") + "/", "/folder", "127.0.0.1", "  1", "Upload"}));
    EXPECT_EQ(basketRow(basket, 1),
              QStringList({"f2.txt", local.filePath("folder/sub") + "/", "/folder/sub", "127.0.0.1", "  2", "Upload"}));
    // The queue's walk only reports to the basket while the basket walks.
    bench.queue.LocalSubFolder(local.filePath("folder"), QString());
    EXPECT_EQ(basket.lvDropIn->topLevelItemCount(), 2);
}

TEST_F(DropInBasket, AVanishedPathEndsTheDropThere)
{
    frmDropIn basket(mainWindow);
    dropOn(basket, {local.filePath("one.txt"), local.filePath("gone.txt"), local.filePath("two.bin")});
    EXPECT_EQ(bench.namesAndRemotes(), QStringList({"one.txt -> /"}));
    EXPECT_EQ(basket.lvDropIn->topLevelItemCount(), 1);
    EXPECT_TRUE(prompt.asked().isEmpty());

    // Data without a file list adds nothing.
    QMimeData text;
    text.setText("one.txt");
    QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &text, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(basket.lvDropIn->viewport(), &drop);
    EXPECT_EQ(bench.model.count(), 1);
}

TEST_F(DropInBasket, CancelEmptiesTheWholeQueueOkAndEscapeKeepIt)
{
    // How the basket is closed, whether a file is dropped first, and the queue after.
    const struct { std::function<void(frmDropIn &)> close; bool drop; QStringList queue; } cases[] = {
        {[](frmDropIn &b) { b.cmdCancel->click(); }, true, {}}, // the row from before goes too
        {[](frmDropIn &b) { b.cmdOk->click(); }, true, {"earlier.txt", "one.txt"}},
        {[](frmDropIn &b) { QTest::keyClick(&b, Qt::Key_Escape); }, false, {"earlier.txt"}}};
    for (const auto &c : cases) {
        bench.model.clear();
        queueEarlierRow();
        frmDropIn basket(mainWindow);
        basket.show();
        if (c.drop)
            dropOn(basket, {local.filePath("one.txt")});
        c.close(basket);
        EXPECT_FALSE(basket.isVisible());
        EXPECT_EQ(bench.column(QueueRow::Name), c.queue);
    }
    // Each basket put the main window aside when it opened and gave it back once.
    EXPECT_EQ(mainWindow.awayCalls, QList<bool>({true, false, true, false, true, false}));
}

TEST_F(DropInBasket, OpensOnlyWhileConnected)
{
    bConnected = false;
    EXPECT_EQ(frmDropIn::showDropIn(mainWindow), nullptr);
    ASSERT_EQ(prompt.asked().size(), 1);
    EXPECT_EQ(prompt.asked().first().text, "You must be connected to a server to upload file(s)");
    EXPECT_EQ(prompt.asked().first().icon, platform::PromptIcon::Information);
    EXPECT_TRUE(mainWindow.awayCalls.isEmpty());

    bConnected = true;
    frmDropIn *basket = frmDropIn::showDropIn(mainWindow);
    ASSERT_NE(basket, nullptr);
    EXPECT_TRUE(basket->isVisible());
    EXPECT_FALSE(basket->isModal());
    EXPECT_EQ(basket->parentWidget(), nullptr); // not disabled with the main window
    EXPECT_EQ(frmDropIn::showDropIn(mainWindow), basket);
    EXPECT_EQ(mainWindow.awayCalls, QList<bool>({true}));
    basket->close();
    EXPECT_EQ(mainWindow.awayCalls, QList<bool>({true, false}));
}

TEST_F(DropInBasket, HeaderClicksTurnTheOrderRound)
{
    frmDropIn basket(mainWindow);
    basket.show();
    dropOn(basket, {local.filePath("one.txt"), local.filePath("two.bin")});
    QHeaderView *header = basket.lvDropIn->header();
    auto clickHeader = [&](int column) {
        const QPoint at(header->sectionViewportPosition(column) + 5, header->height() / 2);
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, at);
    };
    // Each click turns the order round: descending first, then ascending
    // (the texts of the column, as the list shows them).
    clickHeader(4);
    EXPECT_EQ(basket.lvDropIn->topLevelItem(0)->text(4), " 1 234");
    EXPECT_EQ(header->sortIndicatorOrder(), Qt::DescendingOrder);
    clickHeader(4);
    EXPECT_EQ(basket.lvDropIn->topLevelItem(0)->text(4), "  3");
    EXPECT_EQ(header->sortIndicatorOrder(), Qt::AscendingOrder);
    clickHeader(0); // another column goes on from the last order
    EXPECT_EQ(header->sortIndicatorOrder(), Qt::DescendingOrder);
    EXPECT_EQ(basket.lvDropIn->topLevelItem(0)->text(0), local.filePath("two.bin"));
    basket.close();
}

} // namespace
