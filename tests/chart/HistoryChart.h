// The monitor window's history chart as the program configures it: 145 x 105, purple
// background (the window's colour key), flat, margins 0/0/5/10, a value axis on the left and
// a bare bottom axis, and one 2-pixel line series per drive.
#pragma once
#include "chart/Chart.h"
#include "chart/Series.h"
#include <algorithm>
#include <vector>

inline void ConfigureHistoryChart(chart::TChart& c) {
    using namespace chart;
    c.BeginLoading();
    c.SetBounds(0, 112, 145, 105);
    c.SetColor(forms::clPurple);
    c.SetBackColor(forms::clPurple);
    c.BackWall().Brush().SetColor(forms::clWhite);
    c.LeftWall().Pen().SetColor(forms::clPurple);
    c.BottomWall().Brush().SetColor(forms::clWhite);
    c.SetMarginLeft(0); c.SetMarginTop(0); c.SetMarginRight(5); c.SetMarginBottom(10);
    c.SetView3D(false); c.SetView3DWalls(false);
    c.View3DOptions = {315, 360, 0, false};
    c.SetAllowZoom(false); c.SetAllowPanning(pmNone);
    c.Title = {false, "TChart", false};
    c.Foot.Visible = false;
    c.Legend = {false, 0};
    c.TopAxis().SetVisible(false); c.RightAxis().SetVisible(false);
    c.SetScaleLastPage(false);
    c.SetBevelOuter(bvNone); c.SetBevelWidth(0); c.SetBorderWidth(0);

    TChartAxis& l = c.LeftAxis();
    l.SetAutomatic(false); l.SetAutomaticMaximum(false); l.SetAutomaticMinimum(false);
    l.SetMaximum(300); l.SetMinimum(5);
    l.Axis().SetWidth(1); l.Axis().SetColor(forms::clBlue);
    l.LabelsFont().SetName("Arial"); l.LabelsFont().SetHeight(-9); l.LabelsFont().SetColor(forms::clBlue);
    l.SetTickLength(6); l.Ticks().SetColor(forms::clBlue);
    l.TicksInner().SetColor(forms::clGreen);
    l.SetMinorTickLength(3); l.SetMinorTickCount(0); l.MinorTicks().SetColor(forms::clBlue);
    l.Grid().SetColor(forms::clGreen);
    l.MinorGrid().SetColor(forms::clGreen); l.MinorGrid().SetStyle(forms::psDot); l.MinorGrid().SetVisible(true);
    l.SetExactDateTime(false);

    TChartAxis& b = c.BottomAxis();
    b.SetLabels(false);
    b.LabelsFont().SetName("Arial"); b.LabelsFont().SetHeight(-11); b.LabelsFont().SetColor(forms::clMaroon);
    b.Axis().SetWidth(1);
    b.SetTickLength(0); b.SetMinorTickLength(0); b.SetMinorTickCount(0);
    b.Grid().SetColor(forms::clGreen);
    b.MinorGrid().SetColor(forms::clGreen); b.MinorGrid().SetStyle(forms::psDot); b.MinorGrid().SetVisible(true);
    b.SetStartPosition(2); b.SetEndPosition(98);
    c.Loaded();
}

// Adds one series per drive the way the monitor panel does.
inline std::vector<chart::TLineSeries*> AddDriveSeries(chart::TChart& c, int drives) {
    std::vector<chart::TLineSeries*> out;
    for (int i = 0; i < drives; ++i) {
        auto* s = new chart::TLineSeries(&c);
        s->SetParentChart(&c);
        s->LinePen().SetWidth(2);
        s->Cursor = chart::crHandPoint;
        out.push_back(s);
    }
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
    c.LeftAxis().SetMaximum(hi + 2);
    c.LeftAxis().SetMinimum(lo - 2);
}
