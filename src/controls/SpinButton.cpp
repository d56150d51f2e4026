#include "SpinButton.h"
#include "ControlArt.h"

namespace controls {

using namespace forms;

void TSpinButton::LoadGlyph(TBitmap& glyph, const char* name) const {
    LoadControlPicture(glyph, name, dpi_);
    // The arrows are drawn black on olive; the olive is the background.
    glyph.SetTransparentColor(clOlive);
    glyph.SetTransparent(true);
}

void TSpinButton::SetDpi(int dpi) {
    if (dpi <= 0) dpi = 96;
    if (dpi == dpi_) return;
    dpi_ = dpi;
    if (!ownUpGlyph_) LoadGlyph(up_->Glyph(), "SpinUp");
    if (!ownDownGlyph_) LoadGlyph(down_->Glyph(), "SpinDown");
    up_->Invalidate();
    down_->Invalidate();
    SetBounds(Left(), Top(), Width(), Height());  // the least width may have grown
}

TSpinButton::TSpinButton(TComponent* owner) : TWinControl(owner) {
    up_ = MakeButton("SpinUp");
    down_ = MakeButton("SpinDown");
    focusedButton_ = up_;
    SetBounds(0, 0, 20, 25);
}

TSpinButton::~TSpinButton() {
    MarkDestroying();
    SetFocusControl(nullptr);
}

TRepeatButton* TSpinButton::MakeButton(const char* glyphName) {
    auto* b = new TRepeatButton(this);
    b->SetRepeatState(RepeatWhileHeld);
    LoadGlyph(b->Glyph(), glyphName);
    b->OnMouseDown = [this](TObject* sender, TMouseButton button, TShiftState, int, int) {
        ButtonMouseDown(sender, button);
    };
    b->OnClick = [this](TObject* sender) { ButtonClick(sender); };
    b->SetParent(this);
    return b;
}

void TSpinButton::SetUpGlyph(const TBitmap* glyph) {
    ownUpGlyph_ = glyph != nullptr;
    if (glyph) up_->Glyph().Assign(*glyph);
    else LoadGlyph(up_->Glyph(), "SpinUp");
}

void TSpinButton::SetDownGlyph(const TBitmap* glyph) {
    ownDownGlyph_ = glyph != nullptr;
    if (glyph) down_->Glyph().Assign(*glyph);
    else LoadGlyph(down_->Glyph(), "SpinDown");
}

void TSpinButton::SetFocusControl(TWinControl* control) {
    if (control == focusControl_) return;
    if (focusControl_) RemoveFreeNotification(focusControl_);
    focusControl_ = control;
    if (control) FreeNotification(control);
}

void TSpinButton::Notification(TComponent* component, TOperation operation) {
    TWinControl::Notification(component, operation);
    if (operation == opRemove && component == focusControl_) focusControl_ = nullptr;
}

void TSpinButton::CreateParams(TCreateParams& p) {
    TWinControl::CreateParams(p);
    p.WinClassName = "TSpinButton";
}

void TSpinButton::AdjustSize(int& width, int& height) {
    if (!up_ || !down_ || Loading()) return;
    const int least = MulDiv(MinWidth, dpi_, 96);
    if (width < least) width = least;
    int upper = height / 2;
    up_->SetBounds(0, 0, width, upper);
    // The lower button starts on the upper one's last row, so their edges share one line.
    down_->SetBounds(0, upper - 1, width, height - upper + 1);
}

void TSpinButton::SetBounds(int left, int top, int width, int height) {
    AdjustSize(width, height);
    TWinControl::SetBounds(left, top, width, height);
}

void TSpinButton::Loaded() {
    TWinControl::Loaded();
    int w = Width(), h = Height();
    AdjustSize(w, h);
    if (w != Width() || h != Height()) TWinControl::SetBounds(Left(), Top(), w, h);
}

void TSpinButton::EnabledChanged() {
    TWinControl::EnabledChanged();
    up_->SetEnabled(Enabled());
    down_->SetEnabled(Enabled());
}

void TSpinButton::SetFocusedButton(TRepeatButton* button) {
    if (button == focusedButton_) return;
    if (Focused()) {
        focusedButton_->SetRepeatState(focusedButton_->RepeatState() & ~FocusMark);
        button->SetRepeatState(button->RepeatState() | FocusMark);
    }
    focusedButton_ = button;
}

void TSpinButton::ButtonMouseDown(TObject* sender, TMouseButton button) {
    if (button != mbLeft) return;
    SetFocusedButton(sender == up_ ? up_ : down_);
    if (focusControl_ && focusControl_->CanFocus() && !focusControl_->Focused())
        focusControl_->SetFocus();
    else if (TabStop && CanFocus() && !Focused())
        SetFocus();
}

void TSpinButton::ButtonClick(TObject* sender) {
    if (sender == up_) {
        if (OnUpClick) OnUpClick(this);
    } else if (OnDownClick) {
        OnDownClick(this);
    }
}

void TSpinButton::KeyDown(WORD& key, TShiftState shift) {
    TWinControl::KeyDown(key, shift);
    switch (key) {
        case VK_UP: SetFocusedButton(up_); up_->Click(); break;
        case VK_DOWN: SetFocusedButton(down_); down_->Click(); break;
        case VK_SPACE: focusedButton_->Click(); break;
        default: break;
    }
}

void TSpinButton::WndProc(TMessage& m) {
    switch (m.Msg) {
        case WM_GETDLGCODE:
            m.Result = DLGC_WANTARROWS;
            return;
        case WM_SETFOCUS:
        case WM_KILLFOCUS: {
            TRepeatButtonState s = focusedButton_->RepeatState();
            focusedButton_->SetRepeatState(m.Msg == WM_SETFOCUS ? (s | FocusMark) : (s & ~FocusMark));
            TWinControl::WndProc(m);
            return;
        }
        case WM_SIZE: {
            TWinControl::WndProc(m);
            int w = Width(), h = Height();
            AdjustSize(w, h);
            if (w != Width() || h != Height()) TWinControl::SetBounds(Left(), Top(), w, h);
            return;
        }
        default:
            TWinControl::WndProc(m);
    }
}

}  // namespace controls
