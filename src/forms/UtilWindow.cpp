#include "UtilWindow.h"
#include "Application.h"
#include <set>
#include <string>

namespace forms {

TUtilWindow::TUtilWindow(Handler handler, const char* className) : handler_(std::move(handler)) {
    static std::set<std::string> registered;
    HINSTANCE inst = GetModuleHandleA(nullptr);
    if (!registered.count(className)) {
        WNDCLASSA wc{};
        wc.lpfnWndProc = Proc;
        wc.hInstance = inst;
        wc.lpszClassName = className;
        RegisterClassA(&wc);
        registered.insert(className);
    }
    handle_ = CreateWindowExA(WS_EX_TOOLWINDOW, className, "", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, inst, this);
}

TUtilWindow::~TUtilWindow() {
    if (handle_) {
        SetWindowLongPtrA(handle_, GWLP_USERDATA, 0);
        DestroyWindow(handle_);
    }
}

LRESULT CALLBACK TUtilWindow::Proc(HWND w, UINT m, WPARAM wp, LPARAM lp) {
    if (m == WM_NCCREATE)
        SetWindowLongPtrA(w, GWLP_USERDATA,
                          reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTA*>(lp)->lpCreateParams));
    auto* self = reinterpret_cast<TUtilWindow*>(GetWindowLongPtrA(w, GWLP_USERDATA));
    if (!self || !self->handler_) return DefWindowProcA(w, m, wp, lp);
    try {
        return self->handler_(w, m, wp, lp);
    } catch (...) {
        Application->HandleException(std::current_exception());
        return 0;
    }
}

}  // namespace forms
