#include "TrackBar.h"
#include "CommonControls.h"
#include <commctrl.h>
#include <algorithm>

namespace forms {

TTrackBar::TTrackBar(TComponent* owner) : TWinControl(owner) {
    TabStop = true;
    SetParentColor(true);
    SetBounds(0, 0, 150, 45);
}

TTrackBar::~TTrackBar() = default;

void TTrackBar::CreateParams(TCreateParams& p) {
    InitCommonControlClasses();
    TWinControl::CreateParams(p);
    p.SystemClass = TRACKBAR_CLASSA;
    p.WinClassName = "TTrackBar";
    p.Style |= TBS_HORZ | TBS_BOTTOM | TBS_AUTOTICKS | TBS_FIXEDLENGTH;
}

void TTrackBar::CreateWnd() {
    TWinControl::CreateWnd();
    if (!HandleAllocated()) return;
    Send(TBM_SETTHUMBLENGTH, thumbLength_, 0);
    Send(TBM_SETRANGEMIN, FALSE, min_);
    Send(TBM_SETRANGEMAX, FALSE, max_);
    Send(TBM_SETTICFREQ, frequency_, 0);
    Send(TBM_SETLINESIZE, 0, lineSize_);
    Send(TBM_SETPAGESIZE, 0, pageSize_);
    Send(TBM_SETPOS, TRUE, position_);
}

LRESULT TTrackBar::Send(UINT msg, WPARAM wp, LPARAM lp) {
    return HandleAllocated() ? SendMessageA(Handle(), msg, wp, lp) : 0;
}

void TTrackBar::SetRange(int min, int max) {
    min_ = min;
    max_ = std::max(min, max);
    Send(TBM_SETRANGEMIN, FALSE, min_);
    Send(TBM_SETRANGEMAX, TRUE, max_);
    Send(TBM_SETTICFREQ, frequency_, 0);
    SetPosition(position_);
}

void TTrackBar::SetPosition(int v) {
    v = std::clamp(v, min_, max_);
    if (v == position_) return;
    position_ = v;
    Send(TBM_SETPOS, TRUE, v);
    if (OnChange) OnChange(this);
}

void TTrackBar::SetFrequency(int v) {
    frequency_ = std::max(1, v);
    Send(TBM_SETTICFREQ, frequency_, 0);
}

void TTrackBar::SetLineSize(int v) {
    lineSize_ = v;
    Send(TBM_SETLINESIZE, 0, v);
}

void TTrackBar::SetPageSize(int v) {
    pageSize_ = v;
    Send(TBM_SETPAGESIZE, 0, v);
}

void TTrackBar::SetThumbLength(int v) {
    thumbLength_ = v;
    Send(TBM_SETTHUMBLENGTH, v, 0);
}

void TTrackBar::ColorChanged() {
    TWinControl::ColorChanged();
    if (HandleAllocated()) RedrawWindow(Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME);
}

void TTrackBar::PositionFromWindow() {
    int v = static_cast<int>(Send(TBM_GETPOS, 0, 0));
    if (v == position_) return;
    position_ = v;
    if (OnChange) OnChange(this);  // the last thing done: a handler may free the control
}

void TTrackBar::WndProc(TMessage& m) {
    switch (m.Msg) {
        case WM_PAINT: case WM_ERASEBKGND: case WM_PRINTCLIENT:
            DefaultHandler(m);  // the track bar paints itself
            return;
        case ReflectBase + WM_HSCROLL: case ReflectBase + WM_VSCROLL:
            m.Result = 0;
            PositionFromWindow();
            return;
        case ReflectBase + WM_CTLCOLORSTATIC: {
            // The slot's surroundings take the control's (the parent's) colour.
            COLORREF rgb = ColorToRGB(Color());
            if (!background_ || backgroundRgb_ != rgb) {
                background_.reset(CreateSolidBrush(rgb));
                backgroundRgb_ = rgb;
            }
            SetBkColor(reinterpret_cast<HDC>(m.WParam), rgb);
            m.Result = reinterpret_cast<LRESULT>(background_.get());
            return;
        }
        default:
            TWinControl::WndProc(m);
    }
}

}  // namespace forms
