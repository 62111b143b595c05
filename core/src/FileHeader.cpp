#include "rq540/FileHeader.h"

#include <algorithm>

namespace RQ540 {

CFileHeader::CFileHeader(uint16_t id, uint8_t type, uint32_t size, CUnknownHeader* next)
    : CUnknownHeader(id, next), m_type(type), m_size(size), m_data(new uint8_t[size]())
{
}

CFileHeader::CFileHeader(const CFileHeader& source, CUnknownHeader* next)
    : CUnknownHeader(source.GetId(), next),
      m_type(source.m_type),
      m_size(source.m_size),
      m_data(new uint8_t[source.m_size])
{
    std::copy_n(source.m_data.get(), m_size, m_data.get());
}

}  // namespace RQ540
