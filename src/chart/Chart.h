// The chart panel: a windowed control that owns the series list, the five axes and the walls,
// lays out the plot rectangle and paints everything into an offscreen bitmap, which WM_PAINT
// copies to the screen. Changes only mark the bitmap dirty, so a burst of them costs one paint.
#pragma once
#include "ChartEngine.h"
#include "forms/WinControl.h"
#include <memory>
#include <vector>

namespace chart {

enum TPanningMode { pmNone, pmHorizontal, pmVertical, pmBoth };
enum TPanelBevel { bvNone, bvLowered, bvRaised };

using TChartSeriesList = std::vector<TChartSeries*>;

// The plain panel layer: margins, canvas, bevel and 3-D switches.
class TChartPanel : public forms::TCustomControl {
public:
    explicit TChartPanel(forms::TComponent* owner);
    ~TChartPanel() override;

    int MarginLeft() const { return margins_.left; }
    void SetMarginLeft(int v) { Set(margins_.left, v); }
    int MarginTop() const { return margins_.top; }
    void SetMarginTop(int v) { Set(margins_.top, v); }
    int MarginRight() const { return margins_.right; }
    void SetMarginRight(int v) { Set(margins_.right, v); }
    int MarginBottom() const { return margins_.bottom; }
    void SetMarginBottom(int v) { Set(margins_.bottom, v); }

    bool View3D() const { return view3D_; }
    void SetView3D(bool v) { Set(view3D_, v); }
    int Chart3DPercent() const { return chart3DPercent_; }
    void SetChart3DPercent(int v) { Set(chart3DPercent_, v); }
    struct TView3DOptions {
        int Elevation = 345, Rotation = 345, Perspective = 15;
        bool Orthogonal = true;
    } View3DOptions;  // kept for the flat view's sake only; nothing is projected

    // Bevels are not drawn (the chart is flat); the border width narrows the plot.
    TPanelBevel BevelOuter() const { return bevelOuter_; }
    void SetBevelOuter(TPanelBevel v) { Set(bevelOuter_, v); }
    TPanelBevel BevelInner() const { return bevelInner_; }
    void SetBevelInner(TPanelBevel v) { Set(bevelInner_, v); }
    int BevelWidth() const { return bevelWidth_; }
    void SetBevelWidth(int v) { Set(bevelWidth_, v); }
    int BorderWidth() const { return borderWidth_; }
    void SetBorderWidth(int v) { Set(borderWidth_, v); }

    const RECT& PanelBounds() const { return panelBounds_; }
    const RECT& PlotRect() const { return plotRect_; }
    int PlotWidth() const { return plotWidth_; }
    int PlotHeight() const { return plotHeight_; }
    int PlotXCenter() const { return plotXCenter_; }
    int PlotYCenter() const { return plotYCenter_; }
    void SetPlotRect(const RECT& r);  // normalises
    void CalcPlotRectFromMargins();

    TChartCanvas& ChartCanvas() { return *canvas_; }
    void SetChartCanvas(std::unique_ptr<TChartCanvas> canvas);  // e.g. a recording one
    bool AutoRepaint() const { return autoRepaint_; }

    // Marks the bitmap dirty and asks for WM_PAINT; nothing is drawn at once.
    void Invalidate() override;
    // Paints the chart if dirty, then copies the bitmap to dc.
    void PaintTo(HDC dc, int x = 0, int y = 0);
    virtual void PaintChart() = 0;

protected:
    template <typename T> void Set(T& field, const T& v) { if (field != v) { field = v; Invalidate(); } }
    void Paint() override;
    void WndProc(forms::TMessage& msg) override;
    void BoundsChanged() override { Invalidate(); }
    void ColorChanged() override { Invalidate(); }
    void NormalisePlotRect();

    RECT panelBounds_{0, 0, 0, 0};
    bool autoRepaint_ = false;
    bool paintRequested_ = false;  // an InvalidateRect is pending

private:
    struct { int left, top, right, bottom; } margins_{3, 4, 3, 4};
    bool view3D_ = true;
    int chart3DPercent_ = 15;
    TPanelBevel bevelOuter_ = bvRaised, bevelInner_ = bvNone;
    int bevelWidth_ = 1, borderWidth_ = 0;
    RECT plotRect_{0, 0, 0, 0};
    int plotWidth_ = 0, plotHeight_ = 0, plotXCenter_ = 0, plotYCenter_ = 0;
    std::unique_ptr<TChartCanvas> canvas_;
};

// Owns the series list and the axes and runs the paint sequence.
class TAxisPanel : public TChartPanel {
public:
    explicit TAxisPanel(forms::TComponent* owner);
    ~TAxisPanel() override;

    void AttachSeries(TChartSeries* series);
    void DetachSeries(TChartSeries* series);
    int SeriesCount() const { return static_cast<int>(series_.size()); }
    TChartSeries* Series(int i) const { return series_[i]; }
    const TChartSeriesList& SeriesList() const { return series_; }

    TColor PickFreeColor(bool checkBackground) const;
    bool IsColorFree(TColor color, bool checkBackground) const;

    TChartAxis& BottomAxis() { return *bottom_; }
    TChartAxis& TopAxis() { return *top_; }
    TChartAxis& LeftAxis() { return *left_; }
    TChartAxis& RightAxis() { return *right_; }
    TChartDepthAxis& DepthAxis() { return *depth_; }
    const std::vector<TChartAxis*>& Axes() const { return axes_; }

    bool AxisVisible() const { return axisVisible_; }
    void SetAxisVisible(bool v) { Set(axisVisible_, v); }
    bool ClipPoints() const { return clipPoints_; }
    void SetClipPoints(bool v) { Set(clipPoints_, v); }
    bool AllowZoom() const { return allowZoom_; }
    void SetAllowZoom(bool v) { Set(allowZoom_, v); }
    TPanningMode AllowPanning() const { return allowPanning_; }
    void SetAllowPanning(TPanningMode v) { Set(allowPanning_, v); }
    // Paging is off in this chart; the values are stored only.
    bool ScaleLastPage() const { return scaleLastPage_; }
    void SetScaleLastPage(bool v) { Set(scaleLastPage_, v); }
    int MaxPointsPerPage() const { return maxPointsPerPage_; }
    void SetMaxPointsPerPage(int v) { Set(maxPointsPerPage_, v); }
    int Page() const { return page_; }
    void SetPage(int v) { Set(page_, v); }

    // Panel background and the colour behind the plot (the back wall's).
    virtual TColor BackColor() const { return clDefault; }

    TCursor Cursor() const { return cursor_; }
    void SetCursor(TCursor c);
    TCursor InitialCursor() const { return initialCursor_; }

    forms::TNotifyEvent OnBeforeDrawAxes, OnBeforeDrawSeries, OnAfterDraw;

    void PaintChart() override;
    void Loaded() override;
    void MouseMove(forms::TShiftState shift, int x, int y) override;
    void MouseLeave() override;

protected:
    friend class TChartSeries;
    virtual void DrawTitlesAndLegend(RECT& r) { (void)r; }
    virtual void DrawWalls() {}
    void CalcAxisRect();
    void WndProc(forms::TMessage& msg) override;
    void FinishConstruction();

private:
    void ApplyCursor();
    TChartSeriesList series_;
    std::unique_ptr<TChartAxis> bottom_, top_, left_, right_;
    std::unique_ptr<TChartDepthAxis> depth_;
    std::vector<TChartAxis*> axes_;
    bool axisVisible_ = true, clipPoints_ = true, allowZoom_ = true;
    TPanningMode allowPanning_ = pmBoth;
    bool scaleLastPage_ = true;
    int maxPointsPerPage_ = 0, page_ = 1;
    TCursor cursor_ = crDefault, initialCursor_ = crDefault;
};

class TChartWall {
public:
    explicit TChartWall(TAxisPanel* chart);
    TColor Color() const { return color_; }
    void SetColor(TColor v) { if (color_ != v) { color_ = v; chart_->Invalidate(); } }
    TChartBrush& Brush() { return brush_; }
    TChartPen& Pen() { return pen_; }
    int Size() const { return size_; }
    void SetSize(int v) { if (size_ != v) { size_ = v; chart_->Invalidate(); } }
    bool Dark3D() const { return dark3D_; }
    void SetDark3D(bool v) { if (dark3D_ != v) { dark3D_ = v; chart_->Invalidate(); } }
private:
    TAxisPanel* chart_;
    TColor color_ = clDefault;
    TChartBrush brush_;
    TChartPen pen_;
    int size_ = 0;
    bool dark3D_ = true;
};

// Titles and the legend are switches only: this chart draws neither and gives them no room
// while hidden.
struct TChartTitle {
    bool Visible = true;
    std::string Text;
    bool AdjustFrame = true;
};
struct TChartLegend {
    bool Visible = true;
    int ShadowSize = 3;
};

// Adds the title, foot, legend and walls.
class TCustomChart : public TAxisPanel {
public:
    explicit TCustomChart(forms::TComponent* owner);

    TChartWall& BackWall() { return backWall_; }
    TChartWall& LeftWall() { return leftWall_; }
    TChartWall& BottomWall() { return bottomWall_; }
    TColor BackColor() const override { return backWall_.Color(); }
    void SetBackColor(TColor v) { backWall_.SetColor(v); }
    TChartPen& Frame() { return backWall_.Pen(); }
    bool View3DWalls() const { return view3DWalls_; }
    void SetView3DWalls(bool v) { Set(view3DWalls_, v); }

    TChartTitle Title, Foot;
    TChartLegend Legend;

protected:
    void DrawWalls() override;

private:
    TChartWall backWall_, leftWall_, bottomWall_;
    bool view3DWalls_ = true;
};

class TChart : public TCustomChart {
public:
    explicit TChart(forms::TComponent* owner);
};

}  // namespace chart
