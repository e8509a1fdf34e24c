// tarvoftp-cli: the command-line front end over the same engine as the
// desktop program (session object, queue, folder expansion, runner).
#include "cli/CliOptions.h"
#include "cli/CliSession.h"
#include "cli/CliText.h"
#include "cli/Console.h"
#include "cli/ScriptRunner.h"
#include "platform/Paths.h"
#include "platform/TimeZone.h"
#include "session/FtpLink.h"
#include "session/SessionState.h"
#include "settings/Options.h"
#include "sites/clsGestionData.h"

#include <QCoreApplication>
#include <QFile>
#include <QSslCertificate>


using namespace cli;

namespace {

// The language: --lang, else the options file's, else the session's, as the
// desktop program starts. Known before the arguments are checked, so that
// their errors are in it too.
void chooseLanguage(const QStringList &args)
{
    LanguageOffset = options::startLanguageOffset();
    for (int i = 1; i < args.size(); ++i) {
        QString value;
        if (args.at(i) == QLatin1String("--lang") && i + 1 < args.size())
            value = args.at(i + 1);
        else if (args.at(i).startsWith(QLatin1String("--lang=")))
            value = args.at(i).mid(7);
        if (value == QLatin1String("fr"))
            LanguageOffset = 0;
        else if (value == QLatin1String("en"))
            LanguageOffset = 1000;
    }
}

int runScriptFile(Console &console, ScriptRunner &runner, const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        console.error(QStringLiteral("tarvoftp-cli: ") + text(Text::ScriptUnreadable, path, file.errorString()));
        return StatusBadInput;
    }
    runner.runText(QString::fromUtf8(file.readAll()));
    return runner.status();
}

// One name a line, for the shell's completion of "open SITE".
int printSiteNames(Console &console)
{
    clsGestionData data;
    data.SetFirstData();
    const KeyedCollection &sites = clsGestionData::siteCollection();
    for (int i = 1; i <= sites.count(); ++i)
        console.out(sites.item(i));
    return StatusSuccess;
}

} // namespace

int main(int argc, char **argv)
{
    platform::pinLocalTimeZone();
    QCoreApplication app(argc, argv);
    // The same names as the desktop program, so that both find the same
    // options file and address book.
    QCoreApplication::setApplicationName(QStringLiteral("Tarvo FTP"));
    QCoreApplication::setOrganizationName(QStringLiteral("Tarvo"));
    const QStringList args = QCoreApplication::arguments();
    platform::initProgramDirectory(args);
    chooseLanguage(args);

    Console console;
    const ParsedOptions parsed = parseArguments(args);
    if (!parsed.error.isEmpty()) {
        console.error(QStringLiteral("tarvoftp-cli: ") + parsed.error);
        return StatusBadInput;
    }
    CliOptions options = parsed.options;
    if (!options.caFile.isEmpty()) {
        options.caCertificates = QSslCertificate::fromPath(options.caFile, QSsl::Pem);
        if (options.caCertificates.isEmpty()) {
            console.error(QStringLiteral("tarvoftp-cli: ") + text(Text::CaFileUnreadable, options.caFile));
            return StatusBadInput;
        }
    }
    if (options.help) {
        console.out(text(Text::Usage) + QStringLiteral("\n\n") + text(Text::Help));
        return StatusSuccess;
    }
    if (options.version) {
        console.out(QStringLiteral("tarvoftp-cli %1.%2.%3").arg(TARVO_VERSION_MAJOR).arg(TARVO_VERSION_MINOR).arg(TARVO_VERSION_PATCH));
        return StatusSuccess;
    }
    if (options.siteNames)
        return printSiteNames(console);

    int status = StatusSuccess;
    {
        CliSession session(console, options);
        const bool fromInput = !options.commands && (options.script.isEmpty() || options.script == QLatin1String("-"));
        const bool interactive = fromInput && options.script.isEmpty() && console.inputIsTerminal();
        // At a prompt a failed command does not end the session.
        ScriptRunner runner(console, session, options.keepGoing || interactive, !interactive);
        if (options.commands) {
            runner.runLine(*options.commands);
            status = runner.status();
        } else if (!fromInput) {
            status = runScriptFile(console, runner, options.script);
        } else {
            runner.runInput(interactive);
            status = runner.status();
        }
    }
    // The connections say goodbye on their own threads; none may outlive
    // the program: a thread still in its TLS shutdown while the process
    // tears OpenSSL down corrupted the heap at exit.
    ftp::FtpLink::closeAll(3000);
    return status;
}
