// A chart canvas that writes down every drawing operation (with the pen, brush and font state
// it ran with) and still paints, so tests can check both the order and the pixels. Optionally
// it answers fixed font metrics, which makes layouts independent of the installed fonts.
#pragma once
#include "chart/ChartCanvas.h"
#include <string>
#include <vector>

struct DrawOp {
    enum Kind { Begin, Show, Fill, Rect, Line, Text, Clip, Unclip } kind = Begin;
    int a = 0, b = 0, c = 0, d = 0;  // coordinates (rectangle or line ends; text anchor in a, b)
    std::string text;
    chart::TColor penColor = 0;
    int penWidth = 0;
    forms::TPenStyle penStyle = forms::psSolid;
    bool smallDots = false;
    chart::TColor brushColor = 0;
    forms::TBrushStyle brushStyle = forms::bsSolid;
    chart::TColor fontColor = 0;
    chart::TCanvasTextHoriz horiz = chart::thLeft;
    chart::TCanvasTextVert vert = chart::tvTop;
    bool transparent = false;
};

class RecordingCanvas : public chart::TChartCanvas {
public:
    // fixedMetrics: every character is 6 pixels wide and the font 11 pixels high.
    explicit RecordingCanvas(bool fixedMetrics = false) : fixed_(fixedMetrics) {}

    std::vector<DrawOp> ops;
    int paints = 0, shows = 0;

    void Clear() { ops.clear(); }
    std::vector<DrawOp> Of(DrawOp::Kind k) const {
        std::vector<DrawOp> out;
        for (const DrawOp& o : ops) if (o.kind == k) out.push_back(o);
        return out;
    }

    void BeginPaint(int w, int h) override { ++paints; Add(DrawOp::Begin, 0, 0, w, h); TChartCanvas::BeginPaint(w, h); }
    void ShowImage(HDC dc, int x, int y) override { ++shows; Add(DrawOp::Show, x, y, 0, 0); TChartCanvas::ShowImage(dc, x, y); }
    void FillRect(const RECT& r) override { Add(DrawOp::Fill, r.left, r.top, r.right, r.bottom); TChartCanvas::FillRect(r); }
    void Rectangle(int l, int t, int r, int b) override { Add(DrawOp::Rect, l, t, r, b); TChartCanvas::Rectangle(l, t, r, b); }
    void Line(int x0, int y0, int x1, int y1) override {
        if (PenStyle() != forms::psClear) Add(DrawOp::Line, x0, y0, x1, y1);
        TChartCanvas::Line(x0, y0, x1, y1);
    }
    // A joined line is written down as its segments.
    void Polyline(const POINT* p, int n) override {
        if (PenStyle() != forms::psClear)
            for (int i = 1; i < n; ++i) Add(DrawOp::Line, p[i - 1].x, p[i - 1].y, p[i].x, p[i].y);
        TChartCanvas::Polyline(p, n);
    }
    void TextOut(int x, int y, const std::string& t) override {
        DrawOp& o = Add(DrawOp::Text, x, y, 0, 0);
        o.text = t;
        TChartCanvas::TextOut(x, y, t);
    }
    void SetTextAlign(chart::TCanvasTextHoriz h, chart::TCanvasTextVert v) override {
        horiz_ = h; vert_ = v;
        TChartCanvas::SetTextAlign(h, v);
    }
    void ClipRectangle(const RECT& r) override { Add(DrawOp::Clip, r.left, r.top, r.right, r.bottom); TChartCanvas::ClipRectangle(r); }
    void UnClipRectangle() override { Add(DrawOp::Unclip, 0, 0, 0, 0); TChartCanvas::UnClipRectangle(); }
    int TextWidth(const std::string& t) override { return fixed_ ? 6 * static_cast<int>(t.size()) : TChartCanvas::TextWidth(t); }
    int FontHeight() override { return fixed_ ? 11 : TChartCanvas::FontHeight(); }

private:
    DrawOp& Add(DrawOp::Kind k, int a, int b, int c, int d) {
        DrawOp o;
        o.kind = k; o.a = a; o.b = b; o.c = c; o.d = d;
        o.penColor = PenColor(); o.penWidth = PenWidth(); o.penStyle = PenStyle(); o.smallDots = PenSmallDots();
        o.brushColor = BrushColor(); o.brushStyle = BrushStyle(); o.fontColor = FontColor();
        o.horiz = horiz_; o.vert = vert_; o.transparent = BackTransparent();
        ops.push_back(o);
        return ops.back();
    }
    bool fixed_;
    chart::TCanvasTextHoriz horiz_ = chart::thLeft;
    chart::TCanvasTextVert vert_ = chart::tvTop;
};
