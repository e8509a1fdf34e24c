#pragma once
// The two record layouts of the address book and the checks that keep them
// readable. "ftp.tf" holds one site per line, eleven "|"-separated fields:
//   number|name|host|port|user|password|transfer|mode|remote dir|folder|local dir
// (the local dir is the rest of the line). "TypeFtp.tf" holds one folder per
// line: number|name|
// A line that does not have this shape (too few fields, a number that is not
// one) is malformed: lookups and the tree skip it, rewrites keep it unchanged.

#include "settings/FileResult.h"

#include <QString>
#include <QStringList>

#include <optional>

namespace siterecord {

inline constexpr int SiteFieldCount = 11;

struct Site {
    qint32 number = 0;
    QStringList fields;  // exactly eleven; the last one is the rest of the line
    QString name() const { return fields.at(1); }
    qint32 folder() const;
};

struct Folder {
    qint32 number = 0;
    QString name;
};

// A whole decimal number (spaces around it allowed), or nothing.
std::optional<qint32> toNumber(const QString &text);

std::optional<Site> parseSite(const QString &line);
std::optional<Folder> parseFolder(const QString &line);

// The number in field 1 of any line that has one, malformed or not; used for
// numbering so that a number is never handed out twice.
std::optional<qint32> leadingNumber(const QString &line);
// The greatest such number of lines, 0 when there is none.
qint32 biggestNumber(const QStringList &lines);

// Hex encoding of text: two upper-case hex digits per character, the
// character's Windows-1252 byte. hexToText reverses it; text that is not such
// hex comes back unchanged rather than failing.
QString textToHex(const QString &text);
QString hexToText(const QString &hex);

// Passwords are stored hex-encoded twice (four characters per character):
// obfuscated, not encrypted.
QString encodePassword(const QString &password);
QString decodePassword(const QString &stored);

// Refuses a value typed by the user that would break the record layout ("|",
// CR, LF) or that the 8-bit file cannot hold.
FileResult checkFieldText(const QString &value);

} // namespace siterecord
