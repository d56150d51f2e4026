// The monitor window's history chart as the program configures it, with one 2-pixel line series
// per drive and the program's way of feeding it.
#pragma once
#include "app/HistoryChart.h"
#include <algorithm>
#include <vector>

using thermowl::ConfigureHistoryChart;

// Adds one series per drive the way the monitor panel does.
inline std::vector<chart::TLineSeries*> AddDriveSeries(chart::TChart& c, int drives) {
    std::vector<chart::TLineSeries*> out;
    for (int i = 0; i < drives; ++i) out.push_back(thermowl::AddDriveSeries(c));
    c.SetCursor(chart::crHandPoint);
    return out;
}

// One reading: every series refilled with its 100 values, then the left axis range.
inline void FeedHistory(chart::TChart& c, const std::vector<std::vector<double>>& history) {
    double lo = 100.0, hi = 0.0;
    for (size_t i = 0; i < history.size(); ++i) {
        chart::TChartSeries* s = c.Series(static_cast<int>(i));
        s->ClearPoints();
        s->AppendValues(history[i]);
        lo = std::min(lo, s->MinY());
        hi = std::max(hi, s->MaxY());
    }
    thermowl::SetValueRange(c.LeftAxis(), lo - 2, hi + 2);
}
