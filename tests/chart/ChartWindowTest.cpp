// The history chart as a real window under Wine: pixels of a full paint, repaint coalescing,
// re-showing a clean bitmap, resizing, and a repaint loop that must leak nothing.
#include "HistoryChart.h"
#include "RecordingCanvas.h"
#include "forms/Application.h"
#include "forms/Form.h"
#include <gtest/gtest.h>
#include <set>

using namespace chart;

namespace {

constexpr uint32_t Purple = 0x800080, Black = 0, Blue = 0x0000FF, Red = 0xFF0000, Green = 0x008000;

class ChartWindow : public testing::Test {
protected:
    void SetUp() override {
        forms::Application->Initialize();
        form = new forms::TForm(nullptr);
        form->SetBorderStyle(forms::bsNone);
        form->SetBounds(50, 50, 160, 240);
        c = new TChart(form);
        ConfigureHistoryChart(*c);
        c->SetTop(0);
        auto r = std::make_unique<RecordingCanvas>(false);
        rec = r.get();
        c->SetChartCanvas(std::move(r));
        c->SetParent(form);
        series = AddDriveSeries(*c, 8);
        form->Show();
        Pump();
    }
    void TearDown() override {
        delete form;
        forms::Application->ProcessMessages();
    }
    void Pump() {
        forms::Application->ProcessMessages();
        UpdateWindow(c->Handle());
    }
    void Feed(double base) {
        std::vector<std::vector<double>> h(series.size());
        for (size_t i = 0; i < h.size(); ++i) h[i].assign(100, base + double(i));
        FeedHistory(*c, h);
    }
    // The window's own image, taken through WM_PRINTCLIENT into a bitmap.
    uint32_t At(forms::TBitmap& shot, int x, int y) { return shot.Bits()[y * shot.Width() + x] & 0xFFFFFF; }

    forms::TForm* form = nullptr;
    TChart* c = nullptr;
    RecordingCanvas* rec = nullptr;
    std::vector<TLineSeries*> series;
};

TEST_F(ChartWindow, PaintsTheHistoryChartForReal) {
    for (size_t i = 1; i < series.size(); ++i) series[i]->SetActive(false);
    std::vector<std::vector<double>> h{std::vector<double>(100, 40.0)};
    FeedHistory(*c, h);
    Pump();
    ASSERT_EQ(c->LeftAxis().Minimum(), 38);
    ASSERT_EQ(c->LeftAxis().Maximum(), 42);

    forms::TBitmap shot(c->Width(), c->Height());
    SendMessageA(c->Handle(), WM_PRINTCLIENT, reinterpret_cast<WPARAM>(shot.Canvas().Handle()), PRF_CLIENT);
    GdiFlush();
    const RECT p = c->PlotRect();
    int line = c->LeftAxis().ValueToPixel(40), grid41 = c->LeftAxis().ValueToPixel(41);
    EXPECT_EQ(p.right, 138);
    EXPECT_EQ(p.bottom, 93);
    EXPECT_EQ(At(shot, 1, 100), Purple) << "background";
    EXPECT_EQ(At(shot, 138, 30), Black) << "back wall frame";
    EXPECT_EQ(At(shot, (p.left + p.right) / 2, 93), Black) << "bottom axis over the frame";
    EXPECT_EQ(At(shot, p.left, 30), Blue) << "left axis line";
    EXPECT_EQ(At(shot, p.left - 3, grid41), Blue) << "tick";
    EXPECT_EQ(At(shot, 70, line), Red) << "the drive's line";
    EXPECT_EQ(At(shot, 70, line - 10), Purple) << "inside of the plot shows the panel";
    std::set<uint32_t> row;
    for (int x = p.left + 1; x < p.right; ++x) row.insert(At(shot, x, grid41));
    EXPECT_EQ(row, (std::set<uint32_t>{Green, Purple})) << "dotted grid with see-through gaps";
    int labelPixels = 0;
    for (int y = 0; y < 105; ++y)
        for (int x = 0; x < c->LeftAxis().LabelsPos() + 1; ++x) labelPixels += At(shot, x, y) == Blue;
    EXPECT_GT(labelPixels, 20) << "value labels left of the axis";
}

TEST_F(ChartWindow, BurstOfChangesCostsOnePaintAndCleanRequestsReshow) {
    Feed(40);
    Pump();
    int paints = rec->paints, shows = rec->shows;
    Feed(41);
    EXPECT_EQ(rec->paints, paints) << "changes only invalidate";
    Pump();
    EXPECT_EQ(rec->paints, paints + 1);
    EXPECT_EQ(rec->shows, shows + 1);
    InvalidateRect(c->Handle(), nullptr, FALSE);
    UpdateWindow(c->Handle());
    EXPECT_EQ(rec->paints, paints + 1) << "clean: no repaint";
    EXPECT_EQ(rec->shows, shows + 2) << "but the bitmap is shown again";
}

TEST_F(ChartWindow, ResizeRepaintsAtTheNewSize) {
    Feed(40);
    Pump();
    c->SetBounds(0, 0, 200, 120);
    Pump();
    EXPECT_EQ(rec->Image().Width(), 200);
    EXPECT_EQ(rec->Image().Height(), 120);
    EXPECT_FALSE(rec->Dirty());
    EXPECT_EQ(c->PlotRect().right, 190);
}

TEST_F(ChartWindow, MouseDownReachesTheHandler) {
    int downs = 0;
    c->OnMouseDown = [&](forms::TObject*, forms::TMouseButton, forms::TShiftState, int x, int y) {
        ++downs;
        EXPECT_EQ(x, 10);
        EXPECT_EQ(y, 20);
    };
    SendMessageA(c->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 20));
    SendMessageA(c->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(10, 20));
    EXPECT_EQ(downs, 1);
}

TEST_F(ChartWindow, RepaintingLeaksNoGdiObjectsOrWindows) {
    Feed(40);
    Pump();
    long gdi = forms::gdi::LiveObjects();
    int windows = forms::CountProcessWindows();
    for (int i = 0; i < 2000; ++i) {
        Feed(40 + i % 7);
        c->LeftAxis().Axis().SetColor(i % 2 ? forms::clBlue : forms::clNavy);
        UpdateWindow(c->Handle());
    }
    Pump();
    EXPECT_GE(rec->paints, 2000);
    EXPECT_EQ(forms::gdi::LiveObjects(), gdi);
    EXPECT_EQ(forms::CountProcessWindows(), windows);
}

}  // namespace
