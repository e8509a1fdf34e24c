// The desktop program: one main window, which starts everything else.
#include "mainwindow/frmconc.h"
#include "platform/Paths.h"
#include "platform/TimeZone.h"
#include "platform/gui/MessageBoxPrompt.h"
#include "platform/gui/QtLanguage.h"
#include "session/FtpLink.h"
#include "session/SessionState.h"
#include "settings/Options.h"
#include "update/UpdateConfig.h"

#include <QApplication>
#include <QCommandLineParser>

namespace {

// The help text of the command line; the options are read by the parts of
// the program they belong to.
void handleHelpOption(const QCoreApplication &app)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Tarvo FTP, a desktop FTP client."));
    const QCommandLineOption help = parser.addHelpOption();
    const QCommandLineOption version = parser.addVersionOption();
    parser.addOption({QStringLiteral("data-dir"),
                      QStringLiteral("Keep the options and the address book in <dir>."), QStringLiteral("dir")});
    parser.addOption({QStringLiteral("update-url"), QStringLiteral("Address of the update server."),
                      QStringLiteral("url")});
    parser.addOption({QStringLiteral("web-url"), QStringLiteral("Address of the vendor's web site."),
                      QStringLiteral("url")});
    // Options of Qt itself and of the parts above are not refused here.
    parser.parse(app.arguments());
    if (parser.isSet(help))
        parser.showHelp();
    if (parser.isSet(version))
        parser.showVersion();
}

void nameProgram()
{
    QCoreApplication::setApplicationName(QStringLiteral("Tarvo FTP"));
    QCoreApplication::setOrganizationName(QStringLiteral("Tarvo"));
    // The desktop file the window belongs to (its icon and name in the shell).
    QGuiApplication::setDesktopFileName(QStringLiteral(TARVO_APP_ID));
    QCoreApplication::setApplicationVersion(QStringLiteral("%1.%2.%3")
        .arg(TARVO_VERSION_MAJOR).arg(TARVO_VERSION_MINOR).arg(TARVO_VERSION_PATCH));
}

// --help and --version answer without a display.
bool asksForHelp(int argc, char **argv)
{
    for (int i = 1; i < argc; ++i) {
        const QByteArray arg(argv[i]);
        if (arg == "--help" || arg == "-h" || arg == "-?" || arg == "--help-all" || arg == "--version"
            || arg == "-v")
            return true;
    }
    return false;
}

} // namespace

int main(int argc, char **argv)
{
    platform::pinLocalTimeZone();
    if (asksForHelp(argc, argv)) {
        QCoreApplication core(argc, argv);
        nameProgram();
        handleHelpOption(core);
        return 0;
    }
    QApplication app(argc, argv);
    nameProgram();
    platform::initProgramDirectory(QApplication::arguments());
    update::initUpdateConfig(QApplication::arguments());

    platform::MessageBoxPrompt prompt;
    platform::setPrompt(&prompt);
    // Qt's own buttons speak the interface's language from the first box on.
    platform::applyQtLanguage(options::startLanguageOffset() == 0);

    int result = 0;
    {
        frmconc window;
        window.Form_Load();
        result = bUpdateLaunched ? 0 : app.exec();
    }
    // The connections end on their own threads; none may outlive the program.
    ftp::FtpLink::closeAll(3000);
    platform::setPrompt(nullptr);
    return result;
}
