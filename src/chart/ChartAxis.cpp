// Axis scaling, layout and drawing.
#include "Chart.h"
#include "ChartEngine.h"
#include <algorithm>
#include <cmath>
#include <limits>

namespace chart {

namespace {
constexpr double MinStep = 1e-12;
constexpr double MaxPixelOffset = 2147483647.0;

// Nearest integer, halves to even (the default rounding mode).
long long RoundEven(double x) { return std::llrint(x); }

int ClampInt(long long v) {
    return static_cast<int>(std::clamp<long long>(v, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()));
}
}  // namespace

TChartAxis::TChartAxis(TAxisPanel* chart, bool horizontal, bool otherSide, bool depth)
    : chart_(chart), horizontal_(horizontal), otherSide_(otherSide), depth_(depth) {
    labelsFont_.SetName("Arial");
    labelsFont_.SetSize(8);
    labelsFont_.SetColor(forms::clBlack);
    // Every pen and the font repaint the chart when they change.
    auto changed = [this](forms::TObject*) { Changed(); };
    for (forms::TGraphicsObject* g : std::initializer_list<forms::TGraphicsObject*>{
             &axisPen_, &ticks_, &ticksInner_, &minorTicks_, &grid_, &minorGrid_, &labelsFont_})
        g->OnChange = changed;
}

void TChartAxis::Changed() {
    if (chart_) chart_->Invalidate();
}

// --- range ------------------------------------------------------------------------------

void TChartAxis::SetMinimum(double v) {
    if (!chart_->Loading() && v > maximum_) throw AxisException("Axis Minimum Value must be <= Maximum");
    Set(minimum_, v);
}

void TChartAxis::SetMaximum(double v) {
    if (!chart_->Loading() && v < minimum_) throw AxisException("Axis Maximum Value must be >= Minimum");
    Set(maximum_, v);
}

void TChartAxis::SetMinMax(double min, double max) {
    if (min > max) throw AxisException("Axis Minimum Value must be <= Maximum");
    // Order the two steps so that neither check fails on the way.
    if (min > maximum_) { SetMaximum(max); SetMinimum(min); }
    else { SetMinimum(min); SetMaximum(max); }
}

void TChartAxis::SetAutomatic(bool v) {
    automatic_ = v;
    if (!chart_->Loading()) { autoMin_ = v; autoMax_ = v; }
    Changed();
}

void TChartAxis::SetAutomaticMinimum(bool v) {
    autoMin_ = v;
    if (!v) automatic_ = false;
    else if (autoMax_) automatic_ = true;
    Changed();
}

void TChartAxis::SetAutomaticMaximum(bool v) {
    autoMax_ = v;
    if (!v) automatic_ = false;
    else if (autoMin_) automatic_ = true;
    Changed();
}

void TChartAxis::CalcAutoRange(double& lo, double& hi) const {
    lo = hi = 0;
    bool anyActive = false;
    for (TChartSeries* s : chart_->SeriesList())
        if (s->Active() && s->AssociatedToAxis(this)) { anyActive = true; break; }
    bool first = true;
    for (TChartSeries* s : chart_->SeriesList()) {
        if (s->PointCount() == 0 || !s->AssociatedToAxis(this)) continue;
        if (anyActive && !s->Active()) continue;
        double a = horizontal_ ? s->MinX() : s->MinY();
        double b = horizontal_ ? s->MaxX() : s->MaxY();
        if (first || a < lo) lo = a;
        if (first || b > hi) hi = b;
        first = false;
    }
}

void TChartAxis::CalcWorkingRange() {
    if (automatic_ || autoMin_ || autoMax_) {
        double lo, hi;
        CalcAutoRange(lo, hi);
        if (automatic_ || autoMax_) maximum_ = hi;
        if (automatic_ || autoMin_) minimum_ = lo;
    }
    scaleMax_ = maximum_;
    scaleMin_ = minimum_;
    scaleRange_ = scaleMax_ - scaleMin_;
}

// --- mapping ----------------------------------------------------------------------------

int TChartAxis::ValueToPixel(double v) const {
    if (scaleRange_ == 0) return axisCenter_;
    double t = (v - scaleMin_) * axisLength_ / scaleRange_;
    if (!(std::fabs(t) < MaxPixelOffset)) return axisCenter_;
    long long r = RoundEven(t);
    bool fromStart = horizontal_ != inverted_;
    return ClampInt(fromStart ? axisStart_ + r : axisEnd_ - r);
}

double TChartAxis::PixelToValue(int p) const {
    if (axisLength_ < 1) return 0;
    double d = (inverted_ ? double(axisEnd_) - p : double(p) - axisStart_) * scaleRange_ / axisLength_;
    return horizontal_ ? scaleMin_ + d : scaleMax_ - d;
}

void TChartAxis::CalcPixelPositions() {
    const RECT& r = chart_->PlotRect();
    int s = horizontal_ ? r.left : r.top;
    int n = horizontal_ ? chart_->PlotWidth() : chart_->PlotHeight();
    axisStart_ = s + ClampInt(RoundEven(n * 0.01 * startPosition_));
    axisEnd_ = s + ClampInt(RoundEven(n * 0.01 * endPosition_));
    axisLength_ = axisEnd_ - axisStart_;
    axisCenter_ = (axisStart_ + axisEnd_) / 2;
}

void TChartAxis::ApplySeriesMargins(int atStart, int atEnd) {
    // Margins count only at an automatic end. The minimum lies at the start of a horizontal
    // axis and at the end of a vertical one, unless inverted.
    bool minAtStart = horizontal_ != inverted_;
    bool startAuto = minAtStart ? autoMin_ : autoMax_;
    bool endAuto = minAtStart ? autoMax_ : autoMin_;
    if (!startAuto) atStart = 0;
    if (!endAuto) atEnd = 0;
    if (atStart == 0 && atEnd == 0) return;
    int oldStart = axisStart_, oldEnd = axisEnd_;
    axisStart_ += atStart;
    axisEnd_ -= atEnd;
    axisLength_ = axisEnd_ - axisStart_;
    double a = PixelToValue(oldStart), b = PixelToValue(oldEnd);
    if (a > b) std::swap(a, b);
    scaleMin_ = a;
    scaleMax_ = b;
    CalcPixelPositions();
    scaleRange_ = scaleMax_ - scaleMin_;
}

// --- labels -----------------------------------------------------------------------------

std::string TChartAxis::LabelText(double v) { return FormatFloat(valuesFormat_, v); }

int TChartAxis::LabelSize() {
    TChartCanvas& c = chart_->ChartCanvas();
    c.SetFont(labelsFont_);
    if (!horizontal_) return c.FontHeight();
    return std::max(c.TextWidth(LabelText(scaleMin_)), c.TextWidth(LabelText(scaleMax_)));
}

double TChartAxis::LabelStep() {
    int size = LabelSize();
    long long m = 1;
    if (size > 0) {
        int sep = labelsSeparation_ > 0 ? static_cast<int>(RoundEven(labelsSeparation_ * 0.01 * size)) : 0;
        m = RoundEven(double(axisLength_) / (size + sep));
    }
    if (m < 1) return MinStep;
    double step = increment_ > 0 ? increment_ : std::fabs(scaleRange_) >= 1 ? 1.0 : MinStep;
    if (labelsSeparation_ > 0) {
        for (;;) {
            double q = scaleRange_ / step;
            bool tooMany = !(std::fabs(q) < MaxPixelOffset) || RoundEven(q) > m;
            if (!tooMany) break;
            double next = NextNiceStep(step);
            if (!(next > step)) break;  // no larger step exists (overflow)
            step = next;
        }
    }
    return std::max(step, MinStep);
}

int TChartAxis::MaxLabelsWidth() {
    double lo = scaleMin_, hi = scaleMax_;
    if (roundFirstLabel_) {
        double s = LabelStep();
        lo = std::trunc(scaleMin_ / s) * s;
        hi = std::trunc(scaleMax_ / s) * s;
    }
    TChartCanvas& c = chart_->ChartCanvas();
    c.SetFont(labelsFont_);
    return std::max(c.TextWidth(LabelText(hi)), c.TextWidth(LabelText(lo))) + c.TextWidth(" ");
}

TAxisLabelStyle TChartAxis::CalcLabelStyle() const {
    if (labelStyle_ != talAuto) return labelStyle_;
    bool any = false;
    for (TChartSeries* s : chart_->SeriesList()) {
        if (!s->Active() || !s->AssociatedToAxis(this)) continue;
        any = true;
        bool counts = horizontal_ ? s->YMandatory() : !s->YMandatory();
        if (counts && s->PointCount() > 0 && s->PointLabel(0) && !s->PointLabel(0)->empty()) return talText;
    }
    return any ? talValue : talNone;
}

// --- visibility and space ---------------------------------------------------------------

bool TChartAxis::IsVisible() const {
    if (!chart_->AxisVisible() || !visible_) return false;
    if (depth_) return chart_->View3D();
    bool anyUsesAxes = false;
    for (TChartSeries* s : chart_->SeriesList()) {
        if (!s->Active() || !s->UsesAxes()) continue;
        anyUsesAxes = true;
        if (s->AssociatedToAxis(this)) return true;
    }
    return !anyUsesAxes;
}

int TChartAxis::ShiftAcross() const {
    if (positionPercent_ == 0) return 0;
    int size = horizontal_ ? chart_->PlotHeight() : chart_->PlotWidth();
    return ClampInt(RoundEven(size * 0.01 * positionPercent_));
}

void TChartAxis::CalcSpace(RECT& r) {
    // Room is taken from the side the axis is drawn on; a positive amount moves that edge inward.
    auto take = [&](int amount) -> int {
        if (horizontal_) {
            if (otherSide_) return r.top += amount;
            return r.bottom -= amount;
        }
        if (otherSide_) return r.right -= amount;
        return r.left += amount;
    };
    if (!title_.empty()) take(titleSize_ > 0 ? titleSize_ : chart_->ChartCanvas().FontHeight());
    if (labels_) {
        int size = labelsSize_;
        if (size == 0) {
            bool heightWise = horizontal_ ? (labelsAngle_ % 180 == 0) : (labelsAngle_ == 90 || labelsAngle_ == 270);
            if (heightWise) {
                chart_->ChartCanvas().SetFont(labelsFont_);
                size = chart_->ChartCanvas().FontHeight();
            } else {
                size = MaxLabelsWidth();
            }
        }
        labelsPos_ = take(size);
    }
    int ticks = (axisPen_.Visible() ? axisPen_.Width() : 0) + (ticks_.Visible() ? tickLength_ : 0);
    if (minorTicks_.Visible()) ticks = std::max(ticks, minorTickLength_);
    take(ticks);
    int shift = ShiftAcross();
    labelsPos_ += (horizontal_ ? (otherSide_ ? shift : -shift) : (otherSide_ ? -shift : shift));
}

// --- drawing ----------------------------------------------------------------------------

void TChartAxis::PlaceLabel(double v) {
    int p = ValueToPixel(v);
    if (!(labelsOnAxis_ || (axisStart_ < p && p < axisEnd_))) return;
    if (!tickOnLabelsOnly_ && tickList_.size() < MaxTicks) tickList_.push_back(p);
    if (labels_) {
        if (tickOnLabelsOnly_ && tickList_.size() < MaxTicks) tickList_.push_back(p);
        DrawLabel(p, LabelText(v));
    }
}

void TChartAxis::DrawLabel(int p, const std::string& text) {
    TChartCanvas& c = chart_->ChartCanvas();
    c.SetFont(labelsFont_);
    c.SetBrush(forms::clWhite, forms::bsClear);
    if (horizontal_) {
        c.SetTextAlign(thCenter, otherSide_ ? tvBottom : tvTop);
        c.TextOut(p, labelsPos_, text);
    } else {
        c.SetTextAlign(otherSide_ ? thLeft : thRight, tvTop);
        c.TextOut(labelsPos_, p - c.FontHeight() / 2, text);
    }
    c.SetTextAlign(thLeft, tvTop);
}

void TChartAxis::DrawTicks(const std::vector<int>& where, TChartPen& pen, int length, bool inner) {
    if (!pen.Visible() || length <= 0 || where.empty()) return;
    TChartCanvas& c = chart_->ChartCanvas();
    c.AssignPen(pen);
    // Outer ticks point away from the plot, inner ones into it.
    bool outwardNegative = horizontal_ ? otherSide_ : !otherSide_;
    int dir = (outwardNegative != inner) ? -1 : 1;
    int from = axisLinePos_ + dir;
    int to = from + dir * length;
    for (int p : where) {
        if (horizontal_) c.VertLine(p, from, to);
        else c.HorizLine(from, to, p);
    }
}

void TChartAxis::DrawGrid(const std::vector<int>& where, TChartPen& pen, bool centered) {
    if (!pen.Visible() || where.empty()) return;
    TChartCanvas& c = chart_->ChartCanvas();
    const RECT& r = chart_->PlotRect();
    c.SetBrush(forms::clWhite, forms::bsClear);
    c.SetBackMode(true);
    c.AssignPen(pen);
    if (pen.Color() == clDefault) {
        if (pen.SmallDots() && pen.Width() == 1) c.SetSmallDotsPen(forms::clGray, pen.Mode());
        else c.SetPen(forms::clGray, pen.Width(), pen.Style(), pen.Mode());
    }
    for (size_t i = centered ? 1 : 0; i < where.size(); ++i) {
        int p = centered ? static_cast<int>(RoundEven((where[i] + where[i - 1]) / 2.0)) : where[i];
        if (horizontal_) c.VertLine(p, r.top, r.bottom);
        else c.HorizLine(r.left, r.right, p);
    }
    c.SetBackMode(false);
}

std::vector<int> TChartAxis::MinorPositions() const {
    std::vector<int> out;
    int k = minorTickCount_;
    const std::vector<int>& t = tickList_;
    if (k <= 0 || t.empty()) return out;
    auto add = [&](int p) {
        if (std::min(axisStart_, axisEnd_) < p && p < std::max(axisStart_, axisEnd_)) out.push_back(p);
    };
    for (size_t i = 1; i < t.size(); ++i)
        for (int j = 1; j <= k; ++j) add(t[i] - static_cast<int>(RoundEven(double(j) * (t[i] - t[i - 1]) / (k + 1))));
    if (t.size() >= 2 && !logarithmic_) {
        for (int j = 1; j <= k; ++j) {
            int d = static_cast<int>(RoundEven(double(j) * (t[1] - t[0]) / (k + 1)));
            add(t[0] - d);
            add(t.back() + d);
        }
    }
    return out;
}

void TChartAxis::Draw() {
    TChartCanvas& c = chart_->ChartCanvas();
    c.SetFont(labelsFont_);
    double step = LabelStep();
    const RECT& r = chart_->PlotRect();
    int shift = ShiftAcross();
    if (horizontal_) axisLinePos_ = otherSide_ ? r.top + shift : r.bottom - shift;
    else axisLinePos_ = otherSide_ ? r.right - shift : r.left + shift;

    tickList_.clear();
    if (step > 0 && scaleMax_ >= scaleMin_ && CalcLabelStyle() == talValue && std::fabs(scaleRange_ / step) < 10000) {
        double v;
        if (scaleMin_ == scaleMax_) v = scaleMax_;
        else if (roundFirstLabel_) v = std::trunc(scaleMax_ / step) * step;
        else v = scaleMax_;
        while (v > scaleMax_) {
            const double next = v - step;
            // At a large value a small step may no longer change v: start at the maximum then.
            if (next == v) {
                v = scaleMax_;
                break;
            }
            v = next;
        }
        double stop = (scaleMin_ - MinStep) / 1.000000000001;
        // With a zero range the step is far too small to move v; one label is enough then.
        int guard = 0;
        while (v >= stop && guard++ < 10000) {
            PlaceLabel(v);
            double next = v - step;
            if (next == v) break;
            v = next;
        }
    }

    if (axisPen_.Visible()) {
        c.AssignPen(axisPen_);
        if (horizontal_) c.HorizLine(axisStart_, axisEnd_, axisLinePos_);
        else c.VertLine(axisLinePos_, axisStart_, axisEnd_);
    }
    DrawTicks(tickList_, ticks_, tickLength_, false);
    DrawGrid(tickList_, grid_, gridCentered_);
    DrawTicks(tickList_, ticksInner_, tickInnerLength_, true);
    if (minorTickCount_ > 0 && !tickList_.empty() && (minorTicks_.Visible() || minorGrid_.Visible())) {
        std::vector<int> minor = MinorPositions();
        DrawTicks(minor, minorTicks_, minorTickLength_, false);
        DrawGrid(minor, minorGrid_, false);
    }
}

}  // namespace chart
