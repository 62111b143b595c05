// The menu bar's colour arithmetic, item metrics and switching rules, without widgets.
#include "MenuColors.h"
#include "MenuMetrics.h"
#include "MenuTracker.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <string>

namespace {

std::string Rgb(ColorRef color)
{
    return std::to_string(RedOf(color)) + "," + std::to_string(GreenOf(color)) + "," +
           std::to_string(BlueOf(color));
}

}  // namespace

TEST(MenuColors, SchemeAndSelectedFills)
{
    EXPECT_EQ(Rgb(MenuBandColor()), "136,136,193");
    EXPECT_EQ(Rgb(MenuBodyColor()), "248,251,253");
    EXPECT_EQ(Rgb(MenuSeparatorColor()), "108,108,177");
    // By hand: (0,120,215) is HLS (146,107,255); lightened by 70 to 210, saturation 109.
    EXPECT_EQ(Rgb(SelectedItemColor(MakeRgb(0, 120, 215))), "190,212,229");
    // A grey has no saturation: 240 + (255 * 73 - 240 * 73) / 100 = 250.
    EXPECT_EQ(Rgb(SelectedDisabledItemColor(MakeRgb(240, 240, 240))), "250,250,250");
}

TEST(MenuColors, PackedHlsArithmetic)
{
    EXPECT_EQ(RGBToHLS(MakeRgb(22, 22, 43)), MakeHls(170, 32, 82));
    // Red is largest and blue smallest: the hue passes 360 degrees and wraps to 30.
    EXPECT_EQ(RGBToHLS(MakeRgb(255, 128, 0)), MakeHls(21, 127, 255));
    EXPECT_EQ(LightenHLS(MakeHls(170, 32, 82), 60), MakeHls(170, 165, 82));
    EXPECT_EQ(LightenHLS(MakeHls(1, 32, 2), 100), MakeHls(1, 255, 2));
}

TEST(MenuColors, RoundTripsLoseOnlyTheTruncation)
{
    for (int grey = 0; grey < 256; ++grey)
        ASSERT_EQ(HLSToRGB(RGBToHLS(MakeRgb(grey, grey, grey))), MakeRgb(grey, grey, grey));
    // Eight bits per HLS component cost at most 8 per channel over the whole cube.
    for (int r = 0; r < 256; r += 5)
        for (int g = 0; g < 256; g += 5)
            for (int b = 0; b < 256; b += 5) {
                const ColorRef back = HLSToRGB(RGBToHLS(MakeRgb(r, g, b)));
                ASSERT_LE(std::max({std::abs(RedOf(back) - r), std::abs(GreenOf(back) - g),
                                    std::abs(BlueOf(back) - b)}),
                          8);
            }
}

TEST(MenuMetrics, ItemsBarAndLayout)
{
    // Low text is lifted to 20; h / 2 rounds down (25 -> 12).
    EXPECT_EQ(MeasureMenuItem({40, 14}, -1, false), (MenuSize{74, 20}));
    EXPECT_EQ(MeasureMenuItem({40, 25}, 30, false), (MenuSize{118, 25}));
    EXPECT_EQ(MeasureMenuItem({0, 14}, -1, true), (MenuSize{34, 5}));
    const MenuSize buttons[] = {{50, 20}, {60, 24}, {40, 20}};
    EXPECT_EQ(BarSize(buttons), (MenuSize{150, 24}));
    EXPECT_EQ(BarSize({}), (MenuSize{0, 0}));

    // An odd height puts the check box's spare pixel below it.
    const MenuItemLayout layout = LayoutMenuItem({1, 10, 101, 31});
    EXPECT_EQ(layout.checkBox, (MenuRect{3, 12, 19, 28}));
    EXPECT_EQ(layout.text, (MenuRect{31, 10, 86, 31}));
    EXPECT_EQ(layout.separatorY, 20);
}

TEST(MenuTracker, OnlyTheEndOfTheMenuIsAClosing)
{
    CMenuTracker tracker;
    tracker.Opened(0);
    tracker.SwitchKeyPressed();
    EXPECT_FALSE(tracker.Closed());
    tracker.Opened(3);
    tracker.EventDone();
    EXPECT_TRUE(tracker.Closed());
    // A click on the open popup's own button closes it silently; one off the buttons does not.
    tracker.Opened(1);
    tracker.Pressed(1);
    EXPECT_FALSE(tracker.Closed());
    tracker.EventDone();
    tracker.Opened(1);
    tracker.Pressed(-1);
    EXPECT_TRUE(tracker.Closed());
}

TEST(MenuTracker, HighlightChangesAndMouseSwitches)
{
    CMenuTracker tracker;
    EXPECT_EQ(tracker.MouseMoved({60, 5}, 1), -1);
    tracker.Opened(0);
    EXPECT_TRUE(tracker.Selected(57600));
    EXPECT_FALSE(tracker.Selected(57600));
    EXPECT_TRUE(tracker.Selected(0));
    EXPECT_EQ(tracker.MouseMoved({10, 5}, 0), -1);
    EXPECT_EQ(tracker.MouseMoved({300, 5}, -1), -1);
    EXPECT_EQ(tracker.MouseMoved({60, 5}, 1), 1);
    EXPECT_FALSE(tracker.Closed());
    tracker.Opened(1);
    EXPECT_TRUE(tracker.Selected(0));
    // The keyboard moves on; a mouse that has not moved does not take the popup back.
    tracker.SwitchKeyPressed();
    EXPECT_FALSE(tracker.Closed());
    tracker.Opened(2);
    EXPECT_EQ(tracker.MouseMoved({60, 5}, 1), -1);
    EXPECT_EQ(tracker.MouseMoved({61, 5}, 1), 1);
}

TEST(MenuTracker, SystemKeyOpensThePreviousPopup)
{
    CMenuTracker tracker;
    EXPECT_EQ(tracker.SystemKeyPressed(4), -1);
    tracker.Opened(2);
    EXPECT_EQ(tracker.SystemKeyPressed(4), 1);
    EXPECT_FALSE(tracker.Closed());
    // From the first button it wraps to the last; once that is open, closing is the end.
    tracker.Opened(0);
    EXPECT_EQ(tracker.SystemKeyPressed(4), 3);
    EXPECT_FALSE(tracker.Closed());
    tracker.Opened(3);
    tracker.EventDone();
    EXPECT_TRUE(tracker.Closed());
    EXPECT_EQ(tracker.SystemKeyPressed(4), -1);
}
