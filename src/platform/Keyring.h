#pragma once
// Passwords in the desktop's keyring: the Secret Service of the session
// (gnome-keyring, KWallet...) through QtKeychain. Each call waits for its
// answer, with a bound, letting no user input in meanwhile.
//
// A keyring that cannot be used (no session bus, no Secret Service, locked
// and the unlock refused, no answer in time) makes every call fail, and from
// then on the keyring is left alone for the rest of the run: the user is
// asked to unlock it once, not at every save. Callers then keep the password
// where they kept it before (the address book's obfuscated field) and call
// noteFileFallback(), which says so once in the program's log.

#include <QString>

#include <functional>
#include <optional>

namespace keyring {

// True once a store succeeded; false when it could not be done.
bool storePassword(const QString &key, const QString &password);
// The password stored under key; nothing when there is none or no keyring.
std::optional<QString> readPassword(const QString &key);
// True when nothing is stored under key any more.
bool removePassword(const QString &key);

// False once the keyring failed in this run.
bool usable();

// Who says that a password went to the file (the main window in its log,
// the command line on standard error). Without one, the notice waits for it.
void setNoticeSink(std::function<void()> sink);
// A password went to the file instead of the keyring: said once per run.
void noteFileFallback();

// Tests: the keyring is tried again and the notice may come again.
void resetForTests();

} // namespace keyring
