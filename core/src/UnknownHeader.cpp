#include "rq540/UnknownHeader.h"

#include "EntryBlock.h"

namespace RQ540 {

void CUnknownHeader::operator delete(CUnknownHeader* entry, std::destroying_delete_t)
{
    if (entry->m_blockOffset != 0) {
        CEntryBlock::Delete(entry);
        return;
    }
    entry->~CUnknownHeader();
    ::operator delete(entry);
}

}  // namespace RQ540
