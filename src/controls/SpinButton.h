// TSpinButton: a pair of arrow buttons stacked one above the other, the upper one stepping up
// and the lower one down. Both repeat while held; a press hands the focus to FocusControl. Its
// least width and the default arrows grow with the screen's density.
#pragma once
#include "SpinRepeatButton.h"
#include "forms/WinControl.h"

namespace controls {

class TSpinButton : public forms::TWinControl {
public:
    static constexpr int MinWidth = 15;  // at 96 dpi

    // The density the arrows are drawn for and MinWidth grows with; set by the spin edit.
    int Dpi() const { return dpi_; }
    void SetDpi(int dpi);

    explicit TSpinButton(forms::TComponent* owner);
    ~TSpinButton() override;

    // The arrow pictures; setting none (null) brings back the "SpinUp" / "SpinDown" ones.
    forms::TBitmap& UpGlyph() { return up_->Glyph(); }
    void SetUpGlyph(const forms::TBitmap* glyph);
    forms::TBitmap& DownGlyph() { return down_->Glyph(); }
    void SetDownGlyph(const forms::TBitmap* glyph);
    int UpNumGlyphs() const { return up_->NumGlyphs(); }
    void SetUpNumGlyphs(int v) { up_->SetNumGlyphs(v); }
    int DownNumGlyphs() const { return down_->NumGlyphs(); }
    void SetDownNumGlyphs(int v) { down_->SetNumGlyphs(v); }

    forms::TWinControl* FocusControl() const { return focusControl_; }
    void SetFocusControl(forms::TWinControl* control);

    forms::TNotifyEvent OnUpClick, OnDownClick;

    TRepeatButton* UpButton() const { return up_; }
    TRepeatButton* DownButton() const { return down_; }
    TRepeatButton* FocusedButton() const { return focusedButton_; }

    void SetBounds(int left, int top, int width, int height) override;
    void Loaded() override;

protected:
    void CreateParams(forms::TCreateParams& params) override;
    void WndProc(forms::TMessage& msg) override;
    void KeyDown(WORD& key, forms::TShiftState shift) override;
    void EraseBackground(HDC) override {}  // opaque: the two buttons cover all of it
    void EnabledChanged() override;
    void Notification(forms::TComponent* component, forms::TOperation operation) override;

private:
    TRepeatButton* MakeButton(const char* glyphName);
    void LoadGlyph(forms::TBitmap& glyph, const char* name) const;
    void AdjustSize(int& width, int& height);
    void SetFocusedButton(TRepeatButton* button);
    void ButtonMouseDown(forms::TObject* sender, forms::TMouseButton button);
    void ButtonClick(forms::TObject* sender);

    TRepeatButton* up_ = nullptr;
    TRepeatButton* down_ = nullptr;
    TRepeatButton* focusedButton_ = nullptr;
    forms::TWinControl* focusControl_ = nullptr;
    int dpi_ = 96;
    bool ownUpGlyph_ = false, ownDownGlyph_ = false;  // set by the user: kept at any density
};

}  // namespace controls
