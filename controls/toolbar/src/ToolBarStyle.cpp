#include "ToolBarStyle.h"

#include <QPainter>
#include <QStyleOption>

#include <algorithm>

namespace {

// Fewer pixels than the raster engine hands to more than one thread at a time.
constexpr int STRIP_LENGTH = 64;

}  // namespace

CToolBarStyle::CToolBarStyle(const QString& baseKey) : QProxyStyle(baseKey) {}

void CToolBarStyle::drawControl(ControlElement element, const QStyleOption* option,
                                QPainter* painter, const QWidget* widget) const
{
    if (element != CE_ToolBar || !option || !painter) {
        QProxyStyle::drawControl(element, option, painter, widget);
        return;
    }
    // The strips cut the panel across its length; each is drawn with the whole panel's
    // option, so gradients and edges lie where one pass would put them.
    const QRect panel = option->rect;
    const bool bAlongX = panel.width() >= panel.height();
    const int length = bAlongX ? panel.width() : panel.height();
    for (int start = 0; start < length; start += STRIP_LENGTH) {
        const int size = std::min(STRIP_LENGTH, length - start);
        const QRect strip = bAlongX ? QRect(panel.left() + start, panel.top(), size, panel.height())
                                    : QRect(panel.left(), panel.top() + start, panel.width(), size);
        painter->save();
        painter->setClipRect(strip, Qt::IntersectClip);
        QProxyStyle::drawControl(element, option, painter, widget);
        painter->restore();
    }
}
