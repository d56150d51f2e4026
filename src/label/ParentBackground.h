// What lies behind a windowless control: its parent's own surface and the windowless controls
// below it, for a control that composes itself off-screen.
#pragma once
#include "forms/Control.h"

namespace label {

// Paints into dc what lies behind `control` within area (the control's bounds in parent
// coordinates); dc's origin stands for area's top-left corner. Nothing without a parent.
void PaintParentBackground(forms::TControl& control, const RECT& area, HDC dc);

}  // namespace label
