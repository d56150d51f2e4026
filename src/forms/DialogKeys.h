// Form-wide keyboard and focus notices, as a dialog needs them: the Enter and Escape keys and the
// characters the focused control does not take are offered to every control of its form (default
// buttons, accelerator letters), and every control hears where the focus went.
#pragma once
#include "WinControl.h"

namespace forms {

// Mixed into a control that wants these notices.
class TDialogClient {
public:
    virtual ~TDialogClient() = default;
    // Return true to consume the key or character; the offer then ends.
    virtual bool DialogKey(WORD key, TShiftState shift) { (void)key; (void)shift; return false; }
    virtual bool DialogChar(char key, TShiftState shift) { (void)key; (void)shift; return false; }
    // The focus moved to `focused` (a control of the same form).
    virtual void FocusChanged(TWinControl* focused) { (void)focused; }
};

// The top of a control's parent chain (its form), or the control itself.
TWinControl* RootControl(TControl* control);

// Offer to every control below root, depth first, until one consumes it.
bool BroadcastDialogKey(TWinControl* root, WORD key, TShiftState shift);
bool BroadcastDialogChar(TWinControl* root, char key, TShiftState shift);
// Tells every control below root.
void BroadcastFocusChanged(TWinControl* root, TWinControl* focused);

// Whether the character `key` is the "&" letter of a caption ("&&" is a plain ampersand);
// letters compare without case.
bool IsAccel(char key, const std::string& caption);

}  // namespace forms
