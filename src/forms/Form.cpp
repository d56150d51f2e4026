#include "Form.h"
#include "Application.h"

namespace forms {

TForm::TForm(TComponent* owner) : TWinControl(owner) {
    TControl::SetVisible(false);
    SetBounds(0, 0, 320, 240);
}

TForm::~TForm() {
    MarkDestroying();
    if (OnDestroy) {
        try { OnDestroy(this); } catch (...) { Application->HandleException(std::current_exception()); }
    }
    DestroyOwnedControls();
    if (Application && Application->MainForm == this) Application->MainForm = nullptr;
}

void TForm::CreateParams(TCreateParams& p) {
    TWinControl::CreateParams(p);
    p.Style = WS_CLIPCHILDREN | WS_CLIPSIBLINGS;
    p.WndParent = Application ? Application->Handle() : nullptr;
    p.WinClassName = "TFormsForm";
    switch (borderStyle_) {
        case bsNone: p.Style |= WS_POPUP; break;
        case bsSingle: p.Style |= WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_BORDER; break;
        case bsSizeable: p.Style |= WS_OVERLAPPEDWINDOW; break;
        case bsDialog: p.Style |= WS_POPUP | WS_CAPTION | WS_SYSMENU; p.ExStyle |= WS_EX_DLGMODALFRAME; break;
        case bsToolWindow: p.Style |= WS_CAPTION | WS_SYSMENU; p.ExStyle |= WS_EX_TOOLWINDOW; break;
        case bsSizeToolWin: p.Style |= WS_CAPTION | WS_SYSMENU | WS_THICKFRAME; p.ExStyle |= WS_EX_TOOLWINDOW; break;
    }
    p.ExStyle |= WS_EX_CONTROLPARENT;
    if (formStyle_ == fsStayOnTop) p.ExStyle |= WS_EX_TOPMOST;
    if (alphaBlend_ || transparentColor_) p.ExStyle |= WS_EX_LAYERED;
}

void TForm::CreateWnd() {
    TWinControl::CreateWnd();
    ApplyLayered();
}

void TForm::ApplyLayered() {
    HWND h = HandleAllocated() ? Handle() : nullptr;
    if (!h) return;
    LONG_PTR ex = GetWindowLongPtrA(h, GWL_EXSTYLE);
    if (alphaBlend_ || transparentColor_) {
        if (!(ex & WS_EX_LAYERED)) SetWindowLongPtrA(h, GWL_EXSTYLE, ex | WS_EX_LAYERED);
        DWORD flags = (alphaBlend_ ? LWA_ALPHA : 0) | (transparentColor_ ? LWA_COLORKEY : 0);
        SetLayeredWindowAttributes(h, ColorToRGB(transparentColorValue_), alphaValue_, flags);
    } else if (ex & WS_EX_LAYERED) {
        SetWindowLongPtrA(h, GWL_EXSTYLE, ex & ~WS_EX_LAYERED);
        RedrawWindow(h, nullptr, nullptr, RDW_ERASE | RDW_INVALIDATE | RDW_FRAME | RDW_ALLCHILDREN);
    }
}

bool TForm::LayeredAttributes(COLORREF& key, BYTE& alpha, DWORD& flags) const {
    TForm* self = const_cast<TForm*>(this);
    return GetLayeredWindowAttributes(self->Handle(), &key, &alpha, &flags);
}

void TForm::SetAlphaBlend(bool v) { if (alphaBlend_ != v) { alphaBlend_ = v; ApplyLayered(); } }
void TForm::SetAlphaBlendValue(BYTE v) { if (alphaValue_ != v) { alphaValue_ = v; ApplyLayered(); } }
void TForm::SetTransparentColor(bool v) { if (transparentColor_ != v) { transparentColor_ = v; ApplyLayered(); } }
void TForm::SetTransparentColorValue(TColor v) {
    if (transparentColorValue_ != v) { transparentColorValue_ = v; ApplyLayered(); }
}

void TForm::SetBorderStyle(TFormBorderStyle v) {
    if (borderStyle_ == v) return;
    borderStyle_ = v;
    RecreateWnd();
}

void TForm::SetFormStyle(TFormStyle v) {
    if (formStyle_ == v) return;
    formStyle_ = v;
    if (HandleAllocated())
        SetWindowPos(Handle(), v == fsStayOnTop ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void TForm::SetWindowState(TWindowState v) {
    if (windowState_ == v) return;
    windowState_ = v;
    ApplyWindowState();
}

void TForm::ApplyWindowState() {
    if (!HandleAllocated() || !Visible()) return;
    ShowWindow(Handle(), windowState_ == wsMinimized ? SW_SHOWMINNOACTIVE
                         : windowState_ == wsMaximized ? SW_SHOWMAXIMIZED : SW_SHOWNORMAL);
}

void TForm::SetVisible(bool v) {
    if (v == Visible()) return;
    TControl::SetVisible(v);
    HWND h = Handle();
    if (v) {
        if (Application) Application->FormShowing(this);
        try {
            DoShow();
        } catch (...) {
            // Not shown: a later Show must try again rather than find the form visible already.
            TControl::SetVisible(false);
            throw;
        }
        if (!Visible()) return;  // a handler may have hidden it again
        // A main form shown minimized minimizes the application, whose window carries the
        // taskbar button, so that the application's hooks see it (minimize to tray).
        if (windowState_ == wsMinimized && Application && Application->MainForm == this) Application->Minimize();
        else if (windowState_ == wsMinimized) ShowWindow(h, SW_SHOWMINNOACTIVE);
        else ShowWindow(h, windowState_ == wsMaximized ? SW_SHOWMAXIMIZED : SW_SHOWNORMAL);
    } else {
        DoHide();
        ShowWindow(h, SW_HIDE);
    }
}

void TForm::DoShow() { if (OnShow) OnShow(this); }
void TForm::DoHide() { if (OnHide) OnHide(this); }

void TForm::DoClose(TCloseAction& action) { if (OnClose) OnClose(this, action); }

void TForm::Close() {
    if (inModal_) { ModalResult = mrCancel; return; }
    bool canClose = true;
    if (OnCloseQuery) OnCloseQuery(this, canClose);
    if (!canClose) return;
    TCloseAction action = (Application && Application->MainForm == this) ? caFree : caHide;
    try {
        DoClose(action);
    } catch (...) {
        // Reported, and the close goes on: a handler that keeps failing (settings that cannot
        // be saved) must not keep the program from ever ending.
        if (!Application) throw;
        Application->HandleException(std::current_exception());
    }
    if (action == caNone) return;
    if (Application && Application->MainForm == this) { Application->Terminate(); return; }
    if (action == caHide || action == caFree) Hide();
    else if (action == caMinimize) SetWindowState(wsMinimized);
}

bool TForm::Active() const {
    TForm* self = const_cast<TForm*>(this);
    return self->HandleAllocated() && GetActiveWindow() == self->Handle();
}

namespace {
BOOL CALLBACK CollectEnabled(HWND w, LPARAM lp) {
    auto* list = reinterpret_cast<std::vector<HWND>*>(lp);
    if (IsWindowVisible(w) && IsWindowEnabled(w)) list->push_back(w);
    return TRUE;
}
}  // namespace

int TForm::ShowModal() {
    // Disable the other windows of the thread, run a loop until ModalResult is set, restore.
    std::vector<HWND> disabled;
    EnumThreadWindows(GetCurrentThreadId(), CollectEnabled, reinterpret_cast<LPARAM>(&disabled));
    HWND self = Handle();
    for (HWND w : disabled) if (w != self) EnableWindow(w, FALSE);
    ModalResult = mrNone;
    inModal_ = true;
    Show();
    ::SetFocus(self);
    while (ModalResult == mrNone && Application && !Application->Terminated()) {
        Application->HandleMessage();
        if (ModalResult != mrNone) {
            bool canClose = true;
            if (OnCloseQuery) OnCloseQuery(this, canClose);
            if (!canClose) ModalResult = mrNone;
        }
    }
    inModal_ = false;
    for (HWND w : disabled) if (w != self && IsWindow(w)) EnableWindow(w, TRUE);
    TCloseAction action = caHide;
    DoClose(action);
    Hide();
    return ModalResult;
}

void TForm::PaintWindow(HDC dc) {
    (void)dc;
    if (OnPaint) OnPaint(this);
}

void TForm::WndProc(TMessage& m) {
    switch (m.Msg) {
        case WM_CLOSE:
            Close();
            m.Result = 0;
            return;
        case WM_SYSCOMMAND:
            if ((m.WParam & 0xFFF0) == SC_MINIMIZE && Application && Application->MainForm == this) {
                Application->Minimize();
                m.Result = 0;
                return;
            }
            break;
        case WM_MOVE:
            if (HandleAllocated()) {
                RECT r = RectInParent(Handle());
                StoreBounds(r.left, r.top, r.right - r.left, r.bottom - r.top);
            }
            break;
        case WM_ACTIVATE:
            if (LOWORD(m.WParam) != WA_INACTIVE) { if (OnActivate) OnActivate(this); }
            else if (OnDeactivate) OnDeactivate(this);
            break;
        default:
            break;
    }
    TWinControl::WndProc(m);
}

}  // namespace forms
