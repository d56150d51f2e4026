#include "XPToggleLayout.h"

namespace controls {

namespace {
// The room between box and caption: 5 pixels beside the 13-pixel box, and as much more as the
// box has grown.
int Gap(int box) { return MulDiv(5, box, ToggleBoxSize); }
}  // namespace

POINT ToggleBoxPosition(TXPCheckBoxAlign align, int width, int height, int box) {
    return {align == taLeft ? 0 : width - box, height / 2 - box / 2};
}

RECT ToggleCaptionRect(TXPCheckBoxAlign align, int width, int height, int hW, int box) {
    const int top = height / 2 - hW / 2 - 1, bottom = height / 2 + hW / 2;
    if (align == taLeft) return {box + Gap(box), top, width, bottom};
    return {2, top, width - box - Gap(box), bottom};
}

RECT ToggleFocusRect(TXPCheckBoxAlign align, int w, int h, int hW, SIZE text, int box) {
    // Offsets from the box are the caption's gap less one (4 beside the 13-pixel box).
    const int b = box + Gap(box) - 5, tw = text.cx, th = text.cy, m = h / 2 - hW / 2;
    const bool left = align == taLeft;
    const bool tooLow = m + th + 2 > h;
    if (b + 4 + tw <= w && m + th + 1 <= h)  // the caption fits
        return left ? RECT{b + 4, m - 1, b + 6 + tw, m + th} : RECT{0, m - 1, tw + 4, m + th};
    if ((left ? tw + 2 * b + 10 > w : tw + 2 * b + 9 > w) && tooLow)
        return left ? RECT{b + 4, 0, w, h} : RECT{0, 0, w - b - 4, h};
    if (left ? b + 4 + tw > w : b + 3 + tw > w)  // too wide
        return left ? RECT{b + 4, m, w, m + th} : RECT{0, m, w - b - 4, m + th};
    if (tooLow) return left ? RECT{b + 4, 0, b + 6 + tw, h} : RECT{0, 0, tw + 6, h};
    return {0, 0, w, h};
}

}  // namespace controls
