#include "Illumination.h"

namespace label {

void T2DAlign::SetHorizontal(THorAlign v) {
    if (horizontal_ == v) return;
    horizontal_ = v;
    if (OnAlignChange) OnAlignChange(this);
}

void T2DAlign::SetVertical(TVertAlign v) {
    if (vertical_ == v) return;
    vertical_ = v;
    if (OnAlignChange) OnAlignChange(this);
}

void TIllumination::SetShadowDepth(int v) {
    if (v < 0) v = 0;
    if (shadowDepth_ == v) return;
    shadowDepth_ = v;
    if (OnIlluminationChange) OnIlluminationChange(this);
}

}  // namespace label
