#include "Timer.h"

namespace forms {

TTimer::TTimer(TComponent* owner)
    : TComponent(owner), window_([this](HWND w, UINT m, WPARAM wp, LPARAM lp) -> LRESULT {
          if (m == WM_TIMER) {
              if (running_ && enabled_ && OnTimer) OnTimer(this);
              return 0;
          }
          return DefWindowProcA(w, m, wp, lp);
      }) {
    Update();
}

TTimer::~TTimer() {
    MarkDestroying();
    if (running_) KillTimer(window_.Handle(), 1);
}

void TTimer::SetEnabled(bool v) {
    if (enabled_ == v) return;
    enabled_ = v;
    Update();
}

void TTimer::SetInterval(unsigned ms) {
    if (interval_ == ms) return;
    interval_ = ms;
    Update();
}

void TTimer::Update() {
    if (running_) KillTimer(window_.Handle(), 1);
    running_ = false;
    if (enabled_ && interval_ > 0) running_ = SetTimer(window_.Handle(), 1, interval_, nullptr) != 0;
}

}  // namespace forms
