#include "ShellIcons.h"

#include "Resource.h"

#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>

// Every picture is drawn on a 16 x 16 grid and scaled to the wanted size.
namespace {

const QColor g_folderEdge(0xB0, 0x7E, 0x14);
const QColor g_folderBack(0xE9, 0xB9, 0x3C);
const QColor g_folderFront(0xF7, 0xD4, 0x6A);
const QColor g_pageEdge(0x5E, 0x68, 0x74);
const QColor g_lineGrey(0xA8, 0xB0, 0xBA);
const QColor g_keyBody(0x2E, 0x4E, 0x7E);
const QColor g_keyEdge(0x1C, 0x30, 0x50);
const QColor g_metal(0xC4, 0xC8, 0xCC);

void DrawFolderBack(QPainter& p)
{
    QPainterPath back;
    back.moveTo(1.5, 3.5);
    back.lineTo(6.0, 3.5);
    back.lineTo(7.5, 5.0);
    back.lineTo(14.5, 5.0);
    back.lineTo(14.5, 13.5);
    back.lineTo(1.5, 13.5);
    back.closeSubpath();
    p.setPen(QPen(g_folderEdge, 1.0));
    p.setBrush(g_folderBack);
    p.drawPath(back);
}

void DrawFolder(QPainter& p)
{
    DrawFolderBack(p);
    p.setBrush(g_folderFront);
    p.drawRect(QRectF(1.5, 6.5, 13.0, 7.0));
}

void DrawOpenFolder(QPainter& p)
{
    DrawFolderBack(p);
    p.setBrush(g_folderFront);
    p.drawPolygon(QPolygonF({QPointF(3.5, 7.5), QPointF(15.5, 7.5), QPointF(13.5, 13.5),
                             QPointF(1.5, 13.5)}));
}

void DrawPage(QPainter& p)
{
    QPainterPath page;
    page.moveTo(3.5, 1.5);
    page.lineTo(9.5, 1.5);
    page.lineTo(12.5, 4.5);
    page.lineTo(12.5, 14.5);
    page.lineTo(3.5, 14.5);
    page.closeSubpath();
    p.setPen(QPen(g_pageEdge, 1.0));
    p.setBrush(Qt::white);
    p.drawPath(page);
    p.drawPolyline(QPolygonF({QPointF(9.5, 1.5), QPointF(9.5, 4.5), QPointF(12.5, 4.5)}));
}

void DrawFile(QPainter& p)
{
    DrawPage(p);
    p.setPen(QPen(g_lineGrey, 1.0));
    for (double y : {6.5, 8.5, 10.5, 12.5})
        p.drawLine(QPointF(5.0, y), QPointF(11.0, y));
}

void DrawExecutableFile(QPainter& p)
{
    DrawPage(p);
    p.setPen(QPen(QColor(0x1E, 0x7A, 0x3C), 1.0));
    p.setBrush(QColor(0x3C, 0xB0, 0x5E));
    p.drawPolygon(QPolygonF({QPointF(5.5, 6.5), QPointF(10.5, 9.5), QPointF(5.5, 12.5)}));
}

void DrawDevice(QPainter& p)
{
    p.setPen(QPen(g_pageEdge, 1.0));
    p.setBrush(g_metal);
    p.drawRect(QRectF(0.5, 6.0, 4.0, 4.0));
    p.setPen(QPen(g_keyEdge, 1.0));
    p.setBrush(g_keyBody);
    p.drawRoundedRect(QRectF(4.5, 4.0, 11.0, 8.0), 2.0, 2.0);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x6C, 0xE0, 0x7C));
    p.drawEllipse(QPointF(12.5, 8.0), 1.2, 1.2);
}

void DrawApplication(QPainter& p)
{
    DrawFolder(p);
    p.save();
    p.translate(5.0, 7.0);
    p.scale(0.65, 0.65);
    DrawDevice(p);
    p.restore();
}

}  // namespace

QPixmap ShellPixmap(int iconId, int size)
{
    void (*draw)(QPainter&) = nullptr;
    switch (iconId) {
    case IDI_APPLICATION_ICON: draw = DrawApplication; break;
    case IDI_OPEN_FOLDER: draw = DrawOpenFolder; break;
    case IDI_FOLDER: draw = DrawFolder; break;
    case IDI_FILE: draw = DrawFile; break;
    case IDI_EXECUTABLE_FILE: draw = DrawExecutableFile; break;
    case IDI_DEVICE: draw = DrawDevice; break;
    default: return QPixmap();
    }
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(size / 16.0, size / 16.0);
    draw(painter);
    return pixmap;
}

QIcon ShellIcon(int iconId)
{
    QIcon icon;
    for (int size : {16, 32, 48}) {
        const QPixmap pixmap = ShellPixmap(iconId, size);
        if (pixmap.isNull())
            return QIcon();
        icon.addPixmap(pixmap);
    }
    return icon;
}
