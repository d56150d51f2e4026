// The series base: point storage, axes, visible range and the drawing frame.
#include "Chart.h"
#include "ChartEngine.h"

namespace chart {

TChartSeries::TChartSeries(forms::TComponent* owner) : forms::TComponent(owner) {}

TChartSeries::~TChartSeries() {
    MarkDestroying();
    ClearPoints();
    if (parent_) parent_->DetachSeries(this);
}

void TChartSeries::Repaint() {
    if (active_ && parent_ && !parent_->Destroying()) parent_->Invalidate();
}

void TChartSeries::SetSeriesColor(TColor v) {
    if (seriesColor_ == v) return;
    seriesColor_ = v;
    if (parent_ && !parent_->Destroying()) parent_->Invalidate();
}

void TChartSeries::SetColorEachPoint(bool v) {
    if (colorEachPoint_ == v) return;
    colorEachPoint_ = v;
    Repaint();
}

void TChartSeries::SetActive(bool v) {
    if (active_ == v) return;
    active_ = v;
    if (parent_) parent_->Invalidate();
}

void TChartSeries::SetHorizAxis(THorizAxis v) {
    if (horizAxisKind_ == v) return;
    horizAxisKind_ = v;
    ResolveAxes();
    Repaint();
}

void TChartSeries::SetVertAxis(TVertAxis v) {
    if (vertAxisKind_ == v) return;
    vertAxisKind_ = v;
    ResolveAxes();
    Repaint();
}

void TChartSeries::SetParentChart(TAxisPanel* chart) {
    if (chart == parent_) return;
    if (parent_) parent_->DetachSeries(this);
    parent_ = chart;
    ResolveAxes();
    if (chart) chart->AttachSeries(this);
}

void TChartSeries::ResolveAxes() {
    if (!parent_) {
        horizAxis_ = vertAxis_ = nullptr;
        return;
    }
    horizAxis_ = horizAxisKind_ == aTopAxis ? &parent_->TopAxis() : &parent_->BottomAxis();
    vertAxis_ = vertAxisKind_ == aRightAxis ? &parent_->RightAxis() : &parent_->LeftAxis();
}

bool TChartSeries::AssociatedToAxis(const TChartAxis* axis) const {
    if (!parent_ || !UsesAxes()) return false;
    if (axis->Horizontal()) {
        if (horizAxisKind_ == aBothHorizAxis) return axis == &parent_->TopAxis() || axis == &parent_->BottomAxis();
        return axis == horizAxis_;
    }
    if (axis->IsDepth()) return false;
    if (vertAxisKind_ == aBothVertAxis) return axis == &parent_->LeftAxis() || axis == &parent_->RightAxis();
    return axis == vertAxis_;
}

// --- points -----------------------------------------------------------------------------

int TChartSeries::AppendXY(double x, double y, const std::optional<std::string>& label, TColor color) {
    xValues_.TempValue = x;
    yValues_.TempValue = y;
    if (OnBeforeAdd && !OnBeforeAdd(this)) return -1;
    int index = xValues_.AddOrdered(x);
    yValues_.InsertAt(index, y);
    colors_.insert(colors_.begin() + index, color);
    labels_.insert(labels_.begin() + index, label);
    if (OnAfterAdd) OnAfterAdd(this, index);
    Repaint();
    return index;
}

int TChartSeries::AppendValues(std::span<const double> values) {
    for (double v : values) AppendValue(v, std::nullopt, clDefault);
    return static_cast<int>(values.size());
}

void TChartSeries::ClearPoints() {
    xValues_.Clear();
    yValues_.Clear();
    colors_.clear();
    labels_.clear();
    colors_.shrink_to_fit();
    labels_.shrink_to_fit();
    if (OnClearValues) OnClearValues(this);
    Repaint();
}

void TChartSeries::DeletePoint(int i) {
    if (i < 0 || i >= PointCount()) return;  // nothing there: nothing to remove
    xValues_.Delete(i);
    yValues_.Delete(i);
    if (i < static_cast<int>(colors_.size())) colors_.erase(colors_.begin() + i);
    if (i < static_cast<int>(labels_.size())) labels_.erase(labels_.begin() + i);
    Repaint();
}

TColor TChartSeries::PointColor(int i) const {
    if (i < 0 || i >= static_cast<int>(colors_.size())) return seriesColor_;
    TColor c = colors_[i];
    if (c != clDefault) return c;
    return colorEachPoint_ ? PaletteColor(i) : seriesColor_;
}

int TChartSeries::XToPixel(int i) const { return horizAxis_ ? horizAxis_->ValueToPixel(XValue(i)) : 0; }
int TChartSeries::YToPixel(int i) const { return vertAxis_ ? vertAxis_->ValueToPixel(YValue(i)) : 0; }

// --- drawing ----------------------------------------------------------------------------

void TChartSeries::CalcFirstLastVisible() {
    firstShown_ = lastShown_ = -1;
    int n = PointCount();
    if (n == 0 || !horizAxis_) return;
    if (!CalcVisiblePoints || xValues_.Order() == loNone) {
        firstShown_ = 0;
        lastShown_ = n - 1;
        return;
    }
    const RECT& plot = parent_->PlotRect();
    bool inv = horizAxis_->Inverted();
    double left = horizAxis_->PixelToValue(inv ? plot.right : plot.left);
    double right = horizAxis_->PixelToValue(inv ? plot.left : plot.right);
    int first = -1;
    for (int i = 0; i < n; ++i)
        if (!(XValue(i) < left)) { first = i; break; }
    if (first < 0) return;
    firstShown_ = first;
    if (!(XValue(n - 1) > right)) {
        lastShown_ = n - 1;
        return;
    }
    lastShown_ = n - 1;
    for (int i = first; i < n; ++i)
        if (!(XValue(i) < right)) { lastShown_ = i; break; }
    // Without lines between points, a point beyond the edge is not drawn.
    if (!DrawBetweenPoints() && XValue(lastShown_) > right && lastShown_ > firstShown_) --lastShown_;
}

void TChartSeries::DrawAllPoints() {
    for (int i = firstShown_; i <= lastShown_; ++i) DrawPoint(i);
}

void TChartSeries::DrawValues() {
    if (!active_ || !parent_) return;
    CalcFirstLastVisible();
    if (firstShown_ < 0) return;
    if (BeforeDrawValues) BeforeDrawValues(this);
    TChartCanvas& canvas = parent_->ChartCanvas();
    bool clip = parent_->ClipPoints();
    if (clip) {
        const RECT& p = parent_->PlotRect();
        canvas.ClipRectangle({p.left + 1, p.top + 1, p.right, p.bottom - 1});
    }
    DrawAllPoints();
    if (clip) canvas.UnClipRectangle();
    if (Marks.Visible)
        for (int i = firstShown_; i <= lastShown_; ++i) DrawMark(i);
    if (AfterDrawValues) AfterDrawValues(this);
}

}  // namespace chart
