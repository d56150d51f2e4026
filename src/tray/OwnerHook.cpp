#include "OwnerHook.h"
#include "TrayIcon.h"
#include "forms/Application.h"
#include <algorithm>
#include <vector>

namespace tray {

namespace {
const char* const HookProp = "ThermowlTrayOwnerHook";

struct HookEntry {
    WNDPROC prior;
    std::vector<TTrayIcon*> icons;  // in the order they hooked
};

HookEntry* EntryOf(HWND wnd) { return static_cast<HookEntry*>(GetPropA(wnd, HookProp)); }

// Puts the window's own procedure back, unless someone replaced ours meanwhile (then ours
// stays in the chain and passes everything on).
void Unhook(HWND wnd, HookEntry* entry, WNDPROC ours) {
    if (reinterpret_cast<WNDPROC>(GetWindowLongPtrA(wnd, GWLP_WNDPROC)) != ours) return;
    SetWindowLongPtrA(wnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(entry->prior));
    RemovePropA(wnd, HookProp);
    delete entry;
}
}  // namespace

void OwnerHook::Install(HWND owner, TTrayIcon* icon) {
    if (!owner) return;
    HookEntry* entry = EntryOf(owner);
    if (!entry) {
        entry = new HookEntry{reinterpret_cast<WNDPROC>(GetWindowLongPtrA(owner, GWLP_WNDPROC)), {}};
        SetPropA(owner, HookProp, entry);
        SetWindowLongPtrA(owner, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&OwnerHook::Proc));
    }
    entry->icons.push_back(icon);
}

void OwnerHook::Remove(HWND owner, TTrayIcon* icon) {
    if (!owner || !IsWindow(owner)) return;
    HookEntry* entry = EntryOf(owner);
    if (!entry) return;
    entry->icons.erase(std::remove(entry->icons.begin(), entry->icons.end(), icon), entry->icons.end());
    if (entry->icons.empty()) Unhook(owner, entry, &OwnerHook::Proc);
}

LRESULT CALLBACK OwnerHook::Proc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp) {
    HookEntry* entry = EntryOf(wnd);
    if (!entry) return DefWindowProcA(wnd, msg, wp, lp);
    WNDPROC prior = entry->prior;
    forms::TMessage m{msg, wp, lp, 0};
    // The newest icon first, as a chain of replaced procedures would run. A handler may free
    // icons: each is looked up again before it is asked.
    std::vector<TTrayIcon*> icons = entry->icons;
    for (auto it = icons.rbegin(); it != icons.rend(); ++it) {
        HookEntry* now = EntryOf(wnd);
        if (!now || std::find(now->icons.begin(), now->icons.end(), *it) == now->icons.end()) continue;
        try {
            if ((*it)->OwnerWindowProc(m)) return m.Result;
        } catch (...) {
            forms::Application->HandleException(std::current_exception());
            return 0;
        }
    }
    LRESULT result = CallWindowProcA(prior, wnd, msg, wp, lp);
    if (msg == WM_NCDESTROY) {
        // The window is gone: drop the entry; its icons find nothing to put back.
        if (HookEntry* last = EntryOf(wnd)) {
            RemovePropA(wnd, HookProp);
            delete last;
        }
    }
    return result;
}

}  // namespace tray
