#include "SessionWatch.h"

namespace service {
namespace {

constexpr const char* kClassName = "ThermowlServiceSession";

} // namespace

SessionWatch::SessionWatch(std::function<void()> onSessionEnd) : onSessionEnd_(std::move(onSessionEnd)) {
    WNDCLASSA wc{};
    wc.lpfnWndProc = Proc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = kClassName;
    RegisterClassA(&wc); // fails harmlessly when already registered
    // A hidden top-level window, not a message-only one: only top-level windows are told
    // that the session ends.
    window_ = CreateWindowExA(0, kClassName, "Thermowl service", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, wc.hInstance,
                              this);
}

SessionWatch::~SessionWatch() {
    if (window_)
        DestroyWindow(window_);
}

LRESULT CALLBACK SessionWatch::Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_NCCREATE)
        SetWindowLongPtrA(hwnd, GWLP_USERDATA,
                          reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTA*>(lp)->lpCreateParams));
    auto* self = reinterpret_cast<SessionWatch*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    switch (msg) {
    case WM_QUERYENDSESSION:
        return TRUE;
    case WM_ENDSESSION:
        if (wp && self) {
            self->onSessionEnd_();
            PostQuitMessage(0);
        }
        return 0;
    case WM_NCDESTROY:
        SetWindowLongPtrA(hwnd, GWLP_USERDATA, 0);
        break;
    default:
        break;
    }
    return DefWindowProcA(hwnd, msg, wp, lp);
}

} // namespace service
