// The abstract entry of the card's tree: a folder or a file, linked into its parent's
// child list through next.
#pragma once

#include <cstdint>

namespace RQ540 {

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

private:
    uint16_t m_id;
    CUnknownHeader* m_next;
};

}  // namespace RQ540
