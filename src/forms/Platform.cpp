#include "Platform.h"

namespace forms {

PlatformCalls RealPlatform() {
    PlatformCalls p;
    p.MessageBoxA = [](HWND w, LPCSTR t, LPCSTR c, UINT f) { return ::MessageBoxA(w, t, c, f); };
    p.Beep = [](DWORD f, DWORD d) { return ::Beep(f, d); };
    p.Sleep = [](DWORD ms) { ::Sleep(ms); };
    p.MessageBeep = [](UINT t) { return ::MessageBeep(t); };
    p.Shell_NotifyIconA = [](DWORD m, PNOTIFYICONDATAA d) { return ::Shell_NotifyIconA(m, d); };
    p.ShellExecuteA = [](HWND w, LPCSTR v, LPCSTR f, LPCSTR p, LPCSTR d, INT s) {
        return ::ShellExecuteA(w, v, f, p, d, s);
    };
    p.ChooseColorA = [](LPCHOOSECOLORA c) { return ::ChooseColorA(c); };
    p.GetDpiForWindow = [](HWND w) -> UINT {
        using Fn = UINT(WINAPI*)(HWND);
        static const Fn fn = reinterpret_cast<Fn>(
            reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("user32.dll"), "GetDpiForWindow")));
        const UINT dpi = fn && w ? fn(w) : 0;
        return dpi ? dpi : 96;
    };
    return p;
}

PlatformCalls platform = RealPlatform();

}  // namespace forms
