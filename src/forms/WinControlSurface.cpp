#include "WinControl.h"

namespace forms {

void TWinControl::PaintSurfaceTo(HDC dc) {
    EraseBackground(dc);
    PaintWindow(dc);
}

}  // namespace forms
