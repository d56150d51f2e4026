// Shared by the tray tests: a fake notification area that records every Shell_NotifyIconA
// call and answers as the shell would, and small helpers to drive the component.
#pragma once
#include "tray/SimpleTimer.h"
#include "tray/TrayIcon.h"
#include "forms/Application.h"
#include "forms/Bitmap.h"
#include "forms/ImageList.h"
#include "forms/Platform.h"
#include <gtest/gtest.h>
#include <functional>
#include <set>
#include <string>
#include <vector>

namespace traytest {

struct ShellCall {
    DWORD message;
    NOTIFYICONDATAA data;
    std::string tip() const { return data.szTip; }
    std::string info() const { return data.szInfo; }
    std::string title() const { return data.szInfoTitle; }
};

// Replaces Shell_NotifyIconA for its lifetime. Like the shell, it refuses to add an icon twice
// and to modify, delete or set the version of one it does not show.
class FakeShell {
public:
    FakeShell() {
        forms::platform.Shell_NotifyIconA = [this](DWORD m, PNOTIFYICONDATAA d) -> BOOL {
            calls.push_back({m, *d});
            switch (m) {
                case NIM_ADD: return shown.insert(d->uID).second;
                case NIM_DELETE: return shown.erase(d->uID) > 0;
                default: return shown.count(d->uID) > 0;
            }
        };
    }
    const ShellCall& last() const { return calls.back(); }
    std::vector<DWORD> messages() const {
        std::vector<DWORD> m;
        for (auto& c : calls) m.push_back(c.message);
        return m;
    }

    std::vector<ShellCall> calls;
    std::set<UINT> shown;

private:
    forms::PlatformOverride restore_;
};

// A 16 x 16 icon of one colour (owned by `out`).
inline void AddSolid(forms::TImageList& list, forms::TColor colour) {
    forms::TBitmap bmp(list.Width(), list.Height());
    bmp.Canvas().Brush().SetColor(colour);
    RECT r{0, 0, list.Width(), list.Height()};
    bmp.Canvas().FillRect(r);
    list.Add(bmp);
}

inline void SolidIcon(forms::TColor colour, forms::TIcon& out) {
    forms::TImageList list(nullptr);  // 16 x 16
    AddSolid(list, colour);
    list.GetIcon(0, out);
}

// The colour (0x00BBGGRR) in the middle of an icon, drawn on white.
inline forms::TColor IconColour(HICON icon) {
    forms::TBitmap bmp(16, 16);
    DrawIconEx(bmp.Canvas().Handle(), 0, 0, icon, 16, 16, 0, nullptr, DI_NORMAL);
    GdiFlush();
    uint32_t p = bmp.Bits()[8 * 16 + 8];
    return ((p & 0xFF) << 16) | (p & 0xFF00) | ((p >> 16) & 0xFF);
}

// The shell's callback for one icon, as the notification area sends it.
inline void Callback(const tray::TTrayIcon& icon, LPARAM notification) {
    SendMessageA(tray::TTrayIcon::HandlerWindow(), tray::TrayCallbackMessage, icon.IconId(), notification);
}

// One tick of a simple timer, delivered now.
inline void Tick(const tray::TSimpleTimer& timer) {
    SendMessageA(tray::TSimpleTimerHandler::Instance()->Handle(), WM_TIMER, timer.TimerId(), 0);
}

// Pumps messages until `done` or a generous bound (the bound is a safety net, not a check).
inline bool PumpUntil(const std::function<bool()>& done, DWORD boundMs = 5000) {
    DWORD start = GetTickCount();
    while (!done()) {
        if (GetTickCount() - start > boundMs) return false;
        forms::Application->ProcessMessages();
        Sleep(1);
    }
    return true;
}

// Whether the system timer `id` is set on the shared timer window. Kills it: a probe for
// tests, which restart the timer afterwards if they need it.
inline bool SystemTimerSet(const tray::TSimpleTimer& timer) {
    return KillTimer(tray::TSimpleTimerHandler::Instance()->Handle(), timer.TimerId()) != FALSE;
}

// Catches what reaches the application's error box.
struct ErrorBox {
    std::vector<std::string> messages;
    ErrorBox() { forms::Application->OnException = [this](const std::string& m) { messages.push_back(m); }; }
    ~ErrorBox() { forms::Application->OnException = nullptr; }
};

}  // namespace traytest
