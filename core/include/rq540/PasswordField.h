// Passwords are fixed-length byte fields inside the card, never text: a typed password is
// copied into a zero-filled buffer and cut at the card model's length, so a shorter text
// is padded with zero bytes. Every model's lengths fit in the buffer.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace RQ540 {

inline constexpr std::size_t PASSWORD_BUFFER_SIZE = 128;

using PasswordBuffer = std::array<uint8_t, PASSWORD_BUFFER_SIZE>;

// text in a zero-filled buffer, at most length bytes of it (and never more than the buffer).
PasswordBuffer PasswordField(std::string_view text, uint32_t length);

}  // namespace RQ540
