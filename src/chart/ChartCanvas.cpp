#include "ChartCanvas.h"
#include <algorithm>
#include <cstring>

namespace chart {

namespace {

COLORREF Rgb(TColor c) {
    // The chart's special values never reach GDI as colours; black is a safe stand-in.
    if (c == clDefault || c == clNone) return 0;
    return forms::ColorToRGB(c) & 0x00FFFFFF;
}

int GdiPenStyle(forms::TPenStyle s) {
    switch (s) {
        case forms::psDash: return PS_DASH;
        case forms::psDot: return PS_DOT;
        case forms::psDashDot: return PS_DASHDOT;
        case forms::psDashDotDot: return PS_DASHDOTDOT;
        case forms::psClear: return PS_NULL;
        case forms::psInsideFrame: return PS_INSIDEFRAME;
        default: return PS_SOLID;
    }
}

LOGFONTA DefaultFont() {
    forms::TFont f;
    f.SetSize(10);
    return f.LogFont();
}

}  // namespace

TChartCanvas::TChartCanvas() : font_(DefaultFont()) {}

TChartCanvas::~TChartCanvas() { Deselect(); }

HDC TChartCanvas::DC() {
    if (bitmap_.Empty()) bitmap_.SetSize(1, 1);
    HDC dc = bitmap_.Canvas().Handle();
    if (selectedIn_ != dc) {
        selectedIn_ = dc;
        penStale_ = brushStale_ = fontStale_ = true;
        SetBkMode(dc, transparent_ ? TRANSPARENT : OPAQUE);
        SetBkColor(dc, Rgb(backColor_));
        ::SetTextAlign(dc, align_);
    }
    return dc;
}

void TChartCanvas::Deselect() {
    if (!selectedIn_) return;
    if (oldPen_) SelectObject(selectedIn_, oldPen_);
    if (oldBrush_) SelectObject(selectedIn_, oldBrush_);
    if (oldFont_) SelectObject(selectedIn_, oldFont_);
    oldPen_ = oldBrush_ = oldFont_ = nullptr;
    selectedIn_ = nullptr;
}

void TChartCanvas::BeginPaint(int width, int height) {
    if (width < 1) width = 1;
    if (height < 1) height = 1;
    if (width != bitmap_.Width() || height != bitmap_.Height()) bitmap_.SetSize(width, height);
    DC();
}

void TChartCanvas::ShowImage(HDC dest, int x, int y) {
    if (bitmap_.Empty()) return;
    BitBlt(dest, x, y, bitmap_.Width(), bitmap_.Height(), DC(), 0, 0, SRCCOPY);
}

void TChartCanvas::ResetState() {
    SetPen(forms::clBlack, 1, forms::psSolid, forms::pmCopy);
    SetBrush(forms::clWhite, forms::bsSolid);
    forms::TFont f;
    f.SetSize(10);
    f.SetColor(forms::clBlack);
    SetFont(f);
    SetBackColor(forms::clWhite);
    SetBackMode(true);
}

// --- state ------------------------------------------------------------------------------

void TChartCanvas::ApplyPen(const PenState& p) {
    if (p == pen_) return;
    pen_ = p;
    penStale_ = true;
}

void TChartCanvas::SetPen(TColor color, int width, forms::TPenStyle style, forms::TPenMode mode) {
    ApplyPen({color, width < 1 ? 1 : width, style, mode, false});
}

void TChartCanvas::SetSmallDotsPen(TColor color, forms::TPenMode mode) {
    ApplyPen({color, 1, forms::psSolid, mode, true});
}

void TChartCanvas::AssignPen(const TChartPen& pen) {
    if (!pen.Visible()) SetClearPen();
    else if (pen.SmallDots() && pen.Width() == 1) SetSmallDotsPen(pen.Color(), pen.Mode());
    else SetPen(pen.Color(), pen.Width(), pen.Style(), pen.Mode());
}

void TChartCanvas::SetBrush(TColor color, forms::TBrushStyle style) {
    BrushState b{color, style};
    if (b == brush_) return;
    brush_ = b;
    brushStale_ = true;
}

void TChartCanvas::SetFont(const forms::TFont& font) {
    LOGFONTA lf = font.LogFont();
    fontColor_ = font.Color();
    if (memcmp(&lf, &font_, sizeof lf) == 0) return;
    font_ = lf;
    fontStale_ = true;
    fontHeight_ = -1;
}

void TChartCanvas::SetBackMode(bool transparent) {
    transparent_ = transparent;
    if (selectedIn_) SetBkMode(selectedIn_, transparent ? TRANSPARENT : OPAQUE);
}

void TChartCanvas::SetBackColor(TColor color) {
    backColor_ = color;
    if (selectedIn_) SetBkColor(selectedIn_, Rgb(color));
}

void TChartCanvas::SetTextAlign(TCanvasTextHoriz horiz, TCanvasTextVert vert) {
    align_ = (horiz == thRight ? TA_RIGHT : horiz == thCenter ? TA_CENTER : TA_LEFT) |
             (vert == tvBottom ? TA_BOTTOM : TA_TOP);
    if (selectedIn_) ::SetTextAlign(selectedIn_, align_);
}

HPEN TChartCanvas::MakePen(TColor color, int width, forms::TPenStyle style, bool smallDots) {
    if (smallDots) {
        LOGBRUSH lb{BS_SOLID, Rgb(color), 0};
        return ExtCreatePen(PS_COSMETIC | PS_ALTERNATE, 1, &lb, 0, nullptr);
    }
    return CreatePen(GdiPenStyle(style), width, Rgb(color));
}

HBRUSH TChartCanvas::MakeBrush(TColor color, forms::TBrushStyle style) {
    if (style == forms::bsSolid) return CreateSolidBrush(Rgb(color));
    return CreateHatchBrush(static_cast<int>(style) - forms::bsHorizontal, Rgb(color));
}

HFONT TChartCanvas::MakeFont(const LOGFONTA& font) { return CreateFontIndirectA(&font); }

// Each Select keeps the handle in use until its successor is selected: a handle is deleted only
// once it is out of the DC (a selected one would not be deleted, and would leak).

void TChartCanvas::SelectPen() {
    HDC dc = DC();
    if (!penStale_) return;
    forms::Pen fresh(MakePen(pen_.color, pen_.width, pen_.style, pen_.smallDots));
    if (!fresh) return;
    HGDIOBJ prev = SelectObject(dc, fresh.get());
    if (!oldPen_) oldPen_ = prev;
    penHandle_ = std::move(fresh);  // the previous handle is no longer selected
    SetROP2(dc, forms::Rop2(pen_.mode));
    penStale_ = false;
}

void TChartCanvas::SelectBrush() {
    HDC dc = DC();
    if (!brushStale_) return;
    forms::Brush fresh;
    HGDIOBJ obj;
    if (brush_.style == forms::bsClear) {
        obj = GetStockObject(NULL_BRUSH);
    } else {
        fresh.reset(MakeBrush(brush_.color, brush_.style));
        if (!fresh) return;
        obj = fresh.get();
    }
    HGDIOBJ prev = SelectObject(dc, obj);
    if (!oldBrush_) oldBrush_ = prev;
    brushHandle_ = std::move(fresh);
    brushStale_ = false;
}

void TChartCanvas::SelectFont() {
    HDC dc = DC();
    if (!fontStale_) return;
    HFONT h = nullptr;
    for (auto& f : fonts_)
        if (memcmp(&f.first, &font_, sizeof font_) == 0) { h = f.second.get(); break; }
    if (!h) {
        forms::Font fresh(MakeFont(font_));
        if (!fresh) return;
        fonts_.emplace_back(font_, std::move(fresh));
        h = fonts_.back().second.get();
    }
    HGDIOBJ prev = SelectObject(dc, h);
    if (!oldFont_) oldFont_ = prev;
    if (fonts_.size() > 4) {
        // Drop the oldest one not selected now.
        auto victim = fonts_.begin()->second.get() == h ? fonts_.begin() + 1 : fonts_.begin();
        fonts_.erase(victim);
    }
    fontStale_ = false;
}

// --- layer ------------------------------------------------------------------------------

bool TChartCanvas::State::operator==(const State& o) const {
    return pen == o.pen && brush == o.brush && memcmp(&font, &o.font, sizeof font) == 0 && fontColor == o.fontColor &&
           transparent == o.transparent && backColor == o.backColor && align == o.align && clipped == o.clipped &&
           (!clipped || EqualRect(&clip, &o.clip));
}

bool TChartCanvas::LayerOp::operator==(const LayerOp& o) const {
    return kind == o.kind && EqualRect(&r, &o.r) && text == o.text && state == o.state &&
           points.size() == o.points.size() &&
           std::equal(points.begin(), points.end(), o.points.begin(),
                      [](POINT a, POINT b) { return a.x == b.x && a.y == b.y; });
}

TChartCanvas::State TChartCanvas::Capture() const {
    return {pen_, brush_, font_, fontColor_, transparent_, backColor_, align_, clipped_, clip_};
}

void TChartCanvas::Restore(const State& s) {
    // Straight to the fields: a replay is not a new call a watching canvas should see.
    ApplyPen(s.pen);
    if (!(s.brush == brush_)) {
        brush_ = s.brush;
        brushStale_ = true;
    }
    if (memcmp(&s.font, &font_, sizeof font_) != 0) {
        font_ = s.font;
        fontStale_ = true;
        fontHeight_ = -1;
    }
    fontColor_ = s.fontColor;
    transparent_ = s.transparent;
    backColor_ = s.backColor;
    align_ = s.align;
    HDC dc = DC();
    SetBkMode(dc, transparent_ ? TRANSPARENT : OPAQUE);
    SetBkColor(dc, Rgb(backColor_));
    ::SetTextAlign(dc, align_);
    if (s.clipped) {
        if (!dcClipped_ || !EqualRect(&dcClip_, &s.clip)) DoClip(s.clip);
    } else if (dcClipped_) {
        DoUnclip();
    }
}

void TChartCanvas::BeginLayer() {
    layerOps_.clear();
    recording_ = true;
}

bool TChartCanvas::Deferred(LayerOp::Kind kind, RECT r, std::string text, const POINT* points, int count) {
    if (!recording_) return false;
    LayerOp op{kind, r, std::move(text), {}, Capture()};
    if (points) op.points.assign(points, points + count);
    layerOps_.push_back(std::move(op));
    return true;
}

void TChartCanvas::EndLayer() {
    if (!recording_) return;
    recording_ = false;
    const State live = Capture();
    HDC dc = DC();
    const int w = bitmap_.Width(), h = bitmap_.Height();
    layerReused_ = kept_.Width() == w && kept_.Height() == h && layerOps_ == keptOps_;
    DoUnclip();
    if (layerReused_) {
        BitBlt(dc, 0, 0, w, h, kept_.Canvas().Handle(), 0, 0, SRCCOPY);
    } else {
        for (const LayerOp& op : layerOps_) Perform(op);
        DoUnclip();
        if (kept_.Width() != w || kept_.Height() != h) kept_.SetSize(w, h);
        BitBlt(kept_.Canvas().Handle(), 0, 0, w, h, dc, 0, 0, SRCCOPY);
        keptOps_.swap(layerOps_);
    }
    layerOps_.clear();
    Restore(live);
}

void TChartCanvas::Perform(const LayerOp& op) {
    Restore(op.state);
    const RECT& r = op.r;
    switch (op.kind) {
        case LayerOp::Fill: DoFillRect(r); break;
        case LayerOp::Rect: DoRectangle(r.left, r.top, r.right, r.bottom); break;
        case LayerOp::Line: DoLine(r.left, r.top, r.right, r.bottom); break;
        case LayerOp::Poly: DoPolyline(op.points.data(), static_cast<int>(op.points.size())); break;
        case LayerOp::Text: DoTextOut(r.left, r.top, op.text); break;
        case LayerOp::Clip: DoClip(r); break;
        case LayerOp::Unclip: DoUnclip(); break;
    }
}

// --- drawing ----------------------------------------------------------------------------

void TChartCanvas::FillRect(const RECT& r) {
    if (brush_.style == forms::bsClear || Deferred(LayerOp::Fill, r)) return;
    DoFillRect(r);
}

void TChartCanvas::Rectangle(int left, int top, int right, int bottom) {
    if (!Deferred(LayerOp::Rect, {left, top, right, bottom})) DoRectangle(left, top, right, bottom);
}

void TChartCanvas::Line(int x0, int y0, int x1, int y1) {
    if (pen_.style == forms::psClear || Deferred(LayerOp::Line, {x0, y0, x1, y1})) return;
    DoLine(x0, y0, x1, y1);
}

void TChartCanvas::Polyline(const POINT* points, int count) {
    if (pen_.style == forms::psClear || count < 2 || Deferred(LayerOp::Poly, {}, {}, points, count)) return;
    DoPolyline(points, count);
}

void TChartCanvas::TextOut(int x, int y, const std::string& text) {
    if (!Deferred(LayerOp::Text, {x, y, 0, 0}, text)) DoTextOut(x, y, text);
}

void TChartCanvas::ClipRectangle(const RECT& r) {
    if (!Deferred(LayerOp::Clip, r)) DoClip(r);
    clipped_ = true;
    clip_ = r;
}

void TChartCanvas::UnClipRectangle() {
    if (!Deferred(LayerOp::Unclip, {})) DoUnclip();
    clipped_ = false;
}

void TChartCanvas::DoFillRect(const RECT& r) {
    if (brush_.style == forms::bsClear) return;
    SelectBrush();
    ::FillRect(DC(), &r, static_cast<HBRUSH>(GetCurrentObject(DC(), OBJ_BRUSH)));
}

void TChartCanvas::DoRectangle(int left, int top, int right, int bottom) {
    SelectPen();
    SelectBrush();
    ::Rectangle(DC(), left, top, right, bottom);
}

void TChartCanvas::DoLine(int x0, int y0, int x1, int y1) {
    SelectPen();
    HDC dc = DC();
    MoveToEx(dc, x0, y0, nullptr);
    LineTo(dc, x1, y1);
}

void TChartCanvas::DoPolyline(const POINT* points, int count) {
    // A wide solid line is set from stamps; the same pixels as GDI's, which merges a region for
    // every segment of a wide pen.
    const bool stamped = pen_.style == forms::psSolid && pen_.mode == forms::pmCopy && !pen_.smallDots &&
                         pen_.width >= 2;
    if (stamped) {
        DC();
        const RECT clip = dcClipped_ ? dcClip_ : RECT{0, 0, bitmap_.Width(), bitmap_.Height()};
        if (wideLines_.Draw(bitmap_, clip, points, count, pen_.width, Rgb(pen_.color))) return;
    }
    SelectPen();
    ::Polyline(DC(), points, count);
}

void TChartCanvas::DoTextOut(int x, int y, const std::string& text) {
    SelectFont();
    HDC dc = DC();
    SetTextColor(dc, Rgb(fontColor_));
    // A clear brush means no box behind the text.
    bool boxed = brush_.style != forms::bsClear;
    if (boxed) { SetBkMode(dc, OPAQUE); SetBkColor(dc, Rgb(brush_.color)); }
    else SetBkMode(dc, TRANSPARENT);
    ExtTextOutA(dc, x, y, 0, nullptr, text.data(), static_cast<UINT>(text.size()), nullptr);
    SetBkMode(dc, transparent_ ? TRANSPARENT : OPAQUE);
    SetBkColor(dc, Rgb(backColor_));
}

int TChartCanvas::TextWidth(const std::string& text) {
    SelectFont();
    SIZE s{0, 0};
    GetTextExtentPoint32A(DC(), text.data(), static_cast<int>(text.size()), &s);
    return s.cx;
}

int TChartCanvas::FontHeight() {
    if (fontHeight_ < 0) {
        SelectFont();
        SIZE s{0, 0};
        GetTextExtentPoint32A(DC(), "W", 1, &s);
        fontHeight_ = s.cy;
    }
    return fontHeight_;
}

void TChartCanvas::DoClip(const RECT& r) {
    forms::Region rgn(CreateRectRgn(r.left, r.top, r.right, r.bottom));
    SelectClipRgn(DC(), rgn.get());  // the DC keeps its own copy
    dcClipped_ = true;
    dcClip_ = r;
}

void TChartCanvas::DoUnclip() {
    SelectClipRgn(DC(), nullptr);
    dcClipped_ = false;
}

}  // namespace chart
