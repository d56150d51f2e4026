// The shell's callbacks turned into events: clicks told apart from double clicks, enter/exit
// tracking and the popup menu.
#include "TrayIcon.h"
#include "forms/Application.h"
#include "forms/Menus.h"

namespace tray {

namespace {
// Keys as they are at the time the callback is handled (the shell sends no key state).
forms::TShiftState AsyncShift(forms::TShiftState button) {
    forms::TShiftState s = button;
    if (GetAsyncKeyState(VK_SHIFT) < 0) s |= forms::ssShift;
    if (GetAsyncKeyState(VK_MENU) < 0) s |= forms::ssAlt;
    if (GetAsyncKeyState(VK_CONTROL) < 0) s |= forms::ssCtrl;
    return s;
}

POINT Cursor() {
    POINT p{0, 0};
    GetCursorPos(&p);
    return p;
}
}  // namespace

void TTrayIcon::IconMessage(LPARAM notification) {
    const UINT id = iconId_;  // handlers may free this icon: checked after each one
    switch (notification) {
        case NIN_BALLOONSHOW: if (OnBalloonHintShow) OnBalloonHintShow(this); return;
        case NIN_BALLOONHIDE: if (OnBalloonHintHide) OnBalloonHintHide(this); return;
        case NIN_BALLOONTIMEOUT: if (OnBalloonHintTimeout) OnBalloonHintTimeout(this); return;
        case NIN_BALLOONUSERCLICK: if (OnBalloonHintClick) OnBalloonHintClick(this); return;
        default: break;
    }
    if (!Enabled) return;
    switch (notification) {
        case WM_MOUSEMOVE: {
            if (wantEnterExit_ && cursorOutside_) {
                DoMouseEnter();
                if (!Alive(id)) return;
                cursorOutside_ = false;
            }
            forms::TShiftState shift = AsyncShift(0);
            POINT p = Cursor();
            DoMouseMove(shift, p.x, p.y);
            if (!Alive(id)) return;
            lastHoverPoint_ = p;
            break;
        }
        case WM_LBUTTONDOWN: {
            if (OnDblClick) {
                // The click is held back for one double-click time.
                singleClickTimer_->SetInterval(GetDoubleClickTime());
                singleClickTimer_->SetEnabled(true);
            }
            forms::TShiftState shift = AsyncShift(forms::ssLeft);
            POINT p = Cursor();
            DoMouseDown(forms::mbLeft, shift, p.x, p.y);
            if (!Alive(id)) return;
            leftDownSeen_ = true;
            if (LeftPopup) ShowTrayMenu();
            break;
        }
        case WM_LBUTTONUP: {
            forms::TShiftState shift = AsyncShift(forms::ssLeft);
            POINT p = Cursor();
            if (leftDownSeen_) clickPending_ = true;
            if (leftDownSeen_ && !singleClickTimer_->Enabled()) {
                leftDownSeen_ = false;
                clickPending_ = false;
                DoClick();
                if (!Alive(id)) return;
            }
            leftDownSeen_ = false;
            DoMouseUp(forms::mbLeft, shift, p.x, p.y);
            break;
        }
        case WM_LBUTTONDBLCLK: {
            clickPending_ = false;
            doubleClickSeen_ = true;
            DoDblClick();
            if (!Alive(id)) return;
            // A double click on the icon runs the menu's default command, unless the left
            // button is the menu's own.
            if (popupMenu_ && popupMenu_->AutoPopup && !LeftPopup) {
                for (forms::TMenuItem* item : popupMenu_->Items().Items()) {
                    if (item->Default) {
                        item->Click();
                        break;
                    }
                }
            }
            break;
        }
        case WM_RBUTTONDOWN: {
            forms::TShiftState shift = AsyncShift(forms::ssRight);
            POINT p = Cursor();
            DoMouseDown(forms::mbRight, shift, p.x, p.y);
            if (!Alive(id)) return;
            ShowTrayMenu();
            break;
        }
        case WM_RBUTTONUP:
            if (notifyStyle_ == nsClassic) {
                forms::TShiftState shift = AsyncShift(forms::ssRight);
                POINT p = Cursor();
                DoMouseUp(forms::mbRight, shift, p.x, p.y);
            }
            break;
        case WM_MBUTTONDOWN: case WM_MBUTTONUP: {
            forms::TShiftState shift = AsyncShift(forms::ssMiddle);
            POINT p = Cursor();
            if (notification == WM_MBUTTONDOWN) DoMouseDown(forms::mbMiddle, shift, p.x, p.y);
            else DoMouseUp(forms::mbMiddle, shift, p.x, p.y);
            break;
        }
        case WM_CONTEXTMENU: case NIN_SELECT: case NIN_KEYSELECT:
            if (notifyStyle_ == nsVersion3) {
                forms::TShiftState shift = AsyncShift(forms::ssRight);
                POINT p = Cursor();
                DoMouseUp(forms::mbRight, shift, p.x, p.y);
            }
            break;
        default:
            break;
    }
}

void TTrayIcon::SingleClickTick() {
    singleClickTimer_->SetEnabled(false);
    if (!doubleClickSeen_ && clickPending_) {
        clickPending_ = false;
        const UINT id = iconId_;
        DoClick();
        if (!Alive(id)) return;
    }
    doubleClickSeen_ = false;
}

void TTrayIcon::HoverPollTick() {
    if (cursorOutside_) return;
    // The shell reports no leaving: any move not answered by a callback counts as one.
    POINT p = Cursor();
    if (p.x != lastHoverPoint_.x || p.y != lastHoverPoint_.y) {
        cursorOutside_ = true;
        DoMouseExit();
    }
}

void TTrayIcon::ShowTrayMenu() {
    POINT p;
    if (!popupMenu_ || !popupMenu_->AutoPopup || !GetCursorPos(&p)) return;
    // Without the foreground the menu would not close when the user clicks elsewhere.
    SetForegroundWindow(forms::Application->Handle());
    const UINT id = iconId_;
    forms::Application->ProcessMessages();
    if (!Alive(id) || !popupMenu_) return;
    popupMenu_->PopupComponent = this;
    PopupAt(*popupMenu_, p.x, p.y);
    if (!Alive(id)) return;
    // The classic cure for a menu that needs two clicks the next time it is opened.
    forms::TWinControl* form = WindowedOwner();
    if (form && form->HandleAllocated()) PostMessageA(form->Handle(), WM_NULL, 0, 0);
}

}  // namespace tray
