#include "AlphaImageList.h"

#include <QImage>
#include <QString>

namespace {

// Qt paints pixmaps with their alpha on every platform it runs on.
constexpr bool PLATFORM_BLENDS_ALPHA = true;

CDibBits ToDibBits(const QImage& image)
{
    const bool alpha = image.hasAlphaChannel();
    CDibBits dib = CDibBits::Blank(image.width(), image.height(), alpha ? 32 : 24);
    const QImage argb = image.convertToFormat(alpha ? QImage::Format_ARGB32 : QImage::Format_RGB32);
    for (int y = 0; y < argb.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(argb.constScanLine(y));
        for (int x = 0; x < argb.width(); ++x) {
            std::uint8_t* pixel = dib.Pixel(x, y);
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
    const QImage bitmap(QStringLiteral(":/bitmap/%1.bmp").arg(nIDResource));
    return !bitmap.isNull() && LoadBitmap(bitmap);
}

bool CAlphaImageList::LoadBitmap(const QImage& bitmap)
{
    return !bitmap.isNull() && m_looks.LoadBitmap(ToDibBits(bitmap));
}

QPixmap CAlphaImageList::GetPixmap(CImageLooks::Look look, int index) const
{
    const CListImage& image = m_looks.GetImage(look, index);
    QImage argb(image.width, image.height, QImage::Format_ARGB32);
    for (int y = 0; y < image.height; ++y) {
        auto* line = reinterpret_cast<QRgb*>(argb.scanLine(y));
        for (int x = 0; x < image.width; ++x)
            line[x] = image.At(x, y);
    }
    return QPixmap::fromImage(argb);
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
