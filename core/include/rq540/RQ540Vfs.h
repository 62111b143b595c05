// The card of an RQ540 key: the file system with the model's depth limit, and the
// simulated hardware information, which is never part of an image.
#pragma once

#include "rq540/VirtualFileSystem.h"

#include <array>
#include <cstdint>

namespace RQ540 {

class CRQ540Vfs : public CVirtualFileSystem {
public:
    CRQ540Vfs() = default;
    explicit CRQ540Vfs(int32_t model) : CVirtualFileSystem(model) {}

    bool IsDepthAllowed(uint32_t depth) const override;

    void SetSerialNumber(const uint8_t* serial);
    void GetSerialNumber(uint8_t* serial) const;
    void SetCustomerNumber(uint32_t customer) { m_customerNumber = customer; }
    uint32_t GetCustomerNumber() const { return m_customerNumber; }

    static constexpr std::size_t SERIAL_NUMBER_SIZE = 8;

private:
    std::array<uint8_t, SERIAL_NUMBER_SIZE> m_serialNumber{};
    uint32_t m_customerNumber = 0;
};

}  // namespace RQ540
