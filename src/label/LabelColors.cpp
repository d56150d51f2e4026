#include "LabelColors.h"
#include <algorithm>

namespace label {

namespace {
// Shifts may be set negative, so a channel is kept within 0 to 255 either way.
BYTE Channel(int v) { return static_cast<BYTE>(std::clamp(v, 0, 255)); }
}  // namespace

void ApplyAutoColors(forms::TColor base, TCustomLabelColors& colors) {
    COLORREF rgb = forms::ColorToRGB(base);
    int r = GetRValue(rgb), g = GetGValue(rgb), b = GetBValue(rgb);
    if (colors.AutoShadow()) {
        int s = colors.ColorShadowShift();
        colors.shadow_ = RGB(Channel(r - s), Channel(g - s), Channel(b - s));
    }
    if (colors.AutoHighlight()) {
        int s = colors.ColorHighlightShift();
        colors.highlight_ = RGB(Channel(r + s), Channel(g + s), Channel(b + s));
    }
}

}  // namespace label
