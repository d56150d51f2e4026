// The common part of the styled check box and radio button: a box (or circle) drawn from small
// bitmaps beside a caption, a hot ring under the pointer, a pressed face while the left button
// or Space is held, and the change of state on release. Only the box is redrawn for state
// changes; the whole control for focus, caption and size changes. The box grows with the density
// of the screen the control is on.
#pragma once
#include "ControlArt.h"
#include "XPToggleLayout.h"
#include "forms/Bitmap.h"
#include "forms/WinControl.h"

namespace controls {

class TXPToggle : public forms::TCustomControl {
public:
    TXPToggle(forms::TComponent* owner, int width, int height);
    ~TXPToggle() override;

    TXPCheckBoxAlign Alignment() const { return alignment_; }
    void SetAlignment(TXPCheckBoxAlign v);

    struct TFlags {
        bool MouseInside = false;  // the pointer is over the control
        bool Pressed = false;      // left button or Space held
        bool PaintLocked = false;  // set while a key is handled: no full paints
    };
    const TFlags& Flags() const { return flags_; }

    // The density the box is drawn for: the window's own once it has one, or what its owner
    // sets (a dialog moved onto another screen).
    int Dpi() const { return dpi_; }
    void SetDpi(int dpi);
    int BoxSize() const { return metrics_.box; }

protected:
    const ToggleMetrics& Metrics() const { return metrics_; }
    // Makes the box's pictures for Dpi(); each class calls it from its constructor too.
    virtual void MakePictures() = 0;
    // Draws the box (or circle) for the current state with its top-left corner at (x, y).
    virtual void DrawBox(forms::TCanvas& canvas, int x, int y) = 0;
    // What a release does: the check box moves to its next state, the radio button checks.
    virtual void Toggle() = 0;
    // The radio button takes the focus before it shows itself pressed.
    virtual bool FocusBeforePress() const { return false; }

    void RedrawBox();  // just the box, straight onto the window
    // The named picture for Dpi(); magenta is see-through wherever `seeThrough` asks.
    void LoadPicture(forms::TBitmap& bitmap, const char* name, bool seeThrough = false) const;

    void CreateParams(forms::TCreateParams& params) override;
    void CreateWnd() override;
    void WndProc(forms::TMessage& msg) override;
    void Paint() override;
    void MouseEnter() override;
    void MouseLeave() override;
    void MouseMove(forms::TShiftState shift, int x, int y) override;
    void MouseDown(forms::TMouseButton button, forms::TShiftState shift, int x, int y) override;
    void MouseUp(forms::TMouseButton button, forms::TShiftState shift, int x, int y) override;
    void KeyDown(WORD& key, forms::TShiftState shift) override;
    void KeyUp(WORD& key, forms::TShiftState shift) override;
    void DoEnter() override;
    void DoExit() override;

private:
    void PointerEnters();
    void PointerLeaves();
    void Unlock();

    TXPCheckBoxAlign alignment_ = taLeft;
    int dpi_ = 96;
    ToggleMetrics metrics_ = ToggleMetricsFor(96);
    TFlags flags_;
    bool paintPending_ = false;  // a paint was skipped while locked
    forms::TBitmap boxBuffer_;
};

}  // namespace controls
