// How the options dialog's pages place their controls: owner, parent, design place, colours.
#pragma once
#include "ConfForm.h"
#include "forms/Colors.h"
#include "forms/Control.h"
#include "forms/WinControl.h"

namespace thermowl {

constexpr forms::TColor GroupBorder = forms::clGreen, GroupCaption = 0xD05300, ControlText = forms::clBlue;

// Makes a control owned by the dialog, placed on `parent` at (left, top); a size of 0 keeps the
// control's own. Every value is a 96-dpi design value, grown to the dialog's density and kept.
template <typename T>
T* Place(TConfForm* owner, forms::TWinControl* parent, const char* name, int left, int top, int width = 0,
         int height = 0) {
    T* c = new T(owner);
    c->Name = name;
    owner->Design(c, left, top, width ? width : c->Width(), height ? height : c->Height());
    c->SetParent(parent);
    return c;
}

// The form's font in another colour and style.
inline void SetFont(forms::TControl* c, const forms::TFont& base, forms::TColor color, forms::TFontStyles style = 0) {
    c->Font().Assign(base);
    c->Font().SetColor(color);
    c->Font().SetStyle(style);
}

}  // namespace thermowl
