#include "SimpleTimer.h"

namespace tray {

namespace {
// The shared window; a leftover one (a timer never freed) goes when the module ends.
std::unique_ptr<TSimpleTimerHandler> sharedHandler;
UINT_PTR lastTimerId = 0;

// Ids are never reused, so a WM_TIMER queued for a dead timer cannot reach a new one.
UINT_PTR NextTimerId() { return ++lastTimerId; }
}  // namespace

// --- TSimpleTimerHandler ---------------------------------------------------------------

TSimpleTimerHandler::TSimpleTimerHandler()
    : window_([this](HWND w, UINT m, WPARAM wp, LPARAM lp) { return WindowProc(w, m, wp, lp); },
              "TSimpleTimerHandler") {}

TSimpleTimerHandler* TSimpleTimerHandler::Instance() { return sharedHandler.get(); }

TSimpleTimerHandler& TSimpleTimerHandler::Acquire(TSimpleTimer* timer) {
    if (!sharedHandler) sharedHandler.reset(new TSimpleTimerHandler());
    sharedHandler->timers_[timer->timerId_] = timer;
    return *sharedHandler;
}

void TSimpleTimerHandler::Release(TSimpleTimer* timer) {
    if (!sharedHandler) return;
    sharedHandler->timers_.erase(timer->timerId_);
    if (sharedHandler->timers_.empty()) sharedHandler.reset();
}

LRESULT TSimpleTimerHandler::WindowProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg != WM_TIMER) return DefWindowProcA(wnd, msg, wp, lp);
    auto it = timers_.find(wp);
    // A tick queued before its timer was stopped or freed is dropped. The handler may free
    // the timer, even the last one and with it this object: nothing here is touched after.
    if (it != timers_.end()) it->second->Tick();
    return 0;
}

// --- TSimpleTimer ----------------------------------------------------------------------

TSimpleTimer::TSimpleTimer() : TSimpleTimer(1000, nullptr) {}

TSimpleTimer::TSimpleTimer(unsigned interval, forms::TNotifyEvent onTimer)
    : timerId_(NextTimerId()), interval_(interval) {
    TSimpleTimerHandler::Acquire(this);
    SetOnTimer(std::move(onTimer));
}

TSimpleTimer::~TSimpleTimer() {
    if (enabled_) Stop(true);
    TSimpleTimerHandler::Release(this);
}

void TSimpleTimer::SetEnabled(bool v) {
    if (v) Start();
    else Stop(true);
}

void TSimpleTimer::SetInterval(unsigned ms) {
    if (ms == interval_) return;
    interval_ = ms;
    if (!enabled_) return;
    if (ms != 0) Start();
    else Stop(false);  // paused until a usable interval comes
}

void TSimpleTimer::SetOnTimer(forms::TNotifyEvent handler) {
    onTimer_ = std::move(handler);
    if (!onTimer_ && enabled_) Stop(false);  // nobody to call: paused
}

bool TSimpleTimer::Start() {
    if (interval_ == 0) return false;
    if (enabled_) Stop(true);
    TSimpleTimerHandler* handler = TSimpleTimerHandler::Instance();
    if (!handler || !SetTimer(handler->Handle(), timerId_, interval_, nullptr)) return false;
    enabled_ = true;
    ++handler->running_;
    return true;
}

bool TSimpleTimer::Stop(bool clearEnabled) {
    if (clearEnabled) enabled_ = false;
    TSimpleTimerHandler* handler = TSimpleTimerHandler::Instance();
    if (!handler || !KillTimer(handler->Handle(), timerId_)) return false;
    if (handler->running_ > 0) --handler->running_;
    return true;
}

void TSimpleTimer::Tick() {
    // A stopped timer's late tick is not delivered.
    if (!enabled_) return;
    if (OneShot) Stop(true);
    // A copy: the handler may free this timer (and its handler) while it runs.
    forms::TNotifyEvent handler = onTimer_;
    if (handler) handler(this);
}

}  // namespace tray
