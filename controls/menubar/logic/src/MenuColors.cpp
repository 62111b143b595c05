#include "MenuColors.h"

#include <algorithm>

namespace {

constexpr float HUE_DEGREES = 360.0f;
constexpr float FULL = 255.0f;

int Truncate(float value)
{
    return static_cast<int>(value);
}

// One channel of the inverse conversion: the hue is brought once into 0-360 degrees.
float Channel(float m1, float m2, float hue)
{
    if (hue > HUE_DEGREES)
        hue -= HUE_DEGREES;
    else if (hue < 0.0f)
        hue += HUE_DEGREES;
    if (hue < 60.0f)
        return m1 + (m2 - m1) * hue / 60.0f;
    if (hue < 180.0f)
        return m2;
    if (hue < 240.0f)
        return m1 + (m2 - m1) * (240.0f - hue) / 60.0f;
    return m1;
}

ColorRef Lighten(ColorRef rgb, int percent)
{
    return HLSToRGB(LightenHLS(RGBToHLS(rgb), percent));
}

}  // namespace

ColorRef RGBToHLS(ColorRef rgb)
{
    const int red = RedOf(rgb);
    const int green = GreenOf(rgb);
    const int blue = BlueOf(rgb);
    const int max = std::max({red, green, blue});
    const int min = std::min({red, green, blue});
    const float lightness = static_cast<float>(max + min) / 510.0f;
    if (max == min)
        return MakeHls(0, Truncate(lightness * FULL), 0);

    const auto span = static_cast<float>(max - min);
    const float saturation = lightness <= 0.5f ? span / static_cast<float>(max + min)
                                               : span / static_cast<float>(510 - max - min);
    const float r = static_cast<float>(max - red) / span;
    const float g = static_cast<float>(max - green) / span;
    const float b = static_cast<float>(max - blue) / span;
    float hue;
    if (blue == max)
        hue = 60.0f * (4.0f + g - r);
    else if (green == max)
        hue = 60.0f * (2.0f + r - b);
    else
        hue = 60.0f * (6.0f + b - g);
    if (hue > HUE_DEGREES)
        hue -= HUE_DEGREES;
    return MakeHls(Truncate(hue * FULL / HUE_DEGREES), Truncate(lightness * FULL),
                   Truncate(saturation * FULL));
}

ColorRef HLSToRGB(ColorRef hls)
{
    const float lightness = static_cast<float>(LightnessOf(hls)) / FULL;
    const float saturation = static_cast<float>(SaturationOf(hls)) / FULL;
    if (SaturationOf(hls) == 0) {
        const int grey = Truncate(lightness * FULL);
        return MakeRgb(grey, grey, grey);
    }
    const float hue = static_cast<float>(HueOf(hls)) * HUE_DEGREES / FULL;
    const float m2 = lightness <= 0.5f ? lightness + saturation * lightness
                                       : lightness + saturation - lightness * saturation;
    const float m1 = 2.0f * lightness - m2;
    return MakeRgb(Truncate(Channel(m1, m2, hue + 120.0f) * FULL),
                   Truncate(Channel(m1, m2, hue) * FULL),
                   Truncate(Channel(m1, m2, hue - 120.0f) * FULL));
}

ColorRef LightenHLS(ColorRef hls, int percent)
{
    const int lightness = LightnessOf(hls);
    return MakeHls(HueOf(hls), lightness + (255 * percent - lightness * percent) / 100,
                   SaturationOf(hls));
}

ColorRef MenuBandColor()
{
    return Lighten(MakeRgb(22, 22, 43), 60);
}

ColorRef MenuBodyColor()
{
    return Lighten(MakeRgb(231, 241, 251), 75);
}

ColorRef MenuSeparatorColor()
{
    const ColorRef hls = RGBToHLS(MakeRgb(150, 150, 200));
    return HLSToRGB(MakeHls(HueOf(hls), LightnessOf(hls) * 82 / 100, SaturationOf(hls)));
}

ColorRef SelectedItemColor(ColorRef highlight)
{
    const ColorRef hls = LightenHLS(RGBToHLS(highlight), 70);
    return HLSToRGB(MakeHls(HueOf(hls), LightnessOf(hls), SaturationOf(hls) * 43 / 100));
}

ColorRef SelectedDisabledItemColor(ColorRef buttonFace)
{
    return Lighten(buttonFace, 73);
}
