#include "MenuBarStyle.h"

#include "MenuColors.h"
#include "MenuMetrics.h"

#include <QMenu>
#include <QPainter>
#include <QPolygon>
#include <QStyleFactory>
#include <QStyleOptionMenuItem>

#include <algorithm>
#include <utility>

namespace {

constexpr int MENU_FRAME_WIDTH = 1;

QColor ToQColor(ColorRef color)
{
    return {RedOf(color), GreenOf(color), BlueOf(color)};
}

ColorRef ToColorRef(const QColor& color)
{
    return MakeRgb(color.red(), color.green(), color.blue());
}

QRect ToQRect(const MenuRect& rect)
{
    return {rect.left, rect.top, rect.Width(), rect.Height()};
}

// A filled rectangle with a 1-pixel border inside rect.
void FrameAndFill(QPainter* painter, const QRect& rect, const QColor& border, const QColor& fill)
{
    painter->setPen(border);
    painter->setBrush(fill);
    painter->drawRect(rect.adjusted(0, 0, -1, -1));
    painter->setBrush(Qt::NoBrush);
}

// The label and the accelerator text of an item's text, split at its first tab.
std::pair<QString, QString> SplitAtTab(const QString& text)
{
    const qsizetype tab = text.indexOf(QLatin1Char('\t'));
    if (tab < 0)
        return {text, QString()};
    return {text.left(tab), text.mid(tab + 1)};
}

// The accelerator text the menu shows for action: the part after a tab, else its shortcut.
QString AcceleratorText(const QAction* action)
{
    const QString text = action->text();
    return text.contains(QLatin1Char('\t')) ? SplitAtTab(text).second
                                            : action->shortcut().toString(QKeySequence::NativeText);
}

// The menu widens every item by its widest accelerator text; the items' own widths
// already hold theirs, so that much is taken off again (keeping every item at least a
// pixel wide, or the menu would drop it).
int WidestAccelerator(const QWidget* widget)
{
    const auto* menu = qobject_cast<const QMenu*>(widget);
    if (!menu)
        return 0;
    const QFontMetrics metrics = menu->fontMetrics();
    int widest = 0;
    for (const QAction* action : menu->actions())
        widest = std::max(widest, metrics.horizontalAdvance(AcceleratorText(action)));
    return widest;
}

// Our own check mark, in place of a symbol font that not every system has.
void DrawCheckGlyph(QPainter* painter, const QRect& box, const QColor& color)
{
    const QPolygon mark({box.topLeft() + QPoint(4, 8), box.topLeft() + QPoint(7, 11),
                         box.topLeft() + QPoint(12, 5)});
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing);
    painter->setPen(QPen(color, 2));
    painter->drawPolyline(mark);
    painter->restore();
}

void DrawSubmenuArrow(QPainter* painter, const QRect& item, const QColor& color)
{
    const int x = item.right() - 10;
    const int y = item.center().y();
    painter->save();
    painter->setPen(Qt::NoPen);
    painter->setBrush(color);
    painter->drawPolygon(QPolygon({QPoint(x, y - 4), QPoint(x + 4, y), QPoint(x, y + 4)}));
    painter->restore();
}

void DrawBarButton(const QStyleOptionMenuItem& item, QPainter* painter)
{
    painter->fillRect(item.rect, item.palette.window());
    if (item.state & (QStyle::State_Selected | QStyle::State_Sunken))
        FrameAndFill(painter, item.rect, item.palette.highlight().color(),
                     ToQColor(BAR_BUTTON_FILL));
    painter->setPen(ToQColor(BAR_BUTTON_TEXT));
    painter->drawText(item.rect, Qt::AlignCenter | Qt::TextSingleLine | Qt::TextShowMnemonic,
                      item.text);
}

void DrawPopupItem(const QStyleOptionMenuItem& item, QPainter* painter)
{
    const MenuItemLayout layout = LayoutMenuItem(
        {item.rect.left(), item.rect.top(), item.rect.right() + 1, item.rect.bottom() + 1});
    const bool selected = item.state & QStyle::State_Selected;
    const bool enabled = item.state & QStyle::State_Enabled;
    // The menu hands a disabled item the disabled palette; the frame and the fills are the
    // system's own colours for every item, so they come from the normal group.
    const QColor highlight = item.palette.color(QPalette::Normal, QPalette::Highlight);
    const QColor buttonFace = item.palette.color(QPalette::Normal, QPalette::Button);

    if (selected) {
        const ColorRef fill = enabled ? SelectedItemColor(ToColorRef(highlight))
                                      : SelectedDisabledItemColor(ToColorRef(buttonFace));
        FrameAndFill(painter, item.rect, highlight, ToQColor(fill));
    } else {
        painter->fillRect(ToQRect(layout.band), ToQColor(MenuBandColor()));
        painter->fillRect(ToQRect(layout.body), ToQColor(MenuBodyColor()));
    }

    if (item.menuItemType == QStyleOptionMenuItem::Separator) {
        painter->setPen(ToQColor(MenuSeparatorColor()));
        painter->drawLine(layout.separatorLeft, layout.separatorY, layout.separatorRight - 1,
                          layout.separatorY);
        return;
    }

    const QColor textColor = ToQColor(enabled ? MENU_ITEM_TEXT : MENU_DISABLED_TEXT);
    if (item.checked) {
        const QRect box = ToQRect(layout.checkBox);
        if (selected) {
            painter->fillRect(box, ToQColor(MENU_CHECK_FILL));
        } else {
            painter->setPen(highlight);
            painter->drawRect(box.adjusted(-1, -1, 0, 0));
        }
        DrawCheckGlyph(painter, box, selected ? QColor(Qt::white) : textColor);
    }

    const auto [label, accelerator] = SplitAtTab(item.text);
    const QRect textRect = ToQRect(layout.text);
    painter->setFont(item.font);
    painter->setPen(textColor);
    painter->drawText(textRect,
                      Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine | Qt::TextShowMnemonic,
                      label);
    if (!accelerator.isEmpty())
        painter->drawText(textRect, Qt::AlignRight | Qt::AlignVCenter | Qt::TextSingleLine,
                          accelerator);
    if (item.menuItemType == QStyleOptionMenuItem::SubMenu)
        DrawSubmenuArrow(painter, item.rect, textColor);
}

}  // namespace

// Fusion underneath: the same drawing on every platform for whatever the bar leaves alone.
CMenuBarStyle::CMenuBarStyle() : QProxyStyle(QStyleFactory::create(QStringLiteral("Fusion"))) {}

int CMenuBarStyle::pixelMetric(PixelMetric metric, const QStyleOption* option,
                               const QWidget* widget) const
{
    switch (metric) {
    case PM_MenuBarPanelWidth:
    case PM_MenuBarItemSpacing:
    case PM_MenuBarHMargin:
    case PM_MenuBarVMargin:
    case PM_MenuHMargin:
    case PM_MenuVMargin:
        return 0;
    case PM_MenuPanelWidth:
        return MENU_FRAME_WIDTH;
    default:
        return QProxyStyle::pixelMetric(metric, option, widget);
    }
}

int CMenuBarStyle::styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                             QStyleHintReturn* returnData) const
{
    switch (hint) {
    // Disabled items can be highlighted; they show the disabled fill.
    case SH_Menu_AllowActiveAndDisabled:
    // Escape in a popup leaves the bar with the keyboard; Alt itself is kept out by the bar.
    case SH_MenuBar_AltKeyNavigation:
    case SH_MenuBar_MouseTracking:
    case SH_Menu_MouseTracking:
        return 1;
    default:
        return QProxyStyle::styleHint(hint, option, widget, returnData);
    }
}

QSize CMenuBarStyle::sizeFromContents(ContentsType type, const QStyleOption* option,
                                      const QSize& contents, const QWidget* widget) const
{
    const auto* item = qstyleoption_cast<const QStyleOptionMenuItem*>(option);
    if (type == CT_MenuBarItem && item) {
        const MenuSize size = MeasureBarButton({contents.width(), contents.height()});
        return {size.width, size.height};
    }
    if (type == CT_MenuItem && item) {
        const bool separator = item->menuItemType == QStyleOptionMenuItem::Separator;
        const QString accelerator = SplitAtTab(item->text).second;
        const QFontMetrics metrics(item->font);
        const MenuSize label = separator ? MenuSize{0, metrics.height()}
                                         : MenuSize{contents.width(), contents.height()};
        const MenuSize size = MeasureMenuItem(
            label, accelerator.isEmpty() ? -1 : metrics.horizontalAdvance(accelerator), separator);
        return {std::max(1, size.width + MENU_CHECK_ALLOWANCE - WidestAccelerator(widget)),
                size.height};
    }
    return QProxyStyle::sizeFromContents(type, option, contents, widget);
}

void CMenuBarStyle::drawControl(ControlElement element, const QStyleOption* option,
                                QPainter* painter, const QWidget* widget) const
{
    const auto* item = qstyleoption_cast<const QStyleOptionMenuItem*>(option);
    switch (element) {
    case CE_MenuBarItem:
        if (item) {
            painter->save();
            DrawBarButton(*item, painter);
            painter->restore();
            return;
        }
        break;
    case CE_MenuBarEmptyArea:
        painter->fillRect(option->rect, option->palette.window());
        return;
    case CE_MenuItem:
        if (item) {
            painter->save();
            DrawPopupItem(*item, painter);
            painter->restore();
            return;
        }
        break;
    case CE_MenuEmptyArea:
        painter->fillRect(option->rect, ToQColor(MenuBodyColor()));
        return;
    default:
        break;
    }
    QProxyStyle::drawControl(element, option, painter, widget);
}

void CMenuBarStyle::drawPrimitive(PrimitiveElement element, const QStyleOption* option,
                                  QPainter* painter, const QWidget* widget) const
{
    switch (element) {
    case PE_PanelMenuBar:
        return;
    case PE_PanelMenu:
        painter->fillRect(option->rect, ToQColor(MenuBodyColor()));
        return;
    case PE_FrameMenu:
        painter->save();
        painter->setPen(option->palette.dark().color());
        painter->drawRect(option->rect.adjusted(0, 0, -1, -1));
        painter->restore();
        return;
    default:
        QProxyStyle::drawPrimitive(element, option, painter, widget);
    }
}
