// The small pictures of the styled controls at a screen's density. At 96 dpi they are the bitmaps
// drawn by resources/controls/make_bitmaps.py, loaded by name; on another density the same
// pictures are drawn here at their grown size, so they stay sharp instead of being stretched.
#pragma once
#include "forms/Bitmap.h"

namespace controls {

// The sizes, in pixels, the check box and radio button pictures are made for.
struct ToggleMetrics {
    int box;    // the face: 13 at 96 dpi
    int frame;  // the check box face's frame; the hot ring lies inside it
    int ring;   // the width of the check box's hot ring
    int mark;   // the tick and the grayed square
    int dot;    // the radio button's dot
};
ToggleMetrics ToggleMetricsFor(int dpi);

// Draws the picture named as its resource (CB_UNPRESS ... RD_DISFLAG, SpinUp, SpinDown) at its
// size for `dpi`. See-through parts are magenta (olive in the spin arrows). False for a name it
// does not know.
bool DrawControlPicture(forms::TBitmap& out, const char* name, int dpi);

// The picture for `dpi`: the program's bitmap resource at 96 dpi, drawn at any other.
void LoadControlPicture(forms::TBitmap& out, const char* name, int dpi);

}  // namespace controls
