#include "transfer/WalkedRows.h"

#include "session/DateValue.h"
#include "session/FileTypes.h"

namespace {
// Log texts of what the walk leaves out.
constexpr int kUnsafeNameId = 790;
constexpr int kFolderNotEnteredId = 792;
constexpr int kLinkLoopId = 873;
constexpr int kTooDeepId = 874;
} // namespace

WalkedRows::WalkedRows(QString localBase, Sink sink) : m_localBase(std::move(localBase)), m_sink(std::move(sink)) {}

void WalkedRows::add(const ftp::Folder &folder)
{
    m_folders.push_back(folder);
    if (m_folders.size() == 1)
        open();
    advance();
}

// The walked folder itself, or the folder at the entry the reading stands on.
void WalkedRows::open()
{
    const ftp::Folder &f = m_folders[m_next];
    const size_t index = m_next++;
    if (f.leadsBack) {
        m_sink.refused(kLinkLoopId, f.path);
        return;
    }
    if (f.tooDeep) {
        m_sink.refused(kTooDeepId, f.path);
        return;
    }
    if (!f.entered) {
        // A folder that cannot be entered would list another one instead.
        m_sink.refused(kFolderNotEnteredId, f.path);
        return;
    }
    m_stack.push_back({index, 0, TransferQueue::chkdir(m_localBase, f.relative)});
}

// An entry that becomes no row, with the log line that says why (none for
// "." and ".."). A folder waiting for its listing is asked again later, and
// is never one of these.
bool WalkedRows::leftOut(const ftp::Folder &folder, const inet::FindRecord &e) const
{
    if (e.name == QLatin1String(".") || e.name == QLatin1String(".."))
        return true;
    if (isUnsafeRemoteName(e.name)) {
        m_sink.refused(kUnsafeNameId, e.name);
        return true;
    }
    if ((e.attributes & inet::FILE_ATTRIBUTE_REPARSE_POINT) && linkLeadsBack(folder.path, e.linkTarget)) {
        m_sink.refused(kLinkLoopId, TransferQueue::joinRemote(folder.path, e.name));
        return true;
    }
    return false;
}

void WalkedRows::advance()
{
    while (!m_stack.empty()) {
        Frame &top = m_stack.back();
        const ftp::Folder &f = m_folders[top.folder];
        if (top.entry >= f.entries.size()) {
            m_stack.pop_back();
            continue;
        }
        const inet::FindRecord &e = f.entries[top.entry];
        if (leftOut(f, e)) {
            ++top.entry;
            continue;
        }
        if (e.attributes & inet::FILE_ATTRIBUTE_DIRECTORY) {
            if (m_next >= m_folders.size())
                return; // its listing is still to come
            ++top.entry;
            open(); // `top` may be gone after this
            continue;
        }
        ++top.entry;
        // What the listing did not give stays unknown in the row, not 0 or 1601.
        RemoteSelection file;
        file.name = e.name;
        file.size = e.sizeKnown ? e.size : -1;
        if (e.timeKnown)
            file.date = dateTimeFromDateValue(FileTimeToDate(e.lastWriteTime));
        m_sink.file(file, f.path, m_stack.back().localFolder);
    }
}
