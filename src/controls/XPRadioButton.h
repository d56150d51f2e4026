// TXPRadioButton: a radio button in the XP look, exclusive among the radio buttons of the same
// parent. Gaining the focus (by the mouse or by Tab) checks it; a click never unchecks it.
#pragma once
#include "XPToggle.h"

namespace controls {

class TXPRadioButton : public TXPToggle {
public:
    explicit TXPRadioButton(forms::TComponent* owner);
    ~TXPRadioButton() override;

    bool Checked() const { return checked_; }
    // Unchecks every other radio button of the parent first (also when v is false).
    void SetChecked(bool v);

protected:
    void DrawBox(forms::TCanvas& canvas, int x, int y) override;
    void Toggle() override { SetChecked(true); }
    bool FocusBeforePress() const override { return true; }
    void DoEnter() override;
    void MakePictures() override;

private:
    bool checked_ = false;
    bool uncheckingSiblings_ = false;
    forms::TBitmap face_, pressedFace_, hotRing_, dot_, disabledFace_, disabledDot_;
};

}  // namespace controls
