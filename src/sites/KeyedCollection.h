#pragma once
// An ordered collection of texts stored under unique keys: enumerated in the
// order of insertion, reached by 1-based position or by key.

#include <QHash>
#include <QList>
#include <QString>

class KeyedCollection {
public:
    // Adds item under key at the end; a key already present is refused (false)
    // and the collection stays as it was.
    bool add(const QString &key, const QString &item);
    void clear();

    int count() const { return int(m_entries.size()); }
    bool contains(const QString &key) const { return m_index.contains(key); }
    // Empty text outside 1..count() or for an unknown key.
    QString item(int position) const;
    QString key(int position) const;
    QString itemByKey(const QString &key) const;

private:
    struct Entry {
        QString key;
        QString item;
    };
    QList<Entry> m_entries;
    QHash<QString, int> m_index;
};
