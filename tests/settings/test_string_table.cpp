#include "platform/Paths.h"
#include "session/SessionState.h"
#include "settings/Options.h"
#include "settings/StringTable.h"
#include "settings/StringTableFormat.h"
#include "settings/clsTraduction.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

// The French ids of the interface; each also exists under id + 1000.
const QList<std::pair<int, int>> FrenchRanges = {
    {101, 112}, {130, 139}, {141, 141}, {150, 153}, {180, 185}, {190, 191}, {200, 205},
    {210, 229}, {230, 244}, {250, 252}, {260, 262}, {270, 270}, {290, 295}, {300, 303},
    {400, 402}, {420, 422}, {500, 550}, {554, 556}, {562, 565}, {567, 572}, {574, 588},
    {590, 595}, {597, 599}, {601, 606}, {608, 620}, {624, 625}, {627, 641}, {647, 650},
    {652, 666}, {667, 675}, {677, 700}};

struct Quoted {
    int id;
    const char16_t *french;   // nullptr: only the English text is fixed
    const char16_t *english;  // nullptr: only the French text is fixed
};

// Texts whose spacing, spelling or use (file names, column words) a tidy-up
// could break; each must stay exactly as the program has always shown it.
// Those the window, command-line and update suites already compare word for
// word are left to them.
const Quoted QuotedTexts[] = {
    {102, u"Usager : ", u"Username : "},
    {105, u"Nom serveur/IP :  ", u"Hostname/IP :  "},
    {108, u"Nom d'usager pour le site ", u"username "},
    {130, u"Nom", u"Filename"},
    {141, u"À propos de", u"About "},
    {218, u"Français", u"Francais"},
    {219, u"Vous devez redémarrer l'application pour que les changements soient effectués", u"You need to restart the application to complete your request"},
    {503, u"Êtes-vous sûr de vouloir effacer :", u"are you sure you want to Delete :"},
    {507, u"et son contenu ?", u"and is content ?"},
    {514, u"Connecté", u"logged"},
    {516, u"Connexion des fichiers Complété", u"Data connection Establishing"},
    {521, u"Ceci va annuler votre transfert et vous déconnecter , voulez-vous continuer ?", u"This will stop your current transfer and disconnect you , are you sure you want to continue?"},
    {546, u"Vous devez redémarrer l'application pour que certains changements prennent effet.", u"since Tarvo is currently active, some settings will not take effect until the next time you start Tarvo"},
    {550, u"Démarrer avec le carnet d'adresses", u"Load site manager on start"},
    {554, u"Déposez vos fichiers ou répertoires à envoyé dans la fenêtre ci-dessous", u"Drop your files or folder to upload here"},
    {556, u"Vous devez êtres connecté à un serveur pour pouvoir utiliser ce panier", u"You must be connected to a server to upload file(s)"},
    {562, u"Vitesse ", u"Speed : "},
    {575, u"Le fichier existe déjà", u"The file already exist"},
    {578, u"Tout remplacer", u"OverWrite All"},
    {586, u"Détail", u"Detail "},
    {601, u"Vérifier si une mise à jour est disponible", u"Chek for a Tarvo FTP update"},
    {620, u"Vérifier si une mise à jour est disponible à l'ouverture.", u"Chek for a Tarvo FTP update at start"},
    {629, u"Bienvenue dans le créateur de connexion TarvoFTP . Veuillez entrer les informations nécessaires pour pouvoir effectuer une connexion au site désiré", u"Welcome to Tarvo FTP connection manager . Please fill the required information to connect to the site."},
    {631, u"Entrez le nom que vous souhaitez utiliser pour désigner le nouveau site. Vous pouvez utiliser n'importe quel nom .", u"Enter the name that will identify this site . any name is good "},
    {632, u"Entrez l'adresse hôte du site que vous désirez effectuer la connexion (Adresse ftp du serveur) . ", u"Enter the host address for the new connection (ftp server adresse ) . "},
    {634, u"Utiliser une connexion anonyme", u"Anonymous connection "},
    {637, u"Vous avez terminé d'entrer les informations nécessaires à la connexion du nouveau site. Le nouveau site sera visible dans la liste du carnet d'adresses.", u"Completed ! you have finished to enter all the required informations . the new site will be visible in the site manager."},
    {654, u"Désirez-vous remplacer le fichier existant ?", u"Would you like to replace the existing file ?"},
    {659, u"Tarvo FTP à la possibilité d'être mis à jour avec cette fonction, vous devez être connecté à Internet", u"Tarvo FTP can be update with this option , you need to be connected on internet"},
    {663, u"Passer", u"Skip"},
    {670, u"Suprimmer", u"Delete"},
    {671, u"Envoie des fichiers dans la liste d'attente", u"Transfering file "},
    {686, u"Envoyer les fichiers : ", u"Upload files :"},
    {697, u"Remonter les fichiers sélectionnés dans le répertoire supérieur ?", u"Send all selected files in parent folder ?"},
    {583, u"Effacer le(s) (fichier/dossier) sélectionné", nullptr},
    {585, u"Télécharger le(s) (fichier/dossier sélectionné)", nullptr},
};

class Captioner : public MenuCaptioner {
public:
    void LoadResMenu() override { calls.append(LanguageOffset); }
    QList<qint16> calls;
};

} // namespace

TEST(StringTableFormat, EscapesAndBadLines)
{
    QStringList problems;
    auto t = parseStringTable("# c\n\n1\t\\sa b\\s\\s\r\n2\tx\\ny\\t\\\\z  \n", &problems);
    EXPECT_TRUE(problems.isEmpty()) << problems.join('\n').toStdString();
    EXPECT_EQ(t.value(1), " a b  ");
    EXPECT_EQ(t.value(2), "x\ny\t\\z");
    // Bad lines are reported and left out; the first of a repeated id wins.
    t = parseStringTable("1\tone\nx\tbad\nno tab\n1\tagain\n3\tbad \\q escape\n", &problems);
    EXPECT_EQ(t.size(), 1);
    EXPECT_EQ(t.value(1), "one");
    EXPECT_EQ(problems.size(), 4);
}

TEST(StringTable, TheCompiledTableIsWholeInBothLanguagesAndExact)
{
    QFile file(":/strings.txt");
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    QStringList problems;
    parseStringTable(QString::fromUtf8(file.readAll()), &problems);
    EXPECT_TRUE(problems.isEmpty()) << problems.join('\n').toStdString();
    for (const auto &[first, last] : FrenchRanges) {
        for (int id = first; id <= last; ++id) {
            EXPECT_TRUE(HasResString(id) && !LoadResString(id).isEmpty()) << "French " << id;
            EXPECT_TRUE(HasResString(id + 1000) && !LoadResString(id + 1000).isEmpty()) << "English " << id;
        }
    }
    EXPECT_GE(AllResStringIds().size(), 2 * 280 + 5);
    for (const Quoted &q : QuotedTexts) {
        if (q.french) {
            EXPECT_EQ(LoadResString(q.id), QString::fromUtf16(q.french)) << q.id;
        }
        if (q.english) {
            EXPECT_EQ(LoadResString(q.id + 1000), QString::fromUtf16(q.english)) << q.id + 1000;
        }
    }
    EXPECT_EQ(LoadResString(1573), "Option");
    EXPECT_EQ(LoadResString(10001), "Delete selected file(s) ?");
    EXPECT_EQ(LoadResString(10002), u"Effacer le(s) fichier(s) sélectionné(s) ?");
    EXPECT_EQ(LoadResString(10003), "Type");
}

TEST(StringTable, LookupAddsTheOffsetAndAMissingIdShowsItsNumber)
{
    resetSessionState();
    EXPECT_EQ(LangStr(205), "Fermer");
    LanguageOffset = 1000;
    const QStringList fileMenu = {LangStr(200), LangStr(201), LangStr(202), LangStr(203), LangStr(204), LangStr(205)};
    EXPECT_EQ(fileMenu, QStringList({"File", "Site Manager", "Quick Connect", "Reconnect", "Disconnect", "Exit"}));
    EXPECT_EQ(LangStr(1566 - 1000), "CHMOD");
    EXPECT_FALSE(HasResString(99999));
    EXPECT_EQ(LoadResString(99999), "[99999]");
    EXPECT_EQ(LangStr(799), "[1799]");
    resetSessionState();
}

TEST(Language, LoadResKeepsTheOffsetOnABadValueAndCaptionsTheMenusOnAGoodOne)
{
    resetSessionState();
    QTemporaryDir dir;
    platform::setProgramDirectory(dir.path());
    Captioner captioner;
    clsTraduction traduction;
    traduction.setMenuCaptioner(&captioner);
    LanguageOffset = 1000;
    EXPECT_FALSE(traduction.LoadRes()) << "no options file";
    OptionStore store;
    for (const char *bad : {"", "abc", "500", "1000x", "70000"}) {
        ASSERT_TRUE(store.WriteValue("Langue", "Option", bad, options::optionsFilePath()));
        EXPECT_FALSE(traduction.LoadRes()) << bad;
        EXPECT_EQ(LanguageOffset, 1000) << bad;
    }
    EXPECT_TRUE(captioner.calls.isEmpty());
    for (int offset : {0, 1000}) {
        ASSERT_TRUE(options::setLangue(offset));
        EXPECT_TRUE(traduction.LoadRes());
        EXPECT_EQ(LanguageOffset, offset);
    }
    EXPECT_EQ(captioner.calls, QList<qint16>({0, 1000}));
    traduction.LoadResMenu();
    EXPECT_EQ(captioner.calls.size(), 3);
    platform::setProgramDirectory(QString());
    resetSessionState();
}
