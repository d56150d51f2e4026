#include "Series.h"
#include "Chart.h"
#include <algorithm>
#include <cstdlib>

namespace chart {

namespace {
constexpr int PixelLimit = 32766;

// Whether t lies on the segment from p to q, within a pixel of the ideal line.
bool OnSegment(POINT t, POINT p, POINT q) {
    long long cross = static_cast<long long>(t.x - p.x) * (q.y - p.y) - static_cast<long long>(t.y - p.y) * (q.x - p.x);
    long long tolerance = std::max(std::llabs(q.x - p.x), std::llabs(q.y - p.y));
    if (std::llabs(cross) >= tolerance) return false;
    bool before = (q.x < p.x && p.x < t.x) || (q.y < p.y && p.y < t.y) || (t.x < p.x && p.x < q.x) ||
                  (t.y < p.y && p.y < q.y);
    bool beyond = (p.x < q.x && q.x < t.x) || (p.y < q.y && q.y < t.y) || (t.x < q.x && q.x < p.x) ||
                  (t.y < q.y && q.y < p.y);
    return !before && !beyond;
}
}  // namespace

TCustomSeries::TCustomSeries(forms::TComponent* owner) : TChartSeries(owner) {
    auto changed = [this](forms::TObject*) {
        if (ParentChart() && !ParentChart()->Destroying()) ParentChart()->Invalidate();
    };
    linePen_.OnChange = changed;
    pointer_.Pen().OnChange = changed;
}

void TCustomSeries::CalcHorizMargins(int& left, int& right) {
    left = right = 0;
    if (pointer_.Visible() && pointer_.InflateMargins()) left = right = pointer_.HorizSize() + 1;
    if (stairs_) { left += linePen_.Width(); right += linePen_.Width(); }
}

void TCustomSeries::CalcVerticalMargins(int& top, int& bottom) {
    top = bottom = 0;
    if (pointer_.Visible() && pointer_.InflateMargins()) top = bottom = pointer_.VertSize() + 1;
    if (stairs_) { top += linePen_.Width(); bottom += linePen_.Width() + 1; }
    if (lineHeight_ > 0 && !drawArea_) bottom = std::max(bottom, lineHeight_);
}

void TCustomSeries::DrawSegment(int x, int y, TColor color) {
    if ((x == prevX_ && y == prevY_) || color == clNone || !linePen_.Visible()) return;
    POINT p[3] = {{prevX_, prevY_}, {x, y}, {x, y}};
    int n = 2;
    if (stairs_) {
        p[1] = invertedStairs_ ? POINT{prevX_, y} : POINT{x, prevY_};
        n = 3;
    }
    // A solid copying pen paints the same pixels whether the segments are joined or not, so
    // they are gathered into one line; other pens draw each segment on its own.
    const bool joinable = linePen_.Style() == forms::psSolid && linePen_.Mode() == forms::pmCopy &&
                          !(linePen_.SmallDots() && linePen_.Width() == 1);
    if (!line_.empty() && (!joinable || lineColor_ != color || line_.back().x != p[0].x || line_.back().y != p[0].y))
        FlushLine();
    if (joinable) {
        if (line_.empty()) {
            line_.push_back(p[0]);
            lineColor_ = color;
        }
        line_.insert(line_.end(), p + 1, p + n);
        return;
    }
    TChartCanvas& c = ParentChart()->ChartCanvas();
    // The line takes the point's colour; the pen gives width and style only.
    if (linePen_.SmallDots() && linePen_.Width() == 1) c.SetSmallDotsPen(color, linePen_.Mode());
    else c.SetPen(color, linePen_.Width(), linePen_.Style(), linePen_.Mode());
    c.SetBrush(forms::clWhite, forms::bsClear);
    for (int k = 1; k < n; ++k) c.Line(p[k - 1].x, p[k - 1].y, p[k].x, p[k].y);
}

void TCustomSeries::FlushLine() {
    if (line_.empty()) return;
    TChartCanvas& c = ParentChart()->ChartCanvas();
    c.SetPen(lineColor_, linePen_.Width(), linePen_.Style(), linePen_.Mode());
    c.SetBrush(forms::clWhite, forms::bsClear);
    c.Polyline(line_.data(), static_cast<int>(line_.size()));
    line_.clear();
}

void TCustomSeries::DrawAllPoints() {
    TChartSeries::DrawAllPoints();
    FlushLine();
}

void TCustomSeries::DrawPoint(int i) {
    TColor k = PointColor(i);
    int x = XToPixel(i), y = YToPixel(i);
    if (x < -PixelLimit || x > PixelLimit || y < -PixelLimit || y > PixelLimit) {
        prevColor_ = k;
        return;
    }
    if (prevColor_ == clNone) { prevX_ = x; prevY_ = y; }
    if (drawLine_) {
        if (i == firstShown_) {
            if (i > 0) {
                // An earlier point lies off the plot: start the line where it crosses the edge.
                TChartAxis* h = GetHorizAxis();
                TChartAxis* v = GetVertAxis();
                const RECT& plot = ParentChart()->PlotRect();
                int ex = h->Inverted() ? plot.right : plot.left;
                double x0 = XValue(i - 1), x1 = XValue(i);
                int ey;
                if (stairs_ || x1 == x0) {
                    ey = YToPixel(i - 1);
                } else {
                    double xv = h->PixelToValue(ex);
                    double y0 = YValue(i - 1), y1 = YValue(i);
                    ey = v->ValueToPixel(y0 + (y1 - y0) * (xv - x0) / (x1 - x0));
                }
                prevX_ = ex;
                prevY_ = ey;
                if (!IsNull(i - 1)) DrawSegment(x, y, k);
            }
        } else {
            DrawSegment(x, y, k);
        }
    }
    if (pointer_.Visible() && k != clNone) {
        FlushLine();  // the symbol lies over the line so far
        DrawPointer(x, y, k);
    }
    prevX_ = x;
    prevY_ = y;
    prevColor_ = k;
}

void TCustomSeries::DrawPointer(int x, int y, TColor color) {
    TChartCanvas& c = ParentChart()->ChartCanvas();
    c.AssignPen(pointer_.Pen());
    c.SetBrush(color, forms::bsSolid);
    int h = pointer_.HorizSize(), v = pointer_.VertSize();
    c.Rectangle(x - h, y - v, x + h + 1, y + v + 1);
}

int TCustomSeries::HitTest(int x, int y) {
    if (firstShown_ < 0 || lastShown_ < 0) return -1;
    POINT t{x, y}, prev{0, 0};
    bool prevNull = true;
    int h = pointer_.HorizSize(), v = pointer_.VertSize();
    for (int i = firstShown_; i <= lastShown_ && i < PointCount(); ++i) {
        POINT p{XToPixel(i), YToPixel(i)};
        bool null = IsNull(i);
        if (!null && pointer_.Visible() && std::abs(x - p.x) <= h && std::abs(y - p.y) <= v) return i;
        if (p.x == x && p.y == y) return i;
        // A segment touching a null point is not drawn, so it cannot be hit either.
        if (i > firstShown_ && ClickableLine && drawLine_ && !null && !prevNull && OnSegment(t, p, prev)) return i - 1;
        prev = p;
        prevNull = null;
    }
    return -1;
}

TLineSeries::TLineSeries(forms::TComponent* owner) : TCustomSeries(owner) {
    drawLine_ = true;
    Pointer().SetVisible(false);
}

}  // namespace chart
