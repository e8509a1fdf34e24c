#pragma once
// The entries of one listing in the server's order, each under its name as key.
// Names are exact: "README" and "readme" are two entries (servers on Unix
// list both). Only an exact duplicate is discarded. A lookup by name finds the
// entry of exactly that name, and falls back to one that differs only in
// letter case when there is none, so it never hides an entry.

#include "session/cDItemAttribute.h"

#include <QHash>
#include <QString>

#include <vector>

class cdEnum {
public:
    // Adds an entry; an entry whose name is already present is discarded.
    void Add(quint32 lAttrib, DateValue dtCreationTime, DateValue dtLastAccessTime,
             DateValue dtLastWriteTime, qint64 lFileSize, const QString &sFileName);
    // The same for an entry already made (with what the listing knew of it).
    void add(cDItemAttribute item);

    // By position counted from 1, or by name; nullptr when there is none.
    const cDItemAttribute *Item(int index) const;
    const cDItemAttribute *Item(const QString &key) const;
    const cDItemAttribute *Item(const char *key) const { return Item(QString::fromUtf8(key)); }
    int Count() const { return int(m_items.size()); }
    void reserve(size_t count)
    {
        m_items.reserve(count);
        m_index.reserve(qsizetype(count));
    }

    auto begin() const { return m_items.cbegin(); }
    auto end() const { return m_items.cend(); }

private:
    std::vector<cDItemAttribute> m_items;
    QHash<QString, int> m_index;          // exact name -> position
    mutable QHash<QString, int> m_folded; // case-folded name -> first position, made on first need
};
