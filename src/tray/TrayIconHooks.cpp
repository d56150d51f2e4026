// The application-window hook and the owner-form hook: minimize to the tray, the start-up
// check, restore, and the icon brought back after the taskbar was re-created. Also hiding and
// restoring the main form.
#include "TrayIcon.h"
#include "TrayIconHandler.h"
#include "forms/Application.h"

namespace tray {

bool TTrayIcon::ApplicationHook(forms::TMessage& m) {
    const UINT id = iconId_;
    forms::TApplication& app = *forms::Application;
    if (m.Msg == WM_SIZE && m.WParam == SIZE_MINIMIZED && MinimizeToTray) {
        SendToTray();
        if (!Alive(id)) return false;
    }
    if (m.Msg == WM_WINDOWPOSCHANGED && startupCheckPending_ && app.MainForm) {
        // The start-up decision for an MDI frame would run here; forms has no MDI frames.
        startupCheckPending_ = false;
    }
    if (m.Msg == WM_SYSCOMMAND && m.WParam == SC_RESTORE && app.MainForm) app.MainForm->SetVisible(true);
    UINT taskbarCreated = RegisteredTaskbarCreatedMessage();
    // A re-created taskbar has lost every icon: a visible one is added again.
    if (taskbarCreated && m.Msg == taskbarCreated && Alive(id) && iconVisible_) AddIcon();
    return false;
}

bool TTrayIcon::OwnerWindowProc(forms::TMessage& m) {
    HWND owner = hookedOwner_;
    if (m.Msg == WM_SHOWWINDOW && m.WParam == 1 && m.LParam == 0) {
        SetForegroundWindow(forms::Application->Handle());
        SetForegroundWindow(owner);
        return false;
    }
    bool parentClosing = m.Msg == WM_SHOWWINDOW && m.WParam == 0 && m.LParam == SW_PARENTCLOSING &&
                         !forms::Application->Terminated();
    bool minimize = m.Msg == WM_SYSCOMMAND && m.WParam == SC_MINIMIZE;
    if ((parentClosing || minimize) && MinimizeToTray && OnMinimizeToTray) {
        const UINT id = iconId_;
        OnMinimizeToTray(this);
        if (Alive(id)) SendToTray();
        m.Result = 1;
        return true;
    }
    return false;
}

void TTrayIcon::RestoreMainForm() {
    forms::TForm* main = forms::Application->MainForm;
    if (!WindowedOwner() || !main) return;
    forms::Application->Restore();
    if (main->WindowState() == forms::wsMinimized) main->SetWindowState(forms::wsNormal);
    main->SetVisible(true);
    SetForegroundWindow(forms::Application->Handle());
}

void TTrayIcon::HideMainForm() {
    forms::TForm* main = forms::Application->MainForm;
    if (!WindowedOwner() || !main) return;
    main->SetVisible(false);
    HideTaskbarButton();
}

void TTrayIcon::HideTaskbarButton() {
    HWND app = forms::Application->Handle();
    if (app && IsWindowVisible(app)) ShowWindow(app, SW_HIDE);
}

void TTrayIcon::SendToTray() {
    HideMainForm();
    SetIconVisible(true);
}

}  // namespace tray
