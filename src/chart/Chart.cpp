#include "Chart.h"
#include <algorithm>

namespace chart {

namespace {
HCURSOR CursorHandle(TCursor c) {
    const char* id;
    switch (c) {
        case crNone: return nullptr;
        case crCross: id = IDC_CROSS; break;
        case crIBeam: id = IDC_IBEAM; break;
        case crSizeNESW: id = IDC_SIZENESW; break;
        case crSizeNS: id = IDC_SIZENS; break;
        case crSizeNWSE: id = IDC_SIZENWSE; break;
        case crSizeWE: id = IDC_SIZEWE; break;
        case crUpArrow: id = IDC_UPARROW; break;
        case crHourGlass: id = IDC_WAIT; break;
        case crNo: id = IDC_NO; break;
        case crAppStart: id = IDC_APPSTARTING; break;
        case crHelp: id = IDC_HELP; break;
        case crHandPoint: id = IDC_HAND; break;
        case crSizeAll: id = IDC_SIZEALL; break;
        default: id = IDC_ARROW; break;
    }
    return LoadCursor(nullptr, id);  // shared system cursors: nothing to free
}
}  // namespace

// --- TChartPanel ------------------------------------------------------------------------

TChartPanel::TChartPanel(forms::TComponent* owner)
    : forms::TCustomControl(owner), canvas_(std::make_unique<TChartCanvas>()) {
    SetBounds(0, 0, 400, 250);
}

TChartPanel::~TChartPanel() {
    // No message may reach this object once its parts are going.
    DestroyHandle();
}

void TChartPanel::SetChartCanvas(std::unique_ptr<TChartCanvas> canvas) {
    canvas_ = std::move(canvas);
    canvas_->SetDirty(true);
    Invalidate();
}

void TChartPanel::Invalidate() {
    if (!autoRepaint_) return;
    canvas_->SetDirty(true);
    // One request per paint is enough (a burst of changes would otherwise cost a server call
    // each). The paint covers the whole control, so the background is not erased first.
    if (HandleAllocated() && !paintRequested_) {
        InvalidateRect(Handle(), nullptr, FALSE);
        paintRequested_ = true;
    }
}

void TChartPanel::PaintTo(HDC dc, int x, int y) {
    if (canvas_->Dirty()) PaintChart();
    canvas_->ShowImage(dc, x, y);
}

void TChartPanel::Paint() {
    paintRequested_ = false;
    RECT r = ClientRect();
    PaintTo(Canvas().Handle(), r.left, r.top);
}

void TChartPanel::WndProc(forms::TMessage& m) {
    if (m.Msg == WM_ERASEBKGND) {
        m.Result = 1;
        return;
    }
    forms::TCustomControl::WndProc(m);
}

void TChartPanel::CalcPlotRectFromMargins() {
    int w = panelBounds_.right - panelBounds_.left, h = panelBounds_.bottom - panelBounds_.top;
    int b = borderWidth_;
    RECT r;
    r.left = panelBounds_.left + b + MulDiv(margins_.left, w, 100);
    r.top = panelBounds_.top + b + MulDiv(margins_.top, h, 100);
    r.right = panelBounds_.right - b - MulDiv(margins_.right, w, 100);
    r.bottom = panelBounds_.bottom - b - MulDiv(margins_.bottom, h, 100);
    SetPlotRect(r);
}

void TChartPanel::SetPlotRect(const RECT& r) {
    plotRect_ = r;
    NormalisePlotRect();
}

void TChartPanel::NormalisePlotRect() {
    RECT& r = plotRect_;
    if (r.left < panelBounds_.left) r.left = panelBounds_.left;
    if (r.top < panelBounds_.top) r.top = panelBounds_.top;
    if (r.right < r.left) r.right = r.left + 1;
    else if (r.right == r.left) r.right = r.left + std::max(Width(), 1);
    if (r.bottom < r.top) r.bottom = r.top + 1;
    else if (r.bottom == r.top) r.bottom = r.top + std::max(Height(), 1);
    plotWidth_ = r.right - r.left;
    plotHeight_ = r.bottom - r.top;
    plotXCenter_ = (r.left + r.right) / 2;
    plotYCenter_ = (r.top + r.bottom) / 2;
}

// --- TAxisPanel -------------------------------------------------------------------------

TAxisPanel::TAxisPanel(forms::TComponent* owner) : TChartPanel(owner) {
    bottom_ = std::make_unique<TChartAxis>(this, true, false);
    top_ = std::make_unique<TChartAxis>(this, true, true);
    left_ = std::make_unique<TChartAxis>(this, false, false);
    right_ = std::make_unique<TChartAxis>(this, false, true);
    depth_ = std::make_unique<TChartDepthAxis>(this);
    axes_ = {bottom_.get(), top_.get(), left_.get(), right_.get(), depth_.get()};
    FinishConstruction();
}

TAxisPanel::~TAxisPanel() {
    MarkDestroying();
    // Series outlive nothing of ours: let go of them, then destroy the ones we own.
    for (TChartSeries* s : series_) {
        s->parent_ = nullptr;
        s->ResolveAxes();
    }
    series_.clear();
    DestroyOwnedControls();
}

void TAxisPanel::FinishConstruction() {
    autoRepaint_ = true;
    initialCursor_ = cursor_;
}

void TAxisPanel::Loaded() {
    TChartPanel::Loaded();
    initialCursor_ = cursor_;
    Invalidate();
}

void TAxisPanel::AttachSeries(TChartSeries* s) {
    if (!s || std::find(series_.begin(), series_.end(), s) != series_.end()) return;
    if (s->parent_ && s->parent_ != this) s->parent_->DetachSeries(s);
    if (s->SeriesColor() == clDefault) s->SetSeriesColor(PickFreeColor(true));
    s->parent_ = this;
    s->ResolveAxes();
    series_.push_back(s);
    Invalidate();
}

void TAxisPanel::DetachSeries(TChartSeries* s) {
    auto it = std::find(series_.begin(), series_.end(), s);
    if (it == series_.end()) return;
    s->parent_ = nullptr;
    s->ResolveAxes();
    if (cursor_ == s->Cursor) SetCursor(initialCursor_);
    series_.erase(it);
    Invalidate();
}

bool TAxisPanel::IsColorFree(TColor color, bool checkBackground) const {
    for (TChartSeries* s : series_)
        if (s->SeriesColor() == color) return false;
    return !(checkBackground && (color == Color() || color == BackColor()));
}

TColor TAxisPanel::PickFreeColor(bool checkBackground) const {
    for (TColor c : SeriesPalette)
        if (IsColorFree(c, checkBackground)) return c;
    return SeriesPalette[0];
}

// --- paint ------------------------------------------------------------------------------

void TAxisPanel::CalcAxisRect() {
    for (TChartAxis* a : axes_) a->CalcWorkingRange();
    RECT r = PlotRect();
    for (TChartAxis* a : axes_) {
        if (a->IsDepth() || !a->IsVisible()) continue;  // the flat view has no depth
        RECT t = r, common;
        a->CalcSpace(t);
        if (IntersectRect(&common, &t, &r)) r = t;
    }
    SetPlotRect(r);
    for (TChartAxis* a : axes_) a->CalcPixelPositions();
    for (TChartAxis* a : {top_.get(), left_.get(), right_.get(), bottom_.get()}) {
        int atStart = 0, atEnd = 0;
        for (TChartSeries* s : series_) {
            if (!s->Active() || !s->AssociatedToAxis(a)) continue;
            int m0 = 0, m1 = 0;
            if (a->Horizontal()) s->CalcHorizMargins(m0, m1);
            else s->CalcVerticalMargins(m0, m1);
            atStart = std::max(atStart, m0);
            atEnd = std::max(atEnd, m1);
        }
        a->ApplySeriesMargins(atStart, atEnd);
    }
}

void TAxisPanel::PaintChart() {
    TChartCanvas& c = ChartCanvas();
    RECT client = ClientRect();
    c.BeginPaint(client.right - client.left, client.bottom - client.top);
    // Background, walls and axes change with the range, the size or the colours only: drawn as
    // one layer, which is copied when it is the same as last time.
    c.BeginLayer();
    panelBounds_ = client;
    CalcPlotRectFromMargins();

    c.SetBrush(Color(), forms::bsSolid);
    c.FillRect(panelBounds_);
    for (TChartSeries* s : series_)
        if (s->Active()) s->DoBeforePaint();
    RECT r = PlotRect();
    DrawTitlesAndLegend(r);
    SetPlotRect(r);
    CalcAxisRect();
    DrawWalls();
    if (axisVisible_) {
        if (OnBeforeDrawAxes) OnBeforeDrawAxes(this);
        for (TChartAxis* a : axes_)
            if (!a->IsDepth() && a->IsVisible()) a->Draw();
    }
    c.EndLayer();
    if (OnBeforeDrawSeries) OnBeforeDrawSeries(this);
    for (TChartSeries* s : series_)
        if (s->Active()) s->DrawValues();
    c.ResetState();
    // Clean before the last event, so that a change made by its handler is painted next time.
    c.SetDirty(false);
    if (OnAfterDraw) OnAfterDraw(this);
}

// --- mouse ------------------------------------------------------------------------------

void TAxisPanel::SetCursor(TCursor cur) {
    if (cursor_ == cur) return;
    cursor_ = cur;
    ApplyCursor();
}

void TAxisPanel::ApplyCursor() {
    if (!HandleAllocated()) return;
    POINT p;
    if (GetCursorPos(&p) && WindowFromPoint(p) == Handle())
        ::SetCursor(CursorHandle(cursor_));  // crDefault: the arrow
}

void TAxisPanel::WndProc(forms::TMessage& m) {
    if (m.Msg == WM_SETCURSOR && reinterpret_cast<HWND>(m.WParam) == Handle() && LOWORD(m.LParam) == HTCLIENT &&
        cursor_ != crDefault) {
        ::SetCursor(CursorHandle(cursor_));
        m.Result = TRUE;
        return;
    }
    TChartPanel::WndProc(m);
}

void TAxisPanel::MouseMove(forms::TShiftState shift, int x, int y) {
    TChartPanel::MouseMove(shift, x, y);
    for (TChartSeries* s : series_) {
        if (s->Active() && s->Cursor != crDefault && s->HitTest(x, y) != -1) {
            SetCursor(s->Cursor);
            return;
        }
    }
    SetCursor(initialCursor_);
}

void TAxisPanel::MouseLeave() {
    TChartPanel::MouseLeave();
    SetCursor(initialCursor_);
}

// --- walls and chart --------------------------------------------------------------------

TChartWall::TChartWall(TAxisPanel* chart) : chart_(chart) {
    auto changed = [this](forms::TObject*) { chart_->Invalidate(); };
    brush_.OnChange = changed;
    pen_.OnChange = changed;
}

TCustomChart::TCustomChart(forms::TComponent* owner)
    : TAxisPanel(owner), backWall_(this), leftWall_(this), bottomWall_(this) {
    backWall_.Brush().SetStyle(forms::bsClear);
    leftWall_.SetColor(0x80FFFF);
    bottomWall_.SetColor(forms::clWhite);
    FinishConstruction();
}

void TCustomChart::DrawWalls() {
    // The flat view shows only the back wall: a frame around the plot.
    TChartCanvas& c = ChartCanvas();
    c.AssignPen(backWall_.Pen());
    TChartBrush& b = backWall_.Brush();
    if (backWall_.Color() == clDefault && b.Style() == forms::bsSolid) c.SetBrush(forms::clWhite, forms::bsClear);
    else c.SetBrush(backWall_.Color(), b.Style());
    const RECT& p = PlotRect();
    c.Rectangle(p.left, p.top, p.right + 1, p.bottom + 1);
}

TChart::TChart(forms::TComponent* owner) : TCustomChart(owner) {}

}  // namespace chart
