#pragma once
// Where a site's password lives: in the desktop's keyring when there is one,
// under a key naming the site's number and the address book it belongs to;
// the site line's password field is then left empty, so the file holds no
// password at all. Without a keyring the field keeps the password, hex-encoded
// twice as ever, and the log says once that it is only obfuscated there. A
// password found in the field (written by a copy of the program without a
// keyring) wins over the keyring's and moves there at the next save.

#include <QList>
#include <QString>

namespace sitekeyring {

// The keyring key of a site of the address book in the program directory.
QString keyFor(qint32 siteNumber);

// A whole site record on its way to the file: its password goes into the
// keyring and leaves the line. A record typed by the user (asTyped) with an
// empty password field had its password cleared: the keyring's goes too.
// A record taken from the file with an empty field keeps the keyring's.
QString storePassword(const QString &record, bool asTyped);

// The password of a site: the field's (decoded) when it holds one, else the
// keyring's, else "".
QString passwordOf(qint32 siteNumber, const QString &storedField);

// The passwords of sites that left the file.
void forget(const QList<qint32> &siteNumbers);

} // namespace sitekeyring
