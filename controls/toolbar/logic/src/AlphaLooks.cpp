#include "AlphaLooks.h"

#include <array>
#include <cmath>

// Both rules are evaluated in exact integers, so truncation never lands one below a
// result that floating point would round to just under a whole number.

namespace {

// d <= 255 (c / 255)^1.4  <=>  (d / 255)^5 <= (c / 255)^7  <=>  d^5 * 255^2 <= c^7;
// c^7 stays below 2^56, so every term fits in 64 bits.
constexpr std::array<std::uint8_t, 256> MakeDarkenTable()
{
    std::array<std::uint8_t, 256> table{};
    std::uint64_t d = 0;
    for (std::uint64_t c = 0; c < 256; ++c) {
        const std::uint64_t c7 = c * c * c * c * c * c * c;
        while (d < 255 && (d + 1) * (d + 1) * (d + 1) * (d + 1) * (d + 1) * 255 * 255 <= c7)
            ++d;
        table[c] = static_cast<std::uint8_t>(d);
    }
    return table;
}

constexpr std::array<std::uint8_t, 256> g_darkened = MakeDarkenTable();

}  // namespace

std::uint8_t GreyValue(std::uint8_t r, std::uint8_t g, std::uint8_t b)
{
    // grey = floor(sqrt(255 * L)), and 1000 L = 299 R + 587 G + 114 B is a whole number:
    // the largest grey with 1000 grey^2 <= 255 * 1000 L.
    const std::uint32_t limit = 255u * (299u * r + 587u * g + 114u * b);
    auto grey = static_cast<std::uint32_t>(std::sqrt(limit / 1000.0));
    while (grey > 0 && 1000u * grey * grey > limit)
        --grey;
    while (grey < 255 && 1000u * (grey + 1) * (grey + 1) <= limit)
        ++grey;
    return static_cast<std::uint8_t>(grey);
}

std::uint8_t DarkenedValue(std::uint8_t c)
{
    return g_darkened[c];
}
