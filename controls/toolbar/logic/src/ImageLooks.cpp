#include "ImageLooks.h"

#include "AlphaLooks.h"

#include <algorithm>
#include <cstddef>
#include <optional>
#include <utility>

namespace {

// A 24-bit image is masked: its pixels of the mask colour are transparent.
bool IsTransparent(const CDibBits& image, const std::uint8_t* pixel)
{
    return image.bitsPerPixel == 24 && IsMaskColor(pixel[2], pixel[1], pixel[0]);
}

// Calls convert(b, g, r) on the three colour channels of every pixel; alpha, the pixels of
// a masked image's mask colour and the bytes that pad a scan line are left alone.
template <typename Convert>
CDibBits MakeLook(const CDibBits& source, Convert convert)
{
    CDibBits look = source;
    const std::int32_t step = look.BytesPerPixel();
    for (std::int32_t y = 0; y < look.height; ++y) {
        std::uint8_t* pixel = look.Pixel(0, y);
        for (std::int32_t x = 0; x < look.width; ++x, pixel += step) {
            if (!IsTransparent(look, pixel))
                convert(pixel[0], pixel[1], pixel[2]);
        }
    }
    return look;
}

}  // namespace

std::int32_t ChooseColorDepth(bool platformBlendsAlpha)
{
    return platformBlendsAlpha ? 32 : 24;
}

std::int32_t ChooseWorkingBits(std::int32_t colorDepth, std::int32_t bitmapBitsPerPixel)
{
    return colorDepth == 32 && bitmapBitsPerPixel == 32 ? 32 : 24;
}

bool CImageLooks::Create(std::int32_t cx, std::int32_t cy, std::int32_t colorDepth,
                         std::int32_t nInitial)
{
    m_cxImage = -1;
    m_cyImage = -1;
    m_imlNormal.clear();
    m_imlHot.clear();
    m_imlDisabled.clear();
    if (cx <= 0 || cy <= 0 || (colorDepth != 24 && colorDepth != 32))
        return false;
    m_nColorDepth = colorDepth;
    const auto room = static_cast<std::size_t>(nInitial > 0 ? nInitial : 0);
    m_imlNormal.reserve(room);
    m_imlHot.reserve(room);
    m_imlDisabled.reserve(room);
    m_cxImage = cx;
    m_cyImage = cy;
    return true;
}

bool CImageLooks::LoadBitmap(const CDibBits& bitmap)
{
    if (m_cxImage <= 0 || !bitmap.IsValid() || bitmap.width < m_cxImage)
        return false;
    const std::int32_t working = ChooseWorkingBits(m_nColorDepth, bitmap.bitsPerPixel);
    // A strip already at the working depth is read as it is.
    const std::optional<CDibBits> converted =
        bitmap.bitsPerPixel == working ? std::nullopt
                                       : std::optional<CDibBits>(bitmap.ConvertedTo(working));
    const CDibBits& source = converted ? *converted : bitmap;

    Append(m_imlNormal, source);
    Append(m_imlDisabled,
           MakeLook(source, [](std::uint8_t& b, std::uint8_t& g, std::uint8_t& r) {
               b = g = r = GreyValue(r, g, b);
           }));
    Append(m_imlHot, MakeLook(source, [](std::uint8_t& b, std::uint8_t& g, std::uint8_t& r) {
               b = DarkenedValue(b);
               g = DarkenedValue(g);
               r = DarkenedValue(r);
           }));
    return true;
}

const CListImage& CImageLooks::GetImage(Look look, std::int32_t index) const
{
    const std::vector<CListImage>& list =
        look == LOOK_NORMAL ? m_imlNormal : look == LOOK_HOT ? m_imlHot : m_imlDisabled;
    return list[static_cast<std::size_t>(index)];
}

void CImageLooks::Append(std::vector<CListImage>& list, const CDibBits& look) const
{
    const std::int32_t count = look.width / m_cxImage;
    const std::int32_t rows = std::min(m_cyImage, look.height);
    const bool bMasked = look.bitsPerPixel == 24;
    for (std::int32_t image = 0; image < count; ++image) {
        CListImage item{m_cxImage, m_cyImage, {}};
        item.pixels.assign(static_cast<std::size_t>(m_cxImage) * static_cast<std::size_t>(m_cyImage),
                           0);
        std::uint32_t* to = item.pixels.data();
        for (std::int32_t y = 0; y < rows; ++y) {
            const std::uint8_t* p = look.Pixel(image * m_cxImage, y);
            // One loop per depth, so the test of the depth stays out of the pixels' loop.
            if (bMasked) {
                for (std::int32_t x = 0; x < m_cxImage; ++x, p += 3) {
                    const std::uint32_t alpha = IsMaskColor(p[2], p[1], p[0]) ? 0 : 0xFF;
                    *to++ = alpha << 24 | std::uint32_t{p[2]} << 16 | std::uint32_t{p[1]} << 8 | p[0];
                }
            } else {
                for (std::int32_t x = 0; x < m_cxImage; ++x, p += 4)
                    *to++ = std::uint32_t{p[3]} << 24 | std::uint32_t{p[2]} << 16 |
                            std::uint32_t{p[1]} << 8 | p[0];
            }
        }
        list.push_back(std::move(item));
    }
}
