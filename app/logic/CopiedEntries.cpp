#include "CopiedEntries.h"

#include "rq540/CardPath.h"
#include "rq540/EntryTree.h"
#include "rq540/FolderHeader.h"

CCopiedEntries::CCopiedEntries(const std::vector<const EntryItemData*>& records)
{
    m_entries.reserve(records.size());
    for (const EntryItemData* record : records)
        m_entries.push_back({record->pHeader, record->szPath, false});
}

const RQ540::CUnknownHeader* CCopiedEntries::Resolve(const RQ540::CVirtualFileSystem& vfs,
                                                     std::size_t index) const
{
    if (index >= m_entries.size() || m_entries[index].bGone)
        return nullptr;
    return Locate(vfs, m_entries[index]);
}

void CCopiedEntries::ForgetMissing(const RQ540::CVirtualFileSystem& vfs)
{
    for (CopiedEntry& entry : m_entries) {
        if (!entry.bGone && !Locate(vfs, entry))
            entry.bGone = true;
    }
}

void CCopiedEntries::ForgetAll()
{
    for (CopiedEntry& entry : m_entries)
        entry.bGone = true;
}

// Walks the path from the root and compares the addresses of the children of the last
// folder with the remembered one, so nothing remembered is ever followed.
const RQ540::CUnknownHeader* CCopiedEntries::Locate(const RQ540::CVirtualFileSystem& vfs,
                                                    const CopiedEntry& entry)
{
    const auto path = RQ540::CCardPath::ParseChangeDirectoryText(entry.szPath);
    const RQ540::CFolderHeader* folder = vfs.GetRoot();
    if (!path || path->IsRoot() || !folder)
        return nullptr;
    const std::vector<uint16_t>& ids = path->GetIds();
    for (std::size_t level = 0; level + 1 < ids.size(); ++level) {
        folder = RQ540::FindChildFolder(folder, ids[level]);
        if (!folder)
            return nullptr;
    }
    for (const RQ540::CUnknownHeader* child = folder->GetFirstChild(); child;
         child = child->GetNext()) {
        if (child == entry.pHeader)
            return child;
    }
    return nullptr;
}
