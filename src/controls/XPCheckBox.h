// TXPCheckBox: a check box in the XP look, with an optional third, grayed state. Setting State
// (or Checked) to a new value raises OnClick; the user's clicks go through the same setter.
#pragma once
#include "XPToggle.h"

namespace controls {

enum TXPCheckBoxState { cbUnchecked, cbChecked, cbGrayed };

class TXPCheckBox : public TXPToggle {
public:
    explicit TXPCheckBox(forms::TComponent* owner);
    ~TXPCheckBox() override;

    TXPCheckBoxState State() const { return state_; }
    void SetState(TXPCheckBoxState v);
    bool Checked() const { return state_ == cbChecked; }
    void SetChecked(bool v) { SetState(v ? cbChecked : cbUnchecked); }
    bool AllowGrayed = false;  // the user's clicks also pass through cbGrayed

protected:
    void DrawBox(forms::TCanvas& canvas, int x, int y) override;
    void Toggle() override;
    void MakePictures() override;

private:
    TXPCheckBoxState state_ = cbUnchecked;
    forms::TBitmap face_, pressedFace_, hotRing_, checkMark_, grayedMark_;
    forms::TBitmap disabledFace_, disabledCheckMark_, disabledGrayedMark_;
};

}  // namespace controls
