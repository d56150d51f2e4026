#include "Bevel.h"

namespace forms {

TBevel::TBevel(TComponent* owner) : TGraphicControl(owner) { SetBounds(0, 0, 50, 50); }
TBevel::~TBevel() = default;

void TBevel::SetShape(TBevelShape v) {
    if (shape_ == v) return;
    shape_ = v;
    Invalidate();
}

void TBevel::SetStyle(TBevelStyle v) {
    if (style_ == v) return;
    style_ = v;
    Invalidate();
}

void TBevel::Paint() {
    TCanvas& c = Canvas();
    // A lowered edge is dark above and left, light below and right; a raised one the other way.
    const TColor first = style_ == bsLowered ? clBtnShadow : clBtnHighlight;
    const TColor second = style_ == bsLowered ? clBtnHighlight : clBtnShadow;
    const int w = Width(), h = Height();
    auto line = [&c](TColor color, int x1, int y1, int x2, int y2) {
        c.Pen().SetColor(color);
        c.MoveTo(x1, y1);
        c.LineTo(x2, y2);
    };
    c.Pen().SetStyle(psSolid);
    c.Pen().SetWidth(1);
    switch (shape_) {
        case bsTopLine:
            line(first, 0, 0, w, 0);
            line(second, 0, 1, w, 1);
            break;
        case bsBottomLine:
            line(first, 0, h - 2, w, h - 2);
            line(second, 0, h - 1, w, h - 1);
            break;
        case bsBox:
            line(first, 0, h - 1, 0, 0);
            line(first, 0, 0, w - 1, 0);
            line(second, w - 1, 0, w - 1, h - 1);
            line(second, w - 1, h - 1, -1, h - 1);
            break;
    }
}

}  // namespace forms
