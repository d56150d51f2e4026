// Every GDI object made through the library is counted; the count goes back where it was.
#include "forms/Bitmap.h"
#include "forms/Canvas.h"
#include "forms/ImageList.h"
#include <gtest/gtest.h>

using namespace forms;

TEST(GdiCount, OwnersCountTheirHandles) {
    long start = gdi::LiveObjects();
    {
        Pen p(CreatePen(PS_SOLID, 1, 0));
        Brush b(CreateSolidBrush(0));
        EXPECT_EQ(gdi::LiveObjects(), start + 2);
        Pen moved = std::move(p);
        EXPECT_EQ(gdi::LiveObjects(), start + 2);
    }
    EXPECT_EQ(gdi::LiveObjects(), start);
}

TEST(GdiCount, AHandleStillSelectedIsNotCountedAsFreedUntilItIsDeselected) {
    long start = gdi::LiveObjects();
    TBitmap bmp(10, 10);
    TCanvas& c = bmp.Canvas();
    for (int i = 0; i < 50; ++i) {
        c.Pen().SetColor(RGB(i, 0, 0));  // the canvas must deselect the old pen before it goes
        c.MoveTo(0, i % 10);
        c.LineTo(10, i % 10);
        c.Brush().SetColor(RGB(0, i, 0));
        c.FillRect(RECT{0, 0, 5, 5});
        c.Font().SetHeight(-8 - i % 5);
        c.TextOut(0, 0, "x");
    }
    bmp.SetSize(0, 0);
    EXPECT_LE(gdi::LiveObjects(), start + 5);  // the canvas's current pen, brush, font and DC
}

TEST(GdiCount, BitmapsCanvasesAndIconsLeaveNothing) {
    long start = gdi::LiveObjects();
    for (int i = 0; i < 2000; ++i) {
        TBitmap bmp(16 + i % 7, 16);
        bmp.Canvas().Brush().SetColor(clRed);
        bmp.Canvas().FillRect(RECT{0, 0, 4, 4});
        bmp.Canvas().TextOut(1, 1, "T");
        TBitmap copy;
        copy.Assign(bmp);
        bmp.SetSize(30, 30);
        TImageList list(nullptr);
        list.Add(copy, clRed);
        TIcon icon;
        list.GetIcon(0, icon);
    }
    EXPECT_EQ(gdi::LiveObjects(), start);
}

TEST(Bitmap, ResizeKeepsTheOverlapAndNewAreaIsWhite) {
    TBitmap bmp(4, 4);
    bmp.Canvas().SetPixel(1, 1, clRed);
    bmp.SetSize(8, 8);
    EXPECT_EQ(bmp.Canvas().Pixel(1, 1), RGB(255, 0, 0));
    EXPECT_EQ(bmp.Canvas().Pixel(6, 6), RGB(255, 255, 255));
}

TEST(Bitmap, TransparentDrawSkipsTheKeyColour) {
    TBitmap src(4, 4), dst(4, 4);
    src.Canvas().Brush().SetColor(clFuchsia);
    src.Canvas().FillRect(RECT{0, 0, 4, 4});
    src.Canvas().SetPixel(2, 2, clBlue);
    src.SetTransparent(true);  // bottom-left pixel: fuchsia
    dst.Canvas().Brush().SetColor(clGreen);
    dst.Canvas().FillRect(RECT{0, 0, 4, 4});
    dst.Canvas().Draw(0, 0, src);
    EXPECT_EQ(dst.Canvas().Pixel(0, 0), RGB(0, 128, 0));
    EXPECT_EQ(dst.Canvas().Pixel(2, 2), RGB(0, 0, 255));
}

TEST(Colors, SystemColoursResolve) {
    EXPECT_EQ(ColorToRGB(clBtnFace), GetSysColor(COLOR_BTNFACE));
    EXPECT_EQ(ColorToRGB(clPurple), 0x800080u);
    EXPECT_TRUE(IsSystemColor(clWindowText));
    EXPECT_FALSE(IsSystemColor(clWhite));
}
