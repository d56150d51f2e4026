// The spin button on its own: the layout of its two arrows, keys and focus mark, painting, and
// a click that fails while repeating.
#include "SpinFixture.h"
#include "forms/Bitmap.h"
#include <algorithm>
#include <stdexcept>

using namespace controls;
using namespace forms;

namespace spintest {
namespace {

struct SpinButtonTest : SpinFixture {
    TSpinButton* spin = nullptr;
    int ups = 0, downs = 0;

    void SetUp() override {
        SpinFixture::SetUp();
        spin = new TSpinButton(form);
        spin->SetLeft(10);
        spin->OnUpClick = [this](TObject*) { ++ups; };
        spin->OnDownClick = [this](TObject*) { ++downs; };
        spin->SetParent(form);
    }
    // The spin button painted into a bitmap: 0x00RRGGBB row by row.
    std::vector<uint32_t> Pixels() {
        TBitmap bmp(spin->Width(), spin->Height());
        SendMessageA(spin->Handle(), WM_PRINTCLIENT, reinterpret_cast<WPARAM>(bmp.Canvas().Handle()), PRF_CLIENT);
        GdiFlush();
        std::vector<uint32_t> pixels(bmp.Bits(), bmp.Bits() + size_t(bmp.Width()) * bmp.Height());
        for (uint32_t& p : pixels) p &= 0xFFFFFF;
        return pixels;
    }
    // How many pixels of `colour` each row holds, from row `from` to `to`.
    std::vector<int> RowCounts(int from, int to, uint32_t colour) {
        std::vector<uint32_t> pixels = Pixels();
        std::vector<int> counts;
        for (int y = from; y < to; ++y)
            counts.push_back(static_cast<int>(std::count(pixels.begin() + y * spin->Width(),
                                                         pixels.begin() + (y + 1) * spin->Width(), colour)));
        counts.erase(std::remove(counts.begin(), counts.end(), 0), counts.end());
        return counts;
    }
};

TEST_F(SpinButtonTest, TheTwoHalvesOverlapByOneRow) {
    EXPECT_EQ(spin->BoundsRect(), (RECT{10, 0, 30, 25}));
    EXPECT_EQ(spin->UpButton()->BoundsRect(), (RECT{0, 0, 20, 12}));
    EXPECT_EQ(spin->DownButton()->BoundsRect(), (RECT{0, 11, 20, 25}));
    spin->SetBounds(10, 0, 10, 30);  // too narrow
    EXPECT_EQ(spin->UpButton()->BoundsRect(), (RECT{0, 0, 15, 15}));
    EXPECT_EQ(spin->DownButton()->BoundsRect(), (RECT{0, 14, 15, 30}));
    RECT r;
    GetWindowRect(spin->Handle(), &r);
    EXPECT_EQ(r.right - r.left, 15);
}

TEST_F(SpinButtonTest, KeysClickTheArrowsAndMoveTheFocusMark) {
    spin->TabStop = true;
    EXPECT_EQ(SendMessageA(spin->Handle(), WM_GETDLGCODE, 0, 0), DLGC_WANTARROWS);
    spin->SetFocus();
    EXPECT_TRUE(spin->UpButton()->RepeatState() & FocusMark);
    Key(spin, VK_DOWN);
    Key(spin, VK_SPACE);  // clicks the focused one: now the lower
    EXPECT_EQ(downs, 2);
    EXPECT_FALSE(spin->UpButton()->RepeatState() & FocusMark);
    EXPECT_TRUE(spin->DownButton()->RepeatState() & FocusMark);
    Click(spin, spin->UpButton());  // a press moves the mark too
    EXPECT_EQ(ups, 1);
    EXPECT_TRUE(spin->UpButton()->RepeatState() & FocusMark);
    form->SetFocus();
    EXPECT_FALSE(spin->UpButton()->RepeatState() & FocusMark);

    spin->TabStop = false;  // no tab stop: a press leaves the focus where it is
    Click(spin, spin->UpButton());
    EXPECT_FALSE(spin->Focused());
}

TEST_F(SpinButtonTest, PaintsAnUpAndADownArrowOnOpaqueFaces) {
    spin->SetBounds(10, 0, 15, 17);
    int middle = spin->UpButton()->Height();
    EXPECT_EQ(RowCounts(0, middle, 0x000000), (std::vector<int>{1, 3, 5, 7}));
    EXPECT_EQ(RowCounts(middle, 17, 0x000000), (std::vector<int>{7, 5, 3, 1}));
    EXPECT_TRUE(RowCounts(0, 17, 0x808000).empty());  // the olive background is not drawn

    std::vector<uint32_t> before = Pixels();
    Mouse(spin, WM_LBUTTONDOWN, Centre(spin->UpButton()));
    std::vector<uint32_t> pressed = Pixels();
    Mouse(spin, WM_LBUTTONUP, Centre(spin->UpButton()));
    auto tip = [&](const std::vector<uint32_t>& p) { return std::find(p.begin(), p.end(), 0u) - p.begin(); };
    EXPECT_EQ(tip(pressed), tip(before) + 15 + 1);  // one pixel right and down

    spin->SetEnabled(false);
    EXPECT_TRUE(RowCounts(0, 17, 0x000000).empty());

    TBitmap square(3, 3);
    square.Canvas().Brush().SetColor(clBlack);
    square.Canvas().FillRect(RECT{0, 0, 3, 3});
    spin->SetEnabled(true);
    spin->SetUpGlyph(&square);
    EXPECT_EQ(RowCounts(0, middle, 0x000000), (std::vector<int>{3, 3, 3}));
    spin->SetUpGlyph(nullptr);
    EXPECT_EQ(RowCounts(0, middle, 0x000000), (std::vector<int>{1, 3, 5, 7}));
}

TEST_F(SpinButtonTest, FocusMarkDrawsADottedRectangleInsetByThree) {
    spin->SetBounds(10, 0, 30, 40);
    std::vector<uint32_t> plain = Pixels();
    spin->UpButton()->SetRepeatState(RepeatWhileHeld | FocusMark);
    std::vector<uint32_t> marked = Pixels();
    int changed = 0, outside = 0;
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 30; ++x) {
            if (plain[y * 30 + x] == marked[y * 30 + x]) continue;
            ++changed;
            if (!(((y == 3 || y == 16) && x >= 3 && x <= 26) || ((x == 3 || x == 26) && y >= 3 && y <= 16))) ++outside;
        }
    EXPECT_GT(changed, 20);
    EXPECT_EQ(outside, 0);
}

TEST_F(SpinButtonTest, AFailingRepeatedClickStopsTheRepeat) {
    std::vector<std::string> errors;
    Application->OnException = [&](const std::string& message) { errors.push_back(message); };
    spin->OnUpClick = [](TObject*) { throw std::runtime_error("Step failed"); };
    TRepeatButton* up = spin->UpButton();
    Mouse(spin, WM_LBUTTONDOWN, Centre(up));
    Tick(up);
    Application->OnException = nullptr;
    EXPECT_EQ(errors, std::vector<std::string>{"Step failed."});
    EXPECT_FALSE(up->RepeatTimer()->Enabled());
    spin->OnUpClick = nullptr;
    Mouse(spin, WM_LBUTTONUP, Centre(up));
    EXPECT_FALSE(up->Down());
}

}  // namespace
}  // namespace spintest
