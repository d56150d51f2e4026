// The wrapped system controls (track bar, page control), the label and the bevel, on a shown form.
#include "forms/Application.h"
#include "forms/Bevel.h"
#include "forms/Bitmap.h"
#include "forms/ImageList.h"
#include "forms/Label.h"
#include "forms/PageControl.h"
#include "forms/TrackBar.h"
#include <commctrl.h>
#include <gtest/gtest.h>
#include <memory>
#include <vector>

using namespace forms;

namespace {

struct Controls : testing::Test {
    std::unique_ptr<TForm> form;
    void SetUp() override {
        Application->Initialize();
        form = std::make_unique<TForm>(nullptr);
        form->SetBorderStyle(bsNone);
        form->SetColor(0xD8E9EC);
        form->SetBounds(0, 0, 320, 240);
        form->Show();
    }
    // The form's pixels as the screen shows them.
    COLORREF ScreenPixel(TWinControl& c, int x, int y) {
        c.Update();
        Application->ProcessMessages();
        HDC dc = GetDC(c.Handle());
        COLORREF p = GetPixel(dc, x, y);
        ReleaseDC(c.Handle(), dc);
        return p;
    }
};

}  // namespace

TEST_F(Controls, TrackBarStepsByLineAndPageAndReportsOnlyRealChangesWithinItsRange) {
    std::vector<int> changes;
    auto* bar = new TTrackBar(form.get());
    bar->SetBounds(10, 10, 233, 25);
    bar->SetRange(0, 255);
    bar->SetThumbLength(20);
    bar->SetPageSize(2);
    bar->SetParent(form.get());
    bar->OnChange = [bar, &changes](TObject*) { changes.push_back(bar->Position()); };
    HWND h = bar->Handle();
    bar->SetPosition(0);  // already there
    bar->SetPosition(300);
    bar->SetPosition(-5);
    bar->SetPosition(100);
    EXPECT_EQ(SendMessageA(h, TBM_GETPOS, 0, 0), 100);
    // Page Down moves towards the maximum of a horizontal bar.
    for (WORD key : {VK_RIGHT, VK_NEXT, VK_PRIOR, VK_LEFT}) {
        SendMessageA(h, WM_KEYDOWN, key, 1);
        SendMessageA(h, WM_KEYUP, key, 0xC0000001);
    }
    EXPECT_EQ(changes, (std::vector<int>{255, 0, 100, 101, 103, 101, 100}));
    // A tick at every value: the two ends and the 254 between them.
    EXPECT_EQ(SendMessageA(h, TBM_GETNUMTICS, 0, 0), 256);
    EXPECT_EQ(SendMessageA(h, TBM_GETTHUMBLENGTH, 0, 0), 20);
    // A horizontal slot with the ticks below it: wide, and in the upper half of the bar.
    RECT slot{};
    SendMessageA(h, TBM_GETCHANNELRECT, 0, reinterpret_cast<LPARAM>(&slot));
    EXPECT_GT(slot.right - slot.left, 10 * (slot.bottom - slot.top));
    EXPECT_LT(slot.top + slot.bottom, 25) << "slot from " << slot.top << " to " << slot.bottom;
}

TEST_F(Controls, PageControlShowsOnlyTheActiveSheetBelowTabsWithTheirImageAndCaption) {
    auto* images = new TImageList(form.get());
    TBitmap red(16, 16);
    red.Canvas().Brush().SetColor(clRed);
    red.Canvas().FillRect({0, 0, 16, 16});
    images->Add(red);
    auto* pages = new TPageControl(form.get());
    pages->SetBounds(8, 8, 289, 225);
    pages->Font().SetStyle(fsBold);
    pages->Font().SetColor(clNavy);
    pages->SetParent(form.get());
    pages->SetImages(images);
    TTabSheet* sheet[3];
    for (int i = 0; i < 3; ++i) {
        sheet[i] = new TTabSheet(form.get());
        sheet[i]->SetCaption(i == 1 ? "Monitor" : "Other");
        sheet[i]->SetImageIndex(i == 1 ? 0 : -1);
        sheet[i]->SetPageControl(pages);
    }
    int changes = 0;
    pages->OnChange = [&changes](TObject*) { ++changes; };

    pages->SetActivePageIndex(2);
    EXPECT_EQ(SendMessageA(pages->Handle(), TCM_GETCURSEL, 0, 0), 2);
    for (int i = 0; i < 3; ++i) EXPECT_EQ(IsWindowVisible(sheet[i]->Handle()) != 0, i == 2) << i;
    RECT tab = pages->TabRect(1), area = pages->DisplayRect();
    EXPECT_EQ(sheet[2]->Top(), area.top);
    EXPECT_GE(area.top, tab.bottom);
    EXPECT_EQ(changes, 0);  // the program's own choice is not reported

    LPARAM at = MAKELPARAM((tab.left + tab.right) / 2, (tab.top + tab.bottom) / 2);
    SendMessageA(pages->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, at);
    SendMessageA(pages->Handle(), WM_LBUTTONUP, 0, at);
    EXPECT_EQ(pages->ActivePageIndex(), 1);
    EXPECT_TRUE(sheet[1]->Visible() && !sheet[2]->Visible());
    EXPECT_EQ(changes, 1);

    bool hasRed = false, navy = false;
    for (int y = tab.top; y < tab.bottom; ++y)
        for (int x = tab.left; x < tab.right; ++x) {
            COLORREF p = ScreenPixel(*pages, x, y);
            hasRed |= p == RGB(255, 0, 0);
            navy |= p == RGB(0, 0, 128);
        }
    EXPECT_TRUE(hasRed && navy);
    // The tab leaves room for its image.
    pages->SetImages(nullptr);
    RECT plain = pages->TabRect(1);
    EXPECT_GE((tab.right - tab.left) - (plain.right - plain.left), 16);
}

TEST_F(Controls, LabelSizesToItsTextPaintsItsColourOrNothingAndIsEtchedWhenDisabled) {
    auto* label = new TLabel(form.get());
    label->SetBounds(10, 10, 0, 0);
    label->Font().SetColor(clBlue);
    label->SetParent(form.get());
    label->SetCaption("change");
    EXPECT_GT(label->Width(), 20);
    EXPECT_GT(label->Height(), 8);
    label->SetColor(clRed);
    EXPECT_EQ(ScreenPixel(*form, 11, 11), COLORREF(RGB(255, 0, 0)));
    label->SetTransparent(true);
    EXPECT_EQ(ScreenPixel(*form, 11, 11), COLORREF(0xD8E9EC));

    label->SetCaption("WWWW");
    auto count = [&](COLORREF c) {
        int n = 0;
        for (int y = 10; y < 10 + label->Height(); ++y)
            for (int x = 10; x < 10 + label->Width() + 1; ++x) n += ScreenPixel(*form, x, y) == c;
        return n;
    };
    EXPECT_GT(count(RGB(0, 0, 255)), 0);
    label->SetEnabled(false);
    label->Invalidate();
    EXPECT_EQ(count(RGB(0, 0, 255)), 0);
    EXPECT_GT(count(GetSysColor(COLOR_BTNSHADOW)), 0);
    EXPECT_GT(count(GetSysColor(COLOR_BTNHIGHLIGHT)), 0);
    // With AutoSize off the size is kept whatever the text.
    label->SetAutoSize(false);
    label->SetBounds(10, 10, 43, 13);
    label->SetCaption("a much longer caption than before");
    EXPECT_EQ(label->Width(), 43);
}

TEST_F(Controls, ABevelLineIsDarkAboveLight) {
    auto* bevel = new TBevel(form.get());
    bevel->SetBounds(10, 30, 100, 3);
    bevel->SetShape(bsTopLine);
    bevel->SetParent(form.get());
    EXPECT_EQ(ScreenPixel(*form, 50, 30), GetSysColor(COLOR_BTNSHADOW));
    EXPECT_EQ(ScreenPixel(*form, 50, 31), GetSysColor(COLOR_BTNHIGHLIGHT));
    EXPECT_EQ(ScreenPixel(*form, 50, 32), COLORREF(0xD8E9EC));
}
