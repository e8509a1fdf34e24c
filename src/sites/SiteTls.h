#pragma once
// How each saved site protects its connection (FTP over TLS). The site line
// of "ftp.tf" keeps exactly its eleven fields, which other copies of the
// program read; the mode lives beside it in "ftptls.tf", one line per site
// whose mode is not the default: number|mode|name. The number is the key:
// edits, renames and moves keep a site's number, so they keep its mode.
// The name guards against a number handed out again: should a copy of the
// program that does not know this file delete a site and make a new one
// under the same number, the new site does not inherit the old one's mode
// (it gets the default). clsGestionData keeps the file in step with ftp.tf.

#include "platform/inet/Inet.h"
#include "settings/FileResult.h"

#include <QHash>
#include <QString>
#include <QStringList>

#include <optional>

namespace sitetls {

// The library's modes: IfOffered (TLS when the server offers it, else plain
// FTP with a warning; the default), Required (explicit TLS, AUTH TLS must
// succeed), Implicit (TLS from the first byte, port 990), Off (plain FTP).
using Mode = inet::TlsMode;
inline constexpr Mode DefaultMode = Mode::IfOffered;

// The words of the file and of the command line: "auto", "explicit" (Required),
// "implicit", "off".
QString keyword(Mode mode);
std::optional<Mode> fromKeyword(const QString &word);

// The modes as the site windows offer them, in this order, with the French
// string id of each caption.
struct Choice {
    Mode mode;
    int captionId;
};
inline constexpr Choice Choices[] = {
    {Mode::IfOffered, 838}, {Mode::Required, 839}, {Mode::Implicit, 840}, {Mode::Off, 841}};
inline constexpr int ChoicesCaptionId = 837; // the choice's title

QString filePath(); // program directory + "/ftptls.tf"

struct Entry {
    Mode mode = DefaultMode;
    QString name; // the site's name when the entry was written
    bool operator==(const Entry &) const = default;
};
using Entries = QHash<qint32, Entry>;

// The entries of the file (lines of another shape are left out); ok false
// when the file exists and cannot be read.
struct Read {
    bool ok = true;
    QString error;
    Entries entries;
};
Read read();

// The mode of site `number` named `name`: the default without a matching entry.
Mode modeOf(const Entries &entries, qint32 number, const QString &name);

// Sets the mode of one site (the default removes its entry).
FileResult setMode(qint32 number, const QString &name, Mode mode);

// After ftp.tf was rewritten (siteLines: its lines now): entries stay only
// for sites on file under the same number and name. `saved`: the number of
// the site just saved; `numberKept` whether it kept its former number (an
// edit: its entry follows a new name) or got a fresh one (any entry of that
// number belonged to another site).
FileResult follow(const QStringList &siteLines, std::optional<qint32> saved = std::nullopt, bool numberKept = false,
                  const QString &savedName = QString());

} // namespace sitetls
