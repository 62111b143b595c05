// The entries remembered by Copy. They are references into the image, not copies of the
// data, so each one is checked before it is read: an entry counts as gone once it was
// deleted or its image was replaced, even if its memory or its path were later reused.
#pragma once

#include "EntryItemData.h"

#include "rq540/VirtualFileSystem.h"

#include <cstddef>
#include <string>
#include <vector>

class CCopiedEntries {
public:
    // Remembers the entries of the records, in their order.
    explicit CCopiedEntries(const std::vector<const EntryItemData*>& records);

    std::size_t GetCount() const { return m_entries.size(); }

    // The entry at index if it still stands at its path in vfs; null once it is gone.
    const RQ540::CUnknownHeader* Resolve(const RQ540::CVirtualFileSystem& vfs,
                                         std::size_t index) const;

    // To be called right after anything that deletes entries, before anything new is
    // created: every entry that no longer stands at its path in vfs is marked gone for good.
    void ForgetMissing(const RQ540::CVirtualFileSystem& vfs);
    // Marks every entry gone (its image is being replaced).
    void ForgetAll();

private:
    struct CopiedEntry {
        const RQ540::CUnknownHeader* pHeader;
        std::string szPath;
        bool bGone;
    };

    static const RQ540::CUnknownHeader* Locate(const RQ540::CVirtualFileSystem& vfs,
                                               const CopiedEntry& entry);

    std::vector<CopiedEntry> m_entries;
};
