// Makes the main frame's tool bar resources from its table (MainToolBar): template 128
// (the buttons in order) and bitmap 128, the strip of their images of 32 x 32 pixels side
// by side, 24 bits per pixel on the silver mask colour. Each picture is drawn here; change
// one by changing its function. Usage: rq540-toolbar-art <output folder>; writes
// toolbar/128 and bitmap/128.bmp below it.
#include "MenuTable.h"
#include "Resource.h"
#include "ShellIcons.h"
#include "ToolBarTemplate.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPainterPath>

#include <cstdint>
#include <cstdio>
#include <vector>

namespace {

constexpr int IMAGE_SIZE = 32;
// The template declares images 31 pixels high, so every picture leaves its last row empty.
constexpr int DRAWN_HEIGHT = 31;
// Pixels drawn fainter than this are left as mask, so edges do not fringe.
constexpr int MIN_ALPHA = 96;
const QColor g_mask(192, 192, 192);

const QColor g_green(0x2E, 0x9E, 0x4A);
const QColor g_greenEdge(0x1B, 0x6B, 0x30);
const QColor g_blue(0x2F, 0x6D, 0xC4);
const QColor g_blueEdge(0x1D, 0x45, 0x80);
const QColor g_red(0xD6, 0x2F, 0x2F);
const QColor g_redEdge(0x8E, 0x1A, 0x1A);
const QColor g_ink(0x3A, 0x40, 0x48);

using DrawPicture = void (*)(QPainter&);

CToolBarTemplate MainFrameToolBar()
{
    CToolBarTemplate toolBar{1, IMAGE_SIZE, DRAWN_HEIGHT, {}};
    for (const ToolButtonDef& item : MainToolBar())
        toolBar.items.push_back(static_cast<std::uint16_t>(item.command));
    return toolBar;
}

// A shell icon drawn at size pixels with its top-left corner at (x, y).
void DrawShellIcon(QPainter& p, int iconId, int x, int y, int size)
{
    p.drawPixmap(x, y, ShellPixmap(iconId, size));
}

// A round badge with a white plus, as on "new" pictures.
void DrawPlusBadge(QPainter& p, QPointF centre)
{
    p.setPen(QPen(g_greenEdge, 1.5));
    p.setBrush(g_green);
    p.drawEllipse(centre, 6.5, 6.5);
    p.setPen(QPen(Qt::white, 2.5, Qt::SolidLine, Qt::FlatCap));
    p.drawLine(centre + QPointF(-3.5, 0), centre + QPointF(3.5, 0));
    p.drawLine(centre + QPointF(0, -3.5), centre + QPointF(0, 3.5));
}

// A thick arrow from one point to another with a filled head.
void DrawArrow(QPainter& p, QPointF from, QPointF to, const QColor& fill, const QColor& edge)
{
    const QLineF shaft(from, to);
    const QLineF unit = shaft.unitVector();
    const QPointF along = (unit.p2() - unit.p1());
    const QPointF across(-along.y(), along.x());
    const QPointF headBase = to - along * 7.0;
    QPainterPath arrow;
    arrow.moveTo(from + across * 2.5);
    arrow.lineTo(headBase + across * 2.5);
    arrow.lineTo(headBase + across * 6.5);
    arrow.lineTo(to);
    arrow.lineTo(headBase - across * 6.5);
    arrow.lineTo(headBase - across * 2.5);
    arrow.lineTo(from - across * 2.5);
    arrow.closeSubpath();
    p.setPen(QPen(edge, 1.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(fill);
    p.drawPath(arrow);
}

// "New" pictures: the icon of what is made, with a plus badge.
template <int IconId>
void DrawNewOf(QPainter& p)
{
    DrawShellIcon(p, IconId, 0, 0, 28);
    DrawPlusBadge(p, QPointF(23.5, 22.5));
}

void DrawOpen(QPainter& p)
{
    DrawShellIcon(p, IDI_OPEN_FOLDER, 0, 1, 30);
    DrawArrow(p, QPointF(20, 14), QPointF(20, 1.5), g_green, g_greenEdge);
}

void DrawSave(QPainter& p)
{
    p.setPen(QPen(g_blueEdge, 1.5));
    p.setBrush(g_blue);
    p.drawRoundedRect(QRectF(3.5, 2.5, 25, 26), 2.5, 2.5);
    p.setPen(QPen(g_blueEdge, 1.0));
    p.setBrush(QColor(0xF4, 0xF6, 0xF8));
    p.drawRect(QRectF(7.5, 2.5, 17, 11));
    p.setPen(QPen(QColor(0xA8, 0xB0, 0xBA), 1.2));
    p.drawLine(QPointF(10, 6.5), QPointF(22, 6.5));
    p.drawLine(QPointF(10, 9.5), QPointF(22, 9.5));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x4A, 0x52, 0x5C));
    p.drawRect(QRectF(9.5, 19.5, 13, 9));
    p.setBrush(QColor(0xC8, 0xCE, 0xD4));
    p.drawRect(QRectF(17.5, 21, 3, 6));
}

void DrawDeviceTree(QPainter& p)
{
    p.setPen(QPen(g_ink, 1.5));
    p.drawLine(QPointF(8.5, 11), QPointF(8.5, 26.5));
    p.drawLine(QPointF(8.5, 15.5), QPointF(18, 15.5));
    p.drawLine(QPointF(8.5, 26.5), QPointF(18, 26.5));
    DrawShellIcon(p, IDI_DEVICE, 0, -2, 18);
    DrawShellIcon(p, IDI_FOLDER, 17, 9, 13);
    DrawShellIcon(p, IDI_FOLDER, 17, 20, 13);
}

void DrawCopy(QPainter& p)
{
    DrawShellIcon(p, IDI_FILE, 0, 0, 22);
    DrawShellIcon(p, IDI_FILE, 10, 9, 22);
}

void DrawPaste(QPainter& p)
{
    p.setPen(QPen(QColor(0x6E, 0x4A, 0x1E), 1.5));
    p.setBrush(QColor(0xB7, 0x84, 0x44));
    p.drawRoundedRect(QRectF(3.5, 4.5, 20, 25), 2, 2);
    p.setPen(QPen(g_ink, 1.2));
    p.setBrush(QColor(0xC4, 0xC8, 0xCC));
    p.drawRoundedRect(QRectF(8.5, 1.5, 10, 6), 1.5, 1.5);
    DrawShellIcon(p, IDI_FILE, 11, 9, 22);
}

void DrawDelete(QPainter& p)
{
    QPainterPath cross;
    cross.moveTo(6, 6);
    cross.lineTo(26, 26);
    cross.moveTo(26, 6);
    cross.lineTo(6, 26);
    p.setPen(QPen(g_redEdge, 8.5, Qt::SolidLine, Qt::RoundCap));
    p.drawPath(cross);
    p.setPen(QPen(g_red, 5.5, Qt::SolidLine, Qt::RoundCap));
    p.drawPath(cross);
}

void DrawEditFile(QPainter& p)
{
    DrawShellIcon(p, IDI_FILE, 0, 0, 28);
    p.save();
    p.translate(21, 18);
    p.rotate(45);
    p.setPen(QPen(QColor(0x8A, 0x5A, 0x10), 1.2));
    p.setBrush(QColor(0xF2, 0xA9, 0x2C));
    p.drawRect(QRectF(-3, -12, 6, 16));
    p.setBrush(QColor(0xF3, 0xD9, 0xB1));
    p.drawPolygon(QPolygonF({QPointF(-3, 4), QPointF(3, 4), QPointF(0, 10)}));
    p.setBrush(QColor(0xE0, 0x7A, 0x8A));
    p.drawRect(QRectF(-3, -15, 6, 3));
    p.restore();
}

void DrawImport(QPainter& p)
{
    DrawShellIcon(p, IDI_DEVICE, 4, 8, 28);
    DrawArrow(p, QPointF(3, 1), QPointF(15, 15), g_green, g_greenEdge);
}

void DrawExport(QPainter& p)
{
    DrawShellIcon(p, IDI_DEVICE, 0, 8, 28);
    DrawArrow(p, QPointF(15, 14), QPointF(29, 1), g_blue, g_blueEdge);
}

void DrawRefresh(QPainter& p)
{
    const QRectF ring(6, 5, 20, 20);
    for (int half = 0; half < 2; ++half) {
        p.setPen(QPen(g_greenEdge, 6.0, Qt::SolidLine, Qt::FlatCap));
        p.drawArc(ring, (half * 180 + 20) * 16, 130 * 16);
        p.setPen(QPen(g_green, 3.5, Qt::SolidLine, Qt::FlatCap));
        p.drawArc(ring, (half * 180 + 20) * 16, 130 * 16);
    }
    // Arrow heads at the end of each arc, pointing along the turn.
    p.setPen(QPen(g_greenEdge, 1.0));
    p.setBrush(g_green);
    p.drawPolygon(QPolygonF({QPointF(1.5, 12), QPointF(11.5, 12), QPointF(6.5, 18.5)}));
    p.drawPolygon(QPolygonF({QPointF(20.5, 18), QPointF(30.5, 18), QPointF(25.5, 11.5)}));
}

void DrawAbout(QPainter& p)
{
    p.setPen(QPen(g_blueEdge, 1.5));
    p.setBrush(g_blue);
    p.drawEllipse(QPointF(16, 15.5), 13.5, 13.5);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawEllipse(QPointF(16, 8.5), 2.5, 2.5);
    p.drawRoundedRect(QRectF(13.5, 12.5, 5, 12), 1, 1);
}

// The function that draws picture; none for a button without a picture.
DrawPicture DrawingOf(ToolPicture picture)
{
    switch (picture) {
    case ToolPicture::NoPicture:
        return nullptr;
    case ToolPicture::NewFile:
        return DrawNewOf<IDI_FILE>;
    case ToolPicture::Open:
        return DrawOpen;
    case ToolPicture::Save:
        return DrawSave;
    case ToolPicture::DeviceTree:
        return DrawDeviceTree;
    case ToolPicture::Copy:
        return DrawCopy;
    case ToolPicture::Paste:
        return DrawPaste;
    case ToolPicture::Delete:
        return DrawDelete;
    case ToolPicture::NewFolder:
        return DrawNewOf<IDI_FOLDER>;
    case ToolPicture::EditFile:
        return DrawEditFile;
    case ToolPicture::Import:
        return DrawImport;
    case ToolPicture::Export:
        return DrawExport;
    case ToolPicture::Refresh:
        return DrawRefresh;
    case ToolPicture::About:
        return DrawAbout;
    }
    return nullptr;
}

// The strip's images: one for each button in template order, separators taking none, up to
// the last button that has a picture; the buttons after it point past the strip.
std::vector<DrawPicture> StripImages()
{
    std::vector<DrawPicture> images;
    std::size_t drawn = 0;
    for (const ToolButtonDef& item : MainToolBar()) {
        if (item.command == 0)
            continue;
        images.push_back(DrawingOf(item.picture));
        if (images.back())
            drawn = images.size();
    }
    images.resize(drawn);
    return images;
}

// A picture drawn with alpha, put on the mask colour: faint pixels become mask, the others
// are blended over silver and never come out as the mask colour itself.
void PutOnMask(const QImage& picture, QImage& strip, int left)
{
    for (int y = 0; y < IMAGE_SIZE; ++y) {
        for (int x = 0; x < IMAGE_SIZE; ++x) {
            const QColor colour = picture.pixelColor(x, y);
            if (colour.alpha() < MIN_ALPHA)
                continue;
            const auto blend = [&](int c, int mask) {
                return (c * colour.alpha() + mask * (255 - colour.alpha())) / 255;
            };
            int blue = blend(colour.blue(), g_mask.blue());
            const int green = blend(colour.green(), g_mask.green());
            const int red = blend(colour.red(), g_mask.red());
            if (QColor(red, green, blue) == g_mask)
                blue += 1;
            strip.setPixelColor(left + x, y, QColor(red, green, blue));
        }
    }
}

// A button without a picture before the last one that has one keeps an image of mask alone.
QImage DrawStrip()
{
    const std::vector<DrawPicture> images = StripImages();
    QImage strip(IMAGE_SIZE * static_cast<int>(images.size()), IMAGE_SIZE,
                 QImage::Format_RGB888);
    strip.fill(g_mask);
    for (std::size_t index = 0; index < images.size(); ++index) {
        if (!images[index])
            continue;
        QImage picture(IMAGE_SIZE, IMAGE_SIZE, QImage::Format_ARGB32_Premultiplied);
        picture.fill(Qt::transparent);
        QPainter painter(&picture);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        painter.setClipRect(0, 0, IMAGE_SIZE, DRAWN_HEIGHT);
        images[index](painter);
        painter.end();
        PutOnMask(picture.convertToFormat(QImage::Format_ARGB32), strip,
                  static_cast<int>(index) * IMAGE_SIZE);
    }
    return strip;
}

bool WriteTemplate(const QString& path)
{
    const std::vector<std::uint8_t> bytes = MainFrameToolBar().Encode();
    QFile file(path);
    return file.open(QIODevice::WriteOnly) &&
           file.write(reinterpret_cast<const char*>(bytes.data()),
                      static_cast<qint64>(bytes.size())) == static_cast<qint64>(bytes.size());
}

}  // namespace

int main(int argc, char* argv[])
{
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: rq540-toolbar-art <output folder>\n");
        return 2;
    }
    const QDir out(QString::fromLocal8Bit(argv[1]));
    if (!out.mkpath(QStringLiteral("toolbar")) || !out.mkpath(QStringLiteral("bitmap")) ||
        !WriteTemplate(out.filePath(QStringLiteral("toolbar/%1").arg(IDR_MAINFRAME))) ||
        !DrawStrip().save(out.filePath(QStringLiteral("bitmap/%1.bmp").arg(IDR_MAINFRAME)), "BMP")) {
        std::fprintf(stderr, "rq540-toolbar-art: cannot write to %s\n", argv[1]);
        return 1;
    }
    return 0;
}
