#include "DibBits.h"

#include <cstddef>

CDibBits CDibBits::Blank(std::int32_t width, std::int32_t height, std::int32_t bitsPerPixel)
{
    CDibBits dib{width, height, bitsPerPixel, {}};
    dib.bits.assign(static_cast<std::size_t>(dib.Stride()) * static_cast<std::size_t>(height), 0);
    return dib;
}

bool CDibBits::IsValid() const
{
    return width > 0 && height > 0 && (bitsPerPixel == 24 || bitsPerPixel == 32) &&
           bits.size() == static_cast<std::size_t>(Stride()) * static_cast<std::size_t>(height);
}

CDibBits CDibBits::ConvertedTo(std::int32_t toBitsPerPixel) const
{
    CDibBits converted = Blank(width, height, toBitsPerPixel);
    const std::int32_t fromStep = BytesPerPixel();
    const std::int32_t toStep = converted.BytesPerPixel();
    for (std::int32_t y = 0; y < height; ++y) {
        const std::uint8_t* from = Pixel(0, y);
        std::uint8_t* to = converted.Pixel(0, y);
        for (std::int32_t x = 0; x < width; ++x, from += fromStep, to += toStep) {
            to[0] = from[0];
            to[1] = from[1];
            to[2] = from[2];
            if (toStep == 4)
                to[3] = fromStep == 4 ? from[3] : 0xFF;
        }
    }
    return converted;
}
