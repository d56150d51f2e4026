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
    void TearDown() override { form.reset(); }
    // The form's pixels as the screen shows them.
    COLORREF ScreenPixel(TWinControl& c, int x, int y) {
        c.Update();
        Application->ProcessMessages();
        HDC dc = GetDC(c.Handle());
        COLORREF p = GetPixel(dc, x, y);
        ReleaseDC(c.Handle(), dc);
        return p;
    }
    static void Key(HWND wnd, WORD key) {
        SendMessageA(wnd, WM_KEYDOWN, key, 1);
        SendMessageA(wnd, WM_KEYUP, key, 0xC0000001);
    }
};

TTrackBar* MakeTrackBar(TForm& form, std::vector<int>& changes) {
    auto* bar = new TTrackBar(&form);
    bar->SetBounds(10, 10, 233, 25);
    bar->SetRange(0, 255);
    bar->SetThumbLength(20);
    bar->SetPageSize(2);
    bar->SetParent(&form);
    bar->OnChange = [bar, &changes](TObject*) { changes.push_back(bar->Position()); };
    return bar;
}

}  // namespace

// --- TTrackBar ------------------------------------------------------------------------------

TEST_F(Controls, TrackBarKeysStepByTheLineAndPageSizes) {
    std::vector<int> changes;
    TTrackBar* bar = MakeTrackBar(*form, changes);
    bar->SetPosition(100);
    HWND h = bar->Handle();
    EXPECT_EQ(SendMessageA(h, TBM_GETPOS, 0, 0), 100);
    Key(h, VK_RIGHT);
    EXPECT_EQ(bar->Position(), 101);
    Key(h, VK_NEXT);  // Page Down moves towards the maximum of a horizontal bar
    EXPECT_EQ(bar->Position(), 103);
    Key(h, VK_PRIOR);
    Key(h, VK_LEFT);
    EXPECT_EQ(bar->Position(), 100);
    EXPECT_EQ(changes, (std::vector<int>{100, 101, 103, 101, 100}));
}

TEST_F(Controls, TrackBarReportsOnlyRealChangesAndKeepsItsRange) {
    std::vector<int> changes;
    TTrackBar* bar = MakeTrackBar(*form, changes);
    bar->SetPosition(0);   // already there
    bar->SetPosition(300);
    bar->SetPosition(-5);
    EXPECT_EQ(changes, (std::vector<int>{255, 0}));
    HWND h = bar->Handle();
    EXPECT_EQ(SendMessageA(h, TBM_GETRANGEMAX, 0, 0), 255);
    // A tick at every value: the two ends and the 254 between them.
    EXPECT_EQ(SendMessageA(h, TBM_GETNUMTICS, 0, 0), 256);
    EXPECT_EQ(SendMessageA(h, TBM_GETTHUMBLENGTH, 0, 0), 20);
    EXPECT_TRUE(GetWindowLongPtrA(h, GWL_STYLE) & TBS_AUTOTICKS);
    EXPECT_FALSE(GetWindowLongPtrA(h, GWL_STYLE) & (TBS_VERT | TBS_TOP));
}

// --- TPageControl ---------------------------------------------------------------------------

namespace {
struct Pages : Controls {
    TPageControl* pages = nullptr;
    TTabSheet* sheet[3] = {};
    TImageList* images = nullptr;
    int changes = 0;
    void SetUp() override {
        Controls::SetUp();
        images = new TImageList(form.get());
        TBitmap red(16, 16);
        red.Canvas().Brush().SetColor(clRed);
        red.Canvas().FillRect({0, 0, 16, 16});
        images->Add(red);
        pages = new TPageControl(form.get());
        pages->SetBounds(8, 8, 289, 225);
        pages->Font().SetStyle(fsBold);
        pages->Font().SetColor(clNavy);
        pages->SetParent(form.get());
        pages->SetImages(images);
        const char* captions[] = {"General", "Monitor", "About"};
        for (int i = 0; i < 3; ++i) {
            sheet[i] = new TTabSheet(form.get());
            sheet[i]->SetCaption(captions[i]);
            sheet[i]->SetImageIndex(i == 1 ? 0 : -1);
            sheet[i]->SetPageControl(pages);
        }
        pages->OnChange = [this](TObject*) { ++changes; };
    }
};
}  // namespace

TEST_F(Pages, OnlyTheActiveSheetShowsAndFillsTheAreaBelowTheTabs) {
    EXPECT_EQ(pages->ActivePageIndex(), 0);  // the first page added
    pages->SetActivePageIndex(2);
    EXPECT_EQ(SendMessageA(pages->Handle(), TCM_GETCURSEL, 0, 0), 2);
    for (int i = 0; i < 3; ++i) EXPECT_EQ(IsWindowVisible(sheet[i]->Handle()) != 0, i == 2) << i;
    RECT tab = pages->TabRect(0), area = pages->DisplayRect();
    EXPECT_EQ(sheet[2]->Top(), area.top);
    EXPECT_GE(area.top, tab.bottom);
    EXPECT_EQ(changes, 0);  // the program's own choice is not reported
}

TEST_F(Pages, ClickingATabShowsItsSheet) {
    RECT tab = pages->TabRect(1);
    LPARAM at = MAKELPARAM((tab.left + tab.right) / 2, (tab.top + tab.bottom) / 2);
    SendMessageA(pages->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, at);
    SendMessageA(pages->Handle(), WM_LBUTTONUP, 0, at);
    EXPECT_EQ(pages->ActivePageIndex(), 1);
    EXPECT_TRUE(sheet[1]->Visible());
    EXPECT_FALSE(sheet[0]->Visible());
    EXPECT_EQ(changes, 1);
}

TEST_F(Pages, TabsShowTheirImageAndACaptionInTheControlsFont) {
    RECT tab = pages->TabRect(1);
    bool red = false, navy = false;
    for (int y = tab.top; y < tab.bottom; ++y)
        for (int x = tab.left; x < tab.right; ++x) {
            COLORREF p = ScreenPixel(*pages, x, y);
            red |= p == RGB(255, 0, 0);
            navy |= p == RGB(0, 0, 128);
        }
    EXPECT_TRUE(red);
    EXPECT_TRUE(navy);
    // The tab leaves room for its image.
    pages->SetImages(nullptr);
    RECT plain = pages->TabRect(1);
    EXPECT_GE((tab.right - tab.left) - (plain.right - plain.left), 16);
}

// --- TLabel and TBevel ----------------------------------------------------------------------

TEST_F(Controls, LabelSizesToItsTextAndPaintsItsColourOrNothing) {
    auto* label = new TLabel(form.get());
    label->SetBounds(10, 10, 0, 0);
    label->SetParent(form.get());
    label->SetCaption("change");
    EXPECT_GT(label->Width(), 20);
    EXPECT_GT(label->Height(), 8);
    label->SetColor(clRed);
    EXPECT_EQ(ScreenPixel(*form, 11, 11), COLORREF(RGB(255, 0, 0)));
    label->SetTransparent(true);
    EXPECT_EQ(ScreenPixel(*form, 11, 11), COLORREF(0xD8E9EC));
    // With AutoSize off the size is kept whatever the text.
    label->SetAutoSize(false);
    label->SetBounds(10, 10, 43, 13);
    label->SetCaption("a much longer caption than before");
    EXPECT_EQ(label->Width(), 43);
}

TEST_F(Controls, ADisabledLabelIsEtched) {
    auto* label = new TLabel(form.get());
    label->SetBounds(10, 10, 0, 0);
    label->Font().SetColor(clBlue);
    label->SetParent(form.get());
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
