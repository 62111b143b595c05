// The pixels of a device-independent bitmap as the tool bar's images are built from:
// top-down scan lines of BGR (24 bits) or BGRA (32 bits) pixels, each scan line padded
// with bytes that are not pixels to a multiple of 4 bytes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

struct CDibBits {
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::int32_t bitsPerPixel = 24;   // 24 or 32
    std::vector<std::uint8_t> bits;   // Stride() x height bytes

    // An image of width x height pixels at bitsPerPixel, every byte 0.
    static CDibBits Blank(std::int32_t width, std::int32_t height, std::int32_t bitsPerPixel);

    // Bytes of one scan line: the pixel bytes rounded up to a multiple of 4.
    static std::int32_t Stride(std::int32_t width, std::int32_t bitsPerPixel)
    {
        return (bitsPerPixel / 8 * width + 3) & ~3;
    }
    std::int32_t Stride() const { return Stride(width, bitsPerPixel); }
    std::int32_t BytesPerPixel() const { return bitsPerPixel / 8; }

    // False for an empty image, a depth other than 24 or 32 or bits of the wrong size.
    bool IsValid() const;

    // The first byte (blue) of pixel (x, y); the caller keeps x and y inside the image.
    // Inline: the looks are built pixel by pixel at every start.
    std::uint8_t* Pixel(std::int32_t x, std::int32_t y)
    {
        return bits.data() + static_cast<std::ptrdiff_t>(y) * Stride() + x * BytesPerPixel();
    }
    const std::uint8_t* Pixel(std::int32_t x, std::int32_t y) const
    {
        return bits.data() + static_cast<std::ptrdiff_t>(y) * Stride() + x * BytesPerPixel();
    }

    // The pixels of a bitmap file of 24 bits per pixel, uncompressed, bottom-up or
    // top-down: a file header, an information header of 40 bytes or more, the pixels at
    // the offset the file header gives. Nothing for another depth, a compression, an empty
    // or oversized image, or a file that ends before its last scan line.
    static std::optional<CDibBits> FromBmp24(std::span<const std::uint8_t> file);

    // The same pixels read at another depth: to 24 bits the alpha is dropped, to 32 bits
    // every pixel becomes opaque.
    CDibBits ConvertedTo(std::int32_t toBitsPerPixel) const;
};
