// TSpinEdit: a numeric entry field on the system edit control, with a spin button at its right
// edge. It takes only digits, signs and the decimal separator; the arrows and the arrow keys
// step the value, and the range (when MinValue and MaxValue differ) holds when the focus leaves.
#pragma once
#include "SpinButton.h"
#include <string>

namespace controls {

class TSpinEdit : public forms::TWinControl {
public:
    explicit TSpinEdit(forms::TComponent* owner);
    ~TSpinEdit() override;

    // The text as a number; text that is not a whole number reads as MinValue.
    int Value() const;
    void SetValue(int v);  // through LimitValue
    int LimitValue(int v) const;
    void StepUp();
    void StepDown();

    int MinValue = 0, MaxValue = 0;  // a range only when they differ
    int Increment = 1;
    bool EditorEnabled = true;       // false: only the arrows change the value
    bool AutoSelect = true;          // select all when the keyboard brings the focus

    std::string Text() const;
    void SetText(const std::string& text);
    void SelectAll();
    bool ReadOnly() const { return readOnly_; }
    void SetReadOnly(bool v);
    int MaxLength() const { return maxLength_; }
    void SetMaxLength(int v);  // 0: no limit
    bool Ctl3D() const { return ctl3D_; }
    void SetCtl3D(bool v);

    TSpinButton* Button() const { return button_; }
    // The density the button is sized and drawn for: the window's own once it has one, or what
    // its owner sets (a dialog moved onto another screen). SpinDpi.cpp.
    int Dpi() const { return button_->Dpi(); }
    void SetDpi(int dpi);
    static constexpr int ButtonWidth = 15, ButtonHeight = 17;  // at 96 dpi
    // The least height that shows the font's text whole.
    int MinHeight();

    forms::TNotifyEvent OnChange;

protected:
    void CreateParams(forms::TCreateParams& params) override;
    void CreateWnd() override;
    void DestroyWnd() override;
    void WndProc(forms::TMessage& msg) override;
    void DoEnter() override;
    void DoExit() override;
    void KeyDown(WORD& key, forms::TShiftState shift) override;
    void KeyPress(char& key) override;
    virtual bool IsValidChar(char key) const;
    virtual void Change();
    void TextChanged() override;
    void FontChanged() override;
    void ColorChanged() override;
    void EnabledChanged() override;

private:
    void Step(long long delta);
    void SizeChanged();
    void SetEditRect();
    bool CanEditText() const { return EditorEnabled && !readOnly_; }
    HBRUSH BackgroundBrush();

    TSpinButton* button_ = nullptr;
    bool readOnly_ = false;
    bool ctl3D_ = true;
    int maxLength_ = 0;
    bool creatingWindow_ = false;
    bool settingText_ = false;
    forms::Brush background_;
    COLORREF backgroundRgb_ = 0;
};

}  // namespace controls
