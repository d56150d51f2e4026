// The history chart's pixels after a run of readings (layer kept, lines joined) against the same
// readings drawn from nothing, each segment a line of its own, as the chart always drew them.
#include "HistoryChart.h"
#include "LinesByHand.h"
#include "forms/Application.h"
#include <gtest/gtest.h>
#include <functional>
#include <memory>

using namespace chart;

namespace {

std::vector<uint32_t> Pixels(TChart& c) {
    forms::TBitmap target(c.Width(), c.Height());
    c.PaintTo(target.Canvas().Handle());
    GdiFlush();
    const forms::TBitmap& image = c.ChartCanvas().Image();
    return {image.Bits(), image.Bits() + size_t(image.Width()) * image.Height()};
}

// Eight drives wandering between 30 and 60, one step further at each reading.
std::vector<std::vector<double>> Readings(int step) {
    std::vector<std::vector<double>> h(8, std::vector<double>(100));
    for (int d = 0; d < 8; ++d)
        for (int i = 0; i < 100; ++i) h[d][i] = 30 + (d * 3 + (i + step) * (d + 1) % 17) % 31;
    return h;
}

}  // namespace

TEST(ChartPixels, AfterManyReadingsTheChartIsTheOneDrawnFromNothing) {
    forms::Application->Initialize();
    const struct {
        const char* what;
        std::function<void(TChart&, std::vector<TLineSeries*>&)> setUp;
        bool rangeMovesLast;
        // How a reading reaches the chart, when not as the monitor feeds it.
        std::function<void(TChart&, std::vector<std::vector<double>>&)> feed = nullptr;
    } cases[] = {
        {"the monitor's chart", [](TChart&, auto&) {}, false},
        {"the range moves at the last reading", [](TChart&, auto&) {}, true},
        {"stairs", [](TChart&, auto& s) { for (auto* x : s) x->SetStairs(true); }, false},
        {"inverted stairs, 3 pixels",
         [](TChart&, auto& s) { for (auto* x : s) { x->SetStairs(true); x->SetInvertedStairs(true); x->LinePen().SetWidth(3); } },
         false},
        {"1-pixel lines", [](TChart&, auto& s) { for (auto* x : s) x->LinePen().SetWidth(1); }, false},
        {"dotted lines", [](TChart&, auto& s) { for (auto* x : s) { x->LinePen().SetWidth(1); x->LinePen().SetStyle(forms::psDot); } },
         false},
        {"a colour per point", [](TChart&, auto& s) { s[0]->SetColorEachPoint(true); }, false},
        {"a smaller chart", [](TChart& c, auto&) { c.SetBounds(0, 0, 90, 60); }, false},
        {"every reading a degree off the last", [](TChart&, auto&) {}, false,
         [](TChart& c, auto& r) {
             for (size_t d = 0; d < r.size(); ++d)
                 for (size_t i = 0; i < r[d].size(); ++i) r[d][i] = 40 + 2 * d + (i + d) % 2;
             FeedHistory(c, r);
         }},
        {"lines running far off the plot", [](TChart&, auto&) {}, false,
         [](TChart& c, auto& r) {
             FeedHistory(c, r);
             thermowl::SetValueRange(c.LeftAxis(), 45, 45.1);
         }},
    };
    for (const auto& k : cases) {
        TChart c(nullptr);
        ConfigureHistoryChart(c);
        auto series = AddDriveSeries(c, 8);
        k.setUp(c, series);
        for (int step = 0; step < 4; ++step) {
            auto readings = Readings(step);
            if (k.rangeMovesLast && step == 3) readings[0][50] = 90;
            if (k.feed) k.feed(c, readings);
            else FeedHistory(c, readings);
            Pixels(c);
        }
        EXPECT_EQ(c.ChartCanvas().LayerReused(), !k.rangeMovesLast) << k.what;
        const std::vector<uint32_t> kept = Pixels(c);
        forms::TBitmap scratch(c.Width(), c.Height());
        PaintReference(c, scratch.Canvas().Handle());
        const forms::TBitmap& image = c.ChartCanvas().Image();
        const std::vector<uint32_t> fresh(image.Bits(), image.Bits() + size_t(image.Width()) * image.Height());
        ASSERT_EQ(kept.size(), fresh.size()) << k.what;
        size_t differ = 0;
        for (size_t i = 0; i < kept.size(); ++i) differ += (kept[i] & 0xFFFFFF) != (fresh[i] & 0xFFFFFF);
        EXPECT_EQ(differ, 0u) << k.what;
    }
}
