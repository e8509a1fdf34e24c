#include "sites/KeyedCollection.h"

bool KeyedCollection::add(const QString &key, const QString &item)
{
    if (m_index.contains(key))
        return false;
    m_index.insert(key, int(m_entries.size()));
    m_entries.append({key, item});
    return true;
}

void KeyedCollection::clear()
{
    m_entries.clear();
    m_index.clear();
}

QString KeyedCollection::item(int position) const
{
    return position >= 1 && position <= count() ? m_entries.at(position - 1).item : QString();
}

QString KeyedCollection::key(int position) const
{
    return position >= 1 && position <= count() ? m_entries.at(position - 1).key : QString();
}

QString KeyedCollection::itemByKey(const QString &key) const
{
    const auto it = m_index.constFind(key);
    return it == m_index.cend() ? QString() : m_entries.at(*it).item;
}
