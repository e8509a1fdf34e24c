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
    bool AttNothing = false; // the attribute word was 0 (a link of unknown kind)
    DateValue CreationTime = 0;
    DateValue LastAccessTime = 0;
    DateValue LastWriteTime = 0;
    qint64 FileSize = 0;     // the whole size: files beyond 4 GiB are common
    QString Filename;

    static cDItemAttribute fromAttributes(quint32 attributes);
};
