// The relief style of a label's text in each of its three states.
#pragma once
#include "forms/Graphics.h"

namespace label {

enum TTextStyle { fstNone, fstRaised, fstRecessed, fstPushed, fstShadow, fstVolumetric };

class TLabelTextStyles : public forms::TObject {
public:
    TTextStyle Passive() const { return passive_; }
    void SetPassive(TTextStyle v) { Set(passive_, v); }
    TTextStyle Active() const { return active_; }
    void SetActive(TTextStyle v) { Set(active_, v); }
    TTextStyle Disabled() const { return disabled_; }
    void SetDisabled(TTextStyle v) { Set(disabled_, v); }

    forms::TNotifyEvent OnChange;

private:
    void Set(TTextStyle& field, TTextStyle v) {
        if (field == v) return;
        field = v;
        if (OnChange) OnChange(this);
    }
    TTextStyle passive_ = fstRaised;
    TTextStyle active_ = fstRaised;
    TTextStyle disabled_ = fstPushed;
};

}  // namespace label
