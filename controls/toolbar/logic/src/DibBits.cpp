#include "DibBits.h"

#include <cstddef>

CDibBits CDibBits::Blank(std::int32_t width, std::int32_t height, std::int32_t bitsPerPixel)
{
    CDibBits dib{width, height, bitsPerPixel, {}};
    dib.bits.assign(static_cast<std::size_t>(dib.Stride()) * static_cast<std::size_t>(height), 0);
    return dib;
}

std::int32_t CDibBits::Stride(std::int32_t width, std::int32_t bitsPerPixel)
{
    return (bitsPerPixel / 8 * width + 3) & ~3;
}

bool CDibBits::IsValid() const
{
    return width > 0 && height > 0 && (bitsPerPixel == 24 || bitsPerPixel == 32) &&
           bits.size() == static_cast<std::size_t>(Stride()) * static_cast<std::size_t>(height);
}

std::uint8_t* CDibBits::Pixel(std::int32_t x, std::int32_t y)
{
    return bits.data() + static_cast<std::ptrdiff_t>(y) * Stride() + x * BytesPerPixel();
}

const std::uint8_t* CDibBits::Pixel(std::int32_t x, std::int32_t y) const
{
    return bits.data() + static_cast<std::ptrdiff_t>(y) * Stride() + x * BytesPerPixel();
}

CDibBits CDibBits::ConvertedTo(std::int32_t toBitsPerPixel) const
{
    CDibBits converted = Blank(width, height, toBitsPerPixel);
    for (std::int32_t y = 0; y < height; ++y) {
        for (std::int32_t x = 0; x < width; ++x) {
            const std::uint8_t* from = Pixel(x, y);
            std::uint8_t* to = converted.Pixel(x, y);
            to[0] = from[0];
            to[1] = from[1];
            to[2] = from[2];
            if (toBitsPerPixel == 32)
                to[3] = bitsPerPixel == 32 ? from[3] : 0xFF;
        }
    }
    return converted;
}
