// The platform calls that block or whose effect a test cannot otherwise see. Everything goes
// through this one table so tests can replace an entry and record the calls.
#pragma once
#include <windows.h>
#include <commdlg.h>
#include <shellapi.h>
#include <functional>

namespace forms {

struct PlatformCalls {
    std::function<int(HWND, LPCSTR text, LPCSTR caption, UINT type)> MessageBoxA;
    std::function<BOOL(DWORD freq, DWORD duration)> Beep;
    std::function<void(DWORD ms)> Sleep;
    std::function<BOOL(UINT type)> MessageBeep;
    std::function<BOOL(DWORD message, PNOTIFYICONDATAA data)> Shell_NotifyIconA;
    std::function<HINSTANCE(HWND, LPCSTR verb, LPCSTR file, LPCSTR params, LPCSTR dir, INT show)> ShellExecuteA;
    std::function<BOOL(LPCHOOSECOLORA)> ChooseColorA;
    // The window's pixels per inch: its screen's for a program aware of each screen's density,
    // 96 where the system has no such call (before Windows 10).
    std::function<UINT(HWND)> GetDpiForWindow;
};

// The table in use; starts with the real functions.
extern PlatformCalls platform;

// The real functions, for restoring an entry after a test.
PlatformCalls RealPlatform();

// Replaces the table for one scope and puts the previous one back.
class PlatformOverride {
public:
    PlatformOverride() : saved_(platform) {}
    ~PlatformOverride() { platform = saved_; }
    PlatformOverride(const PlatformOverride&) = delete;
    PlatformOverride& operator=(const PlatformOverride&) = delete;
private:
    PlatformCalls saved_;
};

}  // namespace forms
