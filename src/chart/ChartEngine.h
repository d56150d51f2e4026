// The chart's engine: value lists, the series base class and the axes. The panel that owns
// them and runs the paint is in Chart.h; the line series is in Series.h.
#pragma once
#include "ChartCanvas.h"
#include "forms/Component.h"
#include <functional>
#include <optional>
#include <span>
#include <stdexcept>
#include <string>
#include <vector>

namespace chart {

class TAxisPanel;
class TChartAxis;
class TChartSeries;

// Mouse cursors by the usual negative ids; crDefault leaves the window class' cursor.
using TCursor = int;
constexpr TCursor crDefault = 0, crNone = -1, crArrow = -2, crCross = -3, crIBeam = -4, crSizeNESW = -6,
                  crSizeNS = -7, crSizeNWSE = -8, crSizeWE = -9, crUpArrow = -10, crHourGlass = -11,
                  crNo = -18, crAppStart = -19, crHelp = -20, crHandPoint = -21, crSizeAll = -22;

// Default series colours; an index is taken modulo 16.
extern const TColor SeriesPalette[16];
TColor PaletteColor(int index);

class AxisException : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The next step of the 1, 2, 5, 10, 20, ... sequence above x.
double NextNiceStep(double x);

// Formats a number with a "#,##0.###"-style pattern: '0' integer digits are mandatory, a ','
// groups thousands, '0'/'#' after the '.' give the least/most decimals. Text outside the
// digits (a trailing " %") is kept. The second form uses the user's separators.
std::string FormatFloat(const std::string& format, double value, char thousands, char decimal);
std::string FormatFloat(const std::string& format, double value);

enum TChartListOrder { loNone, loAscending, loDescending };

// One dimension of a series' points, with cached statistics.
class TChartValueList {
public:
    TChartValueList(TChartSeries* owner, std::string name, TChartListOrder order);

    std::string Name;
    bool DateTime = false;
    std::string ValueSource;
    double TempValue = 0;  // the value of the point being added, for add-events

    TChartListOrder Order() const { return order_; }
    void SetOrder(TChartListOrder v) { order_ = v; }
    double Multiplier() const { return multiplier_; }
    void SetMultiplier(double v);

    int Count() const { return static_cast<int>(values_.size()); }
    double ValueAt(int i) const { return values_[i] * multiplier_; }
    double operator[](int i) const { return ValueAt(i); }
    void SetValue(int i, double v);

    int AddOrdered(double x);  // index used; equal values keep their insertion order
    void InsertAt(int i, double v);
    void Delete(int i);
    void Clear();

    double MinValue() { Refresh(); return min_; }
    double MaxValue() { Refresh(); return max_; }
    double Total() { Refresh(); return total_; }
    double TotalABS() { Refresh(); return totalAbs_; }
    bool StatsDirty() const { return statsDirty_; }

private:
    void Refresh();
    TChartSeries* owner_;
    TChartListOrder order_;
    double multiplier_ = 1.0;
    std::vector<double> values_;
    double min_ = 0, max_ = 0, total_ = 0, totalAbs_ = 0;
    bool statsDirty_ = true;
};

enum THorizAxis { aTopAxis, aBottomAxis, aBothHorizAxis };
enum TVertAxis { aLeftAxis, aRightAxis, aBothVertAxis };

// Point marks are not drawn by this chart; the switch is kept for completeness.
struct TSeriesMarks {
    bool Visible = false;
};

// A data set: its points (X, Y, colour, label), its axes and its place in a chart.
class TChartSeries : public forms::TComponent {
public:
    explicit TChartSeries(forms::TComponent* owner);
    ~TChartSeries() override;

    TChartValueList& XValues() { return xValues_; }
    TChartValueList& YValues() { return yValues_; }
    const TChartValueList& XValues() const { return xValues_; }
    const TChartValueList& YValues() const { return yValues_; }
    int PointCount() const { return xValues_.Count(); }

    TColor SeriesColor() const { return seriesColor_; }
    virtual void SetSeriesColor(TColor v);
    bool ColorEachPoint() const { return colorEachPoint_; }
    virtual void SetColorEachPoint(bool v);
    bool Active() const { return active_; }
    virtual void SetActive(bool v);
    THorizAxis HorizAxis() const { return horizAxisKind_; }
    void SetHorizAxis(THorizAxis v);
    TVertAxis VertAxis() const { return vertAxisKind_; }
    void SetVertAxis(TVertAxis v);
    TAxisPanel* ParentChart() const { return parent_; }
    virtual void SetParentChart(TAxisPanel* chart);
    TCursor Cursor = crDefault;
    TSeriesMarks Marks;
    bool ShowInLegend = true;
    std::string Title;
    std::string ValueFormat = "#,##0.###";
    std::string PercentFormat = "##0.## %";
    bool CalcVisiblePoints = true;

    int FirstShown() const { return firstShown_; }
    int LastShown() const { return lastShown_; }
    TChartAxis* GetHorizAxis() const { return horizAxis_; }
    TChartAxis* GetVertAxis() const { return vertAxis_; }

    // Points.
    virtual int AppendXY(double x, double y, const std::optional<std::string>& label = std::nullopt,
                         TColor color = clDefault);
    int AppendY(double y, const std::optional<std::string>& label = std::nullopt, TColor color = clDefault) {
        return AppendXY(PointCount(), y, label, color);
    }
    virtual int AppendValue(double value, const std::optional<std::string>& label = std::nullopt,
                            TColor color = clDefault) {
        return AppendY(value, label, color);
    }
    virtual int AppendNull(const std::optional<std::string>& label = std::nullopt) {
        return AppendY(0, label, clNone);
    }
    virtual int AppendNullXY(double x, double y, const std::optional<std::string>& label = std::nullopt) {
        return AppendXY(x, y, label, clNone);
    }
    int AppendValues(std::span<const double> values);
    virtual void ClearPoints();
    virtual void DeletePoint(int i);

    virtual double MinX() { return xValues_.MinValue(); }
    virtual double MaxX() { return xValues_.MaxValue(); }
    virtual double MinY() { return yValues_.MinValue(); }
    virtual double MaxY() { return yValues_.MaxValue(); }
    virtual TColor PointColor(int i) const;
    bool IsNull(int i) const { return PointColor(i) == clNone; }
    const std::optional<std::string>& PointLabel(int i) const { return labels_[i]; }
    virtual double XValue(int i) const { return xValues_.ValueAt(i); }
    virtual double YValue(int i) const { return yValues_.ValueAt(i); }
    virtual int XToPixel(int i) const;
    virtual int YToPixel(int i) const;
    virtual const TChartValueList& MandatoryValueList() const { return yValues_; }
    bool YMandatory() const { return &MandatoryValueList() == &yValues_; }
    virtual bool UsesAxes() const { return true; }
    virtual bool AssociatedToAxis(const TChartAxis* axis) const;

    // Mouse: index of the point (or of the segment's first point) under (x, y), or -1.
    virtual int HitTest(int x, int y) { (void)x; (void)y; return -1; }

    // Paint steps, called by the chart.
    virtual void CalcHorizMargins(int& left, int& right) { left = right = 0; }
    virtual void CalcVerticalMargins(int& top, int& bottom) { top = bottom = 0; }
    virtual void DoBeforePaint() {}
    void CalcFirstLastVisible();
    virtual void DrawValues();

    // Events; the first may refuse a point by returning false.
    std::function<bool(TChartSeries*)> OnBeforeAdd;
    std::function<void(TChartSeries*, int)> OnAfterAdd;
    std::function<void(TChartSeries*)> OnClearValues;
    forms::TNotifyEvent BeforeDrawValues, AfterDrawValues;

    // Invalidates the chart when the series is active.
    void Repaint();

protected:
    friend class TAxisPanel;
    virtual void DrawAllPoints();
    virtual void DrawPoint(int i) { (void)i; }
    virtual void DrawMark(int i) { (void)i; }
    virtual bool DrawBetweenPoints() const { return true; }
    void ResolveAxes();

    int firstShown_ = -1, lastShown_ = -1;

private:
    TChartValueList xValues_{this, "X", loAscending};
    TChartValueList yValues_{this, "Y", loNone};
    std::vector<TColor> colors_;
    std::vector<std::optional<std::string>> labels_;
    TColor seriesColor_ = clDefault;
    bool colorEachPoint_ = false;
    bool active_ = true;
    THorizAxis horizAxisKind_ = aBottomAxis;
    TVertAxis vertAxisKind_ = aLeftAxis;
    TAxisPanel* parent_ = nullptr;
    TChartAxis* horizAxis_ = nullptr;
    TChartAxis* vertAxis_ = nullptr;
};

enum TAxisLabelStyle { talAuto, talNone, talValue, talMark, talText };

// One side of the plot: maps values to pixels and draws its line, ticks, grid and labels.
class TChartAxis {
public:
    TChartAxis(TAxisPanel* chart, bool horizontal, bool otherSide, bool depth = false);
    virtual ~TChartAxis() = default;
    TChartAxis(const TChartAxis&) = delete;
    TChartAxis& operator=(const TChartAxis&) = delete;

    TAxisPanel* ParentChart() const { return chart_; }
    bool Horizontal() const { return horizontal_; }
    bool OtherSide() const { return otherSide_; }
    bool IsDepth() const { return depth_; }

    // Range.
    double Minimum() const { return minimum_; }
    double Maximum() const { return maximum_; }
    void SetMinimum(double v);
    void SetMaximum(double v);
    void SetMinMax(double min, double max);
    bool Automatic() const { return automatic_; }
    void SetAutomatic(bool v);
    bool AutomaticMinimum() const { return autoMin_; }
    void SetAutomaticMinimum(bool v);
    bool AutomaticMaximum() const { return autoMax_; }
    void SetAutomaticMaximum(bool v);

    // Appearance.
    bool Visible() const { return visible_; }
    void SetVisible(bool v) { Set(visible_, v); }
    double StartPosition() const { return startPosition_; }
    void SetStartPosition(double v) { Set(startPosition_, v); }
    double EndPosition() const { return endPosition_; }
    void SetEndPosition(double v) { Set(endPosition_, v); }
    double PositionPercent() const { return positionPercent_; }
    void SetPositionPercent(double v) { Set(positionPercent_, v); }
    TChartAxisPen& Axis() { return axisPen_; }
    TDarkGrayPen& Ticks() { return ticks_; }
    TDarkGrayPen& TicksInner() { return ticksInner_; }
    TDarkGrayPen& MinorTicks() { return minorTicks_; }
    TDottedGrayPen& Grid() { return grid_; }
    TChartHiddenPen& MinorGrid() { return minorGrid_; }
    forms::TFont& LabelsFont() { return labelsFont_; }
    int TickLength() const { return tickLength_; }
    void SetTickLength(int v) { Set(tickLength_, v); }
    int TickInnerLength() const { return tickInnerLength_; }
    void SetTickInnerLength(int v) { Set(tickInnerLength_, v); }
    int MinorTickLength() const { return minorTickLength_; }
    void SetMinorTickLength(int v) { Set(minorTickLength_, v); }
    int MinorTickCount() const { return minorTickCount_; }
    void SetMinorTickCount(int v) { Set(minorTickCount_, v < 0 ? 0 : v); }
    bool GridCentered() const { return gridCentered_; }
    void SetGridCentered(bool v) { Set(gridCentered_, v); }
    bool Labels() const { return labels_; }
    void SetLabels(bool v) { Set(labels_, v); }
    int LabelsAngle() const { return labelsAngle_; }
    void SetLabelsAngle(int v) { Set(labelsAngle_, v); }
    int LabelsSeparation() const { return labelsSeparation_; }
    void SetLabelsSeparation(int v) { Set(labelsSeparation_, v); }
    int LabelsSize() const { return labelsSize_; }
    void SetLabelsSize(int v) { Set(labelsSize_, v); }
    bool LabelsOnAxis() const { return labelsOnAxis_; }
    void SetLabelsOnAxis(bool v) { Set(labelsOnAxis_, v); }
    TAxisLabelStyle LabelStyle() const { return labelStyle_; }
    void SetLabelStyle(TAxisLabelStyle v) { Set(labelStyle_, v); }
    const std::string& AxisValuesFormat() const { return valuesFormat_; }
    void SetAxisValuesFormat(const std::string& v) { Set(valuesFormat_, v); }
    bool RoundFirstLabel() const { return roundFirstLabel_; }
    void SetRoundFirstLabel(bool v) { Set(roundFirstLabel_, v); }
    bool TickOnLabelsOnly() const { return tickOnLabelsOnly_; }
    void SetTickOnLabelsOnly(bool v) { Set(tickOnLabelsOnly_, v); }
    double Increment() const { return increment_; }
    void SetIncrement(double v) { Set(increment_, v < 0 ? 0.0 : v); }
    bool Inverted() const { return inverted_; }
    void SetInverted(bool v) { Set(inverted_, v); }
    // Stored only: this chart draws linear numeric scales with single-line labels.
    bool Logarithmic() const { return logarithmic_; }
    void SetLogarithmic(bool v) { Set(logarithmic_, v); }
    bool LabelsMultiLine() const { return labelsMultiLine_; }
    void SetLabelsMultiLine(bool v) { Set(labelsMultiLine_, v); }
    bool ExactDateTime() const { return exactDateTime_; }
    void SetExactDateTime(bool v) { Set(exactDateTime_, v); }
    const std::string& Title() const { return title_; }
    void SetTitle(const std::string& v) { Set(title_, v); }
    int TitleSize() const { return titleSize_; }
    void SetTitleSize(int v) { Set(titleSize_, v); }

    // Working fields of the current paint.
    double ScaleMin() const { return scaleMin_; }
    double ScaleMax() const { return scaleMax_; }
    double ScaleRange() const { return scaleRange_; }
    int AxisStart() const { return axisStart_; }
    int AxisEnd() const { return axisEnd_; }
    int AxisLength() const { return axisLength_; }
    int AxisCenter() const { return axisCenter_; }
    int AxisLinePos() const { return axisLinePos_; }
    int LabelsPos() const { return labelsPos_; }
    const std::vector<int>& TickList() const { return tickList_; }
    static constexpr size_t MaxTicks = 2000;

    int ValueToPixel(double v) const;
    double PixelToValue(int p) const;
    double LabelStep();
    std::string LabelText(double v);
    int MaxLabelsWidth();
    TAxisLabelStyle CalcLabelStyle() const;
    bool IsVisible() const;

    // Layout steps of the paint, in this order, then Draw.
    void CalcWorkingRange();
    void CalcSpace(RECT& r);
    void CalcPixelPositions();
    void ApplySeriesMargins(int atStart, int atEnd);
    void Draw();

private:
    template <typename T> void Set(T& field, const T& v) { if (field != v) { field = v; Changed(); } }
    void Changed();
    void CalcAutoRange(double& lo, double& hi) const;
    int LabelSize();
    void PlaceLabel(double v);
    void DrawLabel(int p, const std::string& text);
    void DrawTicks(const std::vector<int>& where, TChartPen& pen, int length, bool inner);
    void DrawGrid(const std::vector<int>& where, TChartPen& pen, bool centered);
    std::vector<int> MinorPositions() const;
    int ShiftAcross() const;

    TAxisPanel* chart_;
    bool horizontal_, otherSide_, depth_;
    double minimum_ = 0, maximum_ = 0;
    bool automatic_ = true, autoMin_ = true, autoMax_ = true;
    bool visible_ = true;
    double startPosition_ = 0, endPosition_ = 100, positionPercent_ = 0;
    TChartAxisPen axisPen_;
    TDarkGrayPen ticks_, ticksInner_, minorTicks_;
    TDottedGrayPen grid_;
    TChartHiddenPen minorGrid_;
    forms::TFont labelsFont_;
    int tickLength_ = 4, tickInnerLength_ = 0, minorTickLength_ = 2, minorTickCount_ = 3;
    bool gridCentered_ = false, labels_ = true;
    int labelsAngle_ = 0, labelsSeparation_ = 10, labelsSize_ = 0;
    bool labelsOnAxis_ = true;
    TAxisLabelStyle labelStyle_ = talAuto;
    std::string valuesFormat_ = "#,##0.###";
    bool roundFirstLabel_ = true, tickOnLabelsOnly_ = true;
    double increment_ = 0;
    bool inverted_ = false, logarithmic_ = false, labelsMultiLine_ = false, exactDateTime_ = true;
    std::string title_;
    int titleSize_ = 0;

    double scaleMin_ = 0, scaleMax_ = 0, scaleRange_ = 0;
    int axisStart_ = 0, axisEnd_ = 0, axisLength_ = 0, axisCenter_ = 0;
    int axisLinePos_ = 0, labelsPos_ = 0;
    std::vector<int> tickList_;
    bool drawLabels_ = false;  // set while placing labels of the current Draw
};

class TChartDepthAxis : public TChartAxis {
public:
    explicit TChartDepthAxis(TAxisPanel* chart) : TChartAxis(chart, false, false, true) { SetVisible(false); }
};

}  // namespace chart
