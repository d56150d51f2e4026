// Replaces an owner form's window procedure so that tray icons see its messages first. One
// static procedure serves every hooked window; the icons of a window are found through a
// window property. Several icons on one form share the one replacement, newest first.
#pragma once
#include <windows.h>

namespace tray {

class TTrayIcon;

class OwnerHook {
public:
    static void Install(HWND owner, TTrayIcon* icon);
    static void Remove(HWND owner, TTrayIcon* icon);

private:
    static LRESULT CALLBACK Proc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp);
};

}  // namespace tray
