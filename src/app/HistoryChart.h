// The monitor's history chart: its stored configuration, the line series of one drive, and the
// value range of its left axis.
#pragma once
#include "chart/Chart.h"
#include "chart/Series.h"

namespace thermowl {

// 145 x 105, purple background (the window's colour key), flat, margins 0/0/5/10, a value axis
// on the left and a bare bottom axis.
void ConfigureHistoryChart(chart::TChart& chart);

// A 2-pixel line series with the hand cursor, attached to `chart` and owned by it; its colour
// is the chart's next free one.
chart::TLineSeries* AddDriveSeries(chart::TChart& chart);

// The left axis range low .. high, maximum first. Only when the new maximum lies below the
// current minimum (which the axis refuses) the minimum goes first. A range with low above high
// is not set at all.
void SetValueRange(chart::TChartAxis& axis, double low, double high);

}  // namespace thermowl
