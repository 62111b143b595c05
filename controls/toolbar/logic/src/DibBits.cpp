#include "DibBits.h"

#include <cstddef>
#include <cstring>
#include <limits>

namespace {

constexpr std::size_t FILE_HEADER_SIZE = 14;
constexpr std::size_t INFO_HEADER_SIZE = 40;

std::uint32_t U32At(std::span<const std::uint8_t> bytes, std::size_t at)
{
    return std::uint32_t{bytes[at]} | std::uint32_t{bytes[at + 1]} << 8 |
           std::uint32_t{bytes[at + 2]} << 16 | std::uint32_t{bytes[at + 3]} << 24;
}

std::uint16_t U16At(std::span<const std::uint8_t> bytes, std::size_t at)
{
    return static_cast<std::uint16_t>(bytes[at] | bytes[at + 1] << 8);
}

}  // namespace

CDibBits CDibBits::Blank(std::int32_t width, std::int32_t height, std::int32_t bitsPerPixel)
{
    CDibBits dib{width, height, bitsPerPixel, {}};
    dib.bits.assign(static_cast<std::size_t>(dib.Stride()) * static_cast<std::size_t>(height), 0);
    return dib;
}

std::optional<CDibBits> CDibBits::FromBmp24(std::span<const std::uint8_t> file)
{
    if (file.size() < FILE_HEADER_SIZE + INFO_HEADER_SIZE || file[0] != 'B' || file[1] != 'M')
        return std::nullopt;
    const std::uint32_t pixelsAt = U32At(file, 10);
    const std::uint32_t headerSize = U32At(file, 14);
    const auto width = static_cast<std::int32_t>(U32At(file, 18));
    const auto height = static_cast<std::int32_t>(U32At(file, 22));
    const std::uint16_t planes = U16At(file, 26);
    const std::uint16_t bitCount = U16At(file, 28);
    const std::uint32_t compression = U32At(file, 30);
    // A width whose scan line overflows the stride arithmetic is refused with the rest.
    constexpr std::int32_t MAX_WIDTH = (std::numeric_limits<std::int32_t>::max() - 3) / 3;
    if (headerSize < INFO_HEADER_SIZE || planes != 1 || bitCount != 24 || compression != 0 ||
        width <= 0 || width > MAX_WIDTH || height == 0 ||
        height == std::numeric_limits<std::int32_t>::min())
        return std::nullopt;
    // A positive height stores the bottom scan line first.
    const bool bBottomUp = height > 0;
    const std::int32_t rows = bBottomUp ? height : -height;
    const auto stride = static_cast<std::size_t>(Stride(width, 24));
    if (pixelsAt > file.size() ||
        (file.size() - pixelsAt) / stride < static_cast<std::size_t>(rows))
        return std::nullopt;
    CDibBits dib = Blank(width, rows, 24);
    const auto pixelBytes = static_cast<std::size_t>(width) * 3;
    for (std::int32_t y = 0; y < rows; ++y) {
        const std::int32_t stored = bBottomUp ? rows - 1 - y : y;
        std::memcpy(dib.Pixel(0, y), file.data() + pixelsAt + static_cast<std::size_t>(stored) * stride,
                    pixelBytes);
    }
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
