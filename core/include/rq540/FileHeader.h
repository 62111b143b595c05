// A card file: ID, type byte, and a data buffer whose size is fixed for the file's life.
#pragma once

#include "rq540/UnknownHeader.h"

#include <cstdint>
#include <memory>

namespace RQ540 {

class CFileHeader : public CUnknownHeader {
public:
    // The data is zero-filled.
    CFileHeader(uint16_t id, uint8_t type, uint32_t size, CUnknownHeader* next);
    // Same ID, type, size and bytes as source, in a buffer of its own.
    CFileHeader(const CFileHeader& source, CUnknownHeader* next);

    bool IsFolder() const override { return false; }

    uint8_t GetType() const { return m_type; }
    uint32_t GetSize() const { return m_size; }
    uint8_t* GetData() { return m_data.get(); }
    const uint8_t* GetData() const { return m_data.get(); }

private:
    uint8_t m_type;
    uint32_t m_size;
    std::unique_ptr<uint8_t[]> m_data;
};

}  // namespace RQ540
