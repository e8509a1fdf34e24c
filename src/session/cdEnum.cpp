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
    return item;
}

void cdEnum::Add(quint32 lAttrib, DateValue dtCreationTime, DateValue dtLastAccessTime,
                 DateValue dtLastWriteTime, qint64 lFileSize, const QString &sFileName)
{
    const QString key = sFileName.toCaseFolded();
    if (m_index.contains(key))
        return;
    cDItemAttribute item = cDItemAttribute::fromAttributes(lAttrib);
    item.CreationTime = dtCreationTime;
    item.LastAccessTime = dtLastAccessTime;
    item.LastWriteTime = dtLastWriteTime;
    item.FileSize = lFileSize;
    item.Filename = sFileName;
    m_index.insert(key, int(m_items.size()));
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
    const auto it = m_index.constFind(key.toCaseFolded());
    return it == m_index.cend() ? nullptr : &m_items[size_t(*it)];
}
