// Passwords are fixed-length byte fields inside the card, never text: a typed password is
// copied into a zero-filled buffer and cut at the card model's length, so a shorter text
// is padded with zero bytes. Every model's lengths fit in the buffer.
//
// An editor shows a stored field as text and must give back exactly the bytes it showed,
// also bytes that are not UTF-8 (an image made with an 8-bit code page, a character cut
// at the field's end). PasswordFieldText and PasswordFieldBytes are inverse for every
// field: each byte that is not part of a valid UTF-8 character, and each zero byte
// before the padding, becomes the lone low surrogate U+DC00 + byte in the text, which
// neither valid UTF-8 nor typing can produce.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace RQ540 {

inline constexpr std::size_t PASSWORD_BUFFER_SIZE = 128;

using PasswordBuffer = std::array<uint8_t, PASSWORD_BUFFER_SIZE>;

// text in a zero-filled buffer, at most length bytes of it (and never more than the buffer).
PasswordBuffer PasswordField(std::string_view text, uint32_t length);

// The stored bytes of a field as UTF-16 text; the zero bytes that end the field are its
// padding and left out.
std::u16string PasswordFieldText(std::span<const uint8_t> field);
// The bytes text stands for: an escaped byte as itself, every other character in UTF-8
// (a surrogate without its partner as U+FFFD).
std::string PasswordFieldBytes(std::u16string_view text);
// Whether text fits a field of length bytes whole; a text that does not would be cut,
// possibly inside a character.
bool FitsPasswordField(std::u16string_view text, uint32_t length);

}  // namespace RQ540
