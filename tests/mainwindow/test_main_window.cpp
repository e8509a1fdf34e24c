// The main window without a server: start-up as the options say, captions in
// both languages, the tool bar's and menus' commands that need no connection.
#include "MainWindowFixture.h"

#include <QAbstractItemModel>
#include <QCoreApplication>
#include <QDialog>
#include <QLibraryInfo>
#include <QMenu>
#include <QMenuBar>

namespace {

QString header(QTreeView *list, int column)
{
    return list->model()->headerData(column, Qt::Horizontal).toString();
}

QString texts(const QList<QAction *> &items)
{
    QStringList out;
    for (const QAction *item : items)
        out << item->text();
    return out.join('|');
}

using StartUp = MainWindowTest;

TEST_F(StartUp, AFirstStartSpeaksTheSessionsLanguageOnTheDesktopAndShowsNoErrorBox)
{
    // The session's locale (which locale speaks which language is the options'
    // suite's), and whether the program was given an update server (one that
    // cannot be reached here) or built without one.
    const struct {
        const char *locale;
        qint16 offset;
        bool updateServer;
        QStringList modals;
    } starts[] = {
        {"fr_FR.UTF-8", 0, false, {}},
        {"de_DE.UTF-8", 1000, true, {"frmViewUpdate"}},
    };
    const QByteArray savedLocale = qgetenv("LC_ALL");
    for (const auto &s : starts) {
        SCOPED_TRACE(s.locale);
        window.reset();
        modalClasses.clear();
        prompt.clear();
        QFile::remove(options::optionsFilePath());
        qputenv("LC_ALL", s.locale);
        update::setUpdateServerUrl(s.updateServer ? QStringLiteral("http://127.0.0.1:1") : QString());
        QString result;
        if (s.updateServer)
            answerUpdateWindow([&result](frmViewUpdate *update) {
                result = update->lblNoUpdate->text();
                update->Command1->click();
            });
        frmconc &w = startWindow(); // returns: the manager is not waiting

        EXPECT_EQ(LanguageOffset, s.offset);
        EXPECT_EQ(w.mnuFile1->title(), s.offset ? "File" : "Fichier");
        EXPECT_EQ(modalClasses, s.modals);
        // The update window says the server was out of reach, in its own line.
        EXPECT_EQ(result, s.updateServer ? LangStr(612) : QString());
        w.timerMAJ_Timer(); // the silent check of the start-up
        EXPECT_TRUE(prompt.asked().isEmpty()) << prompt.texts().join('|').toStdString();
        EXPECT_FALSE(w.toolbarButton(w.tbToolBar, QStringLiteral("maj"))->isVisible());

        EXPECT_EQ(w.localFolder(), desktop());
        EXPECT_EQ(w.txtLocalPath->text(), QDir::toNativeSeparators(desktop()));
        EXPECT_FALSE(w.Toolbar1->isEnabled());
        EXPECT_FALSE(w.menuBar()->isVisible());
        EXPECT_TRUE(w.windowState() & Qt::WindowMaximized);
        EXPECT_TRUE(bLoaded);
        EXPECT_FALSE(w.timerKeepAlive->isActive());
        // The program's own completion sound is put beside the options.
        EXPECT_GT(QFileInfo(QDir(programDir.path()).filePath(QStringLiteral("recv.WAV"))).size(), 1000);
    }
    qputenv("LC_ALL", savedLocale);
}

TEST_F(StartUp, LanguageMenuRelabelsBarsListsAndMenusAtOnceBothWays)
{
    frmconc &w = startWindow();
    const auto tool = [&w](QToolBar *bar, const char *key) { return w.toolbarButton(bar, QString::fromLatin1(key)); };
    const struct {
        std::function<QString()> shown;
        QString french, english;
    } captions[] = {
        {[&] { return tool(w.tbToolBar, "manag")->text() + '|' + tool(w.tbToolBar, "manag")->toolTip(); },
         "Carnet|Carnet d'adresses", "Address|Site Manager"},
        {[&] { return tool(w.Toolbar1, "updir")->toolTip(); }, "Remonter d'un répertoire", "Go in parent directory"},
        {[&] { return tool(w.Toolbar2, "CreateDirectory")->toolTip(); }, "Créer un répertoire local",
         "Create a local directory"},
        {[&] { return w.cmdCompare->toolTip(); }, "Comparaison des fichiers des répertoires", "Compare files in folders"},
        {[&] { return header(w.lvLocal, 0) + '|' + header(w.listviewServer, 3); }, "Nom|Date modifiée",
         "Filename|Date modified"},
        {[&] { return header(w.ListView3, 0) + '|' + header(w.ListView3, 6) + '|' + header(w.ListView3, 9); },
         "Nom du fichier|Progrès|Temps restant", "Filename|Progress|Time left"},
        {[&] { return w.mnuFile1->title(); }, "Fichier", "File"},
        {[&] { return texts(w.mnuFile); },
         "Carnet d'adresses|Connexion rapide|Reconnecter au serveur|Déconnecter du serveur|Fermer",
         "Site Manager|Quick Connect|Reconnect|Disconnect|Exit"},
        {[&] { return texts(w.mnupop_list1); }, "Transférer le(s) fichier(s)|Retirer de la liste|Tout effacer",
         "Transfer Queue|Remove From Queue|Remove All"},
        {[&] { return w.mnupop_stat1[0]->text(); }, "Effacer l'historique", "Clear log"},
    };
    const auto expectAll = [&](bool english) {
        for (const auto &c : captions)
            EXPECT_EQ(c.shown(), english ? c.english : c.french);
    };
    expectAll(false);
    EXPECT_EQ(w.ListView3->model()->columnCount(), 11);
    EXPECT_LE(w.ListView3->columnWidth(10), 1); // the remote date column stays out of sight

    w.mnuEdit3[0]->trigger(); // English
    EXPECT_EQ(LanguageOffset, 1000);
    EXPECT_EQ(options::langue().number().value_or(-1), 1000);
    expectAll(true);
    // And back: tool tips too do not keep the first language.
    w.mnuEdit3[1]->trigger();
    EXPECT_EQ(options::langue().number().value_or(-1), 0);
    expectAll(false);
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

TEST_F(StartUp, SavedEnglishAndManagerChoiceAreHonouredWithoutTheUpdateWindow)
{
    ASSERT_TRUE(options::setLangue(1000).ok());
    ASSERT_TRUE(options::setStartWindowChoice(1).ok());
    answerModals({reject});
    frmconc &w = startWindow();
    EXPECT_EQ(modalClasses, QStringList{"frmManager"});
    EXPECT_EQ(LanguageOffset, 1000);
    EXPECT_TRUE(prompt.asked().isEmpty());
    // The manager was shown before the update timer started: start-up ran to its end.
    EXPECT_TRUE(w.timerMAJ->isActive());
}

using Commands = MainWindowTest;

TEST_F(Commands, HelpOpensThePageOfTheCurrentLanguageAndWebSiteTheVendors)
{
    frmconc &w = startWindow();
    w.tbToolBar_ButtonClick(QStringLiteral("help"));
    w.switchLanguage(true);
    w.mnuHelp2[0]->trigger();
    w.mnuHelp2[1]->trigger();
    ASSERT_EQ(opened.size(), 3);
    EXPECT_EQ(opened[2], update::vendorWebSiteUrl());
    for (const char *lang : {"fr", "en"}) {
        QFile page(opened[lang[0] == 'f' ? 0 : 1]);
        ASSERT_TRUE(page.open(QIODevice::ReadOnly));
        EXPECT_TRUE(page.readAll().contains("lang=\"" + QByteArray(lang) + '"')) << lang;
    }
}

TEST_F(Commands, WithoutABrowserHelpSaysWhereThePageIs)
{
    frmconc &w = startWindow();
    platform::setOpenOverride([this](const QString &what) {
        opened << what;
        return false; // no browser could be started
    });
    w.tbToolBar_ButtonClick(QStringLiteral("help"));
    ASSERT_EQ(opened.size(), 1);
    ASSERT_EQ(prompt.asked().size(), 1);
    EXPECT_EQ(prompt.asked()[0].text, LangStr(891) + opened[0]);
    EXPECT_TRUE(QFileInfo(opened[0]).isFile());
}

TEST_F(Commands, WithoutAConnectionOnlyTheCommandsThatNeedNoneAct)
{
    frmconc &w = startWindow();
    w.tbToolBar_ButtonClick(QStringLiteral("Stop"));
    EXPECT_FALSE(bStopTransfer);
    w.tbToolBar_ButtonClick(QStringLiteral("Disconnect"));
    EXPECT_TRUE(prompt.asked().isEmpty()); // no question when there is nothing to disconnect
    w.timerKeepAlive_Timer();
    EXPECT_FALSE(bActivity);

    w.mFTP_StateChanged(0, QString());
    ASSERT_FALSE(w.RTBHeader->toPlainText().isEmpty());
    w.mnupop_stat1[0]->trigger(); // Clear log
    EXPECT_TRUE(w.RTBHeader->toPlainText().isEmpty());

    // Options, raw command and about open their windows modal.
    for (const char *button : {"tool", "command", "siteweb"}) {
        answerModals({reject});
        w.tbToolBar_ButtonClick(QString::fromLatin1(button));
    }
    EXPECT_EQ(modalClasses, (QStringList{"frmOption", "frmCommand", "frmAbout"}));

    // A press on a list remembers which one.
    const struct { QTreeView *list; const char *name; } lists[] = {
        {w.listviewServer, "server"}, {w.ListView3, "bas"}, {w.lvLocal, "local"}};
    for (const auto &l : lists) {
        QTest::mousePress(l.list->viewport(), Qt::LeftButton);
        EXPECT_EQ(w.sActiveList, QLatin1String(l.name));
    }
}

} // namespace
