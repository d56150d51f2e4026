// TColorDialog: the system's colour-picking dialog. It opens with Color and keeps the colour
// the user confirmed, so the next opening starts from it; the custom colours stay too.
#pragma once
#include "Component.h"

namespace forms {

class TColorDialog : public TComponent {
public:
    explicit TColorDialog(TComponent* owner);
    ~TColorDialog() override;

    TColor Color = clBlack;
    // Runs the dialog (through the replaceable platform table); true when the user confirmed.
    bool Execute(HWND owner);

private:
    COLORREF customColors_[16];
};

}  // namespace forms
