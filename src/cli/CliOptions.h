#pragma once
// The options of tarvoftp-cli, read from its arguments. Pure: no I/O.

#include "platform/inet/Inet.h"

#include <QByteArray>
#include <QList>
#include <QSslCertificate>
#include <QString>
#include <QStringList>

#include <optional>

namespace cli {

// How the file-exists question is answered.
// Resume: a smaller destination is continued, one of the same size and date
// skipped, any other overwritten.
enum class ExistsPolicy { Ask, Overwrite, Skip, Cancel, Resume };

struct CliOptions {
    QString dataDir;                 // handled by the program-directory setup
    std::optional<bool> passive;     // given on the command line, else the site's or passive
    std::optional<bool> binary;      // given on the command line, else the site's or binary
    std::optional<inet::TlsMode> tls; // --tls, else the site's or "auto" (TLS if offered)
    QString caFile;                  // --ca-file: more CA certificates (PEM)
    QList<QSslCertificate> caCertificates; // read from caFile by the program
    QByteArray fingerprint;          // --fingerprint: SHA-256 of a certificate trusted as it is
    ExistsPolicy exists = ExistsPolicy::Ask;
    bool keepGoing = false;
    bool tsv = false;                // ls prints tab-separated raw values
    std::optional<qint16> languageOffset; // 0 French, 1000 English
    int timeoutSeconds = 30;
    std::optional<int> parallel;     // files moved at once, 1-10; else the options file's (2)
    std::optional<int> retries;      // tries after a drop or a time-out, 0-10; else the options file's (3)
    std::optional<QString> commands; // -c
    QString script;                  // SCRIPT ("-" standard input)
    bool help = false;
    bool version = false;
    bool siteNames = false;          // print the saved sites' names (shell completion)
};

struct ParsedOptions {
    CliOptions options;
    QString error; // empty when the arguments were good
};

// arguments: as QCoreApplication::arguments() gives them (program first).
ParsedOptions parseArguments(const QStringList &arguments);

} // namespace cli
