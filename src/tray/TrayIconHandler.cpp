#include "TrayIconHandler.h"
#include "TrayIcon.h"
#include <memory>
#include <vector>

namespace tray {

namespace {
std::unique_ptr<TTrayIconHandler> sharedHandler;  // a leftover one goes when the module ends
UINT lastIconId = 0;
}  // namespace

TTrayIconHandler::TTrayIconHandler()
    : window_([this](HWND w, UINT m, WPARAM wp, LPARAM lp) { return IconMessageProc(w, m, wp, lp); },
              "TTrayIconHandler") {}

TTrayIconHandler* TTrayIconHandler::Instance() { return sharedHandler.get(); }

UINT TTrayIconHandler::Acquire(TTrayIcon* icon) {
    if (!sharedHandler) sharedHandler.reset(new TTrayIconHandler());
    // uID is 32 bits even in a 64-bit build, so the id is a serial number, not the address;
    // ids are not reused while in use, so a stale callback cannot reach another icon.
    do ++lastIconId;
    while (lastIconId == 0 || sharedHandler->icons_.count(lastIconId));
    sharedHandler->icons_[lastIconId] = icon;
    return lastIconId;
}

void TTrayIconHandler::Release(UINT id) {
    if (!sharedHandler) return;
    sharedHandler->icons_.erase(id);
    if (sharedHandler->icons_.empty()) sharedHandler.reset();
}

TTrayIcon* TTrayIconHandler::Find(UINT id) {
    if (!sharedHandler) return nullptr;
    auto it = sharedHandler->icons_.find(id);
    return it == sharedHandler->icons_.end() ? nullptr : it->second;
}

LRESULT TTrayIconHandler::IconMessageProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
        case TrayCallbackMessage:
            // A callback queued before its icon went away names no live icon and is dropped.
            // The icon's handlers may free it, or the last icon and this handler with it.
            if (TTrayIcon* icon = Find(static_cast<UINT>(wp))) icon->IconMessage(lp);
            return 0;
        case WM_DESTROY: case WM_CLOSE: case WM_QUERYENDSESSION: case WM_QUIT: case WM_ENDSESSION:
        case WM_NCDESTROY:
            // The window lives exactly as long as the handler: nobody else closes it.
            return 1;
        default:
            return DefWindowProcA(wnd, msg, wp, lp);
    }
}

DWORD FileVersionMS(const char* fileName) {
    DWORD ignored = 0;
    DWORD size = GetFileVersionInfoSizeA(fileName, &ignored);
    if (!size) return 0;
    std::vector<char> data(size);
    if (!GetFileVersionInfoA(fileName, 0, size, data.data())) return 0;
    VS_FIXEDFILEINFO* info = nullptr;
    UINT len = 0;
    if (!VerQueryValueA(data.data(), "\\", reinterpret_cast<void**>(&info), &len) || !info || len < sizeof(*info))
        return 0;
    return info->dwFileVersionMS;
}

UINT RegisteredTaskbarCreatedMessage() {
    // Older shells never broadcast it, so it is registered only for 4.71 and above.
    static const UINT message =
        FileVersionMS("comctl32.dll") >= MAKELONG(71, 4) ? RegisterWindowMessageA("TaskbarCreated") : 0;
    return message;
}

}  // namespace tray
