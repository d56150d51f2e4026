// TSimpleTimer: a timer object (not a component) that costs no window of its own. All simple
// timers share one hidden window, made with the first timer and destroyed with the last.
#pragma once
#include "forms/Graphics.h"
#include "forms/UtilWindow.h"
#include <map>
#include <memory>

namespace tray {

class TSimpleTimer : public forms::TObject {
public:
    TSimpleTimer();                                           // 1000 ms, no handler
    TSimpleTimer(unsigned interval, forms::TNotifyEvent onTimer);
    ~TSimpleTimer() override;
    TSimpleTimer(const TSimpleTimer&) = delete;
    TSimpleTimer& operator=(const TSimpleTimer&) = delete;

    // Enabled: the timer is meant to run. It may still be paused (no system timer) while its
    // interval is 0 or it has no handler.
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool v);
    unsigned Interval() const { return interval_; }
    void SetInterval(unsigned ms);
    const forms::TNotifyEvent& OnTimer() const { return onTimer_; }
    void SetOnTimer(forms::TNotifyEvent handler);
    bool OneShot = false;  // stop before each call of the handler

    // Starts (or restarts) the count; false when Interval is 0 or the system refused.
    bool Start();
    // Kills the system timer; clearEnabled also marks the timer as stopped.
    bool Stop(bool clearEnabled);

    // The identifier handed to SetTimer: unique for the life of the process.
    UINT_PTR TimerId() const { return timerId_; }

private:
    friend class TSimpleTimerHandler;
    void Tick();

    UINT_PTR timerId_;
    bool enabled_ = false;
    unsigned interval_;
    forms::TNotifyEvent onTimer_;
};

// The one hidden window that receives WM_TIMER for every simple timer of the process.
class TSimpleTimerHandler {
public:
    // The shared handler, or null while no simple timer exists.
    static TSimpleTimerHandler* Instance();
    HWND Handle() const { return window_.Handle(); }
    int TimerCount() const { return static_cast<int>(timers_.size()); }
    int RunningCount() const { return running_; }

private:
    friend class TSimpleTimer;
    TSimpleTimerHandler();
    static TSimpleTimerHandler& Acquire(TSimpleTimer* timer);
    static void Release(TSimpleTimer* timer);
    LRESULT WindowProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp);

    std::map<UINT_PTR, TSimpleTimer*> timers_;  // the live timers by id
    int running_ = 0;
    forms::TUtilWindow window_;
};

}  // namespace tray
