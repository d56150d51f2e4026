// TTimer: a component that calls OnTimer every Interval milliseconds while Enabled.
#pragma once
#include "Component.h"
#include "UtilWindow.h"
#include <memory>

namespace forms {

class TTimer : public TComponent {
public:
    explicit TTimer(TComponent* owner);
    ~TTimer() override;

    bool Enabled() const { return enabled_; }
    void SetEnabled(bool v);
    unsigned Interval() const { return interval_; }
    void SetInterval(unsigned ms);
    TNotifyEvent OnTimer;

    bool Running() const { return running_; }  // a system timer is set
    HWND WindowHandle() const { return window_.Handle(); }

private:
    void Update();
    TUtilWindow window_;
    bool enabled_ = true;
    unsigned interval_ = 1000;
    bool running_ = false;
};

}  // namespace forms
