#pragma once
// The language the user's session asks programs to speak, as the C library
// reads it for messages: LANGUAGE (a ":"-separated list of preferences, only
// heeded when a locale is set at all), then LC_ALL, LC_MESSAGES and LANG.

#include <QStringList>

namespace platform {

// The locale names in order of preference ("fr_CA.UTF-8", "en"...); empty or
// "C"/"POSIX" when the session sets no language.
QStringList messageLanguages();

// True when the first language named is French ("fr", "fr_FR", "fr-BE.UTF-8").
bool prefersFrench(const QStringList &languages);

} // namespace platform
