// The menu bar's colour scheme and the HLS arithmetic it is computed with. Colours are
// packed like the platform's colour values: red in bits 0-7, green in 8-15, blue in 16-23.
// An HLS value is packed the same way: hue in bits 0-7 (0-255 for 0-360 degrees),
// lightness in bits 8-15, saturation in bits 16-23.
#pragma once

#include <cstdint>

using ColorRef = uint32_t;

constexpr ColorRef MakeRgb(int red, int green, int blue)
{
    return static_cast<ColorRef>(red & 0xFF) | static_cast<ColorRef>(green & 0xFF) << 8 |
           static_cast<ColorRef>(blue & 0xFF) << 16;
}
constexpr int RedOf(ColorRef color) { return static_cast<int>(color & 0xFF); }
constexpr int GreenOf(ColorRef color) { return static_cast<int>(color >> 8 & 0xFF); }
constexpr int BlueOf(ColorRef color) { return static_cast<int>(color >> 16 & 0xFF); }

// Hue, lightness and saturation of an HLS value share the byte positions of red, green
// and blue.
constexpr int HueOf(ColorRef hls) { return RedOf(hls); }
constexpr int LightnessOf(ColorRef hls) { return GreenOf(hls); }
constexpr int SaturationOf(ColorRef hls) { return BlueOf(hls); }
constexpr ColorRef MakeHls(int hue, int lightness, int saturation)
{
    return MakeRgb(hue, lightness, saturation);
}

// Single-precision conversions; every component is truncated to 0-255. Bits above 23 of
// the input are ignored.
ColorRef RGBToHLS(ColorRef rgb);
ColorRef HLSToRGB(ColorRef hls);
// Moves the lightness of an HLS value percent of the way towards white (integer
// arithmetic, truncated); hue and saturation stay. percent is meant to lie in 0-100.
ColorRef LightenHLS(ColorRef hls, int percent);

// Bar buttons that are hot or whose popup is open, and the text of every button.
inline constexpr ColorRef BAR_BUTTON_FILL = MakeRgb(178, 196, 245);
inline constexpr ColorRef BAR_BUTTON_TEXT = MakeRgb(50, 50, 100);
// Popup items.
inline constexpr ColorRef MENU_ITEM_TEXT = MakeRgb(30, 56, 110);
inline constexpr ColorRef MENU_DISABLED_TEXT = MakeRgb(192, 192, 192);
inline constexpr ColorRef MENU_CHECK_FILL = MakeRgb(102, 102, 153);

// The band left of the items' text, the body behind it and the separator line.
ColorRef MenuBandColor();
ColorRef MenuBodyColor();
ColorRef MenuSeparatorColor();
// The fill of the selected item: the highlight colour made pale for an enabled item, the
// button face made pale for a disabled one.
ColorRef SelectedItemColor(ColorRef highlight);
ColorRef SelectedDisabledItemColor(ColorRef buttonFace);
