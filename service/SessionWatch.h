// Ends the service with the user's session. At log-off the system tells every top-level
// window that the session ends (WM_ENDSESSION) and may end the process as soon as that
// message has been handled, so the clean-up runs inside the handler.
#pragma once

#include <windows.h>

#include <functional>

namespace service {

class SessionWatch {
public:
    // `onSessionEnd` runs on this thread when the session ends; it must not throw. Then a
    // WM_QUIT is posted so that the message loop ends as well.
    explicit SessionWatch(std::function<void()> onSessionEnd);
    SessionWatch(const SessionWatch&) = delete;
    SessionWatch& operator=(const SessionWatch&) = delete;
    ~SessionWatch();

    HWND Window() const { return window_; }

private:
    static LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);

    std::function<void()> onSessionEnd_;
    HWND window_ = nullptr;
};

} // namespace service
