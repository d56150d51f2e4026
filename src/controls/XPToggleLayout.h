// Where the box (or circle) of a styled check box or radio button goes, where its caption goes,
// and the rules for its focus rectangle, which shrinks or grows so it stays inside the control.
#pragma once
#include <windows.h>

namespace controls {

enum TXPCheckBoxAlign { taLeft, taRight };  // box at the left edge, or at the right edge
using TXPRadioButtonAlign = TXPCheckBoxAlign;

// The box's side at 96 dpi; denser screens grow it (see ControlArt.h).
constexpr int ToggleBoxSize = 13;

// Top-left corner of the box (side `box`) in a control width x height.
POINT ToggleBoxPosition(TXPCheckBoxAlign align, int width, int height, int box = ToggleBoxSize);
// The caption's rectangle; textHeightW is the height of "W" in the caption's font.
RECT ToggleCaptionRect(TXPCheckBoxAlign align, int width, int height, int textHeightW, int box = ToggleBoxSize);
// The focus rectangle around a caption of size `text`.
RECT ToggleFocusRect(TXPCheckBoxAlign align, int width, int height, int textHeightW, SIZE text,
                     int box = ToggleBoxSize);

}  // namespace controls
