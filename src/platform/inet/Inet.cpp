// Error state of the library and the texts of its error codes.
#include "platform/inet/Inet.h"

#include <QByteArray>

#include <cstring>

namespace inet {

namespace {
// The library is used from one thread; keeping the state per thread makes a
// helper thread (tests, a future worker) unable to clobber the caller's.
thread_local quint32 t_lastError = NoError;
thread_local QString t_lastResponse;
thread_local const std::atomic<bool> *t_stopFlag = nullptr;

struct MessageText {
    quint32 code;
    const char *english;
    const char *french;
};

// Our own wording; callers show it when no server reply tells more.
constexpr MessageText kMessages[] = {
    {ErrorNoMoreFiles, "There are no more files.",
     "Il n'y a plus de fichiers."},
    {ErrorInvalidPort, "The port must be a whole number from 1 to 65535.",
     "Le port doit être un nombre entier de 1 à 65535."},
    {ErrorLineBreak, "The command or name holds a line break or a NUL character; it was not sent.",
     "La commande ou le nom contient un saut de ligne ou un caractère NUL ; rien n'a été envoyé."},
    {ErrorLocalFile, "The local file could not be opened, read or written.",
     "Le fichier local n'a pas pu être ouvert, lu ou écrit."},
    {ErrorStopped, "The operation was stopped.",
     "L'opération a été arrêtée."},
    {ErrorTlsRefused, "The server refused FTP over TLS, which this connection requires; nothing more was sent.",
     "Le serveur a refusé le FTP sur TLS, que cette connexion exige ; rien d'autre n'a été envoyé."},
    {ErrorTlsHandshake, "The secure (TLS) connection with the server could not be established; nothing was sent in clear.",
     "La connexion sécurisée (TLS) avec le serveur n'a pas pu être établie ; rien n'a été envoyé en clair."},
    {ErrorCertificateRejected, "The server's certificate was not trusted; the connection was closed before anything was sent.",
     "Le certificat du serveur n'a pas été approuvé ; la connexion a été fermée avant tout envoi."},
    {ErrorChecksumDiffers, "checksum differs",
     "la somme de contrôle diffère"},
    {ErrorSizeDiffers, "size differs",
     "la taille diffère"},
    {ErrorTimeout, "The operation timed out.",
     "Le délai d'attente de l'opération est dépassé."},
    {ErrorExtended, "The server returned extended information.",
     "Le serveur a renvoyé des informations détaillées."},
    {ErrorInternal, "An internal error occurred.",
     "Une erreur interne s'est produite."},
    {ErrorInvalidUrl, "The URL is invalid.",
     "L'URL n'est pas valide."},
    {ErrorNameNotResolved, "The server name or address could not be resolved.",
     "Le nom ou l'adresse du serveur n'a pas pu être résolu."},
    {ErrorIncorrectUserName, "The server refused the user name.",
     "Le serveur a refusé le nom d'utilisateur."},
    {ErrorIncorrectPassword, "The server refused the password.",
     "Le serveur a refusé le mot de passe."},
    {ErrorLoginFailure, "The server refused the login.",
     "Le serveur a refusé la connexion de l'utilisateur."},
    {ErrorIncorrectHandleState, "The connection is closed or not ready for this operation.",
     "La connexion est fermée ou n'est pas prête pour cette opération."},
    {ErrorCannotConnect, "A connection with the server could not be established.",
     "Impossible d'établir une connexion avec le serveur."},
    {ErrorConnectionAborted, "The connection with the server was ended abnormally.",
     "La connexion avec le serveur s'est terminée de façon anormale."},
    {ErrorConnectionReset, "The connection with the server was reset.",
     "La connexion avec le serveur a été réinitialisée."},
    {ErrorTransferInProgress, "A transfer is already in progress on this connection.",
     "Un transfert est déjà en cours sur cette connexion."},
    {ErrorFtpDropped, "The server closed the FTP connection.",
     "Le serveur a fermé la connexion FTP."},
    {ErrorHttpStatus, "The web server answered with an error status.",
     "Le serveur web a répondu par un état d'erreur."},
};

QString systemText(quint32 code)
{
    // strerror() of an unknown value is a generic "Unknown error N": treat it
    // as no text, as for our own unknown codes.
    const char *text = std::strerror(int(code));
    if (!text || std::strncmp(text, "Unknown error", 13) == 0)
        return QString();
    return QString::fromLocal8Bit(text);
}
} // namespace

quint32 lastError() { return t_lastError; }
void setLastError(quint32 code) { t_lastError = code; }
QString lastResponseInfo() { return t_lastResponse; }
void setLastResponseInfo(const QString &text) { t_lastResponse = text; }

void setStopFlag(const std::atomic<bool> *flag) { t_stopFlag = flag; }
bool stopRequested() { return t_stopFlag && t_stopFlag->load(std::memory_order_relaxed); }

QString formatMessage(quint32 code, const QString &module, bool french)
{
    const QString m = module.trimmed().toLower();
    QString text;
    if (m.isEmpty() || m == QLatin1String("wininet.dll") || m == QLatin1String("wininet")) {
        for (const MessageText &entry : kMessages) {
            if (entry.code == code) {
                text = QString::fromUtf8(french ? entry.french : entry.english);
                break;
            }
        }
    } else if (m == QLatin1String("kernel32") || m == QLatin1String("kernel32.dll")) {
        text = systemText(code);
    }
    return text.isEmpty() ? QString() : text + QLatin1String("\r\n");
}

} // namespace inet
