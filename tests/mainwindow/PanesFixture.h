#pragma once
// A main window connected to a real FTP server, with helpers to select rows,
// answer our own modal windows one after the other and read the panes.

#include "FtpServer.h"
#include "LogReader.h"
#include "MainWindowFixture.h"
#include "mainwindow/PaneModel.h"
#include "sites/frmManager.h"
#include "transfer/frmExist.h"

#include <QDir>
#include <QFile>
#include <QItemSelectionModel>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeView>

#include <functional>

class PanesTest : public MainWindowTest {
protected:
    static void SetUpTestSuite() { server = std::make_unique<FtpServer>(); }
    static void TearDownTestSuite() { server.reset(); }

    void SetUp() override
    {
        MainWindowTest::SetUp();
        ASSERT_TRUE(server->isRunning()) << server->errorText().toStdString();
        server->clearRoot();
    }

    bool connect()
    {
        frmManager *m = window->manager();
        m->TxtServer->setText(server->host());
        m->TxtPort->setText(QString::number(server->port()));
        m->TxtUser->setText(server->user());
        m->txtPass->setText(server->password());
        window->premier_Connect(true);
        return bConnected;
    }

    static void writeLocal(const QString &path, const QByteArray &content)
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(content);
    }

    PaneModel &serverRows() const { return *window->serverModel(); }
    PaneModel &localRows() const { return *window->localModel(); }

    static int rowOf(const PaneModel &model, const QString &name) { return model.findName(name); }
    static QString cell(const PaneModel &model, const QString &name, int column)
    {
        return model.text(model.findName(name), column);
    }
    static QStringList names(const PaneModel &model)
    {
        QStringList out;
        for (int r = 0; r < model.count(); ++r)
            out << model.row(r).name;
        return out;
    }

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

    // Answers the coming modal windows in turn, each handed to its function,
    // which must close it. Each window's title is recorded.
    void answerModals(QList<std::function<void(QWidget *)>> answers, int turnsLeft = 2000)
    {
        if (answers.isEmpty())
            return;
        QTimer::singleShot(0, [this, answers, turnsLeft]() mutable {
            QWidget *modal = QApplication::activeModalWidget();
            if (!modal || !modal->isVisible()) {
                if (turnsLeft > 0)
                    answerModals(answers, turnsLeft - 1);
                return;
            }
            modalTitles << modal->windowTitle();
            const auto answer = answers.takeFirst();
            answer(modal);
            answerModals(answers);
        });
    }

    // Answers for the new-name dialog and the question window.
    static std::function<void(QWidget *)> typeName(const QString &name)
    {
        return [name](QWidget *w) {
            w->findChild<QLineEdit *>(QStringLiteral("Text1"))->setText(name);
            w->findChild<QPushButton *>(QStringLiteral("cmdOk"))->click();
        };
    }
    static std::function<void(QWidget *)> press(QPushButton *frmExist::*button)
    {
        return [button](QWidget *w) { (static_cast<frmExist *>(w)->*button)->click(); };
    }

    QStringList log() const { return writtenTexts(window->RTBHeader); }
    bool logHas(const QString &text) const { return log().contains(text); }
    bool logContains(const QString &part) const
    {
        for (const QString &line : log())
            if (line.contains(part))
                return true;
        return false;
    }

    static std::unique_ptr<FtpServer> server;
    QStringList modalTitles;
};
inline std::unique_ptr<FtpServer> PanesTest::server;
