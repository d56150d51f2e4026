// Watches a windowed control's focus for the labels linked to it by putting a procedure in
// front of its window procedure. One hook per window serves every label linked to it; the
// hook finds them through a window property.
#pragma once
#include <windows.h>

namespace label {

class TCustomOutlinedLabel;

namespace focuslink {
// Adds the label to the window's watchers, hooking the window if it is not hooked yet.
bool Attach(HWND window, TCustomOutlinedLabel* label);
// Removes the label; the window's own procedure is put back when no label is left and the hook
// is still the window's current procedure.
void Detach(HWND window, TCustomOutlinedLabel* label);
// Whether the window's current procedure is the hook (for checks).
bool IsHooked(HWND window);
}  // namespace focuslink

}  // namespace label
