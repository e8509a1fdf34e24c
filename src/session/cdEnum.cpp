#include "session/cdEnum.h"

#include "platform/inet/Inet.h"

cDItemAttribute cDItemAttribute::fromAttributes(quint32 a)
{
    cDItemAttribute item;
    item.ReadOnly = a & inet::FILE_ATTRIBUTE_READONLY;
    item.Hidden = a & inet::FILE_ATTRIBUTE_HIDDEN;
    item.System = a & inet::FILE_ATTRIBUTE_SYSTEM;
    item.Directory = a & inet::FILE_ATTRIBUTE_DIRECTORY;
    item.Archive = a & inet::FILE_ATTRIBUTE_ARCHIVE;
    item.Normal = a & inet::FILE_ATTRIBUTE_NORMAL;
    item.Temporary = a & inet::FILE_ATTRIBUTE_TEMPORARY;
    item.Compressed = a & inet::FILE_ATTRIBUTE_COMPRESSED;
    item.Offline = a & inet::FILE_ATTRIBUTE_OFFLINE;
    item.AttNothing = (a == 0);
    item.isLink = a & inet::FILE_ATTRIBUTE_REPARSE_POINT;
    return item;
}

void cdEnum::Add(quint32 lAttrib, DateValue dtCreationTime, DateValue dtLastAccessTime,
                 DateValue dtLastWriteTime, qint64 lFileSize, const QString &sFileName)
{
    cDItemAttribute item = cDItemAttribute::fromAttributes(lAttrib);
    item.CreationTime = dtCreationTime;
    item.LastAccessTime = dtLastAccessTime;
    item.LastWriteTime = dtLastWriteTime;
    item.FileSize = lFileSize;
    item.Filename = sFileName;
    add(std::move(item));
}

void cdEnum::add(cDItemAttribute item)
{
    // One hash lookup: the slot is new exactly when the index grew.
    const qsizetype before = m_index.size();
    int &slot = m_index[item.Filename];
    if (m_index.size() == before)
        return;
    slot = int(m_items.size());
    m_folded.clear(); // made again when a lookup needs it
    m_items.push_back(std::move(item));
}

const cDItemAttribute *cdEnum::Item(int index) const
{
    if (index < 1 || index > Count())
        return nullptr;
    return &m_items[size_t(index - 1)];
}

const cDItemAttribute *cdEnum::Item(const QString &key) const
{
    const auto exact = m_index.constFind(key);
    if (exact != m_index.cend())
        return &m_items[size_t(*exact)];
    if (m_folded.isEmpty() && !m_items.empty()) {
        m_folded.reserve(qsizetype(m_items.size()));
        for (size_t i = m_items.size(); i-- > 0;) // backwards: the first listed wins
            m_folded.insert(m_items[i].Filename.toCaseFolded(), int(i));
    }
    const auto folded = m_folded.constFind(key.toCaseFolded());
    return folded == m_folded.cend() ? nullptr : &m_items[size_t(*folded)];
}
