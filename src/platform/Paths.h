#pragma once
// Where the program keeps its files (options, address book, update files).
#include <QString>

namespace platform {

// The program directory of the design: --data-dir / TARVOFTP_HOME when given,
// else the executable's folder when it is writable and not an installed copy
// (portable use), else the per-user data folder. Always returned without a
// trailing separator.
QString programDirectory();
// The same for an executable in executableDir, without the overrides.
QString programDirectoryFor(const QString &executableDir);
// An installed copy: its bin/ folder sits beside share/applications/ holding
// the program's desktop file (make install, a package).
bool isInstalledCopy(const QString &executableDir);

// Overrides the program directory for the rest of the run (--data-dir, tests).
void setProgramDirectory(const QString &dir);

// Reads --data-dir DIR / --data-dir=DIR from the arguments, else TARVOFTP_HOME.
void initProgramDirectory(const QStringList &arguments);

// Joins a folder and a name with exactly one "/" (none added after a trailing one).
QString joinPath(const QString &folder, const QString &name);

// The user's desktop folder, or the home folder when there is none.
QString desktopDirectory();

} // namespace platform
