// Series that draw lines (and, when asked, point symbols) through their points.
#pragma once
#include "ChartEngine.h"
#include <vector>

namespace chart {

// The point symbol: a filled square in the point's colour.
class TSeriesPointer {
public:
    explicit TSeriesPointer(TChartSeries* series) : series_(series) {}
    bool Visible() const { return visible_; }
    void SetVisible(bool v) { if (visible_ != v) { visible_ = v; series_->Repaint(); } }
    int HorizSize() const { return horizSize_; }
    void SetHorizSize(int v) { if (horizSize_ != v) { horizSize_ = v; series_->Repaint(); } }
    int VertSize() const { return vertSize_; }
    void SetVertSize(int v) { if (vertSize_ != v) { vertSize_ = v; series_->Repaint(); } }
    bool InflateMargins() const { return inflateMargins_; }
    void SetInflateMargins(bool v) { if (inflateMargins_ != v) { inflateMargins_ = v; series_->Repaint(); } }
    TChartPen& Pen() { return pen_; }
private:
    TChartSeries* series_;
    bool visible_ = true;
    int horizSize_ = 4, vertSize_ = 4;
    bool inflateMargins_ = true;
    TChartPen pen_;
};

class TCustomSeries : public TChartSeries {
public:
    explicit TCustomSeries(forms::TComponent* owner);

    TChartPen& LinePen() { return linePen_; }
    TSeriesPointer& Pointer() { return pointer_; }
    bool Stairs() const { return stairs_; }
    void SetStairs(bool v) { if (stairs_ != v) { stairs_ = v; Repaint(); } }
    bool InvertedStairs() const { return invertedStairs_; }
    void SetInvertedStairs(bool v) { if (invertedStairs_ != v) { invertedStairs_ = v; Repaint(); } }
    int LineHeight() const { return lineHeight_; }
    void SetLineHeight(int v) { if (lineHeight_ != v) { lineHeight_ = v; Repaint(); } }
    bool ClickableLine = true;
    // 3-D only; stored for completeness.
    forms::TBrushStyle LineBrush = forms::bsSolid;
    bool Dark3D = true;

    int HitTest(int x, int y) override;
    void CalcHorizMargins(int& left, int& right) override;
    void CalcVerticalMargins(int& top, int& bottom) override;

protected:
    void DrawPoint(int i) override;
    bool DrawBetweenPoints() const override { return drawBetweenPoints_; }
    void DrawAllPoints() override;
    virtual void DrawPointer(int x, int y, TColor color);
    void DrawSegment(int x, int y, TColor color);
    // Draws the segments gathered so far as one line.
    void FlushLine();

    bool drawLine_ = false;
    bool drawArea_ = false;  // areas are not drawn by this chart
    bool drawBetweenPoints_ = true;

private:
    TChartPen linePen_;
    TSeriesPointer pointer_{this};
    bool stairs_ = false, invertedStairs_ = false;
    int lineHeight_ = 0;
    int prevX_ = 0, prevY_ = 0;
    TColor prevColor_ = clDefault;
    // Joined segments not drawn yet, all in lineColor_.
    std::vector<POINT> line_;
    TColor lineColor_ = clDefault;
};

class TLineSeries : public TCustomSeries {
public:
    explicit TLineSeries(forms::TComponent* owner);
};

}  // namespace chart
