// What the monitor shows after a run of replies, painted the way updates paint it, against the
// same state drawn from nothing: the window's background, every windowless control in turn, and
// the chart on a fresh canvas with one line per segment, as the monitor always drew them.
#include "../chart/LinesByHand.h"
#include "MonitorFixture.h"
#include "forms/Bitmap.h"

using namespace thermowl;

namespace {

// The pixels of a window's client area as they are on its surface.
std::vector<uint32_t> Shown(HWND window, int width, int height) {
    forms::TBitmap copy(width, height);
    HDC dc = GetDC(window);
    BitBlt(copy.Canvas().Handle(), 0, 0, width, height, dc, 0, 0, SRCCOPY);
    ReleaseDC(window, dc);
    GdiFlush();
    return {copy.Bits(), copy.Bits() + size_t(width) * height};
}

// How many pixels differ, leaving out `skip` (a rectangle of the window the chart covers).
size_t Differences(const std::vector<uint32_t>& a, const std::vector<uint32_t>& b, int width, RECT skip) {
    size_t n = 0;
    for (size_t i = 0; i < a.size() && i < b.size(); ++i) {
        POINT p{LONG(i % size_t(width)), LONG(i / size_t(width))};
        n += !PtInRect(&skip, p) && (a[i] & 0xFFFFFF) != (b[i] & 0xFFFFFF);
    }
    return n + (a.size() != b.size());
}

}  // namespace

TEST_F(MonitorTest, EveryLayoutShowsAfterUpdatesWhatAFullDrawingShows) {
    Start();
    monitor->Show();
    for (int drives : {1, 3, 8}) {
        for (int layout = 0; layout < 8; ++layout) {
            Settings.ShowHddNames = layout & 1;
            Settings.ShowIcons = layout & 2;
            Settings.ShowChart = layout & 4;
            monitor->CreateIcons();
            for (int reply = 0; reply < 4; ++reply) {
                std::vector<FakeService::Drive> list;
                for (int d = 0; d < drives; ++d)
                    list.push_back({"Disk " + std::to_string(d), uint8_t(35 + (d * 7 + reply * (d + 2)) % 20)});
                Reply(list);
                RedrawWindow(monitor->Handle(), nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
            }
            const std::string what = "drives " + std::to_string(drives) + " layout " + std::to_string(layout);
            const int w = monitor->ClientWidth(), h = monitor->ClientHeight();
            chart::TChart& c = *monitor->Chart1;
            RECT chartArea = c.Visible() ? c.BoundsRect() : RECT{0, 0, 0, 0};

            forms::TBitmap full(w, h);
            HDC dc = full.Canvas().Handle();
            forms::Brush back(CreateSolidBrush(forms::ColorToRGB(monitor->Color())));
            RECT all{0, 0, w, h};
            FillRect(dc, &all, back.get());
            for (forms::TControl* control : monitor->Controls()) {
                if (control->IsWindowed() || !control->Visible()) continue;
                forms::SavedDC saved(dc);
                SetViewportOrgEx(dc, control->Left(), control->Top(), nullptr);
                IntersectClipRect(dc, 0, 0, control->Width(), control->Height());
                static_cast<forms::TGraphicControl*>(control)->PaintTo(dc);
            }
            GdiFlush();
            EXPECT_EQ(Differences(Shown(monitor->Handle(), w, h), {full.Bits(), full.Bits() + size_t(w) * h}, w, chartArea), 0u)
                << what;
            if (!c.Visible()) continue;

            EXPECT_TRUE(c.ChartCanvas().LayerReused()) << what;
            const auto painted = Shown(c.Handle(), c.Width(), c.Height());
            forms::TBitmap target(c.Width(), c.Height());
            PaintReference(c, target.Canvas().Handle());
            const auto& image = c.ChartCanvas().Image();
            EXPECT_EQ(Differences(painted, {image.Bits(), image.Bits() + size_t(image.Width()) * image.Height()}, c.Width(), {}), 0u)
                << what;
            // The monitor's own again for the next layout.
            c.OnAfterDraw = nullptr;
            for (int s = 0; s < c.SeriesCount(); ++s) static_cast<chart::TLineSeries*>(c.Series(s))->LinePen().SetVisible(true);
        }
    }
}
