// SHA-256 of a byte sequence, so that a build log names exactly which image went onto a
// key: the digest equals the one sha256sum prints for the same bytes.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

namespace RQ540::Cli {

class CSha256 {
public:
    using Digest = std::array<uint8_t, 32>;

    CSha256();

    // Adds bytes to the message; may be called any number of times, in pieces of any size.
    void Update(std::span<const uint8_t> bytes);
    // The digest of everything added so far. The object is spent: start a new one for the
    // next message.
    Digest Finish();

    // The digest of bytes as 64 lower-case hexadecimal digits, as sha256sum writes it.
    static std::string Hex(std::span<const uint8_t> bytes);

private:
    void Compress(const uint8_t* block);

    std::array<uint32_t, 8> m_state;
    std::array<uint8_t, 64> m_block{};
    std::size_t m_filled = 0;  // bytes waiting in m_block
    uint64_t m_length = 0;     // bytes added in all
};

}  // namespace RQ540::Cli
