#include "MenuMetrics.h"

#include <algorithm>

namespace {

constexpr int ITEM_EXTRA_WIDTH = 24;
constexpr int BAND_WIDTH = 22;
constexpr int TEXT_INDENT = 30;
constexpr int TEXT_RIGHT_MARGIN = 15;
constexpr int CHECK_LEFT = 2;
constexpr int CHECK_SIZE = 16;
// Room around a bar button's title, like a flat tool bar button's padding.
constexpr int BUTTON_PAD_X = 7;
constexpr int BUTTON_PAD_Y = 4;

}  // namespace

MenuSize MeasureMenuItem(MenuSize label, int accelWidth, bool separator)
{
    const int h = std::max(label.height, MIN_ITEM_HEIGHT);
    int width = label.width + h / 2 + ITEM_EXTRA_WIDTH;
    if (accelWidth >= 0)
        width += accelWidth + h / 2;
    return {width, separator ? SEPARATOR_HEIGHT : h};
}

MenuSize MeasureBarButton(MenuSize text)
{
    return {text.width + 2 * BUTTON_PAD_X, text.height + 2 * BUTTON_PAD_Y};
}

MenuSize BarSize(std::span<const MenuSize> buttons)
{
    MenuSize size;
    for (const MenuSize& button : buttons) {
        size.width += button.width;
        size.height = std::max(size.height, button.height);
    }
    return size;
}

MenuItemLayout LayoutMenuItem(MenuRect item)
{
    MenuItemLayout layout;
    const int bandRight = std::min(item.left + BAND_WIDTH, item.right);
    layout.band = {item.left, item.top, bandRight, item.bottom};
    layout.body = {bandRight, item.top, item.right, item.bottom};
    const int checkTop = item.top + (item.Height() - CHECK_SIZE) / 2;
    layout.checkBox = {item.left + CHECK_LEFT, checkTop, item.left + CHECK_LEFT + CHECK_SIZE,
                       checkTop + CHECK_SIZE};
    layout.text = {item.left + TEXT_INDENT, item.top, item.right - TEXT_RIGHT_MARGIN,
                   item.bottom};
    layout.separatorY = item.top + item.Height() / 2;
    layout.separatorLeft = item.left + TEXT_INDENT;
    layout.separatorRight = item.right - 1;
    return layout;
}
