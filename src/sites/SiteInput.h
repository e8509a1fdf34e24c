#pragma once
// Checks and fixed values shared by the two windows that edit a site (the site
// manager and the new-site wizard). No widgets here: the checks are plain logic.

#include <QString>

namespace siteinput {

// What the anonymous check box puts into the user and password boxes.
inline constexpr char AnonymousUser[] = "Anonymous";
inline constexpr char AnonymousPassword[] = "tarvo@example.com";

// A port as typed: a whole decimal number from 1 to 65535, nothing else.
bool portIsValid(const QString &port);

// A local folder as stored for a site: ends with exactly one "/" (the folder
// browser gives it without one).
QString withTrailingSeparator(const QString &path);

} // namespace siteinput
