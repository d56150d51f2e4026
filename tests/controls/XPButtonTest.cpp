// The styled push button: its look in each state, and the ways it is clicked (or not).
#include "controls/XPButton.h"
#include "controls/XPCheckBox.h"
#include "XPTestSupport.h"
#include "forms/Gdi.h"

using namespace controls;
using namespace forms;
using xptest::BitmapPixel;
using xptest::Snapshot;

namespace {
constexpr TColor Border = 0x733C00, Corner = 0xAD967B;
constexpr TColor DisabledFace = 0xEFF7F0, DisabledBorder = 0xBFC7CF, DisabledText = 0x90A0A0;

int Red(TColor c) { return c & 0xFF; }
int Blue(TColor c) { return (c >> 16) & 0xFF; }

// How many pixels, going in from the left edge at mid-height, carry the glow bitmap's colour.
int GlowWidth(const Snapshot& s, TBitmap& glow) {
    const int y = s.Height() / 2;
    int n = 0;
    for (int x = 1; x < s.Width() / 2 && s.At(x, y) == BitmapPixel(glow, x - 1, y - 1); ++x) ++n;
    return n;
}
}  // namespace

class XPButtonTest : public xptest::ControlsTest {
protected:
    void SetUp() override {
        ControlsTest::SetUp();
        button = Add<TXPButton>(form, 20, 20, 75, 25, "OK");
        button->OnClick = [this](TObject*) { ++clicks; };
        other = Add<TXPCheckBox>(form, 20, 100, 97, 17);
    }
    TXPButton* button = nullptr;
    TXPCheckBox* other = nullptr;  // a control that is not a styled button
    int clicks = 0;
};

// --- the look ----------------------------------------------------------------------------------

TEST_F(XPButtonTest, AtRestShowsTheWhiteFaceInsideARoundedBorder) {
    Snapshot s(*button);
    // Outside the rounded corner; the four sides; the corner lines (W-2, 0)-(W, 2), (0, H-2)-(2, H) and
    // (W-3, H)-(W, H-3); the face starting white.
    xptest::ExpectPixels(s, {{0, 0, xptest::FormColor}, {37, 0, Border}, {37, 24, Border}, {0, 12, Border},
                             {74, 12, Border}, {0, 1, Corner}, {1, 0, Corner}, {74, 1, Corner}, {1, 24, Corner},
                             {73, 24, Corner}, {74, 23, Corner}, {5, 1, 0xFFFFFF}});
    EXPECT_EQ(s.At(5, 12), BitmapPixel(button->FaceBitmap(), 4, 11));
    EXPECT_EQ(s.At(1, 12), BitmapPixel(button->FaceBitmap(), 0, 11)) << "no glow ring";
    EXPECT_EQ(button->FaceBitmap().Width(), 73);
    EXPECT_EQ(button->HotBorderBitmap().Height(), 23);
}

TEST_F(XPButtonTest, PointerOverItGivesAnOrangeRingTwoPixelsWide) {
    xptest::ControlsTest::MouseMove(*button, 30, 12);
    ASSERT_TRUE(button->Flags().MouseInside);
    Snapshot s(*button);
    TBitmap& hot = button->HotBorderBitmap();
    EXPECT_EQ(GlowWidth(s, hot), 2);
    EXPECT_GT(Red(s.At(1, 12)), Blue(s.At(1, 12))) << "orange";
    // The face moved in by 3, and the ring's right, top and bottom sides.
    TBitmap& face = button->FaceBitmap();
    xptest::ExpectPixels(s, {{3, 12, BitmapPixel(face, 0, 9)}, {71, 12, BitmapPixel(face, 68, 9)},
                             {72, 12, BitmapPixel(hot, 71, 11)}, {37, 2, BitmapPixel(hot, 36, 1)},
                             {37, 22, BitmapPixel(hot, 36, 21)}});

    button->SetMouseBorderWidth(4);
    EXPECT_EQ(GlowWidth(Snapshot(*button), hot), 4);

    xptest::ControlsTest::MouseMove(*button, 200, 200);
    EXPECT_FALSE(button->Flags().MouseInside);
    EXPECT_EQ(GlowWidth(Snapshot(*button), hot), 0);
}

TEST_F(XPButtonTest, FocusGivesABlueRingAndAFocusRectangleThreePixelsIn) {
    button->SetFocus();
    ASSERT_TRUE(HasFocus(*button));
    ASSERT_TRUE(button->Flags().Focused);
    button->SetShowFocusRect(false);
    Snapshot plain(*button);
    EXPECT_EQ(GlowWidth(plain, button->FocusBorderBitmap()), 2);
    EXPECT_GT(Blue(plain.At(1, 12)), Red(plain.At(1, 12))) << "blue";

    button->SetShowFocusRect(true);
    Snapshot focused(*button);
    // The dotted rectangle changes pixels on its outline (3, 3)-(72, 22) only, on all four sides.
    int top = 0, bottom = 0, left = 0, right = 0, elsewhere = 0;
    for (int y = 0; y < 25; ++y)
        for (int x = 0; x < 75; ++x) {
            if (focused.At(x, y) == plain.At(x, y)) continue;
            bool inX = x >= 3 && x <= 71, inY = y >= 3 && y <= 21;
            if (y == 3 && inX) ++top;
            else if (y == 21 && inX) ++bottom;
            else if (x == 3 && inY) ++left;
            else if (x == 71 && inY) ++right;
            else ++elsewhere;
        }
    EXPECT_GT(top, 10);
    EXPECT_GT(bottom, 10);
    EXPECT_GT(left, 3);
    EXPECT_GT(right, 3);
    EXPECT_EQ(elsewhere, 0);

    button->SetFocusRectOffset(5);
    Snapshot moved(*button);
    EXPECT_EQ(moved.At(3, 3), plain.At(3, 3));
}

TEST_F(XPButtonTest, HeldDownShowsThePressedFace) {
    xptest::ControlsTest::MouseMove(*button, 30, 12);
    MouseDown(*button, 30, 12);
    ASSERT_TRUE(button->Flags().Pressed);
    Snapshot s(*button);
    TBitmap& pressed = button->PressedBitmap();
    EXPECT_EQ(s.At(37, 12), BitmapPixel(pressed, 36, 11));
    EXPECT_EQ(s.At(1, 12), BitmapPixel(pressed, 0, 11)) << "the pressed face covers the ring";
    EXPECT_LT(Red(s.At(5, 2)), 0xFF) << "darker than the white face";
    MouseUp(*button, 30, 12);
}

TEST_F(XPButtonTest, DisabledIsFlatAndPaleWithAGreyCaptionAndIgnoresTheMouse) {
    button->SetCaption("Apply");
    button->SetEnabled(false);
    Snapshot s(*button);
    xptest::ExpectPixels(s, {{37, 0, DisabledBorder}, {0, 12, DisabledBorder}, {5, 3, DisabledFace},
                             {70, 20, DisabledFace}, {0, 0, xptest::FormColor}});
    EXPECT_TRUE(s.Contains({2, 2, 73, 23}, DisabledText));
    EXPECT_FALSE(s.ContainsDark({2, 2, 73, 23})) << "no black caption";

    // Nor does it answer the mouse.
    EXPECT_FALSE(IsWindowEnabled(button->Handle()));
    Click(*button);
    EXPECT_EQ(clicks, 0);
    EXPECT_FALSE(button->Flags().Pressed);
    EXPECT_FALSE(HasFocus(*button));
}

TEST_F(XPButtonTest, ALongCaptionEndsInThreeDots) {
    // Text pixels inside the border (rows and columns 2 to W - 3), as a box around them.
    auto textBox = [](const Snapshot& s, int fromX, int toX) {
        const RECT area{fromX, 2, toX + 1, s.Height() - 2};
        return xptest::BoundingBox(area, [&](int x, int y) { return xptest::Dark(s.At(x, y)); });
    };
    button->SetCaption("A caption far too long for this button");
    Snapshot s(*button);
    RECT all = textBox(s, 2, 72);
    ASSERT_GE(all.right, 0);
    EXPECT_GE(all.left, 4) << "text stays inside the content rectangle";
    EXPECT_LT(all.right, 71);
    // The last columns of the text are the dots: they lie on one or two rows, a letter does not.
    RECT dots = textBox(s, all.right - 6, all.right);
    EXPECT_LE(dots.bottom - dots.top, 1);
    EXPECT_GT(dots.top, all.top + 4) << "low, on the base line";

    button->SetCaption("OK");
    RECT ok = textBox(Snapshot(*button), 2, 72);
    EXPECT_GT(ok.bottom - ok.top, 4) << "a short caption is written out";
    EXPECT_NEAR((ok.left + ok.right) / 2, 37, 2) << "centred";
}

TEST_F(XPButtonTest, GlyphSitsLeftOfTheCaptionWithItsCornerColourSeeThrough) {
    TBitmap glyph(8, 8);
    glyph.Canvas().Brush().SetColor(clRed);
    glyph.Canvas().FillRect({0, 0, 8, 8});
    glyph.Canvas().SetPixel(0, 7, clFuchsia);  // bottom-left: the see-through colour
    glyph.Canvas().SetPixel(7, 0, clFuchsia);
    button->SetCaption("");
    button->SetGlyph(glyph);
    Snapshot s(*button);
    const int top = (25 - 8) / 2;
    EXPECT_EQ(s.At(7 + 1, top + 1), clRed);
    EXPECT_EQ(s.At(7 + 7, top), BitmapPixel(button->FaceBitmap(), 13, top - 1));
}

// --- clicking ----------------------------------------------------------------------------------

TEST_F(XPButtonTest, PressAndReleaseInsideClicksAndGivesTheFormItsModalResult) {
    button->ModalResult = mrOk;
    Click(*button);
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(form->ModalResult, mrOk);
    EXPECT_TRUE(HasFocus(*button)) << "the press takes the focus";
    EXPECT_FALSE(button->Flags().Pressed);
}

TEST_F(XPButtonTest, PressDragOutsideAndReleaseDoesNotClick) {
    xptest::ControlsTest::MouseMove(*button, 30, 12);
    MouseDown(*button, 30, 12);
    EXPECT_FALSE(button->IsHighlighted(true)) << "pressed under the pointer: the face, no glow";
    xptest::ControlsTest::MouseMove(*button, -30, 40);
    EXPECT_FALSE(button->Flags().MouseInside);
    EXPECT_TRUE(button->IsHighlighted(true)) << "pressed outside: glowing";
    Snapshot s(*button);
    EXPECT_EQ(GlowWidth(s, button->FocusBorderBitmap()), 2);
    MouseUp(*button, -30, 40);
    EXPECT_EQ(clicks, 0);
    EXPECT_FALSE(button->Flags().Pressed);

    // Coming back before the release does click.
    MouseDown(*button, 30, 12);
    xptest::ControlsTest::MouseMove(*button, 100, 12);
    xptest::ControlsTest::MouseMove(*button, 10, 12);
    MouseUp(*button, 10, 12);
    EXPECT_EQ(clicks, 1);
}

TEST_F(XPButtonTest, SpaceClicksOnReleaseUnlessTheFocusWentFirst) {
    button->SetFocus();
    KeyDown(VK_SPACE);
    EXPECT_TRUE(button->Flags().Pressed);
    EXPECT_EQ(clicks, 0);
    KeyUp(VK_SPACE);
    EXPECT_EQ(clicks, 1);
    EXPECT_FALSE(button->Flags().Pressed);
    EXPECT_FALSE(button->Flags().MouseInside) << "the pretended pointer leaves again";

    KeyDown(VK_SPACE);
    Click(*other);  // the mouse takes the focus away before the release
    ASSERT_TRUE(HasFocus(*other));
    EXPECT_FALSE(button->Flags().Pressed);
    KeyUp(VK_SPACE);
    EXPECT_EQ(clicks, 1);
    EXPECT_FALSE(button->IsHighlighted(false));
}

TEST_F(XPButtonTest, EnterClicksTheFocusedButtonOrElseTheDefaultOne) {
    auto* second = Add<TXPButton>(form, 120, 20, 75, 25);
    int secondClicks = 0;
    second->OnClick = [&](TObject*) { ++secondClicks; };
    button->SetDefault(true);

    other->SetFocus();
    EXPECT_TRUE(button->IsHighlighted(false)) << "the default button glows while no button has the focus";
    KeyDown(VK_RETURN);
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(secondClicks, 0);

    second->SetFocus();
    EXPECT_TRUE(button->Flags().OtherButtonFocused);
    EXPECT_FALSE(button->IsHighlighted(false));
    KeyDown(VK_RETURN);
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(secondClicks, 1);

    button->SetDefault(false);
    other->SetFocus();
    KeyDown(VK_RETURN);
    EXPECT_EQ(clicks, 1) << "no default button any more";

    button->SetEnabled(false);
    button->SetDefault(true);
    KeyDown(VK_RETURN);
    EXPECT_EQ(clicks, 1) << "a disabled default button stays quiet";
}

TEST_F(XPButtonTest, AcceleratorClicksWithAltOrWhenFocused) {
    button->SetCaption("&Apply");
    other->SetFocus();
    Char('a');
    EXPECT_EQ(clicks, 0) << "without Alt the letter is for the focused control";
    AltChar('a');
    EXPECT_EQ(clicks, 1);
    AltChar('x');
    EXPECT_EQ(clicks, 1);
    button->SetFocus();
    Char('A');
    EXPECT_EQ(clicks, 2);
    button->SetCaption("Save && &quit");
    AltChar('&');
    AltChar('s');
    EXPECT_EQ(clicks, 2);
    AltChar('q');
    EXPECT_EQ(clicks, 3);
}

TEST_F(XPButtonTest, FollowsItsParentsColour) {
    auto* panel = Add<TCustomControl>(form, 200, 150, 150, 60);
    panel->SetColor(clWhite);
    auto* b = new TXPButton(owner);
    b->SetParent(panel);
    EXPECT_EQ(b->Color(), clWhite);
    panel->SetColor(0x336699);
    EXPECT_EQ(b->Color(), 0x336699u);
    EXPECT_EQ(Snapshot(*b).At(0, 0), 0x336699u) << "outside the rounded corner";
}

TEST_F(XPButtonTest, RebuildsItsBitmapsOnResizeAndLeaksNothing) {
    button->SetBounds(20, 20, 120, 40);
    EXPECT_EQ(button->FaceBitmap().Width(), 118);
    EXPECT_EQ(button->FocusBorderBitmap().Height(), 38);
    ExpectNoLeaks(20, [this](int i) { return Add<TXPButton>(form, 10, 150, 60 + i, 25, "Cancel"); });
}
