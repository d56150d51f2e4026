// The styled radio button: its circle and dot, and exclusivity among its siblings.
#include "controls/XPButton.h"
#include "controls/XPRadioButton.h"
#include "XPTestSupport.h"

using namespace controls;
using namespace forms;
using xptest::Rgb;
using xptest::Snapshot;

namespace {
const TColor Ring = Rgb(24, 81, 123), Dot = Rgb(33, 162, 33), GreyRing = Rgb(206, 203, 189);
}

class XPRadioButtonTest : public xptest::ControlsTest {
protected:
    void SetUp() override {
        ControlsTest::SetUp();
        for (int i = 0; i < 3; ++i) {
            radio[i] = Add<TXPRadioButton>(form, 20, 20 + 25 * i, 113, 17, "Choice " + std::to_string(i + 1));
            radio[i]->OnClick = [this, i](TObject*) { ++clicks[i]; };
        }
    }
    bool CheckedAre(bool a, bool b, bool c) const {
        return radio[0]->Checked() == a && radio[1]->Checked() == b && radio[2]->Checked() == c;
    }
    TXPRadioButton* radio[3] = {};
    int clicks[3] = {};
};

TEST_F(XPRadioButtonTest, CircleWithCornersInTheParentsColourAndADotWhenChecked) {
    TXPRadioButton& r = *radio[0];
    Snapshot off(r);
    // The circle is 13 x 13 at (0, 2).
    // See-through corners, the top and bottom of the ring.
    xptest::ExpectPixels(off, {{0, 2, xptest::FormColor}, {12, 14, xptest::FormColor}, {6, 2, Ring}, {6, 14, Ring}});
    EXPECT_NE(off.At(6, 8), Dot);

    r.SetChecked(true);
    Snapshot on(r);
    EXPECT_EQ(on.At(6, 8), Dot) << "the dot's centre";
    EXPECT_NE(on.At(4, 6), Dot) << "its rim is lighter";
    EXPECT_EQ(on.At(3, 8), off.At(3, 8)) << "outside the 5 x 5 dot";

    r.SetAlignment(taRight);
    Snapshot right(r);
    EXPECT_EQ(right.At(100 + 6, 8), Dot);
    EXPECT_EQ(right.At(6, 8), xptest::FormColor);
}

TEST_F(XPRadioButtonTest, DisabledShowsOnlyAGreyRingAndGreyDot) {
    TXPRadioButton& r = *radio[0];
    r.SetEnabled(false);
    Snapshot off(r);
    // No face inside the ring.
    xptest::ExpectPixels(off, {{6, 2, GreyRing}, {6, 8, xptest::FormColor}, {3, 5, xptest::FormColor}});
    r.SetChecked(true);
    Snapshot on(r);
    EXPECT_EQ(on.At(6, 8), Rgb(198, 190, 181));
    EXPECT_EQ(on.At(3, 5), xptest::FormColor);
}

TEST_F(XPRadioButtonTest, CheckingOneUnchecksItsSiblings) {
    radio[0]->SetChecked(true);
    EXPECT_TRUE(CheckedAre(true, false, false));
    radio[1]->SetChecked(true);
    EXPECT_TRUE(CheckedAre(false, true, false));
    EXPECT_EQ(clicks[1], 1);
    EXPECT_EQ(clicks[0], 2) << "checked, then unchecked";
    radio[1]->SetChecked(true);
    EXPECT_EQ(clicks[1], 1) << "no change, no click";
}

TEST_F(XPRadioButtonTest, RadiosOfAnotherParentAreNotSiblingsAndSettingOneFalseUnchecksAll) {
    auto* panel = Add<TCustomControl>(form, 200, 20, 150, 60);
    auto* moved = new TXPRadioButton(owner);
    moved->SetParent(panel);
    moved->SetChecked(true);
    radio[0]->SetChecked(true);
    EXPECT_TRUE(moved->Checked()) << "another parent's radio is no sibling";
    // Checked elsewhere and moved here: two of the siblings are checked now.
    moved->SetParent(form);
    ASSERT_TRUE(CheckedAre(true, false, false));
    moved->SetChecked(false);
    EXPECT_FALSE(moved->Checked());
    EXPECT_TRUE(CheckedAre(false, false, false));
    EXPECT_EQ(clicks[0], 2) << "checked, then unchecked by its sibling";
    // Unchanged (false): nothing happens, not even to the siblings.
    radio[1]->SetChecked(true);
    radio[0]->SetChecked(false);
    EXPECT_TRUE(CheckedAre(false, true, false));
}

TEST_F(XPRadioButtonTest, ClickChecksAndNeverUnchecks) {
    Click(*radio[1]);
    EXPECT_TRUE(CheckedAre(false, true, false));
    EXPECT_TRUE(HasFocus(*radio[1]));
    Click(*radio[1]);
    EXPECT_TRUE(CheckedAre(false, true, false));
    EXPECT_EQ(clicks[1], 1);
}

TEST_F(XPRadioButtonTest, SpaceOnAFocusedRadioChecksIt) {
    radio[0]->SetChecked(true);
    radio[1]->SetFocus();  // the focus alone checks it
    EXPECT_TRUE(CheckedAre(false, true, false));
    radio[0]->SetChecked(true);
    KeyDown(VK_SPACE);
    EXPECT_TRUE(radio[1]->Flags().Pressed);
    KeyUp(VK_SPACE);
    EXPECT_TRUE(CheckedAre(false, true, false));
}

TEST_F(XPRadioButtonTest, TabbingOntoARadioChecksIt) {
    auto* first = Add<TXPButton>(form, 200, 200, 75, 25);
    // The tab order follows the windows' order: put the button first.
    SetWindowPos(first->Handle(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    first->SetFocus();
    ASSERT_TRUE(CheckedAre(false, false, false));
    Tab();
    ASSERT_TRUE(HasFocus(*radio[0]));
    EXPECT_TRUE(CheckedAre(true, false, false));
    EXPECT_EQ(clicks[0], 1);
    Tab();
    ASSERT_TRUE(HasFocus(*radio[1]));
    EXPECT_TRUE(CheckedAre(false, true, false));
}
