// The styled check box: its box and tick, pixel by pixel, and its three states under the
// mouse and the keyboard.
#include "controls/XPCheckBox.h"
#include "XPTestSupport.h"
#include "forms/Gdi.h"

using namespace controls;
using namespace forms;
using xptest::Rgb;
using xptest::Snapshot;

namespace {
constexpr TColor FaceFrame = 0x80501F, DisabledFrame = 0xBFC8CF;
const TColor Tick = Rgb(33, 162, 33), DisabledTick = Rgb(206, 203, 189);
// The tick's pixels, row by row from the top: the columns that carry it.
const std::vector<std::vector<int>> TickRows = {{6}, {5, 6}, {0, 4, 5, 6}, {0, 1, 3, 4, 5}, {0, 1, 2, 3, 4}, {1, 2, 3}, {2}};

bool OnTick(int col, int row) {
    for (int c : TickRows[row]) if (c == col) return true;
    return false;
}
}  // namespace

class XPCheckBoxTest : public xptest::ControlsTest {
protected:
    void SetUp() override {
        ControlsTest::SetUp();
        box = Add<TXPCheckBox>(form, 20, 20, 97, 17, "Alarm");
        box->OnClick = [this](TObject*) { ++clicks; };
    }
    // Checks the 13 x 13 box at (x, y) of a snapshot: its frame, and the 7 x 7 mark inside; off the
    // mark, if given, the pixels of the unchecked box.
    void ExpectTick(const Snapshot& s, int x, int y, TColor frame, TColor tick, const Snapshot* unchecked = nullptr) {
        EXPECT_EQ(s.At(x, y), frame);
        EXPECT_EQ(s.At(x + 12, y + 12), frame);
        for (int row = 0; row < 7; ++row)
            for (int col = 0; col < 7; ++col) {
                TColor c = s.At(x + 3 + col, y + 3 + row);
                if (OnTick(col, row)) {
                    EXPECT_EQ(c, tick) << col << "," << row;
                } else {
                    EXPECT_NE(c, tick) << col << "," << row;
                    if (unchecked) { EXPECT_EQ(c, unchecked->At(x + 3 + col, y + 3 + row)) << col << "," << row; }
                }
            }
    }
    TXPCheckBox* box = nullptr;
    int clicks = 0;
};

TEST_F(XPCheckBoxTest, BoxAtTheLeftOrRightEdgeCentredVertically) {
    Snapshot left(*box);
    // Top is 17 / 2 - 6 = 2.
    // The face's gradient starts at its top-left and ends white.
    xptest::ExpectPixels(left, {{0, 2, FaceFrame}, {12, 14, FaceFrame}, {0, 1, xptest::FormColor},
                                {0, 15, xptest::FormColor}, {1, 3, Rgb(222, 223, 214)}, {11, 13, Rgb(255, 255, 255)}});
    EXPECT_TRUE(left.ContainsDark({18, 0, 97, 17})) << "caption right of the box";
    EXPECT_FALSE(left.ContainsDark({13, 0, 18, 17}));

    box->SetAlignment(taRight);
    box->SetBounds(20, 20, 97, 21);
    Snapshot right(*box);
    xptest::ExpectPixels(right, {{84, 4, FaceFrame}, {96, 16, FaceFrame}, {83, 4, xptest::FormColor},
                                 {0, 4, xptest::FormColor}});
    EXPECT_TRUE(right.ContainsDark({2, 0, 79, 21})) << "caption left of the box";
    EXPECT_FALSE(right.ContainsDark({79, 0, 84, 21}));
}

TEST_F(XPCheckBoxTest, CheckMarkPixels) {
    Snapshot unchecked(*box);
    box->SetChecked(true);
    Snapshot checked(*box);
    ExpectTick(checked, 0, 2, FaceFrame, Tick, &unchecked);  // off the tick the face shows through unchanged
}

TEST_F(XPCheckBoxTest, GrayedShowsAFilledGreenSquare) {
    box->SetState(cbGrayed);
    Snapshot s(*box);
    EXPECT_EQ(s.At(3, 5), Rgb(107, 186, 107));
    EXPECT_EQ(s.At(9, 11), Rgb(115, 199, 115));
    EXPECT_NE(s.At(2, 5), Rgb(107, 186, 107));
}

TEST_F(XPCheckBoxTest, DisabledShowsAGreyTickOnAWhiteBoxWithAGreyFrame) {
    box->SetChecked(true);
    box->SetEnabled(false);
    Snapshot s(*box);
    ExpectTick(s, 0, 2, DisabledFrame, DisabledTick);
    xptest::ExpectPixels(s, {{1, 3, clWhite}, {11, 13, clWhite}, {9, 11, clWhite}});  // the last off the tick

    box->SetState(cbGrayed);
    EXPECT_EQ(Snapshot(*box).At(6, 8), DisabledTick);
}

TEST_F(XPCheckBoxTest, HotRingAndPressedFace) {
    Snapshot plain(*box);
    xptest::ControlsTest::MouseMove(*box, 5, 8);
    ASSERT_TRUE(box->Flags().MouseInside);
    Snapshot hot(*box);
    EXPECT_EQ(hot.At(1, 3), Rgb(255, 243, 206)) << "the orange ring's top-left";
    EXPECT_EQ(hot.At(11, 13), Rgb(255, 178, 49)) << "and its bottom-right";
    EXPECT_EQ(hot.At(6, 8), plain.At(6, 8)) << "the ring's centre is see-through";
    EXPECT_EQ(hot.At(0, 2), FaceFrame);
    MouseDown(*box, 5, 8);
    Snapshot pressed(*box);
    EXPECT_EQ(pressed.At(1, 3), Rgb(181, 178, 165)) << "the pressed face, no ring";
    EXPECT_EQ(pressed.At(11, 13), Rgb(247, 239, 222));
    MouseUp(*box, 5, 8);
}

TEST_F(XPCheckBoxTest, ClicksCycleTheStatesThroughGrayedOnlyIfAllowed) {
    Click(*box);
    EXPECT_TRUE(box->Checked());
    Click(*box);
    EXPECT_EQ(box->State(), cbUnchecked);
    EXPECT_EQ(clicks, 2);
    EXPECT_TRUE(HasFocus(*box)) << "the press takes the focus";

    box->AllowGrayed = true;
    for (TXPCheckBoxState next : {cbGrayed, cbChecked, cbUnchecked}) {
        Click(*box);
        EXPECT_EQ(box->State(), next);
        EXPECT_EQ(box->Checked(), next == cbChecked);
    }
    EXPECT_EQ(clicks, 5);
}

TEST_F(XPCheckBoxTest, SettingTheCurrentValueRaisesNoClick) {
    box->SetChecked(false);
    EXPECT_EQ(clicks, 0);
    box->SetChecked(true);
    EXPECT_EQ(clicks, 1);
    box->SetChecked(true);
    box->SetState(cbChecked);
    EXPECT_EQ(clicks, 1);
    box->SetState(cbGrayed);
    EXPECT_EQ(clicks, 2);
    box->SetChecked(false);
    EXPECT_EQ(clicks, 3);
}

TEST_F(XPCheckBoxTest, ReleaseAfterDraggingOffStillToggles) {
    xptest::ControlsTest::MouseMove(*box, 5, 8);
    MouseDown(*box, 5, 8);
    EXPECT_EQ(GetCapture(), box->Handle());
    xptest::ControlsTest::MouseMove(*box, 200, 80);
    EXPECT_FALSE(box->Flags().MouseInside);
    MouseUp(*box, 200, 80);
    EXPECT_EQ(box->State(), cbChecked);
    EXPECT_NE(GetCapture(), box->Handle());
}

TEST_F(XPCheckBoxTest, SpaceTogglesOnReleaseButNotAfterThePressLostTheFocus) {
    box->SetFocus();
    KeyDown(VK_SPACE);
    EXPECT_TRUE(box->Flags().Pressed);
    EXPECT_FALSE(box->Flags().PaintLocked) << "locked only while the key is handled";
    EXPECT_EQ(box->State(), cbUnchecked);
    KeyUp(VK_SPACE);
    EXPECT_EQ(box->State(), cbChecked);
    EXPECT_EQ(clicks, 1);

    // A press lost with the focus does not toggle later.
    auto* second = Add<TXPCheckBox>(form, 20, 60, 97, 17);
    KeyDown(VK_SPACE);
    second->SetFocus();
    EXPECT_FALSE(box->Flags().Pressed);
    box->SetFocus();
    KeyUp(VK_TAB);  // some later key release reaching it
    EXPECT_EQ(box->State(), cbChecked);
    EXPECT_EQ(second->State(), cbUnchecked);
    EXPECT_EQ(clicks, 1);
}

TEST_F(XPCheckBoxTest, FocusRectangleOfALongCaptionIsClippedAtTheRightEdge) {
    box->SetCaption("A caption that is much wider than eighty pixels");
    auto* elsewhere = Add<TXPCheckBox>(form, 20, 60, 97, 17);
    elsewhere->SetFocus();
    Snapshot plain(*box);
    box->SetFocus();
    Snapshot focused(*box);
    // hW and TH are the font's height: m = 8 - hW / 2; the rectangle (17, m)-(97, m + TH).
    RECT r = xptest::BoundingBox({0, 0, 97, 17}, [&](int x, int y) { return plain.At(x, y) != focused.At(x, y); });
    EXPECT_EQ(r.left, 17);
    EXPECT_EQ(r.right, 96) << "reaches the right edge";
    EXPECT_GE(r.top, 1);
    EXPECT_LE(r.bottom, 16);
}

TEST_F(XPCheckBoxTest, ControlsComeAndGoWithoutLeaks) {
    ExpectNoLeaks(20, [this](int) {
        auto* b = Add<TXPCheckBox>(form, 150, 150, 97, 17);
        b->SetChecked(true);
        return b;
    });
}
