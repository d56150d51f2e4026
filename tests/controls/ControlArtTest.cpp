// The styled controls' pictures at a screen's density: drawn at 96 dpi they are the very bitmaps,
// on a denser screen they are drawn at their grown size, and the check box and radio button
// follow the density of their window.
#include "XPTestSupport.h"
#include "controls/ControlArt.h"
#include "controls/XPCheckBox.h"
#include "controls/XPRadioButton.h"
#include "forms/Platform.h"

using namespace controls;
using namespace forms;
using xptest::Snapshot;

namespace {
const char* const Names[] = {"CB_UNPRESS", "CB_PRESS",    "CB_BORDER", "CB_FLAG",     "CB_GRAYED",
                             "CB_DISFLAG", "CB_DISGRAYED", "RD_UNPRESS", "RD_PRESS",   "RD_BORDER",
                             "RD_FLAG",    "RD_DISABLED", "RD_DISFLAG", "SpinUp",      "SpinDown"};
}  // namespace

TEST(ControlArt, DrawnAt96DpiEveryPictureIsItsBitmap) {
    for (const char* name : Names) {
        TBitmap drawn, loaded;
        ASSERT_TRUE(DrawControlPicture(drawn, name, 96)) << name;
        ASSERT_TRUE(loaded.LoadFromResourceName(GetModuleHandleA(nullptr), name)) << name;
        ASSERT_EQ(std::pair(drawn.Width(), drawn.Height()), std::pair(loaded.Width(), loaded.Height())) << name;
        GdiFlush();
        int differ = 0;
        for (int i = 0; i < drawn.Width() * drawn.Height(); ++i)
            differ += (drawn.Bits()[i] & 0xFFFFFF) != (loaded.Bits()[i] & 0xFFFFFF);
        EXPECT_EQ(differ, 0) << name;
    }
}

class ToggleDpiTest : public xptest::ControlsTest {
protected:
    PlatformOverride restore;
};

// A checked box at 150 %: a 20-pixel face whose every pixel is either the tick's colour or the
// unchecked face's own, so nothing was stretched and smeared.
TEST_F(ToggleDpiTest, AtOneAndAHalfTimesTheDensityTheBoxIsTwentyPixelsAndSharp) {
    auto* box = Add<TXPCheckBox>(form, 20, 20, 146, 26, "Alarm");
    box->SetDpi(144);
    ASSERT_EQ(box->BoxSize(), 20);
    const Snapshot unchecked(*box);
    box->SetChecked(true);
    const Snapshot checked(*box);
    const TColor frame = 0x80501F, tick = xptest::Rgb(33, 162, 33);
    const RECT face = xptest::BoundingBox({0, 0, 40, 26}, [&](int x, int y) { return unchecked.At(x, y) == frame; });
    EXPECT_EQ(face.right - face.left + 1, 20);
    EXPECT_EQ(face.bottom - face.top + 1, 20);
    int ticked = 0, other = 0;
    for (int y = face.top; y <= face.bottom; ++y)
        for (int x = face.left; x <= face.right; ++x) {
            const TColor c = checked.At(x, y);
            ticked += c == tick;
            other += c != tick && c != unchecked.At(x, y);
        }
    EXPECT_EQ(other, 0);
    EXPECT_GT(ticked, 21 * 9 / 4);  // the 7 x 7 tick holds 21 pixels
}

// The density of the window the control is on, when its window is made and when the window moves.
TEST_F(ToggleDpiTest, TheBoxFollowsTheDensityOfItsWindow) {
    UINT dpi = 144;
    platform.GetDpiForWindow = [&dpi](HWND) { return dpi; };
    auto* radio = new TXPRadioButton(owner);
    radio->SetParent(form);
    radio->Handle();
    EXPECT_EQ(radio->BoxSize(), 20);
    dpi = 120;
    SendMessageA(radio->Handle(), 0x02E3, 0, 0);  // WM_DPICHANGED_AFTERPARENT
    EXPECT_EQ(radio->BoxSize(), 16);
    const Snapshot s(*radio);
    const RECT circle = xptest::BoundingBox({0, 0, 30, radio->Height()}, [&](int x, int y) {
        return s.At(x, y) != xptest::FormColor;
    });
    EXPECT_EQ(circle.right - circle.left + 1, 16);
}
