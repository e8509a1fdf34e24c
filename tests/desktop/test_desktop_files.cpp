// The files that make the programs at home on a desktop, checked with the
// tools that read them: the desktop entry and the metainfo through their
// validators, the man pages through groff and against what the programs
// themselves say they take, and the bash completion run in bash.
#include "ProcessRun.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>
#include <QXmlStreamReader>

namespace {

const QString AppId = QStringLiteral(TARVO_APP_ID);

QString desktopFile(const QString &name)
{
    return QDir(QStringLiteral(TARVO_DESKTOP_DIR)).filePath(name);
}

QString readText(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
}

// The options a usage text lists: the words starting with "-" in the first
// column of its lines ("  --exists ask|overwrite  answer when...").
QSet<QString> optionsOfUsage(const QString &usage)
{
    static const QRegularExpression word(QStringLiteral("(?<![\\w-])--?[a-z][a-z-]*"));
    QSet<QString> options;
    for (const QString &line : usage.split(QLatin1Char('\n'))) {
        if (!line.startsWith(QLatin1String("  -")))
            continue;
        const QString spec = line.trimmed().section(QLatin1String("  "), 0, 0);
        for (const auto &m : word.globalMatch(spec))
            options.insert(m.captured());
    }
    return options;
}

// The commands of tarvoftp-cli's help: the first word of each "|"-separated
// piece of the lines that start a command ("  pwd | cd DIR | ls [PATTERN]").
QSet<QString> commandsOfHelp(const QString &help)
{
    QSet<QString> commands;
    const QString section = help.section(QLatin1String("\nCommands"), 1);
    for (const QString &line : section.split(QLatin1Char('\n'))) {
        if (!line.startsWith(QLatin1String("  ")) || line.size() < 3 || !line.at(2).isLower())
            continue;
        for (const QString &piece : line.trimmed().section(QLatin1String("  "), 0, 0).split(QLatin1Char('|')))
            commands.insert(piece.trimmed().section(QLatin1Char(' '), 0, 0));
    }
    return commands;
}

// A man page as a terminal shows it, without wrapping or highlighting.
QString renderedManPage(const QString &page)
{
    const ProcessRun r = runProgram(QStringLiteral("groff"),
        {QStringLiteral("-man"), QStringLiteral("-Tascii"), QStringLiteral("-P-cbou"), QStringLiteral("-rLL=250n"),
         desktopFile(page)});
    EXPECT_EQ(r.status, 0) << r;
    return r.out;
}

// The words of the tags of one section of a rendered man page: "-h, --help"
// gives -h and --help, "pwd, cd dir, ls [pattern]" gives pwd, cd and ls.
QSet<QString> tagsOfSection(const QString &rendered, const QString &heading)
{
    QSet<QString> tags;
    const QStringList lines = rendered.split(QLatin1Char('\n'));
    const qsizetype start = lines.indexOf(heading);
    if (start < 0)
        return tags;
    // The section ends at the next heading, the first line not indented.
    for (qsizetype i = start + 1; i < lines.size() && (lines.at(i).isEmpty() || lines.at(i).at(0).isSpace()); ++i) {
        const QString &line = lines.at(i);
        // A tag stands at the section's indent; its text further in.
        if (line.size() < 8 || !line.startsWith(QLatin1String("       ")) || line.at(7).isSpace())
            continue;
        for (const QString &piece : line.trimmed().section(QLatin1String("  "), 0, 0).split(QLatin1String(", ")))
            tags.insert(piece.section(QLatin1Char(' '), 0, 0));
    }
    return tags;
}

QSet<QString> missingFrom(const QSet<QString> &wanted, const QSet<QString> &have)
{
    QSet<QString> missing = wanted;
    missing.subtract(have);
    return missing;
}

std::string listed(const QSet<QString> &words)
{
    QStringList list(words.begin(), words.end());
    list.sort();
    return list.join(QLatin1Char(' ')).toStdString();
}

QString cliHelp()
{
    const ProcessRun r = runProgram(QStringLiteral(TARVOFTP_CLI), {QStringLiteral("--lang"), QStringLiteral("en"),
                                                                   QStringLiteral("--help")});
    EXPECT_EQ(r.status, 0) << r;
    return r.out;
}

} // namespace

TEST(DesktopFiles, TheValidatorsAcceptTheDesktopEntryAndTheMetainfo)
{
    const struct { const char *tool; QStringList args; } checks[] = {
        {"desktop-file-validate", {desktopFile(AppId + QStringLiteral(".desktop"))}},
        {"appstreamcli", {QStringLiteral("validate"), QStringLiteral("--no-net"),
                          desktopFile(AppId + QStringLiteral(".metainfo.xml"))}},
    };
    for (const auto &c : checks) {
        SCOPED_TRACE(c.tool);
        const ProcessRun r = runProgram(QString::fromLatin1(c.tool), c.args);
        EXPECT_EQ(r.status, 0) << r;
        // desktop-file-validate prints its warnings and hints and still
        // succeeds: we want none. appstreamcli fails on warnings itself.
        if (QByteArray(c.tool) == "desktop-file-validate") {
            EXPECT_TRUE(r.out.trimmed().isEmpty()) << r;
        }
    }
}

// What software centres show and the validator does not demand, and the
// names that tie the three files together.
TEST(DesktopFiles, TheMetainfoDescribesThisReleaseAndNamesTheDesktopEntry)
{
    QXmlStreamReader xml(readText(desktopFile(AppId + QStringLiteral(".metainfo.xml"))));
    QStringList path;
    QSet<QString> seen;
    QString id, launchable, releases;
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isStartElement()) {
            path << xml.name().toString();
            const QString here = path.join(QLatin1Char('/'));
            seen.insert(here);
            if (here == QLatin1String("component/releases/release"))
                releases += xml.attributes().value(QStringLiteral("version")).toString() + QLatin1Char(' ');
            if (here == QLatin1String("component/id") || here == QLatin1String("component/launchable")) {
                (here.endsWith(QLatin1String("/id")) ? id : launchable) = xml.readElementText();
                path.removeLast(); // the text was read up to the end of the element
            }
        } else if (xml.isEndElement()) {
            path.removeLast();
        }
    }
    ASSERT_FALSE(xml.hasError()) << xml.errorString().toStdString();
    for (const char *element : {"component/description/p", "component/screenshots/screenshot/image",
                                "component/releases/release", "component/content_rating"})
        EXPECT_TRUE(seen.contains(QString::fromLatin1(element))) << element;
    EXPECT_EQ(id, AppId);
    EXPECT_EQ(launchable, AppId + QStringLiteral(".desktop"));
    // A new version without its release note would show the old one as the newest.
    EXPECT_TRUE(releases.split(QLatin1Char(' ')).contains(QStringLiteral(TARVO_PROJECT_VERSION))) << releases.toStdString();

    const QString entry = readText(desktopFile(AppId + QStringLiteral(".desktop")));
    EXPECT_TRUE(entry.contains(QStringLiteral("\nIcon=") + AppId + QLatin1Char('\n'))) << "the installed icon's name";
    EXPECT_TRUE(entry.contains(QStringLiteral("\nExec=tarvoftp\n")));
}

TEST(ManPages, FormatWithoutWarningsAndNameThisVersion)
{
    for (const char *page : {"tarvoftp.1", "tarvoftp-cli.1"}) {
        SCOPED_TRACE(page);
        const QString title = readText(desktopFile(QString::fromLatin1(page))).section(QLatin1Char('\n'), 0, 0);
        EXPECT_TRUE(title.startsWith(QLatin1String(".TH ")) && title.contains(QStringLiteral("\"Tarvo FTP " TARVO_PROJECT_VERSION "\"")))
            << title.toStdString();
        const ProcessRun r = runProgram(QStringLiteral("groff"), {QStringLiteral("-man"), QStringLiteral("-ww"),
            QStringLiteral("-z"), QStringLiteral("-Tutf8"), desktopFile(QString::fromLatin1(page))});
        EXPECT_EQ(r.status, 0) << r;
        EXPECT_TRUE(r.err.isEmpty()) << r;
    }
}

// Whatever --help of each program lists has its entry in the man page: an
// option or a command added later cannot be forgotten there.
TEST(ManPages, NameEveryOptionAndCommandTheProgramsTake)
{
    const ProcessRun desktopHelp = runProgram(QStringLiteral(TARVOFTP), {QStringLiteral("--help")});
    ASSERT_EQ(desktopHelp.status, 0) << desktopHelp;
    const QString help = cliHelp();
    const struct { const char *page; QString heading; QSet<QString> wanted; } checks[] = {
        {"tarvoftp.1", QStringLiteral("OPTIONS"), optionsOfUsage(desktopHelp.out)},
        {"tarvoftp-cli.1", QStringLiteral("OPTIONS"), optionsOfUsage(help)},
        {"tarvoftp-cli.1", QStringLiteral("COMMANDS"), commandsOfHelp(help)},
    };
    for (const auto &c : checks) {
        SCOPED_TRACE(std::string(c.page) + " " + c.heading.toStdString());
        ASSERT_GE(c.wanted.size(), 3) << listed(c.wanted); // the help text was read at all
        const QSet<QString> tags = tagsOfSection(renderedManPage(QString::fromLatin1(c.page)), c.heading);
        EXPECT_TRUE(missingFrom(c.wanted, tags).isEmpty()) << "missing: " << listed(missingFrom(c.wanted, tags));
    }
    EXPECT_TRUE(optionsOfUsage(desktopHelp.out).contains(QStringLiteral("--data-dir")));
    EXPECT_TRUE(commandsOfHelp(help).contains(QStringLiteral("site-add")));
}

class BashCompletion : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(data.isValid());
        // Two saved sites, one with a space in its name.
        const ProcessRun r = runProgram(QStringLiteral(TARVOFTP_CLI), {QStringLiteral("--data-dir"), data.path(),
            QStringLiteral("-c"), QStringLiteral("site-add Work Demo 127.0.0.1; site-add Work \"My site\" example.org")});
        ASSERT_EQ(r.status, 0) << r;
    }

    // The completions bash offers for the words typed, the last one being
    // completed; the program is the one built here.
    QStringList complete(const QStringList &words, const QProcessEnvironment &env = cleanEnvironment())
    {
        const QString script = QStringLiteral(
            "source \"$1\"; shift; COMP_WORDS=(\"$@\"); COMP_CWORD=$(($# - 1)); COMPREPLY=(); _tarvoftp_cli;"
            " printf '%s\\n' \"${COMPREPLY[@]}\"");
        const ProcessRun r = runProgram(QStringLiteral("bash"), QStringList{QStringLiteral("--norc"),
            QStringLiteral("-c"), script, QStringLiteral("bash"), desktopFile(QStringLiteral("tarvoftp-cli.bash-completion")),
            QStringLiteral(TARVOFTP_CLI)} + words, env);
        EXPECT_EQ(r.status, 0) << r;
        EXPECT_TRUE(r.err.isEmpty()) << r;
        QStringList offered = r.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        offered.sort();
        return offered;
    }

    static QProcessEnvironment cleanEnvironment()
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.remove(QStringLiteral("TARVOFTP_HOME"));
        return env;
    }

    QTemporaryDir data;
};

TEST_F(BashCompletion, OffersOptionsTheirValuesCommandsAndSavedSites)
{
    const QString dir = data.path();
    const struct { QStringList words; QStringList offered; } cases[] = {
        {{"--ex"}, {"--exists"}},
        {{"--exists", ""}, {"ask", "cancel", "overwrite", "resume", "skip"}},
        {{"--lang", "=", "e"}, {"en"}},
        {{"--parallel", ""}, {"1", "10", "2", "3", "4", "5", "6", "7", "8", "9"}},
        {{"--timeout", ""}, {}},
        {{"-c", "\"cl"}, {"clear", "close"}},
        {{"-c", "\"pwd; l"}, {"pwd; lcd", "pwd; lls", "pwd; lpwd", "pwd; ls"}},
        {{"-c", "\"site"}, {"site-add", "sites"}},
        // After "open", the sites of the address book the line names; a name
        // with a space in double quotes for tarvoftp-cli, escaped for the
        // shell's quote it is typed in.
        {{"--data-dir", dir, "-c", "\"open "}, {"open Demo", "open \\\"My site\\\""}},
        {{"--data-dir", "=", dir, "-c", "'open M"}, {"open \"My site\""}},
        {{"--data-dir", dir, "-c", "\"cd x; open D"}, {"cd x; open Demo"}},
        // A folder that does not exist is not made by completing.
        {{"--data-dir", dir + "/none", "-c", "\"open "}, {}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.words.join(QLatin1Char(' ')).toStdString());
        EXPECT_EQ(complete(c.words), c.offered);
    }
    EXPECT_FALSE(QFileInfo::exists(dir + "/none"));
}

TEST_F(BashCompletion, SitesOfTheUsualAddressBookWithoutDataDir)
{
    QProcessEnvironment env = cleanEnvironment();
    env.insert(QStringLiteral("TARVOFTP_HOME"), data.path());
    EXPECT_EQ(complete({"-c", "\"open D"}, env), QStringList{"open Demo"});
}

TEST_F(BashCompletion, OffersEveryOptionTheProgramTakes)
{
    const QStringList offered = complete({"-"});
    const QSet<QString> have(offered.begin(), offered.end());
    const QSet<QString> wanted = optionsOfUsage(cliHelp());
    ASSERT_GE(wanted.size(), 10);
    EXPECT_TRUE(missingFrom(wanted, have).isEmpty()) << "missing: " << listed(missingFrom(wanted, have));
}
