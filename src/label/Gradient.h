// A colour ramp for a label's text face. The label draws with Active, the two colours (through
// their cached RGB values), PercentFilling and whether Orientation is vertical; Steps, BrushStyle
// and BufferedDraw are kept for whoever stores the settings.
#pragma once
#include "forms/Colors.h"
#include "forms/Graphics.h"

namespace label {

enum TGradientDir { fgdHorizontal, fgdVertical, fgdLeftBias, fgdRightBias, fgdRectangle,
                    fgdHorzConvergent, fgdVertConvergent };

class TTwoColors : public forms::TObject {
public:
    forms::TColor FromColor() const { return fromColor_; }
    void SetFromColor(forms::TColor v);
    forms::TColor ToColor() const { return toColor_; }
    void SetToColor(forms::TColor v);
    // The colours as RGB, resolved when they were set.
    COLORREF FromRGB() const { return fromRGB_; }
    COLORREF ToRGB() const { return toRGB_; }

    forms::TNotifyEvent OnChange;

protected:
    void Notify() { if (OnChange) OnChange(this); }

private:
    forms::TColor fromColor_ = forms::clGray;
    forms::TColor toColor_ = forms::clGray;
    COLORREF fromRGB_ = forms::clGray;
    COLORREF toRGB_ = forms::clGray;
};

using TPercent = int;  // 0 to 100

class TCustomGradient : public TTwoColors {
public:
    bool Active() const { return active_; }
    void SetActive(bool v);
    bool BufferedDraw = false;
    TGradientDir Orientation() const { return orientation_; }
    void SetOrientation(TGradientDir v);  // notifies only while active
    int Steps() const { return steps_; }
    void SetSteps(int v);                 // kept within 1 to 255
    TPercent PercentFilling() const { return percentFilling_; }
    void SetPercentFilling(TPercent v);   // kept within 0 to 100
    forms::TBrushStyle BrushStyle() const { return brushStyle_; }
    void SetBrushStyle(forms::TBrushStyle v);  // notifies even when unchanged

private:
    bool active_ = false;
    TGradientDir orientation_ = fgdHorizontal;
    int steps_ = 255;
    TPercent percentFilling_ = 100;
    forms::TBrushStyle brushStyle_ = forms::bsSolid;
};

class TGradient : public TCustomGradient {};

}  // namespace label
