#include "cli/CliText.h"

#include "session/SessionState.h"

namespace cli {
namespace {

struct Entry {
    Text id;
    const char *french;
    const char *english;
};

const char HelpFr[] = R"(Commandes (les arguments avec des espaces entre guillemets doubles ; « ; » sépare
plusieurs commandes sur une ligne ; « # » commence un commentaire) :
  open HÔTE [PORT] [USAGER [MOT_DE_PASSE]]   connexion (anonyme sans usager ; le mot
                                  de passe est demandé sans écho sur un terminal,
                                  sinon pris dans TARVOFTP_PASSWORD)
  open SITE                       connexion à un site du carnet d'adresses (son port,
                                  son mode, son TLS, son type de transfert et ses
                                  dossiers)
  close                           déconnexion (vide la file d'attente)
  pwd | cd DOSSIER | ls [--tsv] [MOTIF]
                                  dossier du serveur ; ls : nom, taille, type, date ;
                                  --tsv : taille en octets, date ISO 8601, genre
                                  (f, d, l), nom et cible d'un lien, séparés par
                                  des tabulations (vide : non donné par le serveur)
  lpwd | lcd DOSSIER | lls        dossier local
  get [-q] NOM…                   télécharge des fichiers et des dossiers (les dossiers
                                  sont parcourus comme dans les volets) : ajoute les
                                  lignes à la file puis lance la file ; -q : ajoute
                                  seulement. Les noms peuvent contenir * et ?
  put [-q] NOM…                   envoie des fichiers et des dossiers locaux, de même
  queue | run | clear             montre, lance ou vide la file d'attente
  mkdir DOSSIER | rmdir DOSSIER | rm NOM… | rename ANCIEN NOUVEAU
  chmod MODE NOM                  SITE CHMOD (MODE : trois chiffres octaux)
  quote LIGNE                     commande brute ; la réponse est affichée
  size NOM                        taille d'un fichier du serveur en octets
  compare                         compare le dossier local et celui du serveur
                                  (manquant / taille / date)
  sites                           le carnet d'adresses en arbre
  site-add DOSSIER NOM HÔTE [PORT [USAGER [MOT_DE_PASSE [DISTANT [LOCAL]]]]]
                                  enregistre un site (mode et type : --passive,
                                  --ascii), crée le dossier au besoin
  help | quit)";

const char HelpEn[] = R"(Commands (arguments with spaces in double quotes; ";" separates commands on one
line; "#" starts a comment):
  open HOST [PORT] [USER [PASSWORD]]  connect (anonymous without a user; the password
                                  is asked without echo on a terminal, else taken
                                  from TARVOFTP_PASSWORD)
  open SITE                       connect to a site of the address book (its port,
                                  mode, TLS mode, transfer type and folders)
  close                           disconnect (empties the queue)
  pwd | cd DIR | ls [--tsv] [PATTERN]
                                  server folder; ls: name, size, type, date;
                                  --tsv: size in bytes, ISO 8601 date, kind (f, d,
                                  l), name and a link's target, separated by tabs
                                  (empty: not given by the server)
  lpwd | lcd DIR | lls            local folder
  get [-q] NAME...                download files and folders (folders expand as the
                                  panes expand them): adds the rows to the queue,
                                  then runs the queue; -q: only adds. Names may
                                  hold * and ?
  put [-q] NAME...                upload local files and folders, the same way
  queue | run | clear             show, run or empty the transfer queue
  mkdir DIR | rmdir DIR | rm NAME... | rename OLD NEW
  chmod MODE NAME                 SITE CHMOD (MODE: three octal digits)
  quote LINE                      raw command; the reply is printed
  size NAME                       size of a server file in bytes
  compare                         compare the local and the server folder
                                  (missing / size / date)
  sites                           the address book as a tree
  site-add FOLDER NAME HOST [PORT [USER [PASSWORD [REMOTE [LOCAL]]]]]
                                  save a site (mode and type: --passive, --ascii),
                                  creating the folder when needed
  help | quit)";

const char UsageFr[] = R"(Usage : tarvoftp-cli [options] [SCRIPT]
Lit les commandes dans SCRIPT (« - » : entrée standard), dans -c, ou sur l'entrée
standard (interactif sur un terminal).
Options :
  -c "cmd; cmd"            commandes à exécuter
  --data-dir DOSSIER       dossier des options et du carnet d'adresses
  --passive | --active     mode de connexion (passif par défaut)
  --ascii | --binary       type de transfert (binaire par défaut)
  --exists ask|overwrite|skip|cancel|resume
                           réponse quand le fichier existe (ask : question sur un
                           terminal, annuler sinon ; resume : reprendre un fichier
                           plus petit, ignorer un fichier de même taille et date,
                           écraser les autres)
  --keep-going             continuer après une commande en échec
  --tsv                    ls en colonnes séparées par des tabulations (ls --tsv)
  --timeout SECONDES       délai de chaque attente réseau (30 par défaut)
  --parallel N             fichiers transférés à la fois, de 1 à 10 (2 par défaut)
  --retries N              nouveaux essais d'un transfert coupé, de 0 à 10 (3 par
                           défaut), repris là où il s'est arrêté
  --tls auto|explicit|implicit|off
                           FTP sur TLS : si le serveur l'offre (par défaut, ou
                           le mode du site), exigé, implicite (port 990), jamais
  --ca-file FICHIER        autres certificats d'autorité (PEM) à reconnaître
  --fingerprint HEX        faire confiance au certificat de cette empreinte
                           SHA-256 (64 chiffres hexadécimaux, « : » permis)
  --lang fr|en             langue des textes
  --site-names             noms des sites du carnet d'adresses, un par ligne
  --help | --version
Un certificat non approuvé est demandé sur un terminal ; sinon la commande
échoue et son empreinte SHA-256 est écrite sur l'erreur standard.
Code de sortie : 0 tout a réussi, 1 une commande a échoué, 2 entrée invalide.)";

const char UsageEn[] = R"(Usage: tarvoftp-cli [options] [SCRIPT]
Reads commands from SCRIPT ("-": standard input), from -c, or from standard input
(interactive on a terminal).
Options:
  -c "cmd; cmd"            commands to run
  --data-dir DIR           folder of the options and the address book
  --passive | --active     connection mode (passive by default)
  --ascii | --binary       transfer type (binary by default)
  --exists ask|overwrite|skip|cancel|resume
                           answer when a file exists (ask: a question on a
                           terminal, cancel otherwise; resume: continue a smaller
                           file, skip one of the same size and date, overwrite
                           any other)
  --keep-going             go on after a command failed
  --tsv                    ls as tab-separated columns (ls --tsv)
  --timeout SECONDS        time-out of every network wait (30 by default)
  --parallel N             files transferred at once, 1 to 10 (2 by default)
  --retries N              times a cut-off transfer is tried again, 0 to 10
                           (3 by default), going on where it stopped
  --tls auto|explicit|implicit|off
                           FTP over TLS: if the server offers it (the default,
                           or the site's mode), required, implicit (port 990), never
  --ca-file FILE           more certification authorities (PEM) to recognise
  --fingerprint HEX        trust the certificate with this SHA-256 fingerprint
                           (64 hex digits, colons allowed)
  --lang fr|en             language of the texts
  --site-names             the saved sites' names, one a line
  --help | --version
An untrusted certificate is asked about on a terminal; otherwise the command
fails and its SHA-256 fingerprint is written to standard error.
Exit status: 0 all succeeded, 1 a command failed, 2 bad input.)";

const Entry entries[] = {
    {Text::Usage, UsageFr, UsageEn},
    {Text::Help, HelpFr, HelpEn},
    {Text::UnknownCommand, "commande inconnue : %1 (help donne la liste)", "unknown command: %1 (help lists them)"},
    {Text::MissingArgument, "argument manquant ; usage : %1", "missing argument; usage: %1"},
    {Text::TooManyArguments, "trop d'arguments ; usage : %1", "too many arguments; usage: %1"},
    {Text::UnterminatedQuote, "guillemet non fermé", "unterminated quote"},
    {Text::UnknownOption, "option inconnue : %1 (--help)", "unknown option: %1 (--help)"},
    {Text::OptionNeedsValue, "l'option %1 demande une valeur", "option %1 needs a value"},
    {Text::BadOptionValue, "valeur non valide pour %1 : %2", "bad value for %1: %2"},
    {Text::TwoSources, "un seul script à la fois (SCRIPT ou -c)", "one script at a time (SCRIPT or -c)"},
    {Text::ScriptUnreadable, "impossible de lire %1 : %2", "cannot read %1: %2"},
    {Text::NoSuchLocal, "fichier ou dossier local introuvable : %1", "no such local file or folder: %1"},
    {Text::NoSuchRemote, "fichier ou dossier introuvable sur le serveur : %1",
     "no such file or folder on the server: %1"},
    {Text::NotLocalFolder, "pas un dossier local : %1", "not a local folder: %1"},
    {Text::FilesLeft, "transfert en échec, %1 fichier(s) restent dans la file",
     "transfer failed, %1 file(s) left in the queue"},
    {Text::Cancelled, "transfert annulé : %1", "transfer cancelled: %1"},
    {Text::BadMode, "mode non valide (trois chiffres octaux) : %1", "not a mode (three octal digits): %1"},
    {Text::SiteWithoutServer, "le site %1 n'a pas de serveur", "the site %1 has no server"},
    {Text::SiteSaved, "site enregistré : %1", "site saved: %1"},
    {Text::ListingFailed, "la liste du dossier a échoué", "the folder listing failed"},
    {Text::ExistsQuestion, "%1 existe. [o] écraser, [a] tout écraser, [s] ignorer, [c] annuler ? ",
     "%1 exists. [o]verwrite, overwrite [a]ll, [s]kip, [c]ancel? "},
    {Text::ExistsQuestionResume,
     "%1 existe, plus petit. [r] reprendre, [l] tout reprendre, [o] écraser, [a] tout écraser, [s] ignorer, [c] annuler ? ",
     "%1 exists, smaller. [r]esume, resume a[l]l, [o]verwrite, overwrite [a]ll, [s]kip, [c]ancel? "},
    {Text::RemoteNameOnly, "un nom du dossier courant du serveur est attendu (cd d'abord) : %1",
     "a name of the current server folder is expected (cd first): %1"},
    {Text::EmptyName, "nom vide", "empty name"},
    {Text::CaFileUnreadable, "aucun certificat lisible (PEM) dans %1", "no readable (PEM) certificate in %1"},
};

} // namespace

QString text(Text id)
{
    for (const Entry &e : entries) {
        if (e.id == id)
            return QString::fromUtf8(LanguageOffset == 0 ? e.french : e.english);
    }
    return QString();
}

QString text(Text id, const QString &a1)
{
    return text(id).arg(a1);
}

QString text(Text id, const QString &a1, const QString &a2)
{
    return text(id).arg(a1, a2);
}

} // namespace cli
