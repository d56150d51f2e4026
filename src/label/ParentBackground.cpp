#include "ParentBackground.h"
#include "forms/WinControl.h"

namespace label {

void PaintParentBackground(forms::TControl& control, const RECT& area, HDC dc) {
    forms::TWinControl* parent = control.Parent();
    if (!parent) return;
    {
        forms::SavedDC saved(dc);
        SetViewportOrgEx(dc, -area.left, -area.top, nullptr);
        IntersectClipRect(dc, area.left, area.top, area.right, area.bottom);
        parent->PaintSurfaceTo(dc);
    }
    // The windowless siblings below the control, bottom first; the control itself and those
    // above it are not part of its background.
    for (forms::TControl* sibling : parent->Controls()) {
        if (sibling == &control) break;
        if (sibling->IsWindowed() || !sibling->Visible()) continue;
        RECT bounds = sibling->BoundsRect(), common;
        if (!IntersectRect(&common, &bounds, &area)) continue;
        forms::SavedDC saved(dc);
        SetViewportOrgEx(dc, bounds.left - area.left, bounds.top - area.top, nullptr);
        IntersectClipRect(dc, 0, 0, sibling->Width(), sibling->Height());
        static_cast<forms::TGraphicControl*>(sibling)->PaintTo(dc);
    }
}

}  // namespace label
