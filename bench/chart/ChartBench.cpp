// History chart benchmark: the time of a full repaint and of re-showing a clean bitmap, each as
// a ratio to a plain BitBlt of the same area, then a long repaint run that must leak nothing.
// Exits with 1 when GDI objects, windows or working set grew.
#include "../BenchClock.h"
#include "HistoryChart.h"
#include "forms/ProcessStats.h"
#include "forms/Application.h"
#include "forms/Form.h"
#include <cmath>
#include <cstdio>
#include <cstdlib>

using namespace chart;

namespace {

// Seconds per call of f, over enough calls to last about half a second.
template <typename F> double PerCall(F f) {
    int n = 1;
    for (;;) {
        double t0 = Now();
        for (int i = 0; i < n; ++i) f();
        double dt = Now() - t0;
        if (dt > 0.5) return dt / n;
        n *= 2;
    }
}

// Eight drives of 100 readings, shifted by one sample per call as the monitor does.
struct Feeder {
    std::vector<std::vector<double>> history = std::vector<std::vector<double>>(8, std::vector<double>(100));
    int tick = 0;
    void Next(TChart& c) {
        for (size_t d = 0; d < history.size(); ++d)
            for (int i = 0; i < 100; ++i)
                history[d][i] = 35 + double(d) + 6 * std::sin((tick + i) * 0.13 + double(d));
        ++tick;
        FeedHistory(c, history);
    }
};

}  // namespace

int main(int argc, char** argv) {
    forms::Application->Initialize();
    auto* form = new forms::TForm(nullptr);
    form->SetBorderStyle(forms::bsNone);
    form->SetBounds(40, 40, 160, 240);
    auto* c = new TChart(form);
    ConfigureHistoryChart(*c);
    c->SetParent(form);
    AddDriveSeries(*c, 8);
    Feeder feed;
    feed.Next(*c);
    form->Show();
    forms::Application->ProcessMessages();

    const int w = c->Width(), h = c->Height();
    forms::TBitmap target(w, h), source(w, h);
    HDC dst = target.Canvas().Handle(), src = source.Canvas().Handle();

    double blt = PerCall([&] { BitBlt(dst, 0, 0, w, h, src, 0, 0, SRCCOPY); GdiFlush(); });
    if (getenv("CHART_BENCH_PROFILE")) {
        double t;
        for (auto* s : c->SeriesList()) s->SetActive(false);
        t = PerCall([&] { c->Invalidate(); c->PaintTo(dst); GdiFlush(); });
        std::printf("  no series %.1f us\n", t * 1e6);
        c->LeftAxis().SetLabels(false);
        t = PerCall([&] { c->Invalidate(); c->PaintTo(dst); GdiFlush(); });
        std::printf("  no series, no labels %.1f us\n", t * 1e6);
        c->LeftAxis().SetLabels(true);
        for (auto* s : c->SeriesList()) s->SetActive(true);
    }
    double full = PerCall([&] { c->Invalidate(); c->PaintTo(dst); GdiFlush(); });
    double clean = PerCall([&] { c->PaintTo(dst); GdiFlush(); });
    double update = PerCall([&] { feed.Next(*c); c->PaintTo(dst); GdiFlush(); });
    std::printf("chart %dx%d, 8 series x 100 points\n", w, h);
    std::printf("  BitBlt baseline      %9.2f us\n", blt * 1e6);
    std::printf("  full repaint         %9.2f us  = %8.1f x BitBlt\n", full * 1e6, full / blt);
    std::printf("  re-show clean bitmap %9.2f us  = %8.1f x BitBlt\n", clean * 1e6, clean / blt);
    std::printf("  refill + repaint     %9.2f us  = %8.1f x BitBlt\n", update * 1e6, update / blt);

    // Leak run: every repaint follows a full refill, as after each reading. The working set is
    // taken after a warm-up so that first-time allocations do not count.
    const int runs = argc > 1 ? std::atoi(argv[1]) : 100000, warmup = 2000;  // a count for quick runs
    for (int i = 0; i < warmup; ++i) { feed.Next(*c); c->PaintTo(dst); }
    for (int i = 0; i < 50; ++i) { feed.Next(*c); UpdateWindow(c->Handle()); }
    forms::Application->ProcessMessages();
    long gdi = forms::gdi::LiveObjects();
    int windows = forms::CountProcessWindows();
    SIZE_T ws = forms::WorkingSetBytes();
    double t0 = Now();
    for (int i = 0; i < runs; ++i) {
        feed.Next(*c);
        if (i % 50 == 0) UpdateWindow(c->Handle());  // now and then through WM_PAINT too
        else c->PaintTo(dst);
    }
    forms::Application->ProcessMessages();
    double dt = Now() - t0;
    long gdiAfter = forms::gdi::LiveObjects();
    int windowsAfter = forms::CountProcessWindows();
    SIZE_T wsAfter = forms::WorkingSetBytes();
    long long grown = static_cast<long long>(wsAfter) - static_cast<long long>(ws);
    std::printf("%d repaints in %.1f s: GDI objects %ld -> %ld, windows %d -> %d, working set %+lld KB\n", runs, dt,
                gdi, gdiAfter, windows, windowsAfter, grown / 1024);

    delete form;
    forms::Application->ProcessMessages();
    // Allocator noise of a few pages is not growth; a leak of even 8 bytes a repaint is 800 KB.
    bool leaked = gdiAfter != gdi || windowsAfter != windows || grown > 256 * 1024;
    std::printf("%s\n", leaked ? "LEAK" : "no leak");
    return leaked ? 1 : 0;
}
