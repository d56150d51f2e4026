// TRepeatButton: a windowless push button with a glyph (a speed button) that keeps clicking
// while the mouse holds it down, and can carry the focus rectangle of the control it sits in.
#pragma once
#include "forms/Bitmap.h"
#include "forms/Control.h"
#include "forms/Timer.h"
#include <memory>

namespace controls {

enum TRepeatButtonFlag : unsigned {
    FocusMark = 1,        // draw a focus rectangle
    RepeatWhileHeld = 2,  // click again and again while held
};
using TRepeatButtonState = unsigned;

class TRepeatButton : public forms::TGraphicControl {
public:
    static constexpr unsigned FirstRepeatDelay = 400;  // ms from the press to the first repeat
    static constexpr unsigned RepeatInterval = 100;    // ms between later repeats

    explicit TRepeatButton(forms::TComponent* owner);
    ~TRepeatButton() override;

    TRepeatButtonState RepeatState() const { return state_; }
    void SetRepeatState(TRepeatButtonState v);

    // Images side by side: up, disabled, pressed (as many as NumGlyphs says).
    forms::TBitmap& Glyph() { return glyph_; }
    int NumGlyphs() const { return numGlyphs_; }
    void SetNumGlyphs(int v);

    bool Down() const { return down_; }  // shown pressed
    // Made at the first press, kept until the button goes; runs only while it is held.
    forms::TTimer* RepeatTimer() const { return timer_.get(); }

    void MouseDown(forms::TMouseButton button, forms::TShiftState shift, int x, int y) override;
    void MouseMove(forms::TShiftState shift, int x, int y) override;
    void MouseUp(forms::TMouseButton button, forms::TShiftState shift, int x, int y) override;

protected:
    void Paint() override;

private:
    void RepeatTick();
    void SetDown(bool v);
    void DrawGlyph(HDC dc, int x, int y);

    forms::TBitmap glyph_;
    int numGlyphs_ = 1;
    TRepeatButtonState state_ = 0;
    bool down_ = false;
    std::unique_ptr<forms::TTimer> timer_;
};

}  // namespace controls
