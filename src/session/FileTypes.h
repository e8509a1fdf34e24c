#pragma once
// File kinds by name, shared by the server pane, the queue and the drop basket.
#include <QString>

// The text after the last "." of the name, with its dot; "" without a dot.
QString GetFileExtension(const QString &name);
// The server pane's picture number for a file name (see icons::imageList6).
int ImgNumber(const QString &strFileName);
// The rows "." and ".." of a listing.
bool isDotEntry(const QString &name);
// A name that must never become part of a local path: empty, ".", "..", or
// holding "/", "\" or NUL (a hostile or broken server listing).
bool isUnsafeRemoteName(const QString &name);
// A link in `folder` whose target is that folder itself or a folder above it:
// going in would list the same folders again and again.
bool linkLeadsBack(const QString &folder, const QString &target);
// Folders below one another that a remote expansion goes into at most: a
// server may show a link that leads back up as a plain folder.
inline constexpr int kMaxRemoteDepth = 32;
