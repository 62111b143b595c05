// Sizes and places of the menu bar's buttons and popup items in plain integer pixels.
// Rectangles are half-open: right and bottom lie just outside. The widgets feed in the
// measured text sizes and take back where to draw.
#pragma once

#include <span>

struct MenuSize {
    int width = 0;
    int height = 0;
    bool operator==(const MenuSize&) const = default;
};

struct MenuRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    bool operator==(const MenuRect&) const = default;
};

// Items are never lower than this; separators are exactly SEPARATOR_HEIGHT high.
inline constexpr int MIN_ITEM_HEIGHT = 20;
inline constexpr int SEPARATOR_HEIGHT = 5;

// The popup widens every measured item by the width of a check mark, as the system menu
// does with items its owner draws; without it the text from x + 30 to right - 15 would
// not hold the measured label.
inline constexpr int MENU_CHECK_ALLOWANCE = 15;

// A popup item from the size of its label and the width of its accelerator text
// (accelWidth < 0: the item has none): h = max(label height, 20); width = label width +
// h / 2 + 24, plus accelerator width + h / 2 when there is one.
MenuSize MeasureMenuItem(MenuSize label, int accelWidth, bool separator);

// A bar button around its title's text.
MenuSize MeasureBarButton(MenuSize text);

// The bar: its buttons side by side from the left edge, all as high as the highest; its
// size reaches the right and bottom of the last one. No buttons: 0 x 0.
MenuSize BarSize(std::span<const MenuSize> buttons);

// Where the parts of a popup item go, from its rectangle.
struct MenuItemLayout {
    MenuRect band;        // tinted band at the left
    MenuRect body;        // pale body right of it
    MenuRect checkBox;    // 16 x 16, vertically centred
    MenuRect text;        // label left aligned, accelerator right aligned
    // The separator line: on row separatorY, from separatorLeft up to, not including,
    // separatorRight.
    int separatorY = 0;
    int separatorLeft = 0;
    int separatorRight = 0;
};
MenuItemLayout LayoutMenuItem(MenuRect item);
