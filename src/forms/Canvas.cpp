#include "Canvas.h"
#include "Bitmap.h"

namespace forms {

TCanvas::TCanvas() {
    // A handle that is about to be deleted must not stay selected in the DC.
    font_.OnChanging = [this](TObject*) { if (fontIn_) { SelectObject(dc_, oldFont_); fontIn_ = false; } };
    pen_.OnChanging = [this](TObject*) { if (penIn_) { SelectObject(dc_, oldPen_); penIn_ = false; } };
    brush_.OnChanging = [this](TObject*) { if (brushIn_) { SelectObject(dc_, oldBrush_); brushIn_ = false; } };
}

TCanvas::~TCanvas() { DeselectAll(); }

HDC TCanvas::Handle() {
    if (!dc_) CreateHandle();
    return dc_;
}

void TCanvas::SetHandle(HDC dc) {
    if (dc == dc_) return;
    DeselectAll();
    dc_ = dc;
}

void TCanvas::DeselectAll() {
    if (!dc_) return;
    if (fontIn_) SelectObject(dc_, oldFont_);
    if (penIn_) SelectObject(dc_, oldPen_);
    if (brushIn_) SelectObject(dc_, oldBrush_);
    fontIn_ = penIn_ = brushIn_ = false;
}

void TCanvas::RequireFont() {
    HDC dc = Handle();
    if (!fontIn_) { oldFont_ = SelectObject(dc, font_.Handle()); fontIn_ = true; }
}
void TCanvas::RequirePen() {
    HDC dc = Handle();
    if (!penIn_) { oldPen_ = SelectObject(dc, pen_.Handle()); penIn_ = true; }
    SetROP2(dc, pen_.Rop2());
}
void TCanvas::RequireBrush() {
    HDC dc = Handle();
    if (!brushIn_) { oldBrush_ = SelectObject(dc, brush_.Handle()); brushIn_ = true; }
    SetBkColor(dc, ColorToRGB(brush_.Color()));
    SetBkMode(dc, brush_.Style() == bsSolid ? OPAQUE : TRANSPARENT);
}

void TCanvas::PrepareText() {
    RequireFont();
    RequireBrush();
    SetTextColor(dc_, ColorToRGB(font_.Color()));
}

void TCanvas::MoveTo(int x, int y) { MoveToEx(Handle(), x, y, nullptr); penPos_ = {x, y}; }
void TCanvas::LineTo(int x, int y) { RequirePen(); RequireBrush(); ::LineTo(dc_, x, y); penPos_ = {x, y}; }

void TCanvas::Polyline(const std::vector<POINT>& pts) {
    if (pts.empty()) return;
    RequirePen(); RequireBrush();
    ::Polyline(dc_, pts.data(), static_cast<int>(pts.size()));
    penPos_ = pts.back();
}
void TCanvas::Polygon(const std::vector<POINT>& pts) {
    if (pts.empty()) return;
    RequirePen(); RequireBrush();
    ::Polygon(dc_, pts.data(), static_cast<int>(pts.size()));
}
void TCanvas::Rectangle(int l, int t, int r, int b) { RequirePen(); RequireBrush(); ::Rectangle(dc_, l, t, r, b); }
void TCanvas::RoundRect(int l, int t, int r, int b, int w, int h) {
    RequirePen(); RequireBrush(); ::RoundRect(dc_, l, t, r, b, w, h);
}
void TCanvas::Ellipse(int l, int t, int r, int b) { RequirePen(); RequireBrush(); ::Ellipse(dc_, l, t, r, b); }
void TCanvas::FillRect(const RECT& r) { RequireBrush(); ::FillRect(dc_, &r, brush_.Handle()); }
void TCanvas::FrameRect(const RECT& r) { RequireBrush(); ::FrameRect(dc_, &r, brush_.Handle()); }

void TCanvas::TextOut(int x, int y, const std::string& text) {
    PrepareText();
    ExtTextOutA(dc_, x, y, 0, nullptr, text.data(), static_cast<UINT>(text.size()), nullptr);
    penPos_ = {x + TextWidth(text), y};
}

void TCanvas::TextRect(const RECT& r, int x, int y, const std::string& text) {
    PrepareText();
    UINT opts = ETO_CLIPPED | (brush_.Style() != bsClear ? ETO_OPAQUE : 0);
    ExtTextOutA(dc_, x, y, opts, &r, text.data(), static_cast<UINT>(text.size()), nullptr);
}

SIZE TCanvas::TextExtent(const std::string& text) {
    RequireFont();
    SIZE s{0, 0};
    GetTextExtentPoint32A(dc_, text.data(), static_cast<int>(text.size()), &s);
    return s;
}

void TCanvas::Draw(int x, int y, TBitmap& bmp) {
    if (bmp.Empty()) return;
    RECT r{x, y, x + bmp.Width(), y + bmp.Height()};
    StretchDraw(r, bmp);
}

void TCanvas::StretchDraw(const RECT& r, TBitmap& bmp) {
    if (bmp.Empty()) return;
    HDC dc = Handle();
    HDC src = bmp.Canvas().Handle();
    int w = r.right - r.left, h = r.bottom - r.top;
    if (bmp.Transparent()) {
        TransparentBlt(dc, r.left, r.top, w, h, src, 0, 0, bmp.Width(), bmp.Height(),
                       ColorToRGB(bmp.TransparentColor()));
    } else if (w == bmp.Width() && h == bmp.Height()) {
        BitBlt(dc, r.left, r.top, w, h, src, 0, 0, CopyMode);
    } else {
        SetStretchBltMode(dc, COLORONCOLOR);
        StretchBlt(dc, r.left, r.top, w, h, src, 0, 0, bmp.Width(), bmp.Height(), CopyMode);
    }
}

void TCanvas::CopyRect(const RECT& d, TCanvas& source, const RECT& s) {
    HDC dc = Handle();
    HDC src = source.Handle();
    int dw = d.right - d.left, dh = d.bottom - d.top, sw = s.right - s.left, sh = s.bottom - s.top;
    if (dw == sw && dh == sh) BitBlt(dc, d.left, d.top, dw, dh, src, s.left, s.top, CopyMode);
    else {
        SetStretchBltMode(dc, COLORONCOLOR);
        StretchBlt(dc, d.left, d.top, dw, dh, src, s.left, s.top, sw, sh, CopyMode);
    }
}

COLORREF TCanvas::Pixel(int x, int y) { return GetPixel(Handle(), x, y); }
void TCanvas::SetPixel(int x, int y, TColor c) { ::SetPixelV(Handle(), x, y, ColorToRGB(c)); }

RECT TCanvas::ClipRect() {
    RECT r{};
    GetClipBox(Handle(), &r);
    return r;
}

}  // namespace forms
