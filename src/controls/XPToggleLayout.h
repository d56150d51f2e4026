// Where the box (or circle) of a styled check box or radio button goes, where its caption goes,
// and the rules for its focus rectangle, which shrinks or grows so it stays inside the control.
#pragma once
#include <windows.h>

namespace controls {

enum TXPCheckBoxAlign { taLeft, taRight };  // box at the left edge, or at the right edge
using TXPRadioButtonAlign = TXPCheckBoxAlign;

constexpr int ToggleBoxSize = 13;

// Top-left corner of the box in a control width x height.
POINT ToggleBoxPosition(TXPCheckBoxAlign align, int width, int height);
// The caption's rectangle; textHeightW is the height of "W" in the caption's font.
RECT ToggleCaptionRect(TXPCheckBoxAlign align, int width, int height, int textHeightW);
// The focus rectangle around a caption of size `text`.
RECT ToggleFocusRect(TXPCheckBoxAlign align, int width, int height, int textHeightW, SIZE text);

}  // namespace controls
