#include "AlphaImageList.h"

#include <QByteArray>
#include <QFile>
#include <QImage>
#include <QString>

#include <cstddef>
#include <cstring>
#include <optional>
#include <span>
#include <utility>

namespace {

// Qt paints pixmaps with their alpha on every platform it runs on.
constexpr bool PLATFORM_BLENDS_ALPHA = true;

CDibBits ToDibBits(const QImage& image)
{
    const bool alpha = image.hasAlphaChannel();
    CDibBits dib = CDibBits::Blank(image.width(), image.height(), alpha ? 32 : 24);
    const QImage argb = image.convertToFormat(alpha ? QImage::Format_ARGB32 : QImage::Format_RGB32);
    const int width = argb.width();
    const int step = dib.BytesPerPixel();
    for (int y = 0; y < argb.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(argb.constScanLine(y));
        std::uint8_t* pixel = dib.Pixel(0, y);
        for (int x = 0; x < width; ++x, pixel += step) {
            pixel[0] = static_cast<std::uint8_t>(qBlue(line[x]));
            pixel[1] = static_cast<std::uint8_t>(qGreen(line[x]));
            pixel[2] = static_cast<std::uint8_t>(qRed(line[x]));
            if (alpha)
                pixel[3] = static_cast<std::uint8_t>(qAlpha(line[x]));
        }
    }
    return dib;
}

}  // namespace

bool CAlphaImageList::Create(int cx, int cy, int nInitial)
{
    return m_looks.Create(cx, cy, ChooseColorDepth(PLATFORM_BLENDS_ALPHA), nInitial);
}

bool CAlphaImageList::LoadBitmap(int nIDResource)
{
    if (m_looks.GetImageWidth() <= 0)
        return false;
    const QString path = QStringLiteral(":/bitmap/%1.bmp").arg(nIDResource);
    // The bytes of a 24-bit strip are already the bitmap the looks are built from; any
    // other bitmap is decoded by QImage.
    QFile file(path);
    if (file.open(QIODevice::ReadOnly)) {
        const QByteArray bytes = file.readAll();
        const std::optional<CDibBits> dib = CDibBits::FromBmp24(
            std::span(reinterpret_cast<const std::uint8_t*>(bytes.constData()),
                      static_cast<std::size_t>(bytes.size())));
        if (dib)
            return m_looks.LoadBitmap(*dib);
    }
    const QImage bitmap(path);
    return !bitmap.isNull() && LoadBitmap(bitmap);
}

bool CAlphaImageList::LoadBitmap(const QImage& bitmap)
{
    return !bitmap.isNull() && m_looks.LoadBitmap(ToDibBits(bitmap));
}

QPixmap CAlphaImageList::GetPixmap(CImageLooks::Look look, int index) const
{
    const CListImage& image = m_looks.GetImage(look, index);
    // The list's pixels are QRgb values row by row: each row is copied whole, and the
    // pixmap takes the image over instead of copying it again.
    QImage argb(image.width, image.height, QImage::Format_ARGB32);
    const auto rowBytes = static_cast<std::size_t>(image.width) * sizeof(QRgb);
    for (int y = 0; y < image.height; ++y)
        std::memcpy(argb.scanLine(y), &image.pixels[static_cast<std::size_t>(y) *
                                                    static_cast<std::size_t>(image.width)],
                    rowBytes);
    return QPixmap::fromImage(std::move(argb));
}

QIcon CAlphaImageList::GetIcon(int index) const
{
    if (index < 0 || index >= GetImageCount())
        return QIcon();
    QIcon icon;
    icon.addPixmap(GetPixmap(CImageLooks::LOOK_NORMAL, index), QIcon::Normal);
    icon.addPixmap(GetPixmap(CImageLooks::LOOK_HOT, index), QIcon::Active);
    icon.addPixmap(GetPixmap(CImageLooks::LOOK_DISABLED, index), QIcon::Disabled);
    return icon;
}
