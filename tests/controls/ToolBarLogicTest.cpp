// The tool bar's rules without widgets: the grey and darkened values, the three looks on
// the 24-bit masked and 32-bit alpha paths, the image lists' bookkeeping and the template.
// Strips are built here pixel by pixel.
#include "AlphaLooks.h"
#include "DibBits.h"
#include "ImageLooks.h"
#include "ToolBarTemplate.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <optional>
#include <vector>

namespace {

struct Bgra {
    std::uint8_t b, g, r, a = 0xFF;
};

// A strip one pixel per entry wide and rows high, every row the same pixels.
CDibBits Strip(const std::vector<Bgra>& pixels, std::int32_t bitsPerPixel, std::int32_t rows = 1)
{
    CDibBits dib = CDibBits::Blank(static_cast<std::int32_t>(pixels.size()), rows, bitsPerPixel);
    for (std::int32_t y = 0; y < rows; ++y) {
        for (std::size_t x = 0; x < pixels.size(); ++x) {
            std::uint8_t* p = dib.Pixel(static_cast<std::int32_t>(x), y);
            p[0] = pixels[x].b;
            p[1] = pixels[x].g;
            p[2] = pixels[x].r;
            if (bitsPerPixel == 32)
                p[3] = pixels[x].a;
        }
    }
    return dib;
}

std::uint32_t Argb(std::uint32_t a, std::uint32_t r, std::uint32_t g, std::uint32_t b)
{
    return a << 24 | r << 16 | g << 8 | b;
}

// Loads strip as images of 1 x 1 pixel into lists of colorDepth.
CImageLooks LoadPixels(const CDibBits& strip, std::int32_t colorDepth)
{
    CImageLooks looks;
    EXPECT_TRUE(looks.Create(1, 1, colorDepth, 4));
    EXPECT_TRUE(looks.LoadBitmap(strip));
    return looks;
}

std::uint32_t PixelOf(const CImageLooks& looks, CImageLooks::Look look, std::int32_t index)
{
    return looks.GetImage(look, index).At(0, 0);
}

// A bitmap file of width x rows pixels at bitCount, scan lines stored bottom-up (or
// top-down) and padded to 4 bytes; pixel (x, y) has blue x, green y and red 7.
std::vector<std::uint8_t> BmpFile(std::int32_t width, std::int32_t rows, bool bottomUp,
                                  std::uint16_t bitCount = 24, std::uint32_t compression = 0)
{
    const std::int32_t stride = CDibBits::Stride(width, bitCount);
    std::vector<std::uint8_t> file;
    const auto put = [&file](std::uint32_t value, int bytes) {
        for (int index = 0; index < bytes; ++index, value >>= 8)
            file.push_back(static_cast<std::uint8_t>(value & 0xFF));
    };
    put('B' | 'M' << 8, 2);
    put(54 + static_cast<std::uint32_t>(stride * rows), 4);
    put(0, 4);
    put(54, 4);
    put(40, 4);
    put(static_cast<std::uint32_t>(width), 4);
    put(static_cast<std::uint32_t>(bottomUp ? rows : -rows), 4);
    put(1, 2);
    put(bitCount, 2);
    put(compression, 4);
    put(0, 20);
    for (std::int32_t stored = 0; stored < rows; ++stored) {
        const std::int32_t y = bottomUp ? rows - 1 - stored : stored;
        for (std::int32_t x = 0; x < width; ++x) {
            file.push_back(static_cast<std::uint8_t>(x));
            file.push_back(static_cast<std::uint8_t>(y));
            file.push_back(7);
            if (bitCount == 32)
                file.push_back(0xFF);
        }
        for (std::int32_t pad = width * (bitCount / 8); pad < stride; ++pad)
            file.push_back(0xEE);
    }
    return file;
}

const Bgra g_mask{192, 192, 192};
const Bgra g_nearMask{193, 192, 192};   // RGB(192,192,193)

}  // namespace

// The known values, then every channel value against the formulas in floating point,
// wherever that is not within rounding distance of a whole number.
TEST(LookValues, GreyAndDarkenedFollowTheirFormulas)
{
    EXPECT_EQ(GreyValue(64, 64, 64), 127);   // L = 64
    EXPECT_EQ(GreyValue(0, 0, 0), 0);
    EXPECT_EQ(GreyValue(255, 255, 255), 255);
    EXPECT_EQ(DarkenedValue(128), 97);
    EXPECT_EQ(DarkenedValue(0), 0);
    EXPECT_EQ(DarkenedValue(255), 255);
    for (int c = 0; c < 256; ++c) {
        const double darkened = 255.0 * std::pow(c / 255.0, 1.4);
        if (std::abs(darkened - std::round(darkened)) > 1e-9) {
            EXPECT_EQ(DarkenedValue(static_cast<std::uint8_t>(c)), static_cast<int>(darkened)) << c;
        }
        for (int other : {0, 77, 255}) {
            const auto r = static_cast<std::uint8_t>(c), g = static_cast<std::uint8_t>(other),
                       b = static_cast<std::uint8_t>(255 - c);
            const double grey = 255.0 * std::sqrt((0.299 * r + 0.587 * g + 0.114 * b) / 255.0);
            if (std::abs(grey - std::round(grey)) > 1e-9) {
                EXPECT_EQ(GreyValue(r, g, b), static_cast<int>(grey)) << c << ' ' << other;
            }
        }
    }
}

TEST(MaskedPath, MaskPixelStaysTransparentInAllThreeLooksAndNearMaskIsConverted)
{
    const Bgra dark{20, 80, 140};
    for (std::int32_t depth : {24, 32}) {
        const CImageLooks looks = LoadPixels(Strip({g_mask, g_nearMask, dark}, 24), depth);
        ASSERT_EQ(looks.GetImageCount(), 3);
        for (auto look : {CImageLooks::LOOK_NORMAL, CImageLooks::LOOK_HOT, CImageLooks::LOOK_DISABLED})
            EXPECT_EQ(PixelOf(looks, look, 0) >> 24, 0u) << depth << ' ' << look;

        EXPECT_EQ(PixelOf(looks, CImageLooks::LOOK_NORMAL, 1), Argb(255, 192, 192, 193));
        EXPECT_EQ(PixelOf(looks, CImageLooks::LOOK_DISABLED, 1), Argb(255, 221, 221, 221));
        EXPECT_EQ(PixelOf(looks, CImageLooks::LOOK_HOT, 1),
                  Argb(255, DarkenedValue(192), DarkenedValue(192), DarkenedValue(193)));
        // Each look comes from the strip itself: the hot look is not a darkened grey.
        EXPECT_EQ(PixelOf(looks, CImageLooks::LOOK_HOT, 2),
                  Argb(255, DarkenedValue(140), DarkenedValue(80), DarkenedValue(20)));
    }
}

TEST(AlphaPath, HotAndDisabledKeepTheSourceAlphaAndNothingIsMask)
{
    const CImageLooks looks =
        LoadPixels(Strip({{10, 20, 30, 0x40}, {192, 192, 192, 0xFF}, {200, 100, 50, 0}}, 32), 32);
    EXPECT_EQ(PixelOf(looks, CImageLooks::LOOK_NORMAL, 0), Argb(0x40, 30, 20, 10));
    const std::uint8_t alphas[] = {0x40, 0xFF, 0x00};
    for (std::int32_t index = 0; index < 3; ++index) {
        EXPECT_EQ(PixelOf(looks, CImageLooks::LOOK_HOT, index) >> 24, alphas[index]);
        EXPECT_EQ(PixelOf(looks, CImageLooks::LOOK_DISABLED, index) >> 24, alphas[index]);
    }
    const std::uint32_t grey = GreyValue(192, 192, 192);
    EXPECT_EQ(PixelOf(looks, CImageLooks::LOOK_DISABLED, 1), Argb(255, grey, grey, grey));
}

TEST(AlphaPath, ListsWithoutAlphaReadA32BitStripAs24Bit)
{
    EXPECT_EQ(ChooseColorDepth(true), 32);
    EXPECT_EQ(ChooseColorDepth(false), 24);
    EXPECT_EQ(ChooseWorkingBits(32, 32), 32);
    EXPECT_EQ(ChooseWorkingBits(32, 24), 24);   // a 24-bit strip goes masked even in 32-bit lists
    EXPECT_EQ(ChooseWorkingBits(24, 32), 24);
    const CImageLooks looks = LoadPixels(Strip({{10, 20, 30, 0x40}, {192, 192, 192, 0x80}}, 32), 24);
    EXPECT_EQ(PixelOf(looks, CImageLooks::LOOK_NORMAL, 0), Argb(255, 30, 20, 10));
    EXPECT_EQ(PixelOf(looks, CImageLooks::LOOK_HOT, 1) >> 24, 0u);
}

TEST(ImageLists, ImagesAreColumnsOfTheStripAcrossPaddedScanLines)
{
    // 3 pixels of 24 bits leave 3 padding bytes on each scan line.
    CDibBits strip = Strip({{1, 2, 3}, {4, 5, 6}, {7, 8, 9}}, 24, 2);
    ASSERT_EQ(strip.Stride(), 12);
    strip.Pixel(2, 1)[0] = 77;
    CImageLooks looks;
    ASSERT_TRUE(looks.Create(1, 2, 24, 3));
    ASSERT_TRUE(looks.LoadBitmap(strip));
    EXPECT_EQ(looks.GetImage(CImageLooks::LOOK_NORMAL, 2).At(0, 1), Argb(255, 9, 8, 77));
    EXPECT_EQ(looks.GetImage(CImageLooks::LOOK_NORMAL, 0).At(0, 1), Argb(255, 3, 2, 1));

    // Images higher than the strip are transparent below it; lower ones take its top rows.
    ASSERT_TRUE(looks.Create(3, 3, 24, 1));
    ASSERT_TRUE(looks.LoadBitmap(strip));
    ASSERT_EQ(looks.GetImageCount(), 1);
    EXPECT_EQ(looks.GetImage(CImageLooks::LOOK_NORMAL, 0).At(2, 1), Argb(255, 9, 8, 77));
    EXPECT_EQ(looks.GetImage(CImageLooks::LOOK_DISABLED, 0).At(2, 2) >> 24, 0u);
}

TEST(BitmapFile, Reads24BitScanLinesInEitherOrder)
{
    for (bool bottomUp : {true, false}) {
        const std::optional<CDibBits> dib = CDibBits::FromBmp24(BmpFile(3, 2, bottomUp));
        ASSERT_TRUE(dib);
        ASSERT_TRUE(dib->IsValid());
        EXPECT_EQ(dib->width, 3);
        EXPECT_EQ(dib->height, 2);
        EXPECT_EQ(dib->bitsPerPixel, 24);
        for (std::int32_t y = 0; y < 2; ++y) {
            for (std::int32_t x = 0; x < 3; ++x) {
                const std::uint8_t* p = dib->Pixel(x, y);
                EXPECT_EQ((std::vector<int>{p[0], p[1], p[2]}), (std::vector<int>{x, y, 7}));
            }
        }
    }
}

TEST(BitmapFile, OtherDepthsCompressionAndShortFilesAreRefused)
{
    EXPECT_FALSE(CDibBits::FromBmp24(BmpFile(3, 2, true, 32)));
    EXPECT_FALSE(CDibBits::FromBmp24(BmpFile(3, 2, true, 24, 1)));
    EXPECT_FALSE(CDibBits::FromBmp24(BmpFile(0, 2, true)));
    std::vector<std::uint8_t> shortFile = BmpFile(3, 2, true);
    shortFile.pop_back();
    EXPECT_FALSE(CDibBits::FromBmp24(shortFile));
    std::vector<std::uint8_t> notBitmap = BmpFile(3, 2, true);
    notBitmap[1] = 'X';
    EXPECT_FALSE(CDibBits::FromBmp24(notBitmap));
    EXPECT_FALSE(CDibBits::FromBmp24(std::vector<std::uint8_t>(10, 0)));
}

TEST(ImageLists, LoadingBeforeCreateOrWithoutImagesIsRefusedAndAddsNothing)
{
    const CDibBits strip = Strip({{1, 2, 3}, {4, 5, 6}}, 24);
    CImageLooks looks;
    EXPECT_FALSE(looks.LoadBitmap(strip));
    EXPECT_FALSE(looks.Create(0, 1, 32, 1));
    EXPECT_FALSE(looks.LoadBitmap(strip));
    EXPECT_FALSE(looks.Create(1, 1, 16, 1));
    EXPECT_EQ(looks.GetImageWidth(), -1);

    ASSERT_TRUE(looks.Create(3, 1, 32, 1));
    EXPECT_FALSE(looks.LoadBitmap(strip));   // narrower than one image
    CDibBits broken = strip;
    broken.bits.pop_back();
    ASSERT_TRUE(looks.Create(1, 1, 32, 1));
    EXPECT_FALSE(looks.LoadBitmap(broken));
    EXPECT_EQ(looks.GetImageCount(), 0);
}

TEST(ImageLists, TwoLoadsGiveTwoSetsAndCreateStartsOver)
{
    const CDibBits strip = Strip({{1, 2, 3}, {4, 5, 6}}, 24);
    CImageLooks looks;
    ASSERT_TRUE(looks.Create(1, 1, 32, 2));
    ASSERT_TRUE(looks.LoadBitmap(strip));
    ASSERT_TRUE(looks.LoadBitmap(strip));
    ASSERT_EQ(looks.GetImageCount(), 4);
    for (auto look : {CImageLooks::LOOK_NORMAL, CImageLooks::LOOK_HOT, CImageLooks::LOOK_DISABLED})
        EXPECT_EQ(PixelOf(looks, look, 3), PixelOf(looks, look, 1));
    ASSERT_TRUE(looks.Create(1, 1, 32, 2));
    EXPECT_EQ(looks.GetImageCount(), 0);
}

TEST(ToolBarTemplate, ReadsSizesAndButtonsAndIgnoresTheVersion)
{
    CToolBarTemplate written{1, 32, 31, {57600, 0, 32776, 0, 0, 32773}};
    for (std::uint16_t version : {1, 0, 0xBEEF}) {
        written.version = version;
        std::vector<std::uint8_t> bytes = written.Encode();
        bytes.push_back(0xAA);   // trailing bytes are not items
        const auto read = CToolBarTemplate::Parse(bytes);
        ASSERT_TRUE(read);
        EXPECT_EQ(read->width, 32);
        EXPECT_EQ(read->height, 31);
        EXPECT_EQ(read->ButtonWidth(), 40);
        EXPECT_EQ(read->ButtonHeight(), 38);
        EXPECT_EQ(read->items, written.items);
    }
    std::vector<std::int32_t> images;
    for (const auto& button : written.Buttons())
        images.push_back(button.image);
    EXPECT_EQ(images, (std::vector<std::int32_t>{0, -1, 1, -1, -1, 2}));

    // Bytes shorter than the header or than the items it counts are refused.
    const std::vector<std::uint8_t> bytes = written.Encode();
    EXPECT_FALSE(CToolBarTemplate::Parse(std::span(bytes).first(bytes.size() - 1)));
    EXPECT_FALSE(CToolBarTemplate::Parse(std::span(bytes).first(7)));
}
