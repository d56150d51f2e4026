// A drawing surface over a DC with its own font, pen and brush, selected into the DC only when
// an operation needs them and deselected before the DC is released or a handle changes.
#pragma once
#include "Graphics.h"
#include <string>
#include <vector>

namespace forms {

class TBitmap;

class TCanvas : public TObject {
public:
    TCanvas();
    ~TCanvas() override;
    TCanvas(const TCanvas&) = delete;
    TCanvas& operator=(const TCanvas&) = delete;

    HDC Handle();                 // makes one through CreateHandle when there is none
    void SetHandle(HDC dc);       // lets go of the previous DC (its objects deselected)
    bool HandleAllocated() const { return dc_ != nullptr; }

    TFont& Font() { return font_; }
    TPen& Pen() { return pen_; }
    TBrush& Brush() { return brush_; }
    DWORD CopyMode = SRCCOPY;
    POINT PenPos() const { return penPos_; }

    void MoveTo(int x, int y);
    void LineTo(int x, int y);
    void Polyline(const std::vector<POINT>& points);
    void Polygon(const std::vector<POINT>& points);
    void Rectangle(int l, int t, int r, int b);
    void Rectangle(const RECT& r) { Rectangle(r.left, r.top, r.right, r.bottom); }
    void RoundRect(int l, int t, int r, int b, int w, int h);
    void Ellipse(int l, int t, int r, int b);
    void FillRect(const RECT& r);   // with the brush, no outline
    void FrameRect(const RECT& r);  // one-pixel frame in the brush colour
    void TextOut(int x, int y, const std::string& text);
    void TextRect(const RECT& r, int x, int y, const std::string& text);  // clipped to r
    SIZE TextExtent(const std::string& text);
    int TextWidth(const std::string& text) { return TextExtent(text).cx; }
    int TextHeight(const std::string& text) { return TextExtent(text).cy; }
    void Draw(int x, int y, TBitmap& bitmap);  // honours the bitmap's transparency
    void StretchDraw(const RECT& r, TBitmap& bitmap);
    void CopyRect(const RECT& dest, TCanvas& source, const RECT& src);  // with CopyMode
    COLORREF Pixel(int x, int y);
    void SetPixel(int x, int y, TColor c);
    RECT ClipRect();

    // Selects the font, pen or brush (as the next operation would) for callers that draw with
    // raw GDI on Handle().
    void RequireFont();
    void RequirePen();
    void RequireBrush();

protected:
    virtual void CreateHandle() {}
    virtual void FreeHandle() { SetHandle(nullptr); }

private:
    void DeselectAll();
    void PrepareText();

    HDC dc_ = nullptr;
    TFont font_;
    TPen pen_;
    TBrush brush_;
    POINT penPos_{0, 0};
    HGDIOBJ oldFont_ = nullptr, oldPen_ = nullptr, oldBrush_ = nullptr;
    bool fontIn_ = false, penIn_ = false, brushIn_ = false;
};

}  // namespace forms
