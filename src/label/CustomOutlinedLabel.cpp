#include "CustomOutlinedLabel.h"
#include "FocusLink.h"

namespace label {

TCustomOutlinedLabel::TCustomOutlinedLabel(forms::TComponent* owner) : forms::TGraphicControl(owner) {
    SetAutoSize(true);
}

TCustomOutlinedLabel::~TCustomOutlinedLabel() { SetFocusControl(nullptr); }

void TCustomOutlinedLabel::SetTransparent(bool v) {
    transparent_ = v;
    Invalidate();
}

void TCustomOutlinedLabel::SetFocusControl(forms::TWinControl* control) {
    if (control == focusControl_) return;
    // Unhooked whenever hooked, whatever the options say now: a hook must not outlive the label.
    Unhook();
    if (focusControl_) RemoveFreeNotification(focusControl_);
    focusControl_ = control;
    if (focusControl_) {
        FreeNotification(focusControl_);
        if (followFocus_) Hook();
    }
}

void TCustomOutlinedLabel::SetFollowFocus(bool v) {
    if (followFocus_ == v) return;
    followFocus_ = v;
    if (v) Hook();
    else Unhook();
}

void TCustomOutlinedLabel::Hook() {
    if (!focusControl_) return;
    HWND window = focusControl_->Handle();
    if (window && window == hookedWindow_) return;
    Unhook();
    if (focuslink::Attach(window, this)) {
        hookedWindow_ = window;
        rehookPending_ = false;
    } else {
        rehookPending_ = true;  // no window yet: try again at the next paint
    }
}

void TCustomOutlinedLabel::Unhook() {
    if (hookedWindow_) focuslink::Detach(hookedWindow_, this);
    hookedWindow_ = nullptr;
    rehookPending_ = false;
}

void TCustomOutlinedLabel::RehookIfPending() {
    if (rehookPending_ && focusControl_ && followFocus_ && focusControl_->HandleAllocated()) Hook();
}

void TCustomOutlinedLabel::LinkedControlFocused() {
    const forms::TLifeWatch self(this);
    EnterActive();  // its handler may free the label
    if (self.Alive()) focusActive_ = true;
}

void TCustomOutlinedLabel::LinkedControlUnfocused() {
    focusActive_ = false;
    LeaveActive();
}

void TCustomOutlinedLabel::LinkedWindowDestroyed() {
    hookedWindow_ = nullptr;
    rehookPending_ = true;
}

void TCustomOutlinedLabel::EnterActive() {
    if (!Enabled() || IgnoresMouse() || focusActive_) return;
    mouseActive_ = true;
    ActiveChanged();
    const forms::TLifeWatch self(this);
    if (OnMouseEnter) OnMouseEnter(this);
    if (self.Alive() && FocusControlMethod == fcmOnMouseEnter) FocusLinkedControl();
}

void TCustomOutlinedLabel::LeaveActive() {
    if (!Enabled() || IgnoresMouse() || focusActive_) return;
    mouseActive_ = false;
    ActiveChanged();
    if (OnMouseLeave) OnMouseLeave(this);
}

void TCustomOutlinedLabel::FocusLinkedControl() {
    if (focusControl_ && focusControl_->CanFocus()) focusControl_->SetFocus();
}

void TCustomOutlinedLabel::MouseDown(forms::TMouseButton button, forms::TShiftState shift, int x, int y) {
    const forms::TLifeWatch self(this);
    forms::TGraphicControl::MouseDown(button, shift, x, y);
    if (self.Alive() && button == forms::mbLeft && Enabled() && FocusControlMethod == fcmOnMouseDown) FocusLinkedControl();
}

void TCustomOutlinedLabel::MouseUp(forms::TMouseButton button, forms::TShiftState shift, int x, int y) {
    const forms::TLifeWatch self(this);
    forms::TGraphicControl::MouseUp(button, shift, x, y);
    if (self.Alive() && button == forms::mbLeft && Enabled() && FocusControlMethod == fcmOnMouseUp) FocusLinkedControl();
}

void TCustomOutlinedLabel::Notification(forms::TComponent* component, forms::TOperation operation) {
    forms::TGraphicControl::Notification(component, operation);
    if (operation == forms::opRemove && component == focusControl_) {
        // The control is going; its window, if still there, keeps no pointer to this label.
        Unhook();
        focusControl_ = nullptr;
    }
}

}  // namespace label
