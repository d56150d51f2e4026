// The spin edit at a screen's density: its button and the button's arrows grow, drawn at size.
#include "SpinFixture.h"
#include "forms/Bitmap.h"

using namespace controls;
using namespace forms;

namespace spintest {
namespace {

using SpinDpiTest = SpinFixture;

// The black pixels of each row of the upper arrow, from its point down.
std::vector<int> ArrowRows(TSpinButton* button) {
    TBitmap bmp(button->Width(), button->Height());
    SendMessageA(button->Handle(), WM_PRINTCLIENT, reinterpret_cast<WPARAM>(bmp.Canvas().Handle()), PRF_CLIENT);
    GdiFlush();
    std::vector<int> rows;
    for (int y = 0; y < button->UpButton()->Height(); ++y) {
        int black = 0;
        for (int x = 0; x < bmp.Width(); ++x) black += (bmp.Bits()[y * bmp.Width() + x] & 0xFFFFFF) == 0;
        if (black) rows.push_back(black);
    }
    return rows;
}

TEST_F(SpinDpiTest, TheButtonAndItsArrowsGrowWithTheDensity) {
    const struct { int dpi, width; std::vector<int> arrow; } cases[] = {
        {96, 15, {1, 3, 5, 7}},
        {144, 23, {1, 3, 5, 7, 9, 11}},
        {192, 30, {1, 3, 5, 7, 9, 11, 13, 15}},
    };
    for (const auto& c : cases) {
        auto* edit = new TSpinEdit(form);
        edit->SetBounds(10, 10, MulDiv(60, c.dpi, 96), MulDiv(22, c.dpi, 96));
        edit->SetParent(form);
        edit->SetDpi(c.dpi);
        EXPECT_EQ(edit->Button()->Width(), c.width) << c.dpi;
        EXPECT_EQ(ArrowRows(edit->Button()), c.arrow) << c.dpi;
        delete edit;
    }
}

}  // namespace
}  // namespace spintest
