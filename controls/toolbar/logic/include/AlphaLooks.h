// The colour rules of the tool bar's looks: the grey of a disabled image, the darkened
// channel of a hot image and the silver mask colour of 24-bit strips.
#pragma once

#include <cstdint>

// Every channel of the mask colour RGB(192,192,192); a pixel is mask only when all three
// channels equal it.
inline constexpr std::uint8_t MASK_CHANNEL = 192;

inline constexpr bool IsMaskColor(std::uint8_t r, std::uint8_t g, std::uint8_t b)
{
    return r == MASK_CHANNEL && g == MASK_CHANNEL && b == MASK_CHANNEL;
}

// 255 x sqrt(L / 255) with L = 0.299 R + 0.587 G + 0.114 B, truncated toward zero. Mid
// tones come out lighter: L = 64 gives 127.
std::uint8_t GreyValue(std::uint8_t r, std::uint8_t g, std::uint8_t b);

// 255 x (c / 255)^1.4, truncated toward zero. Black and white stay; 128 gives 97.
std::uint8_t DarkenedValue(std::uint8_t c);
