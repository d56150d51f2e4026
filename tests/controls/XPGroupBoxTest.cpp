// The styled group box: clamped settings and the caption set into the frame.
#include "controls/XPButton.h"
#include "controls/XPGroupBox.h"
#include "controls/XPRadioButton.h"
#include "XPTestSupport.h"

using namespace controls;
using namespace forms;
using xptest::Snapshot;

namespace {
constexpr TColor Frame = 0xB8D8D7, CaptionColour = 0xD05300;
}

class XPGroupBoxTest : public xptest::ControlsTest {
protected:
    void SetUp() override {
        ControlsTest::SetUp();
        group = Add<TXPGroupBox>(form, 10, 10, 185, 105);
    }
    // The row of the frame's top line: half the caption font's height.
    int FrameRow() {
        TBitmap b(1, 1);
        b.Canvas().Font().Assign(group->Font());
        return b.Canvas().TextHeight("W") / 2;
    }
    TXPGroupBox* group = nullptr;
};

TEST_F(XPGroupBoxTest, SettingsAreKeptInTheirRanges) {
    using G = TXPGroupBox;
    const struct {
        void (G::*set)(int);
        int (G::*get)() const;
        int value, kept;
    } cases[] = {{&G::SetBorderWidth, &G::BorderWidth, 0, 1},       {&G::SetBorderWidth, &G::BorderWidth, 15, 10},
                 {&G::SetBorderWidth, &G::BorderWidth, 4, 4},       {&G::SetCaptionOffset, &G::CaptionOffset, 40, 30},
                 {&G::SetCaptionOffset, &G::CaptionOffset, -3, 1},  {&G::SetCornersOffset, &G::CornersOffset, 31, 30},
                 {&G::SetCornersOffset, &G::CornersOffset, 0, 1}};
    for (const auto& c : cases) {
        (group->*c.set)(c.value);
        EXPECT_EQ((group->*c.get)(), c.kept) << c.value;
    }
}

TEST_F(XPGroupBoxTest, CaptionInterruptsTheFrameLine) {
    const int row = FrameRow();
    Snapshot bare(*group);
    for (int x : {8, 12, 40, 90, 170}) EXPECT_EQ(bare.At(x, row), Frame) << x;
    // The left, right and bottom sides, and the inside.
    xptest::ExpectPixels(bare, {{0, 60, Frame}, {184, 60, Frame}, {90, 104, Frame}, {90, 50, xptest::FormColor}});

    group->SetCaption("Monitor");
    Snapshot s(*group);
    EXPECT_EQ(s.At(8, row), Frame) << "before the caption";
    EXPECT_EQ(s.At(170, row), Frame) << "after it";
    int interrupted = 0;
    for (int x = 10; x < 40; ++x) interrupted += s.At(x, row) != Frame;
    EXPECT_EQ(interrupted, 30) << "the caption's cells cover the line";
    EXPECT_TRUE(s.Contains({10, 0, 60, 20}, CaptionColour));

    group->SetCaptionAlignment(caRight);
    Snapshot right(*group);
    EXPECT_EQ(right.At(12, row), Frame);
    EXPECT_NE(right.At(172, row), Frame);
    EXPECT_EQ(right.At(178, row), Frame) << "the caption ends 10 pixels from the right";
}

TEST_F(XPGroupBoxTest, AcceleratorLetterIsTakenWithoutMovingTheFocus) {
    group->SetCaption("&Colours");
    auto* button = Add<TXPButton>(group, 10, 20, 75, 25, "&Choose");
    int clicks = 0;
    button->OnClick = [&](TObject*) { ++clicks; };
    button->SetFocus();
    AltChar('c');
    EXPECT_EQ(clicks, 0) << "the group box comes first and takes the letter";
    EXPECT_TRUE(HasFocus(*button));
}

TEST_F(XPGroupBoxTest, TabGoesIntoTheControlsInside) {
    auto* before = Add<TXPButton>(form, 250, 10, 75, 25);
    SetWindowPos(before->Handle(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    auto* radio = Add<TXPRadioButton>(group, 10, 20, 113, 17);
    before->SetFocus();
    Tab();
    EXPECT_TRUE(HasFocus(*radio));
    EXPECT_TRUE(radio->Checked());
}
