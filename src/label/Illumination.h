// Where the light comes from (stored only) and how deep a drop shadow falls.
#pragma once
#include "forms/Graphics.h"

namespace label {

enum THorAlign { fhaLeft, fhaCenter, fhaRight };
enum TVertAlign { fvaTop, fvaCenter, fvaBottom };

class T2DAlign : public forms::TObject {
public:
    THorAlign Horizontal() const { return horizontal_; }
    void SetHorizontal(THorAlign v);
    TVertAlign Vertical() const { return vertical_; }
    void SetVertical(TVertAlign v);

    forms::TNotifyEvent OnAlignChange;

private:
    THorAlign horizontal_ = fhaLeft;
    TVertAlign vertical_ = fvaTop;
};

class TIllumination : public T2DAlign {
public:
    int ShadowDepth() const { return shadowDepth_; }
    void SetShadowDepth(int v);  // negative depths become 0

    forms::TNotifyEvent OnIlluminationChange;

private:
    int shadowDepth_ = 2;
};

}  // namespace label
