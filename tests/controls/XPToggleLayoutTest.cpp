// Box placement, caption rectangle and the focus-rectangle rules of check boxes and radio buttons.
#include "controls/XPToggleLayout.h"
#include <gtest/gtest.h>

using namespace controls;

namespace {
bool Same(const RECT& a, const RECT& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}
#define EXPECT_RECT(r, l, t, rt, b) EXPECT_TRUE(Same(r, RECT{l, t, rt, b})) \
    << "got " << r.left << "," << r.top << " - " << r.right << "," << r.bottom
}  // namespace

TEST(XPToggleLayout, BoxSitsAtEitherEdgeCentredVertically) {
    EXPECT_EQ(ToggleBoxPosition(taLeft, 97, 17).x, 0);
    EXPECT_EQ(ToggleBoxPosition(taLeft, 97, 17).y, 2);
    EXPECT_EQ(ToggleBoxPosition(taRight, 97, 17).x, 84);
    EXPECT_EQ(ToggleBoxPosition(taRight, 97, 20).y, 4);
    EXPECT_EQ(ToggleBoxPosition(taLeft, 50, 9).y, -2) << "halves toward zero";
}

TEST(XPToggleLayout, CaptionBesideTheBox) {
    // hW 13: top 8 - 6 - 1, bottom 8 + 6.
    EXPECT_RECT(ToggleCaptionRect(taLeft, 97, 17, 13), 18, 1, 97, 14);
    EXPECT_RECT(ToggleCaptionRect(taRight, 97, 17, 13), 2, 1, 79, 14);
    // At 150 % the 20-pixel box leaves 8 pixels to the caption, and the focus rectangle follows.
    EXPECT_RECT(ToggleCaptionRect(taLeft, 146, 26, 20, 20), 28, 2, 146, 23);
    EXPECT_RECT(ToggleFocusRect(taLeft, 146, 26, 20, SIZE{60, 20}, 20), 27, 2, 89, 23);
}

TEST(XPToggleLayout, FocusRectangleRulesFirstMatchWinsElseTheWholeControl) {
    const SIZE fits{60, 13};
    // m = 17/2 - 13/2 = 2.
    EXPECT_RECT(ToggleFocusRect(taLeft, 97, 17, 13, fits), 17, 1, 79, 15);
    EXPECT_RECT(ToggleFocusRect(taRight, 97, 17, 13, fits), 0, 1, 64, 15);
    // Exactly fitting: 13 + 4 + 80 = 97 and 2 + 13 + 1 = 16 <= 17.
    EXPECT_RECT(ToggleFocusRect(taLeft, 97, 17, 13, SIZE{80, 13}), 17, 1, 99, 15);

    // Too wide (the 97-pixel check box with a caption over 80 pixels): clipped at the right edge.
    EXPECT_RECT(ToggleFocusRect(taLeft, 97, 17, 13, SIZE{81, 13}), 17, 2, 97, 15);
    EXPECT_RECT(ToggleFocusRect(taRight, 97, 17, 13, SIZE{82, 13}), 0, 2, 80, 15);
    EXPECT_RECT(ToggleFocusRect(taRight, 97, 17, 13, SIZE{80, 13}), 0, 1, 84, 15);

    // Too low: 2 + 15 + 2 > 17, and 2 + 15 + 1 > 17 so it does not fit either.
    EXPECT_RECT(ToggleFocusRect(taLeft, 97, 17, 13, SIZE{40, 15}), 17, 0, 59, 17);
    EXPECT_RECT(ToggleFocusRect(taRight, 97, 17, 13, SIZE{40, 15}), 0, 0, 46, 17);

    // Too wide and too low: the whole height beside the box.
    EXPECT_RECT(ToggleFocusRect(taLeft, 97, 17, 13, SIZE{90, 15}), 17, 0, 97, 17);
    EXPECT_RECT(ToggleFocusRect(taRight, 97, 17, 13, SIZE{90, 15}), 0, 0, 80, 17);
    // Wide enough for "too wide and too low" needs TW + 2B + 10 > W: 70 + 36 = 106 > 97.
    EXPECT_RECT(ToggleFocusRect(taLeft, 97, 17, 13, SIZE{70, 15}), 17, 0, 97, 17);
    EXPECT_RECT(ToggleFocusRect(taRight, 97, 17, 13, SIZE{70, 15}), 0, 0, 80, 17);
    // 60 + 36 = 96 is not: only too low.
    EXPECT_RECT(ToggleFocusRect(taLeft, 97, 17, 13, SIZE{60, 15}), 17, 0, 79, 17);
    EXPECT_RECT(ToggleFocusRect(taRight, 97, 17, 13, SIZE{61, 15}), 0, 0, 67, 17);

    // Otherwise the whole control. taRight measures "too wide" with 3 where the fit test uses 4: a
    // caption exactly one pixel too wide falls through every rule. (taLeft's rules leave no such gap.)
    EXPECT_RECT(ToggleFocusRect(taRight, 97, 17, 13, SIZE{81, 13}), 0, 0, 97, 17);
}
