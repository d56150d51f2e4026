// The chart's pens and brushes, and the canvas every chart part draws through: a set of
// drawing operations in control pixels over an offscreen bitmap that is reused while the
// chart keeps its size. The operations are virtual so a test can watch the drawing.
// A paint may mark a layer (background, walls, axes) whose operations are written down first:
// when they are the same as the last paint's, the pixels kept from then are copied instead.
#pragma once
#include "forms/Bitmap.h"
#include "forms/Graphics.h"
#include "WideLineStamps.h"
#include <string>
#include <utility>
#include <vector>

namespace chart {

using forms::TColor;
using forms::clDefault;
using forms::clNone;

// A pen with a visibility switch and a "small dots" mode (every other pixel set).
class TChartPen : public forms::TPen {
public:
    TChartPen() = default;
    bool Visible() const { return visible_; }
    void SetVisible(bool v) { if (visible_ != v) { visible_ = v; Changed(); } }
    bool SmallDots() const { return smallDots_; }
    void SetSmallDots(bool v) { if (smallDots_ != v) { smallDots_ = v; Changed(); } }
private:
    bool visible_ = true;
    bool smallDots_ = false;
};

class TChartHiddenPen : public TChartPen {
public:
    TChartHiddenPen() { SetVisible(false); }
};

class TDottedGrayPen : public TChartPen {
public:
    TDottedGrayPen() { SetColor(forms::clGray); SetStyle(forms::psDot); }
};

class TDarkGrayPen : public TChartPen {
public:
    TDarkGrayPen() { SetColor(forms::clGray); }
};

class TChartAxisPen : public TChartPen {
public:
    TChartAxisPen() { SetWidth(2); }
};

// Unlike a plain brush, a chart brush keeps a clear style when it is given a colour: a wall
// may carry a colour for later while showing nothing.
class TChartBrush : public forms::TBrush {
public:
    TChartBrush() { SetColor(clDefault); }
    void SetColor(TColor v) {
        forms::TBrushStyle keep = Style();
        forms::TBrush::SetColor(v);
        SetStyle(keep);
    }
};

enum TCanvasTextHoriz { thLeft, thRight, thCenter };
enum TCanvasTextVert { tvTop, tvBottom };

class TChartCanvas {
public:
    TChartCanvas();
    virtual ~TChartCanvas();
    TChartCanvas(const TChartCanvas&) = delete;
    TChartCanvas& operator=(const TChartCanvas&) = delete;

    // Dirty: the bitmap no longer matches the chart and a full paint is due.
    bool Dirty() const { return dirty_; }
    void SetDirty(bool v) { dirty_ = v; }

    // Frame of a paint: size the offscreen bitmap (kept while the size holds), copy it out.
    virtual void BeginPaint(int width, int height);
    virtual void ShowImage(HDC dest, int x, int y);
    virtual void ResetState();
    const forms::TBitmap& Image() const { return bitmap_; }

    // The layer: drawing between the two is deferred to EndLayer, which either copies the pixels
    // of an identical earlier layer or draws it and keeps its pixels. State set in between holds
    // after EndLayer as usual.
    void BeginLayer();
    void EndLayer();
    // Whether the last EndLayer copied kept pixels instead of drawing.
    bool LayerReused() const { return layerReused_; }

    // Drawing state.
    virtual void SetPen(TColor color, int width, forms::TPenStyle style, forms::TPenMode mode);
    virtual void SetSmallDotsPen(TColor color, forms::TPenMode mode);
    void SetClearPen() { SetPen(forms::clBlack, 1, forms::psClear, forms::pmCopy); }
    void AssignPen(const TChartPen& pen);  // the three ways a chart pen reaches the canvas
    virtual void SetBrush(TColor color, forms::TBrushStyle style);
    virtual void SetFont(const forms::TFont& font);  // description and colour
    virtual void SetBackMode(bool transparent);
    virtual void SetBackColor(TColor color);
    virtual void SetTextAlign(TCanvasTextHoriz horiz, TCanvasTextVert vert);

    // Drawing. Lines leave their end point unpainted.
    virtual void FillRect(const RECT& r);
    virtual void Rectangle(int left, int top, int right, int bottom);
    virtual void Line(int x0, int y0, int x1, int y1);
    // Joined segments through the points: the same pixels as a Line per segment with a solid
    // copying pen, in one call.
    virtual void Polyline(const POINT* points, int count);
    void HorizLine(int x0, int x1, int y) { Line(x0, y, x1, y); }
    void VertLine(int x, int y0, int y1) { Line(x, y0, x, y1); }
    virtual void TextOut(int x, int y, const std::string& text);
    virtual int TextWidth(const std::string& text);
    virtual int FontHeight();  // height of "W" in the current font
    virtual void ClipRectangle(const RECT& r);
    virtual void UnClipRectangle();

    TColor PenColor() const { return pen_.color; }
    int PenWidth() const { return pen_.width; }
    forms::TPenStyle PenStyle() const { return pen_.style; }
    bool PenSmallDots() const { return pen_.smallDots; }
    TColor BrushColor() const { return brush_.color; }
    forms::TBrushStyle BrushStyle() const { return brush_.style; }
    TColor FontColor() const { return fontColor_; }
    bool BackTransparent() const { return transparent_; }

protected:
    HDC DC();
    // Make the GDI objects for the drawing state; null when the system cannot (out of GDI
    // resources). A failed one leaves the object in use selected, and is tried again next time.
    virtual HPEN MakePen(TColor color, int width, forms::TPenStyle style, bool smallDots);
    virtual HBRUSH MakeBrush(TColor color, forms::TBrushStyle style);
    virtual HFONT MakeFont(const LOGFONTA& font);

private:
    struct PenState {
        TColor color = forms::clBlack;
        int width = 1;
        forms::TPenStyle style = forms::psSolid;
        forms::TPenMode mode = forms::pmCopy;
        bool smallDots = false;
        bool operator==(const PenState&) const = default;
    };
    struct BrushState {
        TColor color = forms::clWhite;
        forms::TBrushStyle style = forms::bsSolid;
        bool operator==(const BrushState&) const = default;
    };
    // Everything a drawing operation depends on besides its own arguments.
    struct State {
        PenState pen;
        BrushState brush;
        LOGFONTA font;
        TColor fontColor;
        bool transparent;
        TColor backColor;
        UINT align;
        bool clipped;
        RECT clip;
        bool operator==(const State& o) const;
    };
    struct LayerOp {
        enum Kind { Fill, Rect, Line, Poly, Text, Clip, Unclip } kind;
        RECT r;  // rectangle, line ends or text anchor
        std::string text;
        std::vector<POINT> points;
        State state;
        bool operator==(const LayerOp& o) const;
    };
    State Capture() const;
    void Restore(const State& s);
    // True when the operation was written down for the layer rather than drawn.
    bool Deferred(LayerOp::Kind kind, RECT r, std::string text = {}, const POINT* points = nullptr, int count = 0);
    void Perform(const LayerOp& op);
    void DoFillRect(const RECT& r);
    void DoRectangle(int left, int top, int right, int bottom);
    void DoLine(int x0, int y0, int x1, int y1);
    void DoPolyline(const POINT* points, int count);
    void DoTextOut(int x, int y, const std::string& text);
    void DoClip(const RECT& r);
    void DoUnclip();

    void ApplyPen(const PenState& p);
    void SelectPen();
    void SelectBrush();
    void SelectFont();
    void Deselect();

    forms::TBitmap bitmap_;
    TWideLineStamps wideLines_;
    bool dirty_ = true;
    PenState pen_;
    BrushState brush_;
    LOGFONTA font_{};
    TColor fontColor_ = forms::clBlack;
    bool transparent_ = true;
    TColor backColor_ = forms::clWhite;
    UINT align_ = TA_LEFT | TA_TOP;
    // Handles made for the current state; re-made only when the state changes.
    forms::Pen penHandle_;
    forms::Brush brushHandle_;
    // Fonts are costly to make; the few a paint uses are kept between paints.
    std::vector<std::pair<LOGFONTA, forms::Font>> fonts_;
    bool penStale_ = true, brushStale_ = true, fontStale_ = true;
    HGDIOBJ oldPen_ = nullptr, oldBrush_ = nullptr, oldFont_ = nullptr;
    HDC selectedIn_ = nullptr;
    int fontHeight_ = -1;  // cached height of "W"
    bool clipped_ = false, dcClipped_ = false;
    RECT clip_{0, 0, 0, 0}, dcClip_{0, 0, 0, 0};
    bool recording_ = false, layerReused_ = false;
    std::vector<LayerOp> layerOps_, keptOps_;
    forms::TBitmap kept_;  // the pixels of keptOps_, the size of the bitmap they were drawn on
};

}  // namespace chart
