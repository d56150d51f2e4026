#include "XPToggle.h"
#include "forms/Platform.h"

namespace controls {

using namespace forms;

namespace {
constexpr UINT DpiChangedAfterParent = 0x02E3;  // WM_DPICHANGED_AFTERPARENT, Windows 10 on
}  // namespace

TXPToggle::TXPToggle(TComponent* owner, int width, int height)
    : TCustomControl(owner), boxBuffer_(ToggleBoxSize, ToggleBoxSize) {
    TabStop = true;
    DoubleBuffered = true;
    SetParentColor(true);
    SetBounds(Left(), Top(), width, height);
}

TXPToggle::~TXPToggle() = default;

void TXPToggle::CreateParams(TCreateParams& p) {
    TCustomControl::CreateParams(p);
    p.WinClassName = "TXPToggle";
}

void TXPToggle::SetAlignment(TXPCheckBoxAlign v) {
    if (alignment_ == v) return;
    alignment_ = v;
    Invalidate();
}

void TXPToggle::CreateWnd() {
    TCustomControl::CreateWnd();
    SetDpi(static_cast<int>(platform.GetDpiForWindow(Handle())));
}

void TXPToggle::SetDpi(int dpi) {
    if (dpi <= 0) dpi = 96;
    if (dpi == dpi_) return;
    dpi_ = dpi;
    metrics_ = ToggleMetricsFor(dpi);
    boxBuffer_.SetSize(metrics_.box, metrics_.box);
    MakePictures();
    Invalidate();
}

void TXPToggle::LoadPicture(TBitmap& bitmap, const char* name, bool seeThrough) const {
    LoadControlPicture(bitmap, name, dpi_);
    if (!seeThrough) return;
    bitmap.SetTransparent(true);
    bitmap.SetTransparentColor(0xFF00FF);
}

// --- painting --------------------------------------------------------------------------------

void TXPToggle::WndProc(TMessage& m) {
    if (m.Msg == WM_PAINT && flags_.PaintLocked) {
        // Painted once the key has been handled.
        ValidateRect(Handle(), nullptr);
        paintPending_ = true;
        m.Result = 0;
        return;
    }
    // Moved with its window onto a screen of another density.
    if (m.Msg == DpiChangedAfterParent) SetDpi(static_cast<int>(platform.GetDpiForWindow(Handle())));
    TCustomControl::WndProc(m);
}

void TXPToggle::Unlock() {
    flags_.PaintLocked = false;
    if (paintPending_) {
        paintPending_ = false;
        Invalidate();
    }
}

void TXPToggle::RedrawBox() {
    if (!HandleAllocated() || !Visible()) return;
    TCanvas& buffer = boxBuffer_.Canvas();
    buffer.Brush().SetStyle(bsSolid);
    buffer.Brush().SetColor(Color());
    const int box = metrics_.box;
    buffer.FillRect({0, 0, box, box});
    DrawBox(buffer, 0, 0);
    POINT at = ToggleBoxPosition(alignment_, Width(), Height(), box);
    WindowDC dc(Handle());
    BitBlt(dc.get(), at.x, at.y, box, box, buffer.Handle(), 0, 0, SRCCOPY);
}

void TXPToggle::Paint() {
    TCanvas& canvas = Canvas();
    const int w = Width(), h = Height();
    canvas.Brush().SetStyle(bsSolid);
    canvas.Brush().SetColor(Color());
    canvas.FillRect({0, 0, w, h});
    POINT box = ToggleBoxPosition(alignment_, w, h, metrics_.box);
    DrawBox(canvas, box.x, box.y);

    const int hW = canvas.TextHeight("W");
    RECT caption = ToggleCaptionRect(alignment_, w, h, hW, metrics_.box);
    HDC dc = canvas.Handle();
    canvas.RequireFont();
    SetTextColor(dc, ColorToRGB(Font().Color()));
    SetBkColor(dc, ColorToRGB(Color()));
    SetBkMode(dc, OPAQUE);
    DrawTextA(dc, Caption().c_str(), -1, &caption, DT_LEFT | DT_TOP);

    if (Focused()) {
        RECT text{0, 0, 0, 0};
        DrawTextA(dc, Caption().c_str(), -1, &text, DT_LEFT | DT_TOP | DT_CALCRECT);
        RECT focus = ToggleFocusRect(alignment_, w, h, hW, {text.right - text.left, text.bottom - text.top},
                                     metrics_.box);
        SetTextColor(dc, RGB(0, 0, 0));
        SetBkColor(dc, RGB(255, 255, 255));
        DrawFocusRect(dc, &focus);
    }
}

// --- input -----------------------------------------------------------------------------------

void TXPToggle::PointerEnters() {
    if (flags_.MouseInside) return;
    flags_.MouseInside = true;
    RedrawBox();
    TCustomControl::MouseEnter();
}

void TXPToggle::PointerLeaves() {
    if (!flags_.MouseInside) return;
    flags_.MouseInside = false;
    RedrawBox();
    TCustomControl::MouseLeave();
}

void TXPToggle::MouseEnter() { PointerEnters(); }
void TXPToggle::MouseLeave() { PointerLeaves(); }

void TXPToggle::MouseMove(TShiftState shift, int x, int y) {
    const TLifeWatch self(this);
    TCustomControl::MouseMove(shift, x, y);
    if (!self.Alive()) return;
    // While the control holds the mouse the pointer may leave and come back unannounced.
    if (x >= 0 && y >= 0 && x < Width() && y < Height()) PointerEnters();
    else PointerLeaves();
}

void TXPToggle::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    // Taking the focus checks a radio button, whose click handler may free it.
    const TLifeWatch self(this);
    if (button == mbLeft && !flags_.Pressed && Enabled()) {
        // The release belongs to us wherever it happens.
        SetCapture(Handle());
        if (FocusBeforePress() && !Focused() && CanFocus()) SetFocus();
        if (!self.Alive()) return;
        flags_.Pressed = true;
        if (Focused() || !CanFocus()) RedrawBox();
        else SetFocus();  // which repaints everything
        if (!self.Alive()) return;
    }
    TCustomControl::MouseDown(button, shift, x, y);
}

void TXPToggle::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
    if (button == mbLeft && flags_.Pressed) {
        if (GetCapture() == Handle()) ReleaseCapture();
        flags_.Pressed = false;
        const TLifeWatch self(this);
        Toggle();  // the click handler may free the control
        if (!self.Alive()) return;
        RedrawBox();
    }
    TCustomControl::MouseUp(button, shift, x, y);
}

void TXPToggle::KeyDown(WORD& key, TShiftState shift) {
    const TLifeWatch self(this);
    flags_.PaintLocked = true;
    try {
        TCustomControl::KeyDown(key, shift);
        if (!self.Alive()) return;
        if (key == VK_SPACE && !(shift & (ssShift | ssCtrl | ssAlt)) && !flags_.Pressed && Enabled()) {
            flags_.Pressed = true;
            RedrawBox();
        }
    } catch (...) {
        if (self.Alive()) Unlock();
        throw;
    }
    Unlock();
}

void TXPToggle::KeyUp(WORD& key, TShiftState shift) {
    const TLifeWatch self(this);
    flags_.PaintLocked = true;
    try {
        TCustomControl::KeyUp(key, shift);
        if (!self.Alive()) return;
        if (flags_.Pressed) {
            flags_.Pressed = false;
            Toggle();  // the click handler may free the control
            if (!self.Alive()) return;
            RedrawBox();
        }
    } catch (...) {
        if (self.Alive()) Unlock();
        throw;
    }
    Unlock();
}

void TXPToggle::DoEnter() {
    Invalidate();
    TCustomControl::DoEnter();
}

void TXPToggle::DoExit() {
    // A press the control can no longer finish: a key release would otherwise reach it (or
    // another control) long after and change the state unasked.
    if (flags_.Pressed) {
        if (GetCapture() == Handle()) ReleaseCapture();
        flags_.Pressed = false;
    }
    Invalidate();
    TCustomControl::DoExit();
}

}  // namespace controls
