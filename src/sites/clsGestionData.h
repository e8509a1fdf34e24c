#pragma once
// The address book: saved sites ("ftp.tf") grouped in folders ("TypeFtp.tf"),
// two 8-bit text files in the program directory (see SiteRecord.h for their
// lines). This class is the only code that reads or writes them. Besides the
// files it keeps one process-wide copy of both files and two keyed collections
// built from them (site number -> site name, folder number -> folder name),
// which the site manager fills its tree from.
//
// Instances are short-lived: a window creates one, calls a few operations and
// drops it; the public members describe the last record loaded into it.
// SaveDataChange and DeleteData change only the files: call SetFirstData
// afterwards to bring the caches up to date (addFolder reloads them itself).
//
// Operations that write go through a temporary file renamed over the old one,
// so a failure never loses the address book; their result says what went
// wrong. Lines of a shape this class did not write (too few fields, a number
// that is not one) are skipped by every lookup and kept by every rewrite.

#include "settings/FileResult.h"
#include "sites/KeyedCollection.h"
#include "sites/SiteTls.h"

#include <QString>

class clsGestionData {
public:
    // The site loaded last (SetCollectionData); SaveDataChange sets lServerNo
    // to the number of the record it wrote.
    qint32 lServerNo = 0;
    QString sServerName;
    QString sServerIp;
    QString sServerUser;
    QString sServerPass;  // decoded; see SetCollectionData for the keyring's
    QString sServerPort;
    QString sServerTransfert;    // "1" binary, "2" ASCII
    QString sServerTypeConnect;  // "1" active, "2" passive
    QString sServerInitServPath; // remote directory opened after connecting
    QString sServerInitialPath;  // local directory opened after connecting
    qint32 lServerType = 0;      // number of the folder holding the site
    // Kept beside ftp.tf, not in it (SiteTls.h).
    sitetls::Mode tlsMode = sitetls::DefaultMode;
    // The folder loaded last (SetCollectionSec, addFolder).
    qint32 lTypeNo = 0;
    QString sTypeFtp;

    // Reloads both caches from the files (empty lines skipped, a missing file
    // is an empty one) and rebuilds the collections. A file that exists but
    // cannot be read leaves its cache empty and is reported.
    FileResult SetFirstData();
    // Refills the two collections from the cached texts. A site or folder whose
    // number repeats an earlier one is left out of its collection.
    void BuildCollections();

    // bIsSelect true: loads the site whose number is sNumero; false: the site
    // at 1-based position sNumero of the site collection. False when there is
    // no such site (the members then stay as they were). The password of a
    // site picked by number comes from the keyring when the file holds none;
    // loading by position (to list the sites) asks the keyring nothing:
    // sitePassword() does, for the site loaded last.
    bool SetCollectionData(const QString &sNumero, bool bIsSelect);
    QString sitePassword() const;
    // Loads the folder at 1-based position sNumero of the folder collection.
    bool SetCollectionSec(const QString &sNumero);

    // sFind "type" (any letter case) means the folder file, anything else the
    // site file. These read the file itself, not the cache.
    // True when some record's name equals sName exactly (letter case counts).
    bool ChkIfDataExist(const QString &sFind, const QString &sName) const;
    // The first record named sName without its last field, or "".
    QString GetServerName(const QString &sFind, const QString &sName) const;
    // The greatest record number as text, "0" for an empty file.
    QString GetBigNo(const QString &sFind) const;

    // Writes one site into "ftp.tf" and its password into the keyring (see
    // SiteKeyring.h). sLineToSave starts with its number when
    // bUpdateParam is true (a whole record), else with the name (ten fields).
    // Every record named like it, or named sNewServerName, is dropped; the new
    // record goes last. Its number: a whole record keeps its own; an edit
    // (bUpdateServer) keeps the number of the record it replaces (the one named
    // sNewServerName, the former name, when given); a new site gets
    // GetBigNo + 1, which also happens to an edit of a site no longer on file.
    // Refused, with nothing written, when a field holds "|", CR or LF, when the
    // name is empty, the folder number is not a number, or a character cannot
    // be stored in the 8-bit file.
    // The TLS modes beside the file follow: a record that keeps its number
    // keeps its mode, one that gets a fresh number has the default.
    FileResult SaveDataChange(const QString &sLineToSave, bool bUpdateParam, bool bUpdateServer,
                              const QString &sNewServerName);

    // Removes every record named sName from the file chosen by sDelete; for a
    // folder also every site whose folder number is the removed folder's.
    // Removed sites' passwords leave the keyring, and their TLS modes go with them.
    FileResult DeleteData(const QString &sDelete, const QString &sName);

    // Sets the TLS mode of the site numbered siteNumber and reloads the caches.
    FileResult setTlsMode(qint32 siteNumber, sitetls::Mode mode);

    // Adds a folder named name to "TypeFtp.tf" with number GetBigNo + 1. A name
    // that exists already gets "(2)" appended, up to three times. On success
    // lTypeNo and sTypeFtp hold the new folder and the caches are reloaded.
    FileResult addFolder(const QString &name);

    // The process-wide caches: the lines of each file, each ended by CR LF,
    // and the collections built from them.
    static QString siteText();
    static QString folderText();
    static const KeyedCollection &siteCollection();
    static const KeyedCollection &folderCollection();

    static QString siteFilePath();    // program directory + "/ftp.tf"
    static QString folderFilePath();  // program directory + "/TypeFtp.tf"
    static bool isFolderFile(const QString &sFind);

    // The fields of a site as the windows edit them. composeSiteLine checks
    // each (checkFieldText) and builds the ten-field line SaveDataChange takes
    // for a new or edited site, with the password hex-encoded twice; an empty
    // port becomes "21".
    struct SiteFields {
        QString name;
        QString host;
        QString port = QStringLiteral("21");
        QString user;
        QString password;  // as typed
        QString transfer = QStringLiteral("1");
        QString mode = QStringLiteral("1");
        QString remotePath;
        QString folder;    // folder number as text
        QString localPath;
    };
    static FileResult composeSiteLine(const SiteFields &fields, QString *line);
};
