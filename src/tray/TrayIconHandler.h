// The one hidden window that receives the shell's callbacks for every tray icon of the process,
// with the table that leads from an icon id (the callback's wParam) back to its component.
#pragma once
#include "forms/UtilWindow.h"
#include <map>

namespace tray {

class TTrayIcon;

class TTrayIconHandler {
public:
    // The shared handler, or null while no tray icon exists.
    static TTrayIconHandler* Instance();
    // Takes a reference (making the handler and its window on the first) and returns the new
    // icon's id; Release gives it back (the last release destroys the window).
    static UINT Acquire(TTrayIcon* icon);
    static void Release(UINT id);
    static TTrayIcon* Find(UINT id);

    HWND Handle() const { return window_.Handle(); }
    int RefCount() const { return static_cast<int>(icons_.size()); }

private:
    TTrayIconHandler();
    LRESULT IconMessageProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp);

    std::map<UINT, TTrayIcon*> icons_;  // one entry per reference
    forms::TUtilWindow window_;
};

// The "TaskbarCreated" message number, registered on first use when comctl32.dll's file
// version is 4.71 or above; 0 otherwise.
UINT RegisteredTaskbarCreatedMessage();

// The dwFileVersionMS of a module's version resource, or 0 without one.
DWORD FileVersionMS(const char* fileName);

}  // namespace tray
