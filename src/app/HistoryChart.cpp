#include "HistoryChart.h"

namespace thermowl {

using namespace chart;

void ConfigureHistoryChart(TChart& c) {
    c.BeginLoading();
    c.SetBounds(0, 112, 145, 105);
    c.SetColor(forms::clPurple);
    c.SetBackColor(forms::clPurple);
    c.BackWall().Brush().SetColor(forms::clWhite);
    c.LeftWall().Pen().SetColor(forms::clPurple);
    c.BottomWall().Brush().SetColor(forms::clWhite);
    c.SetMarginLeft(0);
    c.SetMarginTop(0);
    c.SetMarginRight(5);
    c.SetMarginBottom(10);
    c.SetView3D(false);
    c.SetView3DWalls(false);
    c.View3DOptions = {315, 360, 0, false};
    c.SetAllowZoom(false);
    c.SetAllowPanning(pmNone);
    c.Title = {false, "TChart", false};
    c.Foot.Visible = false;
    c.Legend = {false, 0};
    c.TopAxis().SetVisible(false);
    c.RightAxis().SetVisible(false);
    c.SetScaleLastPage(false);
    c.SetBevelOuter(bvNone);
    c.SetBevelWidth(0);
    c.SetBorderWidth(0);

    TChartAxis& l = c.LeftAxis();
    l.SetAutomatic(false);
    l.SetAutomaticMaximum(false);
    l.SetAutomaticMinimum(false);
    l.SetMaximum(300);
    l.SetMinimum(5);
    l.Axis().SetWidth(1);
    l.Axis().SetColor(forms::clBlue);
    l.LabelsFont().SetName("Arial");
    l.LabelsFont().SetHeight(-9);
    l.LabelsFont().SetQuality(forms::fqNonAntialiased);  // on the colour key
    l.LabelsFont().SetColor(forms::clBlue);
    l.SetTickLength(6);
    l.Ticks().SetColor(forms::clBlue);
    l.TicksInner().SetColor(forms::clGreen);
    l.SetMinorTickLength(3);
    l.SetMinorTickCount(0);
    l.MinorTicks().SetColor(forms::clBlue);
    l.Grid().SetColor(forms::clGreen);
    l.MinorGrid().SetColor(forms::clGreen);
    l.MinorGrid().SetStyle(forms::psDot);
    l.MinorGrid().SetVisible(true);
    l.SetExactDateTime(false);

    // The bottom axis shows no labels; its font is kept as stored all the same.
    TChartAxis& b = c.BottomAxis();
    b.SetLabels(false);
    b.LabelsFont().SetName("Arial");
    b.LabelsFont().SetHeight(-11);
    b.LabelsFont().SetQuality(forms::fqNonAntialiased);
    b.LabelsFont().SetColor(forms::clMaroon);
    b.Axis().SetWidth(1);
    b.SetTickLength(0);
    b.SetMinorTickLength(0);
    b.SetMinorTickCount(0);
    b.Grid().SetColor(forms::clGreen);
    b.MinorGrid().SetColor(forms::clGreen);
    b.MinorGrid().SetStyle(forms::psDot);
    b.MinorGrid().SetVisible(true);
    b.SetStartPosition(2);
    b.SetEndPosition(98);
    c.Loaded();
}

TLineSeries* AddDriveSeries(TChart& c) {
    auto* s = new TLineSeries(&c);
    s->SetParentChart(&c);
    s->LinePen().SetWidth(2);
    s->Cursor = crHandPoint;
    return s;
}

void SetValueRange(TChartAxis& axis, double low, double high) {
    if (low > high) return;
    if (high >= axis.Minimum()) {
        axis.SetMaximum(high);
        axis.SetMinimum(low);
    } else {
        axis.SetMinimum(low);
        axis.SetMaximum(high);
    }
}

}  // namespace thermowl
