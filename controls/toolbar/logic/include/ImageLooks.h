// The three image lists of a tool bar (normal, hot and disabled) built from one strip of
// images side by side, without any window system: the rules of the alpha image list.
//
// Two paths fill the lists. The 32-bit path keeps the strip's alpha and takes every pixel
// as it is. The 24-bit path reads the strip as BGR and makes every pixel of exactly the
// silver mask colour transparent, in every look. The hot and disabled looks are computed
// from the strip's own pixels each time, never from another look.
#pragma once

#include "DibBits.h"

#include <cstddef>
#include <cstdint>
#include <vector>

// One image of a list: width x height pixels as 0xAARRGGBB, row by row; transparent
// pixels have alpha 0.
struct CListImage {
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::vector<std::uint32_t> pixels;

    std::uint32_t At(std::int32_t x, std::int32_t y) const
    {
        return pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) +
                      static_cast<std::size_t>(x)];
    }
};

// The colour depth of the image lists: 32 where the platform draws images with their
// alpha channel, 24 (masked images) where it cannot.
std::int32_t ChooseColorDepth(bool platformBlendsAlpha);

// The format the strip is read in: 32 only when the lists are 32-bit and the strip itself
// has 32 bits per pixel; otherwise 24, the masked path (a 24-bit strip always takes it).
std::int32_t ChooseWorkingBits(std::int32_t colorDepth, std::int32_t bitmapBitsPerPixel);

class CImageLooks {
public:
    enum Look { LOOK_NORMAL, LOOK_HOT, LOOK_DISABLED };

    // Starts over: empties the three lists and sizes them for images of cx x cy pixels at
    // colorDepth (24 or 32), with room for nInitial images. Any other depth, or a size not
    // above 0, is refused and leaves the lists empty and unsized.
    bool Create(std::int32_t cx, std::int32_t cy, std::int32_t colorDepth, std::int32_t nInitial);

    // Appends the strip's images to all three lists: strip width / cx images, each the top
    // cy rows of its column (rows below a shorter strip are transparent). Refused before a
    // successful Create, for an invalid bitmap and for a strip narrower than one image;
    // a refusal adds nothing.
    bool LoadBitmap(const CDibBits& bitmap);

    std::int32_t GetImageCount() const { return static_cast<std::int32_t>(m_imlNormal.size()); }
    // Image index of list look; the caller keeps index below GetImageCount().
    const CListImage& GetImage(Look look, std::int32_t index) const;

    std::int32_t GetColorDepth() const { return m_nColorDepth; }
    std::int32_t GetImageWidth() const { return m_cxImage; }

private:
    void Append(std::vector<CListImage>& list, const CDibBits& look) const;

    std::vector<CListImage> m_imlNormal;
    std::vector<CListImage> m_imlHot;
    std::vector<CListImage> m_imlDisabled;
    std::int32_t m_nColorDepth = 24;
    std::int32_t m_cxImage = -1;
    std::int32_t m_cyImage = -1;
};
