// The abstract entry of the card's tree: a folder or a file, linked into its parent's
// child list through next.
#pragma once

#include <cstdint>
#include <new>

namespace RQ540 {

class CEntryBlock;

class CUnknownHeader {
public:
    CUnknownHeader(uint16_t id, CUnknownHeader* next) : m_id(id), m_next(next) {}
    virtual ~CUnknownHeader() = default;
    virtual bool IsFolder() const = 0;

    CUnknownHeader(const CUnknownHeader&) = delete;
    CUnknownHeader& operator=(const CUnknownHeader&) = delete;

    uint16_t GetId() const { return m_id; }
    CUnknownHeader* GetNext() const { return m_next; }
    void SetNext(CUnknownHeader* next) { m_next = next; }
    // The link field itself, so list surgery can unlink without a back pointer.
    CUnknownHeader** GetNextLink() { return &m_next; }

    // Every entry, of whatever type, is destroyed and given back through here: one read
    // from an image may live in the block of its image rather than alone.
    static void operator delete(CUnknownHeader* entry, std::destroying_delete_t);

private:
    friend class CEntryBlock;

    uint16_t m_id;
    // Where the entry lies in its block; 0 for an entry allocated alone.
    uint32_t m_blockOffset = 0;
    CUnknownHeader* m_next;
};

}  // namespace RQ540
