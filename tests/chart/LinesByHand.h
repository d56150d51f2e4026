// The reference for the chart's lines: the series' own drawing switched off, and every segment
// drawn with a line of its own after the paint, in the series' pen and the point's colour.
#pragma once
#include "chart/Chart.h"
#include "chart/Series.h"
#include <memory>

inline void DrawLinesByHand(chart::TChart& c) {
    chart::TChartCanvas& k = c.ChartCanvas();
    const RECT& p = c.PlotRect();
    k.ClipRectangle({p.left + 1, p.top + 1, p.right, p.bottom - 1});
    k.SetBackMode(false);  // as the grid leaves it: the gaps of a dotted line are filled
    for (int s = 0; s < c.SeriesCount(); ++s) {
        auto* x = static_cast<chart::TLineSeries*>(c.Series(s));
        chart::TChartPen& pen = x->LinePen();
        for (int i = 1; i < x->PointCount(); ++i) {
            const POINT a{x->XToPixel(i - 1), x->YToPixel(i - 1)}, b{x->XToPixel(i), x->YToPixel(i)};
            if (a.x == b.x && a.y == b.y) continue;
            if (pen.SmallDots() && pen.Width() == 1) k.SetSmallDotsPen(x->PointColor(i), pen.Mode());
            else k.SetPen(x->PointColor(i), pen.Width(), pen.Style(), pen.Mode());
            if (!x->Stairs()) {
                k.Line(a.x, a.y, b.x, b.y);
                continue;
            }
            const POINT m = x->InvertedStairs() ? POINT{a.x, b.y} : POINT{b.x, a.y};
            k.Line(a.x, a.y, m.x, m.y);
            k.Line(m.x, m.y, b.x, b.y);
        }
    }
    k.UnClipRectangle();
}

// Repaints c from nothing (a fresh canvas) with its lines drawn by hand; the pixels stay in the
// canvas's image.
inline void PaintReference(chart::TChart& c, HDC scratch) {
    c.SetChartCanvas(std::make_unique<chart::TChartCanvas>());
    for (int s = 0; s < c.SeriesCount(); ++s) static_cast<chart::TLineSeries*>(c.Series(s))->LinePen().SetVisible(false);
    c.OnAfterDraw = [&c](forms::TObject*) { DrawLinesByHand(c); };
    c.PaintTo(scratch);
    GdiFlush();
}
