// The main window without a server: start-up as the options say, captions in
// both languages, the tool bar's and menus' commands that need no connection.
#include "LogReader.h"
#include "MainWindowFixture.h"
#include "transfer/QueueModel.h"
#include "settings/Options.h"
#include "settings/StringTable.h"
#include "sites/frmManager.h"
#include "update/UpdateConfig.h"

#include <QAbstractItemModel>
#include <QAction>
#include <QCoreApplication>
#include <QDialog>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLibraryInfo>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QTest>
#include <QTextEdit>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QTreeView>

namespace {

QString header(QTreeView *list, int column)
{
    return list->model()->headerData(column, Qt::Horizontal).toString();
}

QStringList texts(const QList<QAction *> &items)
{
    QStringList out;
    for (const QAction *item : items)
        out << item->text();
    return out;
}

using StartUp = MainWindowTest;

TEST_F(StartUp, FirstStartWithoutOptionsIsFrenchOnTheDesktopWithTheUpdateWindowOnly)
{
    ASSERT_TRUE(QFile::remove(options::optionsFilePath()));
    closeUpdateWindow();
    frmconc &w = startWindow(); // returns: the manager is not waiting

    EXPECT_EQ(LanguageOffset, 0);
    EXPECT_EQ(modalClasses, QStringList{"frmViewUpdate"});
    // The update server (a closed port here) could not be reached: said once.
    ASSERT_EQ(prompt.asked().size(), 1);
    EXPECT_TRUE(prompt.asked()[0].text.startsWith(LangStr(611)));
    EXPECT_EQ(w.localFolder(), desktop());
    EXPECT_EQ(w.txtLocalPath->text(), QDir::toNativeSeparators(desktop()));
    EXPECT_EQ(w.listviewServer->model()->rowCount(), 0);
    EXPECT_FALSE(w.Toolbar1->isEnabled());
    EXPECT_FALSE(w.menuBar()->isVisible());
    EXPECT_FALSE(w.mnuFile1->menuAction()->isVisible());
    EXPECT_TRUE(w.windowState() & Qt::WindowMaximized);
    EXPECT_TRUE(w.isVisible());
    EXPECT_TRUE(bLoaded);
    EXPECT_FALSE(bInLoad);
    EXPECT_TRUE(w.timerMAJ->isActive());
    EXPECT_FALSE(w.timerKeepAlive->isActive());
    EXPECT_FALSE(w.toolbarButton(w.tbToolBar, QStringLiteral("maj"))->isVisible());
    // The program's own completion sound is put beside the options.
    EXPECT_TRUE(QFileInfo(QDir(programDir.path()).filePath(QStringLiteral("recv.WAV"))).size() > 1000);
    EXPECT_FALSE(w.windowIcon().isNull());
}

TEST_F(StartUp, FrenchCaptionsOnEveryBarListAndMenu)
{
    frmconc &w = startWindow();
    const auto button = [&w](const char *key) { return w.toolbarButton(w.tbToolBar, QString::fromLatin1(key)); };
    EXPECT_EQ(button("manag")->text(), QStringLiteral("Carnet"));
    EXPECT_EQ(button("manag")->toolTip(), QStringLiteral("Carnet d'adresses"));
    EXPECT_EQ(button("Transfer")->text(), QStringLiteral("Go/Transfert"));
    EXPECT_EQ(button("tool")->text(), QStringLiteral("Option"));
    EXPECT_EQ(w.toolbarButton(w.Toolbar1, QStringLiteral("updir"))->toolTip(), QStringLiteral("Remonter d'un répertoire"));
    EXPECT_EQ(w.toolbarButton(w.Toolbar2, QStringLiteral("CreateDirectory"))->toolTip(), QStringLiteral("Créer un répertoire local"));
    EXPECT_EQ(w.cmdBrowseLocal->toolTip(), QStringLiteral("Parcourir les répertoires locaux"));
    EXPECT_EQ(w.cmdCompare->toolTip(), QStringLiteral("Comparaison des fichiers des répertoires"));

    for (QTreeView *pane : {w.lvLocal, w.listviewServer}) {
        EXPECT_EQ(header(pane, 0), QStringLiteral("Nom"));
        EXPECT_EQ(header(pane, 2), QStringLiteral("Type"));
        EXPECT_EQ(header(pane, 3), QStringLiteral("Date modifiée"));
    }
    ASSERT_EQ(w.ListView3->model()->columnCount(), 11);
    EXPECT_EQ(header(w.ListView3, 0), QStringLiteral("Nom du fichier"));
    EXPECT_EQ(header(w.ListView3, 6), QStringLiteral("Progrès"));
    EXPECT_EQ(header(w.ListView3, 9), QStringLiteral("Temps restant"));
    EXPECT_EQ(header(w.ListView3, 10), QStringLiteral("Date"));
    EXPECT_LE(w.ListView3->columnWidth(10), 1);

    EXPECT_EQ(texts(w.mnuFile), (QStringList{"Carnet d'adresses", "Connexion rapide", "Reconnecter au serveur",
                                             "Déconnecter du serveur", "Fermer"}));
    EXPECT_EQ(w.mnupop_stat1[0]->text(), QStringLiteral("Effacer l'historique"));
    EXPECT_EQ(texts(w.mnupop_list1), (QStringList{"Transférer le(s) fichier(s)", "Retirer de la liste", "Tout effacer"}));
    EXPECT_EQ(w.mnuPop_Server1[7]->text(), QStringLiteral("CHMOD"));
    EXPECT_EQ(w.lblProgressqueue2->text(), QStringLiteral("Veuillez patienter"));
}

TEST_F(StartUp, LanguageMenuRelabelsEverythingAtOnceBothWays)
{
    frmconc &w = startWindow();
    w.mnuEdit3[0]->trigger(); // English
    EXPECT_EQ(LanguageOffset, 1000);
    EXPECT_EQ(options::langue().number().value_or(-1), 1000);
    EXPECT_EQ(w.mnuFile1->title(), QStringLiteral("File"));
    EXPECT_EQ(texts(w.mnuFile), (QStringList{"Site Manager", "Quick Connect", "Reconnect", "Disconnect", "Exit"}));
    EXPECT_EQ(w.toolbarButton(w.tbToolBar, QStringLiteral("manag"))->text(), QStringLiteral("Address"));
    EXPECT_EQ(w.toolbarButton(w.tbToolBar, QStringLiteral("manag"))->toolTip(), QStringLiteral("Site Manager"));
    EXPECT_EQ(w.toolbarButton(w.Toolbar1, QStringLiteral("updir"))->toolTip(), QStringLiteral("Go in parent directory"));
    EXPECT_EQ(header(w.lvLocal, 0), QStringLiteral("Filename"));
    EXPECT_EQ(header(w.lvLocal, 2), QStringLiteral("Type"));
    EXPECT_EQ(header(w.ListView3, 4), QStringLiteral("Size"));
    EXPECT_EQ(w.mnupop_stat1[0]->text(), QStringLiteral("Clear log"));

    // Tool tips follow the way back too: they do not keep the first language.
    w.mnuEdit3[1]->trigger();
    EXPECT_EQ(LanguageOffset, 0);
    EXPECT_EQ(options::langue().number().value_or(-1), 0);
    EXPECT_EQ(w.toolbarButton(w.tbToolBar, QStringLiteral("manag"))->toolTip(), QStringLiteral("Carnet d'adresses"));
    EXPECT_EQ(w.toolbarButton(w.Toolbar1, QStringLiteral("updir"))->toolTip(), QStringLiteral("Remonter d'un répertoire"));
    EXPECT_EQ(w.mnuFile1->title(), QStringLiteral("Fichier"));
}

TEST_F(StartUp, QtsOwnButtonsSpeakTheInterfacesLanguage)
{
    const QString qtFrench = QLibraryInfo::path(QLibraryInfo::TranslationsPath) + QStringLiteral("/qtbase_fr.qm");
    if (!QFile::exists(qtFrench))
        GTEST_SKIP() << "Qt's French translation is not installed";
    frmconc &w = startWindow();
    EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "&Yes"), QStringLiteral("&Oui"));
    w.switchLanguage(true);
    EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "&Yes"), QStringLiteral("&Yes"));
    w.switchLanguage(false);
    EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "&Yes"), QStringLiteral("&Oui"));
}

TEST_F(StartUp, SavedEnglishAndManagerChoiceAreHonoured)
{
    ASSERT_TRUE(options::setLangue(1000).ok());
    ASSERT_TRUE(options::setStartWindowChoice(1).ok());
    answerNextModal([](QWidget *modal) { static_cast<QDialog *>(modal)->reject(); });
    frmconc &w = startWindow();
    EXPECT_EQ(modalClasses, QStringList{"frmManager"});
    EXPECT_EQ(LanguageOffset, 1000);
    EXPECT_EQ(w.toolbarButton(w.tbToolBar, QStringLiteral("Disconnect"))->text(), QStringLiteral("Disconnect"));
    // The manager was shown before the update timer started: start-up ran to its end.
    EXPECT_TRUE(w.timerMAJ->isActive());
}

using Commands = MainWindowTest;

TEST_F(Commands, HelpOpensThePageOfTheCurrentLanguage)
{
    frmconc &w = startWindow();
    w.tbToolBar_ButtonClick(QStringLiteral("help"));
    ASSERT_EQ(opened.size(), 1);
    QFile french(opened[0]);
    ASSERT_TRUE(french.open(QIODevice::ReadOnly));
    EXPECT_TRUE(french.readAll().contains("lang=\"fr\""));

    w.switchLanguage(true);
    w.mnuHelp2[0]->trigger();
    ASSERT_EQ(opened.size(), 2);
    QFile english(opened[1]);
    ASSERT_TRUE(english.open(QIODevice::ReadOnly));
    const QByteArray page = english.readAll();
    EXPECT_TRUE(page.contains("lang=\"en\""));
    EXPECT_TRUE(page.contains("Disconnect"));
}

TEST_F(Commands, WebSiteItemOpensTheVendorsAddress)
{
    frmconc &w = startWindow();
    w.mnuHelp2[1]->trigger();
    EXPECT_EQ(opened, QStringList{update::vendorWebSiteUrl()});
}

TEST_F(Commands, DropBoxExplainsItselfWhenNotConnected)
{
    frmconc &w = startWindow();
    w.tbToolBar_ButtonClick(QStringLiteral("DropIn"));
    ASSERT_EQ(prompt.asked().size(), 1);
    EXPECT_EQ(prompt.asked()[0].text, QStringLiteral("Vous devez êtres connecté à un serveur pour pouvoir utiliser ce panier"));
    EXPECT_EQ(prompt.asked()[0].icon, platform::PromptIcon::Information);
    EXPECT_EQ(prompt.asked()[0].title, QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName());
}

TEST_F(Commands, CommandsThatNeedAConnectionDoNothingWithoutOne)
{
    frmconc &w = startWindow();
    w.tbToolBar_ButtonClick(QStringLiteral("Stop"));
    EXPECT_FALSE(bStopTransfer);
    w.tbToolBar_ButtonClick(QStringLiteral("Disconnect"));
    EXPECT_TRUE(prompt.asked().isEmpty()); // no question when there is nothing to disconnect
    w.timerKeepAlive_Timer();
    EXPECT_FALSE(bActivity);
}

TEST_F(Commands, ClearLogEmptiesTheLog)
{
    frmconc &w = startWindow();
    w.mFTP_StateChanged(0, QString());
    ASSERT_FALSE(w.RTBHeader->toPlainText().isEmpty());
    w.mnupop_stat1[0]->trigger();
    EXPECT_TRUE(w.RTBHeader->toPlainText().isEmpty());
}

TEST_F(Commands, OptionsCommandAndAboutOpenTheirWindowsModal)
{
    frmconc &w = startWindow();
    const auto close = [](QWidget *modal) { static_cast<QDialog *>(modal)->reject(); };
    answerNextModal(close);
    w.tbToolBar_ButtonClick(QStringLiteral("tool"));
    answerNextModal(close);
    w.tbToolBar_ButtonClick(QStringLiteral("command"));
    answerNextModal(close);
    w.tbToolBar_ButtonClick(QStringLiteral("siteweb"));
    EXPECT_EQ(modalClasses, (QStringList{"frmOption", "frmCommand", "frmAbout"}));
}

TEST_F(Commands, QueueMenuRemovesRowsOrExplainsAnEmptyQueue)
{
    frmconc &w = startWindow();
    w.mnupop_list1[1]->trigger();
    ASSERT_EQ(prompt.asked().size(), 1);
    EXPECT_EQ(prompt.asked()[0].text, QStringLiteral("Aucun fichier en attente"));

    QAbstractItemModel *queue = w.ListView3->model();
    for (int r = 0; r < 5; ++r) {
        QueueRow row;
        row.text[QueueRow::Name] = QStringLiteral("f%1").arg(r + 1);
        w.queueModel()->append(row);
    }
    w.ListView3->selectionModel()->select(queue->index(1, 0), QItemSelectionModel::Select | QItemSelectionModel::Rows);
    w.ListView3->selectionModel()->select(queue->index(3, 0), QItemSelectionModel::Select | QItemSelectionModel::Rows);
    w.mnupop_list1[1]->trigger();
    ASSERT_EQ(queue->rowCount(), 3);
    EXPECT_EQ(queue->index(0, 0).data().toString(), QStringLiteral("f1"));
    EXPECT_EQ(queue->index(1, 0).data().toString(), QStringLiteral("f3"));
    EXPECT_EQ(queue->index(2, 0).data().toString(), QStringLiteral("f5"));
    EXPECT_TRUE(w.firstQueueRow().exists);
    EXPECT_EQ(w.firstQueueRow().text, QStringLiteral("f1"));

    w.mnupop_list1[2]->trigger();
    EXPECT_EQ(queue->rowCount(), 0);
    EXPECT_FALSE(w.firstQueueRow().exists);
}

TEST_F(Commands, PressingAListRemembersWhichOne)
{
    frmconc &w = startWindow();
    QTest::mousePress(w.listviewServer->viewport(), Qt::LeftButton);
    EXPECT_EQ(w.sActiveList, QStringLiteral("server"));
    QTest::mousePress(w.ListView3->viewport(), Qt::LeftButton);
    EXPECT_EQ(w.sActiveList, QStringLiteral("bas"));
    QTest::mousePress(w.lvLocal->viewport(), Qt::LeftButton);
    EXPECT_EQ(w.sActiveList, QStringLiteral("local"));
}

TEST_F(Commands, LocalPaneWalksIntoFoldersAndUp)
{
    frmconc &w = startWindow();
    QDir(desktop()).mkpath(QStringLiteral("projects/site"));
    QFile file(QDir(desktop()).filePath(QStringLiteral("notes.txt")));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("hello");
    file.close();
    w.RefreshLocalDir();

    QAbstractItemModel *local = w.lvLocal->model();
    ASSERT_EQ(local->rowCount(), 2);
    EXPECT_EQ(local->index(0, 0).data().toString(), QStringLiteral("projects")); // folders first
    EXPECT_EQ(local->index(0, 2).data().toString(), QStringLiteral("<Dossier>"));
    EXPECT_EQ(local->index(1, 0).data().toString(), QStringLiteral("notes.txt"));
    EXPECT_EQ(local->index(1, 1).data().toString().trimmed(), QStringLiteral("5"));

    emit w.lvLocal->doubleClicked(local->index(0, 0));
    EXPECT_EQ(w.localFolder(), QDir(desktop()).filePath(QStringLiteral("projects")));
    EXPECT_EQ(local->rowCount(), 1);
    w.cmdUpLocal->click();
    EXPECT_EQ(QDir(w.localFolder()), QDir(desktop()));

    platform::setChooserOverride([this](const QString &) { return homeDir.path(); });
    w.cmdBrowseLocal->click();
    EXPECT_EQ(w.localFolder(), homeDir.path());
}

} // namespace
