#pragma once
// A main window on a fresh program folder and a fresh home folder (with a
// Desktop), questions answered by a ScriptedPrompt and whatever the window
// opens with the desktop recorded instead of opened. The interface is French
// and the update window is not shown at start-up (the options say so), and
// the update server is a closed local port, unless a test says otherwise.
// PanesTest adds a real FTP server.

#include "FtpServer.h"
#include "LogReader.h"
#include "SessionWait.h"
#include "mainwindow/PaneModel.h"
#include "mainwindow/frmconc.h"
#include "session/clsFTPClient.h"
#include "settings/Options.h"
#include "settings/StringTable.h"
#include "sites/frmManager.h"
#include "transfer/QueueModel.h"
#include "transfer/TransferQueue.h"
#include "transfer/frmExist.h"
#include "update/UpdateConfig.h"
#include "update/frmViewUpdate.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QProgressBar>
#include <QPushButton>
#include <QTextEdit>
#include <QToolBar>
#include <QToolButton>
#include <QTreeView>
#include <QTreeWidget>
#include <QUrl>

#include <memory>
#include <optional>

// A row as a server listing would give it.
inline PaneRow paneRow(const char *name, bool isFolder = false)
{
    PaneRow row;
    row.name = QString::fromLatin1(name);
    row.isFolder = isFolder;
    return row;
}

class MainWindowTest : public WindowTest {
protected:
    using Answer = std::function<void(QWidget *)>;

    // Selects exactly these rows (by name) of a list.
    static void select(QTreeView *list, const QStringList &rowNames)
    {
        auto *model = static_cast<PaneModel *>(list->model());
        list->clearSelection();
        for (const QString &name : rowNames) {
            const int r = model->findName(name);
            ASSERT_GE(r, 0) << name.toStdString();
            list->selectionModel()->select(model->index(r, 0),
                                           QItemSelectionModel::Select | QItemSelectionModel::Rows);
        }
    }

    void SetUp() override
    {
        WindowTest::SetUp();
        ASSERT_TRUE(homeDir.isValid());
        savedHome = qgetenv("HOME");
        savedConfig = qgetenv("XDG_CONFIG_HOME");
        qputenv("HOME", homeDir.path().toUtf8());
        qputenv("XDG_CONFIG_HOME", QDir(homeDir.path()).filePath(QStringLiteral(".config")).toUtf8());
        QDir(homeDir.path()).mkpath(QStringLiteral("Desktop"));
        platform::setOpenOverride([this](const QString &what) {
            opened << what;
            return true;
        });
        update::setUpdateServerUrl(QStringLiteral("http://127.0.0.1:1"));
        ASSERT_TRUE(options::setCheckUpdateAtStart(false).ok());
        // The design's language, whatever the session running the tests speaks.
        ASSERT_TRUE(options::setLangue(0).ok());
    }

    void TearDown() override
    {
        window.reset();
        update::setUpdateServerUrl(QString());
        qputenv("HOME", savedHome);
        qputenv("XDG_CONFIG_HOME", savedConfig);
        WindowTest::TearDown();
    }

    // The window as the program starts it.
    frmconc &startWindow()
    {
        window = std::make_unique<frmconc>();
        window->Form_Load();
        return *window;
    }

    // Waits until the window has nothing on its way: no connection being
    // made, nothing sent to the server pane's connection unanswered, no
    // queue run and no folder being listed for the queue.
    bool settle(int ms = 60000)
    {
        return testwait::until([this] {
            return !window || (!bConnecting && !window->mFTP->isBusy() && !window->transferQueue().isRunning()
                               && !window->transferQueue().isExpanding());
        }, ms);
    }

    QString desktop() const { return QDir(homeDir.path()).filePath(QStringLiteral("Desktop")); }
    QString onDesktop(const QString &name) const { return QDir(desktop()).filePath(name); }

    // Answers the coming modal windows in turn, each handed to its function,
    // which must close it. Each window's class and title are recorded.
    void answerModals(QList<Answer> answers)
    {
        if (answers.isEmpty())
            return;
        whenModalShown([this, answers](QWidget *modal) mutable {
            modalClasses << QString::fromLatin1(modal->metaObject()->className());
            modalTitles << modal->windowTitle();
            answers.takeFirst()(modal);
            answerModals(answers);
        });
    }
    static void reject(QWidget *modal) { static_cast<QDialog *>(modal)->reject(); }

    // Hands the update window to `answer` once its check has given its
    // answer (the window shows its result line and may be closed); `answer`
    // must close it. Records "frmViewUpdate".
    void answerUpdateWindow(std::function<void(frmViewUpdate *)> answer)
    {
        const auto update = [] { return qobject_cast<frmViewUpdate *>(QApplication::activeModalWidget()); };
        whenReady([update] { return update() && update()->lblNoUpdate->isVisible() && update()->Command1->isEnabled()
                                    && !update()->Animation1->isVisible(); },
                  [this, update, answer] {
                      modalClasses << QStringLiteral("frmViewUpdate");
                      answer(update());
                  });
    }
    void closeUpdateWindow()
    {
        answerUpdateWindow([](frmViewUpdate *update) { update->Command1->click(); });
    }

    QStringList log() const { return writtenTexts(window->RTBHeader); }
    std::string logText() const { return log().join('\n').toStdString(); }
    bool logContains(const QString &part) const { return !log().filter(part).isEmpty(); }
    // The look of the first log line with exactly this text.
    std::optional<WrittenLine> logLine(const QString &text) const
    {
        for (const WrittenLine &line : writtenLines(window->RTBHeader))
            if (line.text == text)
                return line;
        return std::nullopt;
    }

    QTemporaryDir homeDir;
    QByteArray savedHome;
    QByteArray savedConfig;
    std::unique_ptr<frmconc> window;
    QStringList opened;
    QStringList modalClasses;
    QStringList modalTitles;
};

// The same, with a real FTP server (emptied for each test) to connect to.
class PanesTest : public MainWindowTest, public SuiteFtpServer {
protected:
    static void SetUpTestSuite() { startServer(); }
    static void TearDownTestSuite() { stopServer(); }

    void SetUp() override
    {
        MainWindowTest::SetUp();
        readyServer();
    }

    // Fills the manager's boxes as a quick connection typed by hand.
    void typeQuickConnect(const QString &password, const QString &port = QString(), const FtpServer *to = nullptr)
    {
        if (!to)
            to = server.get();
        frmManager *m = window->manager();
        m->TxtServer->setText(to->host());
        m->TxtPort->setText(port.isNull() ? QString::number(to->port()) : port);
        m->TxtUser->setText(to->user());
        m->txtPass->setText(password);
    }
    // A quick connection to another server than the suite's.
    bool connectTo(const FtpServer &other)
    {
        typeQuickConnect(other.password(), QString(), &other);
        window->premier_Connect(true);
        settle();
        return bConnected;
    }
    bool connect()
    {
        typeQuickConnect(server->password());
        window->premier_Connect(true);
        settle();
        return bConnected;
    }
    bool startConnected()
    {
        startWindow();
        return connect();
    }

    PaneModel &serverRows() const { return *window->serverModel(); }
    PaneModel &localRows() const { return *window->localModel(); }
    QueueModel &queue() const { return *window->queueModel(); }
    QStringList queueNames() const
    {
        QStringList out;
        for (int r = 0; r < queue().count(); ++r)
            out << queue().row(r).name;
        return out;
    }

    static int rowOf(const PaneModel &model, const QString &name) { return model.findName(name); }
    static QModelIndex indexOf(const PaneModel &model, const QString &name)
    {
        return model.index(model.findName(name), 0);
    }
    static QString cell(const PaneModel &model, const QString &name, int column)
    {
        return model.text(model.findName(name), column);
    }
    // The rows' names as listed, or sorted (a server lists in its own order).
    static QStringList names(const PaneModel &model, bool sorted = false)
    {
        QStringList out;
        for (int r = 0; r < model.count(); ++r)
            out << model.row(r).name;
        if (sorted)
            out.sort();
        return out;
    }

    // What a drag out of one of the panes carries.
    static std::unique_ptr<QMimeData> paneDrag()
    {
        auto data = std::make_unique<QMimeData>();
        data->setData(PaneModel::dragMimeType(), "x");
        return data;
    }

    // Answers for the new-name dialog and the question window.
    static Answer typeName(const QString &name)
    {
        return [name](QWidget *w) {
            w->findChild<QLineEdit *>(QStringLiteral("Text1"))->setText(name);
            w->findChild<QPushButton *>(QStringLiteral("cmdOk"))->click();
        };
    }
    static Answer press(QPushButton *frmExist::*button)
    {
        return [button](QWidget *w) { (static_cast<frmExist *>(w)->*button)->click(); };
    }
};
