#pragma once
// Files the program keeps beside itself, taken from its resources: the help
// pages and the default completion sound.

#include <QString>

namespace programfiles {

// Writes the help page of the language into the program folder (or, when that
// cannot be written, the user's cache folder) and returns its path; "" when
// neither could be written.
QString installHelpPage(bool french);

// Puts the program's own completion sound, "recv.WAV", into the program folder
// when it is not there yet; false when it could not be written.
bool installDefaultSound();

} // namespace programfiles
