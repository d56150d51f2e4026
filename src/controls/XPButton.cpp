#include "XPButton.h"
#include "XPGradient.h"
#include "forms/Form.h"
#include <algorithm>

namespace controls {

using namespace forms;

namespace {
constexpr TColor FaceTop = 0xFFFFFF, FaceBottom = 0xE7EBEF;
constexpr TColor PressedTop = 0xC6CFD6, PressedBottom = 0xEBF3F7;
constexpr TColor HotTop = 0xCEF3FF, HotBottom = 0x0096E7;
constexpr TColor FocusTop = 0xFFE7CE, FocusBottom = 0xEF846D;
constexpr TColor BorderColor = 0x733C00, CornerColor = 0xAD967B;
constexpr TColor DisabledFace = 0xEFF7F0, DisabledBorder = 0xBFC7CF, DisabledText = 0x90A0A0;

// Copies the top-left w x h of a bitmap (no more than it has) to (x, y).
void CopyTopLeft(HDC dc, int x, int y, int w, int h, TBitmap& from) {
    w = std::min(w, from.Width());
    h = std::min(h, from.Height());
    if (w > 0 && h > 0) BitBlt(dc, x, y, w, h, from.Canvas().Handle(), 0, 0, SRCCOPY);
}
}  // namespace

TXPButton::TXPButton(TComponent* owner) : TCustomControl(owner), random_(GetTickCount()) {
    TabStop = true;
    DoubleBuffered = true;
    SetParentColor(true);
    SetBounds(Left(), Top(), 73, 25);
}

TXPButton::~TXPButton() = default;

void TXPButton::CreateParams(TCreateParams& p) {
    TCustomControl::CreateParams(p);
    p.WinClassName = "TXPButton";
}

// --- properties ------------------------------------------------------------------------------

void TXPButton::SetDefault(bool v) {
    if (default_ == v) return;
    default_ = v;
    // Every button of the form re-reads whether a styled button holds the focus.
    if (TWinControl* root = RootControl(this)) {
        HWND focus = GetFocus();
        TWinControl* focused = root->HandleAllocated() && focus &&
                                       (focus == root->Handle() || IsChild(root->Handle(), focus))
                                   ? TWinControl::FromHandle(focus)
                                   : nullptr;
        BroadcastFocusChanged(root, focused);
    }
    StateChanged();
}

void TXPButton::SetGlyph(const TBitmap& glyph) {
    glyph_.Assign(glyph);
    glyph_.SetTransparent(true);
    Invalidate();
}

void TXPButton::SetShowFocusRect(bool v) { if (showFocusRect_ != v) { showFocusRect_ = v; Invalidate(); } }
void TXPButton::SetFocusRectOffset(int v) { if (focusRectOffset_ != v) { focusRectOffset_ = v; Invalidate(); } }
void TXPButton::SetMouseBorderWidth(int v) { if (mouseBorderWidth_ != v) { mouseBorderWidth_ = v; Invalidate(); } }
void TXPButton::SetOffsetOnClick(int v) { if (offsetOnClick_ != v) { offsetOnClick_ = v; Invalidate(); } }

bool TXPButton::IsHighlighted(bool ignoreDefault) const {
    bool lit = flags_.Pressed ? !flags_.MouseInside : (flags_.MouseInside || flags_.Focused);
    if (!ignoreDefault && default_ && !flags_.OtherButtonFocused) lit = true;
    return lit;
}

void TXPButton::Click() {
    if (auto* form = dynamic_cast<TForm*>(RootControl(this))) form->ModalResult = ModalResult;
    TCustomControl::Click();
}

void TXPButton::StateChanged() {
    if (!flags_.PaintLocked) Invalidate();
}

// --- bitmaps ---------------------------------------------------------------------------------

void TXPButton::BoundsChanged() {
    TCustomControl::BoundsChanged();
    if (builtFor_.cx != Width() || builtFor_.cy != Height()) BuildBitmaps();
}

void TXPButton::BuildBitmaps() {
    const int w = Width(), h = Height();
    builtFor_ = {w, h};
    // The face is always made two pixels smaller than the button: the unlit face shows that much
    // of it, and the lit one the top-left part inside the glow ring.
    MakeGradient(face_, w - 2, h - 2, FaceTop, FaceBottom, random_);
    MakeGradient(pressedFace_, w - 2, h - 2, PressedTop, PressedBottom, random_);
    MakeGradient(hotBorder_, w - 2, h - 2, HotTop, HotBottom, random_);
    MakeGradient(focusBorder_, w - 2, h - 2, FocusTop, FocusBottom, random_);
}

// --- painting --------------------------------------------------------------------------------

void TXPButton::Paint() {
    TCanvas& canvas = Canvas();
    canvas.Brush().SetStyle(bsSolid);
    canvas.Brush().SetColor(Color());
    canvas.FillRect({0, 0, Width(), Height()});
    if (Enabled()) PaintEnabled(canvas);
    else PaintDisabled(canvas);
}

void TXPButton::PaintEnabled(TCanvas& canvas) {
    const int w = Width(), h = Height();
    HDC dc = canvas.Handle();
    const bool lit = IsHighlighted(false);
    const bool down = flags_.MouseInside && flags_.Pressed;
    if (lit) CopyTopLeft(dc, 1, 1, w - 2, h - 2, flags_.MouseInside ? hotBorder_ : focusBorder_);
    if (down) {
        CopyTopLeft(dc, 1, 1, w - 2, h - 2, pressedFace_);
    } else if (lit) {
        const int b = mouseBorderWidth_ + 1;  // leaves a ring of the glow visible
        CopyTopLeft(dc, b, b, w - 2 * b, h - 2 * b, face_);
    } else {
        CopyTopLeft(dc, 1, 1, w - 2, h - 2, face_);
    }
    if (flags_.Focused && showFocusRect_) {
        const int o = focusRectOffset_;
        RECT r{o, o, w - o, h - o};
        SetTextColor(dc, RGB(0, 0, 0));
        SetBkColor(dc, RGB(255, 255, 255));
        DrawFocusRect(dc, &r);
    }
    canvas.Pen().SetStyle(psSolid);
    canvas.Pen().SetWidth(1);
    canvas.Pen().SetColor(BorderColor);
    canvas.Brush().SetStyle(bsClear);
    canvas.RoundRect(0, 0, w, h, 5, 5);
    // Soften the rounded corners.
    canvas.Pen().SetColor(CornerColor);
    canvas.SetPixel(0, 1, CornerColor);
    canvas.SetPixel(1, 0, CornerColor);
    canvas.MoveTo(w - 2, 0);
    canvas.LineTo(w, 2);
    canvas.MoveTo(0, h - 2);
    canvas.LineTo(2, h);
    canvas.MoveTo(w - 3, h);
    canvas.LineTo(w, h - 3);

    RECT content{4, 0, w - 4, h};
    if (down) OffsetRect(&content, offsetOnClick_, offsetOnClick_);
    if (!glyph_.Empty()) {
        canvas.Draw(content.left + 3, content.top + (h - glyph_.Height()) / 2, glyph_);
        content.left += glyph_.Width() + 3;
    }
    DrawCaption(canvas, content, Font().Color());
}

void TXPButton::PaintDisabled(TCanvas& canvas) {
    const int w = Width(), h = Height();
    canvas.Brush().SetColor(DisabledFace);
    canvas.FillRect({2, 2, w - 2, h - 2});
    canvas.Pen().SetStyle(psSolid);
    canvas.Pen().SetWidth(1);
    canvas.Pen().SetColor(DisabledBorder);
    canvas.RoundRect(0, 0, w, h, 6, 6);
    RECT content{2, 2, w - 2, h - 2};
    if (!glyph_.Empty()) {
        canvas.Draw(7, (h - glyph_.Height()) / 2, glyph_);
        content.left += glyph_.Width() + 3;
    }
    DrawCaption(canvas, content, DisabledText);
}

void TXPButton::DrawCaption(TCanvas& canvas, RECT content, TColor color) {
    canvas.RequireFont();
    HDC dc = canvas.Handle();
    SetTextColor(dc, ColorToRGB(color));
    SetBkMode(dc, TRANSPARENT);
    DrawTextA(dc, Caption().c_str(), -1, &content, DT_SINGLELINE | DT_CENTER | DT_VCENTER | DT_END_ELLIPSIS);
}

// --- input -----------------------------------------------------------------------------------

void TXPButton::PointerEnters() {
    if (flags_.MouseInside) return;
    flags_.MouseInside = true;
    StateChanged();
    TCustomControl::MouseEnter();
}

void TXPButton::PointerLeaves() {
    if (!flags_.MouseInside) return;
    flags_.MouseInside = false;
    StateChanged();
    TCustomControl::MouseLeave();
}

void TXPButton::MouseEnter() { PointerEnters(); }
void TXPButton::MouseLeave() { PointerLeaves(); }

void TXPButton::MouseMove(TShiftState shift, int x, int y) {
    const TLifeWatch self(this);
    TCustomControl::MouseMove(shift, x, y);
    if (!self.Alive()) return;
    // While the button holds the mouse, the pointer may leave and come back without the
    // window hearing of it otherwise.
    const bool inside = x >= 0 && y >= 0 && x < Width() && y < Height();
    if (inside) PointerEnters();
    else PointerLeaves();
}

void TXPButton::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    if (button == mbLeft) SetCapture(Handle());
    ButtonDown(button, shift, x, y);
}

void TXPButton::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
    ButtonUp(button, shift, x, y);
}

bool TXPButton::ButtonDown(TMouseButton button, TShiftState shift, int x, int y) {
    const TLifeWatch self(this);
    TCustomControl::MouseDown(button, shift, x, y);
    if (!self.Alive()) return false;
    if (button != mbLeft || !Enabled()) return true;
    if (!Focused() && CanFocus()) SetFocus();  // also when not a tab stop
    if (!self.Alive()) return false;
    flags_.Pressed = true;
    StateChanged();
    return true;
}

bool TXPButton::ButtonUp(TMouseButton button, TShiftState shift, int x, int y) {
    const TLifeWatch self(this);
    TCustomControl::MouseUp(button, shift, x, y);
    if (!self.Alive()) return false;
    if (!flags_.Pressed) return true;
    if (HandleAllocated() && GetCapture() == Handle()) ReleaseCapture();
    const bool click = flags_.MouseInside && flags_.Focused;
    flags_.Pressed = false;
    spacePressed_ = false;
    StateChanged();
    if (click) Click();
    return self.Alive();
}

void TXPButton::KeyDown(WORD& key, TShiftState shift) {
    const TLifeWatch self(this);
    TCustomControl::KeyDown(key, shift);
    if (!self.Alive()) return;
    if (key != VK_SPACE || (shift & (ssShift | ssCtrl | ssAlt)) || flags_.Pressed || !Enabled()) return;
    flags_.PaintLocked = true;
    PointerEnters();
    if (!self.Alive() || !ButtonDown(mbLeft, 0, 0, 0)) return;
    spacePressed_ = true;
    flags_.PaintLocked = false;
    Invalidate();
}

void TXPButton::KeyUp(WORD& key, TShiftState shift) {
    const TLifeWatch self(this);
    TCustomControl::KeyUp(key, shift);
    if (!self.Alive() || !flags_.Pressed) return;
    if (!ButtonUp(mbLeft, shift, 0, 0)) return;
    PointerLeaves();
}

bool TXPButton::DialogKey(WORD key, TShiftState) {
    if (key != VK_RETURN || !CanFocus()) return false;
    if (!flags_.Focused && !(default_ && !flags_.OtherButtonFocused)) return false;
    Click();
    return true;
}

bool TXPButton::DialogChar(char key, TShiftState shift) {
    if (!IsAccel(key, Caption()) || !CanFocus()) return false;
    if (!flags_.Focused && !(shift & ssAlt)) return false;
    Click();
    return true;
}

void TXPButton::FocusChanged(TWinControl* focused) {
    flags_.Focused = focused == this;
    if (!flags_.Focused) {
        if (flags_.Pressed && HandleAllocated() && GetCapture() == Handle()) ReleaseCapture();
        flags_.Pressed = false;
        // The pointer entered only in pretence when Space pressed the button.
        if (spacePressed_) {
            spacePressed_ = false;
            const TLifeWatch self(this);
            PointerLeaves();
            if (!self.Alive()) return;
        }
    }
    flags_.OtherButtonFocused = dynamic_cast<TXPButton*>(focused) != nullptr;
    StateChanged();
}

}  // namespace controls
