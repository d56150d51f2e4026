// TXPButton: a push button drawn in the rounded, gradient look of the XP theme whatever theme is
// active: an orange glow ring under the pointer, a blue one while focused, a darker face while
// held. It paints double-buffered from four gradient bitmaps rebuilt on every size change.
#pragma once
#include "forms/Bitmap.h"
#include "forms/DialogKeys.h"
#include "forms/WinControl.h"
#include <random>

namespace controls {

class TXPButton : public forms::TCustomControl, public forms::TDialogClient {
public:
    explicit TXPButton(forms::TComponent* owner);
    ~TXPButton() override;

    bool Default() const { return default_; }
    void SetDefault(bool v);
    forms::TBitmap& Glyph() { return glyph_; }
    void SetGlyph(const forms::TBitmap& glyph);  // copied; drawn transparently
    bool ShowFocusRect() const { return showFocusRect_; }
    void SetShowFocusRect(bool v);
    int FocusRectOffset() const { return focusRectOffset_; }
    void SetFocusRectOffset(int v);
    int MouseBorderWidth() const { return mouseBorderWidth_; }
    void SetMouseBorderWidth(int v);
    int OffsetOnClick() const { return offsetOnClick_; }
    void SetOffsetOnClick(int v);
    int ModalResult = 0;  // given to the owning form on every click

    // The state bits that drive the painting.
    struct TFlags {
        bool Pressed = false;             // left button or Space held on the button
        bool Focused = false;             // the button is the form's focused control
        bool MouseInside = false;         // the pointer is over the button
        bool OtherButtonFocused = false;  // the form's focused control is a styled button
        bool PaintLocked = false;         // state changes do not repaint
    };
    const TFlags& Flags() const { return flags_; }
    bool IsHighlighted(bool ignoreDefault) const;

    void Click() override;  // every way of clicking comes here

    // The gradient bitmaps as last built (for tests and tools).
    forms::TBitmap& FaceBitmap() { return face_; }
    forms::TBitmap& PressedBitmap() { return pressedFace_; }
    forms::TBitmap& HotBorderBitmap() { return hotBorder_; }
    forms::TBitmap& FocusBorderBitmap() { return focusBorder_; }

protected:
    void CreateParams(forms::TCreateParams& params) override;
    void Paint() override;
    void BoundsChanged() override;
    void MouseEnter() override;
    void MouseLeave() override;
    void MouseDown(forms::TMouseButton button, forms::TShiftState shift, int x, int y) override;
    void MouseUp(forms::TMouseButton button, forms::TShiftState shift, int x, int y) override;
    void MouseMove(forms::TShiftState shift, int x, int y) override;
    void KeyDown(WORD& key, forms::TShiftState shift) override;
    void KeyUp(WORD& key, forms::TShiftState shift) override;

    bool DialogKey(WORD key, forms::TShiftState shift) override;
    bool DialogChar(char key, forms::TShiftState shift) override;
    void FocusChanged(forms::TWinControl* focused) override;

private:
    void BuildBitmaps();
    void PaintEnabled(forms::TCanvas& canvas);
    void PaintDisabled(forms::TCanvas& canvas);
    void DrawCaption(forms::TCanvas& canvas, RECT content, forms::TColor color);
    void StateChanged();  // repaints unless locked
    void PointerEnters();
    void PointerLeaves();
    // Both run event handlers that may free the button: false when it is gone.
    bool ButtonDown(forms::TMouseButton button, forms::TShiftState shift, int x, int y);
    bool ButtonUp(forms::TMouseButton button, forms::TShiftState shift, int x, int y);

    TFlags flags_;
    bool default_ = false;
    bool showFocusRect_ = true;
    int focusRectOffset_ = 3;
    int mouseBorderWidth_ = 2;
    int offsetOnClick_ = 0;
    forms::TBitmap glyph_;
    forms::TBitmap face_, pressedFace_, hotBorder_, focusBorder_;
    bool spacePressed_ = false;  // Pressed came from the Space key, not the mouse
    std::minstd_rand random_;
    SIZE builtFor_{0, 0};
};

}  // namespace controls
