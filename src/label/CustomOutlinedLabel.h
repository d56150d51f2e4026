// The behaviour an outlined label has apart from its looks: auto-size and transparency
// switches, the hover state, and the link to a windowed control whose keyboard focus makes the
// label active too.
#pragma once
#include "forms/Control.h"
#include "forms/WinControl.h"

namespace label {

enum TFocusControlMethod { fcmOnMouseEnter, fcmOnMouseDown, fcmOnMouseUp };
// Layout by the parent is not done by the window class library; only alNone lets the label size
// itself.
enum TAlign { alNone, alTop, alBottom, alLeft, alRight, alClient };

class TCustomOutlinedLabel : public forms::TGraphicControl {
public:
    explicit TCustomOutlinedLabel(forms::TComponent* owner);
    ~TCustomOutlinedLabel() override;

    bool Transparent() const { return transparent_; }
    void SetTransparent(bool v);
    TAlign Align = alNone;

    // The control that gets the focus on a click (or on entering, as FocusControlMethod says),
    // and whose focus shows the label active while the link follows the focus.
    forms::TWinControl* FocusControl() const { return focusControl_; }
    void SetFocusControl(forms::TWinControl* control);
    TFocusControlMethod FocusControlMethod = fcmOnMouseDown;

    bool MouseActive() const { return mouseActive_; }
    bool FocusActive() const { return focusActive_; }

    // The mouse-enter and mouse-leave logic; the focus link runs them as well.
    virtual void EnterActive();
    virtual void LeaveActive();

    // Called by the focus link from the linked control's window procedure.
    void LinkedControlFocused();
    void LinkedControlUnfocused();
    void LinkedWindowDestroyed();

protected:
    void MouseEnter() override { EnterActive(); }
    void MouseLeave() override { LeaveActive(); }
    void MouseDown(forms::TMouseButton button, forms::TShiftState shift, int x, int y) override;
    void MouseUp(forms::TMouseButton button, forms::TShiftState shift, int x, int y) override;
    void Notification(forms::TComponent* component, forms::TOperation operation) override;

    // Whether hovering is switched off for this label.
    virtual bool IgnoresMouse() const { return false; }
    // The active state changed (mouseActive already set): repaint as the looks require.
    virtual void ActiveChanged() {}

    // Follow the focus control's focus or not; hooks or unhooks the control to match.
    void SetFollowFocus(bool v);
    // Hooks the focus control again after its window was made anew.
    void RehookIfPending();

    bool mouseActive_ = false;
    bool focusActive_ = false;

private:
    void Hook();
    void Unhook();
    void FocusLinkedControl();

    bool transparent_ = true;
    forms::TWinControl* focusControl_ = nullptr;
    HWND hookedWindow_ = nullptr;
    bool followFocus_ = true;
    bool rehookPending_ = false;
};

}  // namespace label
