#include "XPGroupBox.h"
#include <algorithm>
#include <cstdlib>

namespace controls {

using namespace forms;

TXPGroupBox::TXPGroupBox(TComponent* owner) : TCustomControl(owner) {
    DoubleBuffered = true;
    SetParentColor(true);
    Font().SetColor(0xD05300);
    SetBounds(Left(), Top(), 185, 105);
}

TXPGroupBox::~TXPGroupBox() = default;

void TXPGroupBox::CreateParams(TCreateParams& p) {
    TCustomControl::CreateParams(p);
    p.Style |= WS_CLIPCHILDREN;
    p.ExStyle |= WS_EX_CONTROLPARENT;  // Tab walks through the controls inside
    p.WinClassName = "TXPGroupBox";
}

void TXPGroupBox::SetClamped(int& field, int v, int low, int high) {
    v = std::clamp(v, low, high);
    if (field == v) return;
    field = v;
    Invalidate();
}

void TXPGroupBox::SetBorderWidth(int v) { SetClamped(borderWidth_, v, 1, 10); }
void TXPGroupBox::SetCornersOffset(int v) { SetClamped(cornersOffset_, v, 1, 30); }
void TXPGroupBox::SetCaptionOffset(int v) { SetClamped(captionOffset_, v, 1, 30); }

void TXPGroupBox::SetBorderColor(TColor v) {
    if (borderColor_ == v) return;
    borderColor_ = v;
    Invalidate();
}

void TXPGroupBox::SetCaptionAlignment(TCaptionAlignment v) {
    if (captionAlignment_ == v) return;
    captionAlignment_ = v;
    Invalidate();
}

void TXPGroupBox::Paint() {
    TCanvas& canvas = Canvas();
    const int w = Width(), h = Height();
    canvas.Brush().SetStyle(bsSolid);
    canvas.Brush().SetColor(Color());
    canvas.FillRect({0, 0, w, h});
    canvas.Pen().SetStyle(psSolid);
    canvas.Pen().SetColor(borderColor_);
    canvas.Pen().SetWidth(borderWidth_);
    const int hW = canvas.TextHeight("W");
    const int corner = std::abs(borderWidth_ - cornersOffset_ - 1);
    canvas.RoundRect(0, hW / 2, w, h, corner, corner);

    // The caption on an opaque background interrupts the frame's top line.
    RECT r{captionOffset_, 0, w - captionOffset_, h - borderWidth_};
    const UINT align = captionAlignment_ == caLeft ? DT_LEFT : captionAlignment_ == caRight ? DT_RIGHT : DT_CENTER;
    HDC dc = canvas.Handle();
    canvas.RequireFont();
    SetTextColor(dc, ColorToRGB(Font().Color()));
    SetBkColor(dc, ColorToRGB(Color()));
    SetBkMode(dc, OPAQUE);
    DrawTextA(dc, Caption().c_str(), -1, &r, align | DT_TOP);
}

bool TXPGroupBox::DialogChar(char key, TShiftState) {
    // Its letter is taken so no other control acts on it; the focus stays where it is.
    return IsAccel(key, Caption()) && CanFocus();
}

}  // namespace controls
