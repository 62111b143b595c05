// A card file: ID, type byte, and a data buffer whose size is fixed for the file's life.
// The header and its data share one allocation, so files are made only by Create and
// Copy and given back with delete.
#pragma once

#include "rq540/UnknownHeader.h"

#include <cstddef>
#include <cstdint>

namespace RQ540 {

class CFileHeader : public CUnknownHeader {
public:
    // A file whose data is zero-filled.
    static CFileHeader* Create(uint16_t id, uint8_t type, uint32_t size, CUnknownHeader* next);
    // A file whose data is a copy of size bytes at data.
    static CFileHeader* Create(uint16_t id, uint8_t type, uint32_t size, const uint8_t* data,
                               CUnknownHeader* next);
    // Same ID, type, size and bytes as source.
    static CFileHeader* Copy(const CFileHeader& source, CUnknownHeader* next);

    bool IsFolder() const override { return false; }

    uint8_t GetType() const { return m_type; }
    uint32_t GetSize() const { return m_size; }
    uint8_t* GetData() { return reinterpret_cast<uint8_t*>(this + 1); }
    const uint8_t* GetData() const { return reinterpret_cast<const uint8_t*>(this + 1); }

private:
    friend class CEntryBlock;

    // Only Create and an entry block place a header, in front of room for its data.
    CFileHeader(uint16_t id, uint8_t type, uint32_t size, CUnknownHeader* next)
        : CUnknownHeader(id, next), m_type(type), m_size(size)
    {
    }
    static void* operator new(std::size_t) = delete;
    static CFileHeader* Allocate(uint16_t id, uint8_t type, uint32_t size, CUnknownHeader* next);

    uint8_t m_type;
    uint32_t m_size;
};

}  // namespace RQ540
