#include "rq540/FileHeader.h"

#include <algorithm>
#include <new>

namespace RQ540 {

CFileHeader* CFileHeader::Allocate(uint16_t id, uint8_t type, uint32_t size, CUnknownHeader* next)
{
    void* memory = ::operator new(sizeof(CFileHeader) + size);
    return ::new (memory) CFileHeader(id, type, size, next);
}

CFileHeader* CFileHeader::Create(uint16_t id, uint8_t type, uint32_t size, CUnknownHeader* next)
{
    CFileHeader* file = Allocate(id, type, size, next);
    std::fill_n(file->GetData(), size, uint8_t{0});
    return file;
}

CFileHeader* CFileHeader::Create(uint16_t id, uint8_t type, uint32_t size, const uint8_t* data,
                                 CUnknownHeader* next)
{
    CFileHeader* file = Allocate(id, type, size, next);
    std::copy_n(data, size, file->GetData());
    return file;
}

CFileHeader* CFileHeader::Copy(const CFileHeader& source, CUnknownHeader* next)
{
    return Create(source.GetId(), source.m_type, source.m_size, source.GetData(), next);
}

}  // namespace RQ540
