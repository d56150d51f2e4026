// The spin edit at a screen's density: its button (15 x 17 pixels at 96 dpi, as high as the field
// once it has a window) and the arrows grow.
#include "Spin.h"

namespace controls {

void TSpinEdit::SetDpi(int dpi) {
    if (dpi <= 0) dpi = 96;
    if (dpi == button_->Dpi()) return;
    button_->SetDpi(dpi);
    button_->SetBounds(button_->Left(), button_->Top(), MulDiv(ButtonWidth, dpi, 96),
                       MulDiv(ButtonHeight, dpi, 96));
    if (HandleAllocated()) SizeChanged();
}

}  // namespace controls
