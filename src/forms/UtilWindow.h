// A hidden top-level window whose messages go to a function: the facility timers and other
// non-visual components use to receive messages.
#pragma once
#include <windows.h>
#include <functional>

namespace forms {

class TUtilWindow {
public:
    using Handler = std::function<LRESULT(HWND, UINT, WPARAM, LPARAM)>;
    explicit TUtilWindow(Handler handler, const char* className = "TPUtilWindow");
    ~TUtilWindow();
    TUtilWindow(const TUtilWindow&) = delete;
    TUtilWindow& operator=(const TUtilWindow&) = delete;
    HWND Handle() const { return handle_; }

private:
    static LRESULT CALLBACK Proc(HWND, UINT, WPARAM, LPARAM);
    Handler handler_;
    HWND handle_ = nullptr;
};

}  // namespace forms
