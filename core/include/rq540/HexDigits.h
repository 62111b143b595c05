// IDs are written as hexadecimal digits everywhere the card is named in text: four
// upper-case digits ("%04X"), read back digit by digit in either case.
#pragma once

#include <cstdint>
#include <string>

namespace RQ540 {

// Digits of an entry ID as the card shows it.
inline constexpr int ID_DIGITS = 4;

// 0 to 15 for 0-9, a-f and A-F; -1 for any other character, wide ones included.
constexpr int HexDigitValue(char32_t c)
{
    if (c >= U'0' && c <= U'9')
        return static_cast<int>(c - U'0');
    if (c >= U'a' && c <= U'f')
        return static_cast<int>(c - U'a' + 10);
    if (c >= U'A' && c <= U'F')
        return static_cast<int>(c - U'A' + 10);
    return -1;
}

// The low digits hexadecimal digits of value, upper case, zero-padded on the left.
std::string FormatHex(uint32_t value, int digits);

// An ID as the card shows it: "%04X".
std::string FormatId(uint16_t id);

}  // namespace RQ540
