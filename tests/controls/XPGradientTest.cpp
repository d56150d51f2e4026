// The button's gradient bitmaps: a 32-colour table and bands whose top edges are frayed.
#include "controls/XPGradient.h"
#include "XPTestSupport.h"
#include <set>

using namespace controls;
using forms::TColor;
using xptest::BitmapPixel;

namespace {
int Round(int n, int d) { return (2 * n + d) / (2 * d); }
}  // namespace

TEST(XPGradient, TableRunsFromTopToBottomColourChannelByChannel) {
    auto t = GradientTable(0xFFFFFF, 0xE7EBEF);
    EXPECT_EQ(t[0], 0xFFFFFFu);
    EXPECT_EQ(t[31], 0xE7EBEFu);
    // Red falls 255 -> 239, green 255 -> 235, blue 255 -> 231, each rounded on its own.
    EXPECT_EQ(t[15], xptest::Rgb(255 - 8, 255 - 10, 255 - 12));  // 7.74, 9.68, 11.61
    EXPECT_EQ(t[1], xptest::Rgb(254, 254, 254));                  // 0.52, 0.65, 0.77
    // Rising channels too (the hot glow's red falls and blue climbs).
    auto hot = GradientTable(0xCEF3FF, 0x0096E7);
    EXPECT_EQ(hot[16], xptest::Rgb(255 - 12, 243 - 48, 206 - 106));  // 12.39, 48, 106.32
}

TEST(XPGradient, BandsHoldTheirColourBelowAFrayedTopEdge) {
    const int w = 40, h = 320;  // frays up to 10 rows deep: every band is touched
    std::minstd_rand random(7);
    forms::TBitmap b;
    MakeGradient(b, w, h, 0xC6CFD6, 0xEBF3F7, random);
    ASSERT_EQ(b.Width(), w);
    ASSERT_EQ(b.Height(), h);
    auto t = GradientTable(0xC6CFD6, 0xEBF3F7);
    for (int i = 0; i < 32; ++i) {
        const int y0 = Round(i * h, 32), y1 = Round((i + 1) * h, 32);
        for (int y = y0; y < y1; ++y)
            for (int x = 0; x < w; ++x) {
                TColor c = BitmapPixel(b, x, y);
                ASSERT_TRUE(c == t[i] || (i > 0 && c == t[i - 1])) << "band " << i << " at " << x << "," << y;
            }
        if (i > 0) {
            EXPECT_EQ(BitmapPixel(b, 5, y0), t[i - 1]) << "the top row of band " << i << " is frayed";
        }
    }
    // Each 16-column tile repeats the first.
    for (int y = 0; y < h; ++y)
        for (int x = 16; x < w; ++x) ASSERT_EQ(BitmapPixel(b, x, y), BitmapPixel(b, x % 16, y));
    // The fray is random, so some rows of the last band show its own colour.
    bool bottomSeen = false;
    for (int x = 0; x < 16; ++x) bottomSeen |= BitmapPixel(b, x, h - 1) == t[31];
    EXPECT_TRUE(bottomSeen);
}

TEST(XPGradient, SmallBitmapsKeepEveryBandsFirstRowForThePreviousColour) {
    std::minstd_rand random(1);
    forms::TBitmap b;
    MakeGradient(b, 71, 23, 0xFFFFFF, 0xE7EBEF, random);
    auto t = GradientTable(0xFFFFFF, 0xE7EBEF);
    std::set<TColor> seen;
    for (int y = 0; y < 23; ++y) {
        for (int x = 1; x < 71; ++x) ASSERT_EQ(BitmapPixel(b, x, y), BitmapPixel(b, 0, y)) << "rows are even";
        seen.insert(BitmapPixel(b, 0, y));
    }
    EXPECT_EQ(BitmapPixel(b, 0, 0), t[0]);
    EXPECT_EQ(BitmapPixel(b, 0, 22), t[30]);  // the last band's one row shows the colour before
    EXPECT_GT(seen.size(), 15u);
}
