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
