// TLabel: a windowless line of text in the control's font, on its own colour or see-through,
// sized to its text unless AutoSize is off. A disabled label shows its text etched.
#pragma once
#include "Control.h"

namespace forms {

class TLabel : public TGraphicControl {
public:
    explicit TLabel(TComponent* owner);
    ~TLabel() override;

    bool Transparent() const { return transparent_; }
    void SetTransparent(bool v);
    void SetAutoSize(bool v) override;

protected:
    void Paint() override;
    void TextChanged() override;
    void FontChanged() override;

private:
    void AdjustSize();
    bool transparent_ = false;
};

}  // namespace forms
