#pragma once
// One directory entry of a server listing.

#include "session/DateValue.h"

#include <QString>

struct cDItemAttribute {
    bool ReadOnly = false;
    bool Hidden = false;
    bool System = false;
    bool Directory = false;
    bool Archive = false;
    bool Normal = false;
    bool Temporary = false;
    bool Compressed = false;
    bool Offline = false;
    bool AttNothing = false; // the attribute word was 0: the listing did not say the kind
    DateValue CreationTime = 0;
    DateValue LastAccessTime = 0;
    DateValue LastWriteTime = 0;
    qint64 FileSize = 0;     // the whole size: files beyond 4 GiB are common
    QString Filename;        // exactly as listed, letter case included

    // What the listing did not give is unknown, not 0 or a date of 1601:
    // FileSize and the times mean something only when these are set.
    bool sizeKnown = true;
    bool timeKnown = true;
    bool sizeRough = false; // in blocks, or rounded to a unit ("1.2M"): near, not exact
    bool isLink = false;  // a symbolic link (attribute 0x400)
    QString linkTarget;   // what it points to, as listed; "" when not said

    // Whether this is a folder only the server can tell, by letting us in or
    // not: a link, or an entry whose listing gave no kind.
    bool kindFromServer() const { return isLink || AttNothing; }

    static cDItemAttribute fromAttributes(quint32 attributes);
};
