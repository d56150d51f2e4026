#include "SpinRepeatButton.h"
#include <algorithm>

namespace controls {

using namespace forms;

TRepeatButton::TRepeatButton(TComponent* owner) : TGraphicControl(owner) {
    glyph_.OnChange = [this](TObject*) { Invalidate(); };
}

TRepeatButton::~TRepeatButton() = default;

void TRepeatButton::SetRepeatState(TRepeatButtonState v) {
    if (v == state_) return;
    state_ = v;
    Invalidate();
}

void TRepeatButton::SetNumGlyphs(int v) {
    v = std::max(v, 1);
    if (v == numGlyphs_) return;
    numGlyphs_ = v;
    Invalidate();
}

void TRepeatButton::SetDown(bool v) {
    if (v == down_) return;
    down_ = v;
    Invalidate();
}

void TRepeatButton::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    const TLifeWatch self(this);
    TGraphicControl::MouseDown(button, shift, x, y);
    if (!self.Alive() || button != mbLeft || !Enabled()) return;
    SetDown(true);
    if (!(state_ & RepeatWhileHeld)) return;
    if (!timer_) {
        timer_ = std::make_unique<TTimer>(nullptr);
        timer_->SetEnabled(false);
        timer_->OnTimer = [this](TObject*) { RepeatTick(); };
    }
    timer_->SetInterval(FirstRepeatDelay);
    timer_->SetEnabled(true);
}

void TRepeatButton::MouseMove(TShiftState shift, int x, int y) {
    const TLifeWatch self(this);
    TGraphicControl::MouseMove(shift, x, y);
    // While held, the button looks pressed only with the mouse over it, and only then repeats.
    if (self.Alive() && pressed_) SetDown(HitTest(x, y));
}

void TRepeatButton::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
    const TLifeWatch self(this);
    TGraphicControl::MouseUp(button, shift, x, y);
    if (!self.Alive() || button != mbLeft) return;
    SetDown(false);
    if (timer_) timer_->SetEnabled(false);
}

void TRepeatButton::RepeatTick() {
    timer_->SetInterval(RepeatInterval);
    if (!MouseCapture()) {
        // Another window took the mouse: no release will come, so the hold is over.
        timer_->SetEnabled(false);
        SetDown(false);
        return;
    }
    if (!down_) return;
    const TLifeWatch self(this);
    try {
        Click();
    } catch (...) {
        if (self.Alive()) timer_->SetEnabled(false);
        throw;
    }
}

void TRepeatButton::Paint() {
    HDC dc = Canvas().Handle();
    RECT r{0, 0, Width(), Height()};
    Canvas().Brush().SetColor(clBtnFace);
    Canvas().FillRect(r);
    RECT edge = r;
    DrawEdge(dc, &edge, down_ ? BDR_SUNKENOUTER : BDR_RAISEDINNER, BF_RECT);

    int gw = glyph_.Width() / numGlyphs_, gh = glyph_.Height();
    if (gw > 0 && gh > 0) {
        int offset = down_ ? 1 : 0;
        DrawGlyph(dc, (Width() - gw) / 2 + offset, (Height() - gh) / 2 + offset);
    }
    if (state_ & FocusMark) {
        RECT focus{3, 3, Width() - 3, Height() - 3};
        if (down_) OffsetRect(&focus, 1, 1);
        DrawFocusRect(dc, &focus);
    }
}

void TRepeatButton::DrawGlyph(HDC dc, int x, int y) {
    int gw = glyph_.Width() / numGlyphs_, gh = glyph_.Height();
    COLORREF key = ColorToRGB(glyph_.TransparentColor());
    if (!Enabled() && numGlyphs_ < 2) {
        // No disabled image given: emboss the shape of the normal one.
        GdiFlush();
        const uint32_t* bits = glyph_.Bits();
        uint32_t keyBits = (uint32_t(GetRValue(key)) << 16) | (uint32_t(GetGValue(key)) << 8) | GetBValue(key);
        const COLORREF colours[2] = {ColorToRGB(clBtnHighlight), ColorToRGB(clBtnShadow)};
        for (int pass = 0; pass < 2; ++pass) {
            int shift = pass == 0 ? 1 : 0;
            for (int py = 0; py < gh; ++py)
                for (int px = 0; px < gw; ++px)
                    if ((bits[size_t(py) * glyph_.Width() + px] & 0xFFFFFF) != keyBits)
                        SetPixelV(dc, x + px + shift, y + py + shift, colours[pass]);
        }
        return;
    }
    int index = 0;
    if (!Enabled()) index = 1;
    else if (down_ && numGlyphs_ > 2) index = 2;
    HDC src = glyph_.Canvas().Handle();
    if (glyph_.Transparent())
        TransparentBlt(dc, x, y, gw, gh, src, index * gw, 0, gw, gh, key);
    else
        BitBlt(dc, x, y, gw, gh, src, index * gw, 0, SRCCOPY);
}

}  // namespace controls
