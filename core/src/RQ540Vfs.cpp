#include "rq540/RQ540Vfs.h"

#include <algorithm>

namespace RQ540 {

bool CRQ540Vfs::IsDepthAllowed(uint32_t depth) const
{
    return depth <= GetMaxDepth(GetModel());
}

void CRQ540Vfs::SetSerialNumber(const uint8_t* serial)
{
    std::copy_n(serial, SERIAL_NUMBER_SIZE, m_serialNumber.begin());
}

void CRQ540Vfs::GetSerialNumber(uint8_t* serial) const
{
    std::copy(m_serialNumber.begin(), m_serialNumber.end(), serial);
}

}  // namespace RQ540
