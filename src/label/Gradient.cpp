#include "Gradient.h"
#include <algorithm>

namespace label {

void TTwoColors::SetFromColor(forms::TColor v) {
    if (fromColor_ == v) return;
    fromColor_ = v;
    fromRGB_ = forms::ColorToRGB(v);
    Notify();
}

void TTwoColors::SetToColor(forms::TColor v) {
    if (toColor_ == v) return;
    toColor_ = v;
    toRGB_ = forms::ColorToRGB(v);
    Notify();
}

void TCustomGradient::SetActive(bool v) {
    if (active_ == v) return;
    active_ = v;
    Notify();
}

void TCustomGradient::SetOrientation(TGradientDir v) {
    if (orientation_ == v) return;
    orientation_ = v;
    if (active_) Notify();
}

void TCustomGradient::SetSteps(int v) {
    v = std::clamp(v, 1, 255);
    if (steps_ == v) return;
    steps_ = v;
    Notify();
}

void TCustomGradient::SetPercentFilling(TPercent v) {
    v = std::clamp(v, 0, 100);
    if (percentFilling_ == v) return;
    percentFilling_ = v;
    Notify();
}

void TCustomGradient::SetBrushStyle(forms::TBrushStyle v) {
    brushStyle_ = v;
    Notify();
}

}  // namespace label
