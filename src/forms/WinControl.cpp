#include "WinControl.h"
#include "FlagScope.h"
#include "Application.h"
#include "DialogKeys.h"
#include "Menus.h"
#include <windowsx.h>
#include <algorithm>
#include <map>

namespace forms {

LRESULT CALLBACK FormsWindowProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp);

namespace {
const char* const ObjectProp = "ThermowlFormsObject";

// Registers our class (once), superclassing a system class when asked; returns the system
// class's window procedure (or DefWindowProcA).
WNDPROC RegisterOurClass(const TCreateParams& p) {
    static std::map<std::string, WNDPROC> registered;
    auto it = registered.find(p.WinClassName);
    if (it != registered.end()) return it->second;
    WNDCLASSA wc{};
    WNDPROC base = DefWindowProcA;
    if (!p.SystemClass.empty()) {
        if (!GetClassInfoA(nullptr, p.SystemClass.c_str(), &wc)) return nullptr;
        base = wc.lpfnWndProc;
    } else {
        wc.style = p.ClassStyle;
        wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
        wc.hbrBackground = p.Background;
    }
    wc.lpfnWndProc = FormsWindowProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = p.WinClassName.c_str();
    if (!RegisterClassA(&wc)) return nullptr;
    registered[p.WinClassName] = base;
    return base;
}

// Whether the focused window leaves a key or character to its form, as the dialog manager asks.
bool LeftToForm(HWND wnd, const TMessage& m, LRESULT wantMask) {
    MSG msg{wnd, m.Msg, m.WParam, m.LParam, 0, {0, 0}};
    return !(SendMessageA(wnd, WM_GETDLGCODE, m.WParam, reinterpret_cast<LPARAM>(&msg)) & wantMask);
}

TShiftState KeyboardShift() {
    TShiftState s = 0;
    if (GetKeyState(VK_SHIFT) < 0) s |= ssShift;
    if (GetKeyState(VK_CONTROL) < 0) s |= ssCtrl;
    if (GetKeyState(VK_MENU) < 0) s |= ssAlt;
    return s;
}
}  // namespace

LRESULT CALLBACK FormsWindowProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp) {
    TWinControl* self;
    if (msg == WM_NCCREATE) {
        self = static_cast<TWinControl*>(reinterpret_cast<CREATESTRUCTA*>(lp)->lpCreateParams);
        if (self) {
            SetPropA(wnd, ObjectProp, self);
            self->handle_ = wnd;
        }
    } else {
        self = static_cast<TWinControl*>(GetPropA(wnd, ObjectProp));
    }
    if (!self) return DefWindowProcA(wnd, msg, wp, lp);
    TMessage m{msg, wp, lp, 0};
    try {
        self->WndProc(m);
    } catch (...) {
        Application->HandleException(std::current_exception());
    }
    if (msg == WM_NCDESTROY) {
        RemovePropA(wnd, ObjectProp);
        self->handle_ = nullptr;
    }
    return m.Result;
}

RECT TWinControl::RectInParent(HWND wnd) {
    RECT r{};
    GetWindowRect(wnd, &r);
    HWND parent = GetAncestor(wnd, GA_PARENT);
    if (parent && parent != GetDesktopWindow()) MapWindowPoints(HWND_DESKTOP, parent, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

TWinControl* TWinControl::FromHandle(HWND wnd) {
    return wnd ? static_cast<TWinControl*>(GetPropA(wnd, ObjectProp)) : nullptr;
}

TWinControl::TWinControl(TComponent* owner) : TControl(owner) {}

TWinControl::~TWinControl() {
    MarkDestroying();
    DestroyOwnedControls();
    // Children that others own lose their parent.
    while (!controls_.empty()) controls_.back()->SetParent(nullptr);
    DestroyHandle();
}

void TWinControl::DestroyOwnedControls() {
    // Owned components go before the window they may live on; the base destructor would be
    // too late, since this object's own parts are gone by then.
    for (;;) {
        auto& list = Components();
        if (list.empty()) break;
        TComponent* c = list.back();
        delete c;
    }
}

void TWinControl::CreateParams(TCreateParams& p) {
    p.Caption = Caption();
    p.Style = WS_CHILD | WS_CLIPSIBLINGS;
    if (Visible()) p.Style |= WS_VISIBLE;
    if (!Enabled()) p.Style |= WS_DISABLED;
    if (TabStop) p.Style |= WS_TABSTOP;
    p.X = Left(); p.Y = Top(); p.Width = Width(); p.Height = Height();
    if (Parent()) p.WndParent = Parent()->Handle();
    p.WinClassName = "TFormsControl";
}

HWND TWinControl::Handle() {
    if (!handle_ && !creating_) {
        FlagScope creating(creating_);
        CreateWnd();
    }
    return handle_;
}

void TWinControl::CreateWnd() {
    TCreateParams p;
    CreateParams(p);
    if ((p.Style & WS_CHILD) && !p.WndParent) return;  // a child needs its parent's window first
    defWndProc_ = RegisterOurClass(p);
    if (!defWndProc_) throw std::runtime_error("Cannot register window class " + p.WinClassName);
    HWND h = CreateWindowExA(p.ExStyle, p.WinClassName.c_str(), p.Caption.c_str(), p.Style, p.X, p.Y, p.Width,
                             p.Height, p.WndParent, nullptr, GetModuleHandleA(nullptr), this);
    if (!h) throw std::runtime_error("Error creating window " + p.WinClassName);
    SendMessageA(h, WM_SETFONT, reinterpret_cast<WPARAM>(Font().Handle()), 0);
    // Windowed children made before this window existed get theirs now.
    for (TControl* c : controls_)
        if (c->IsWindowed()) static_cast<TWinControl*>(c)->Handle();
}

void TWinControl::DestroyWnd() {
    if (handle_) DestroyWindow(handle_);
}

void TWinControl::DestroyHandle() {
    if (!handle_) return;
    for (TControl* c : controls_)
        if (c->IsWindowed()) static_cast<TWinControl*>(c)->DestroyHandle();
    DestroyWnd();
    handle_ = nullptr;
}

void TWinControl::RecreateWnd() {
    if (!handle_) return;
    DestroyHandle();
    Handle();
}

void TWinControl::InsertControl(TControl* c) {
    controls_.push_back(c);
    c->parent_ = this;
    c->ParentFontChanged();
    c->ParentColorChanged();
    if (c->IsWindowed()) {
        auto* w = static_cast<TWinControl*>(c);
        if (handle_) {
            if (w->handle_) ::SetParent(w->handle_, handle_);
            else w->Handle();
        }
    } else {
        c->Invalidate();
    }
}

void TWinControl::RemoveControl(TControl* c) {
    if (c == captureControl_) { captureControl_ = nullptr; if (GetCapture() == handle_) ReleaseCapture(); }
    if (c == mouseControl_) mouseControl_ = nullptr;
    c->Invalidate();
    controls_.erase(std::remove(controls_.begin(), controls_.end(), c), controls_.end());
    c->parent_ = nullptr;
    if (c->IsWindowed()) static_cast<TWinControl*>(c)->DestroyHandle();
}

TControl* TWinControl::ControlAtPos(POINT p, bool allowDisabled) const {
    for (auto it = controls_.rbegin(); it != controls_.rend(); ++it) {
        TControl* c = *it;
        if (c->IsWindowed() || !c->Visible() || (!c->Enabled() && !allowDisabled)) continue;
        if (c->HitTest(p.x - c->Left(), p.y - c->Top())) return c;
    }
    return nullptr;
}

void TWinControl::SetBounds(int l, int t, int w, int h) {
    if (l == Left() && t == Top() && w == Width() && h == Height()) return;
    StoreBounds(l, t, w, h);
    if (handle_) MoveWindow(handle_, l, t, w, h, TRUE);
    BoundsChanged();
    Resize();
}

RECT TWinControl::ClientRect() const {
    RECT r{0, 0, Width(), Height()};
    if (handle_) GetClientRect(handle_, &r);
    return r;
}

void TWinControl::SetVisible(bool v) {
    if (v == Visible()) return;
    TControl::SetVisible(v);
    if (handle_) ShowWindow(handle_, v ? SW_SHOWNA : SW_HIDE);
}


void TWinControl::EnabledChanged() {
    if (handle_) EnableWindow(handle_, Enabled());
    Invalidate();
}

void TWinControl::TextChanged() {
    if (handle_) SetWindowTextA(handle_, Caption().c_str());
    Invalidate();
}

void TWinControl::FontChanged() {
    if (handle_) SendMessageA(handle_, WM_SETFONT, reinterpret_cast<WPARAM>(Font().Handle()), 0);
    for (TControl* c : controls_) c->ParentFontChanged();
    Invalidate();
}

void TWinControl::ColorChanged() {
    for (TControl* c : controls_) c->ParentColorChanged();
    Invalidate();
}

void TWinControl::Invalidate() {
    if (handle_) InvalidateRect(handle_, nullptr, TRUE);
}

void TWinControl::Update() {
    if (handle_) UpdateWindow(handle_);
}

bool TWinControl::CanFocus() const {
    for (const TControl* c = this; c; c = c->Parent())
        if (!c->Visible() || !c->Enabled()) return false;
    return true;
}

bool TWinControl::Focused() const { return handle_ && GetFocus() == handle_; }

void TWinControl::SetFocus() {
    if (Handle()) ::SetFocus(handle_);
}

void TWinControl::AdjustSizeToChildren() {
    int w = 0, h = 0;
    for (TControl* c : controls_) {
        if (!c->Visible()) continue;
        w = std::max(w, c->Left() + c->Width());
        h = std::max(h, c->Top() + c->Height());
    }
    RECT client = ClientRect();
    int dw = Width() - (client.right - client.left), dh = Height() - (client.bottom - client.top);
    SetBounds(Left(), Top(), w + dw, h + dh);
}

void TWinControl::DoEnter() { if (OnEnter) OnEnter(this); }
void TWinControl::DoExit() { if (OnExit) OnExit(this); }
void TWinControl::KeyDown(WORD& key, TShiftState s) { if (OnKeyDown) OnKeyDown(this, key, s); }
void TWinControl::KeyUp(WORD& key, TShiftState s) { if (OnKeyUp) OnKeyUp(this, key, s); }
void TWinControl::KeyPress(char& key) { if (OnKeyPress) OnKeyPress(this, key); }
void TWinControl::Resize() { if (OnResize) OnResize(this); }

void TWinControl::DefaultHandler(TMessage& m) {
    m.Result = CallWindowProcA(defWndProc_, handle_, m.Msg, m.WParam, m.LParam);
}

void TWinControl::EraseBackground(HDC dc) {
    if (Color() == clNone) return;
    // Kept between paints; made again only when the colour (or a system colour) changes.
    COLORREF rgb = ColorToRGB(Color());
    if (!backgroundBrush_ || backgroundRgb_ != rgb) {
        backgroundBrush_.reset(CreateSolidBrush(rgb));
        backgroundRgb_ = rgb;
    }
    RECT r = ClientRect();
    FillRect(dc, &r, backgroundBrush_.get());
}

void TWinControl::PaintWindow(HDC dc) { (void)dc; }

void TWinControl::PaintControls(HDC dc, const RECT* update) {
    for (TControl* c : controls_) {
        if (c->IsWindowed() || !c->Visible()) continue;
        RECT r = c->BoundsRect(), hit;
        // The update region itself, not just its bounding box: two small changes far apart
        // do not repaint every control between them.
        if (update && (!IntersectRect(&hit, &r, update) || !RectVisible(dc, &r))) continue;
        SavedDC saved(dc);
        SetViewportOrgEx(dc, r.left, r.top, nullptr);
        IntersectClipRect(dc, 0, 0, c->Width(), c->Height());
        static_cast<TGraphicControl*>(c)->PaintTo(dc);
    }
}

void TWinControl::PaintHandler(TMessage& m) {
    PAINTSTRUCT ps;
    HDC dc = m.WParam ? reinterpret_cast<HDC>(m.WParam) : BeginPaint(handle_, &ps);
    const RECT* update = m.WParam ? nullptr : &ps.rcPaint;
    try {
        if (DoubleBuffered && !m.WParam) {
            RECT r = ClientRect();
            SIZE size{std::max<LONG>(r.right, 1), std::max<LONG>(r.bottom, 1)};
            if (!paintBuffer_ || paintBufferSize_.cx != size.cx || paintBufferSize_.cy != size.cy) {
                paintBuffer_.reset(CreateCompatibleBitmap(dc, size.cx, size.cy));
                paintBufferSize_ = size;
            }
            MemoryDC mem(dc);
            SelectScope sel(mem.get(), paintBuffer_.get());
            EraseBackground(mem.get());
            PaintWindow(mem.get());
            PaintControls(mem.get(), nullptr);
            BitBlt(dc, ps.rcPaint.left, ps.rcPaint.top, ps.rcPaint.right - ps.rcPaint.left,
                   ps.rcPaint.bottom - ps.rcPaint.top, mem.get(), ps.rcPaint.left, ps.rcPaint.top, SRCCOPY);
        } else {
            PaintWindow(dc);
            PaintControls(dc, update);
        }
    } catch (...) {
        if (!m.WParam) EndPaint(handle_, &ps);
        throw;
    }
    if (!m.WParam) EndPaint(handle_, &ps);
    m.Result = 0;
}

void TWinControl::UpdateMouseOver(TControl* over) {
    if (over == mouseControl_) return;
    TControl* old = mouseControl_;
    mouseControl_ = over;
    if (old) { old->mouseInControl_ = false; old->MouseLeave(); }
    if (over) { over->mouseInControl_ = true; over->MouseEnter(); }
}

void TWinControl::MouseHandler(TMessage& m) {
    POINT p{GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam)};
    TShiftState shift = ShiftFromKeys(m.WParam);
    TControl* target = captureControl_ ? captureControl_ : ControlAtPos(p);
    TControl* c = target ? target : this;
    // Any handler below may free this control, or the child it runs for.
    const TLifeWatch self(this), control(c);
    m.Result = 0;
    if (m.Msg == WM_MOUSEMOVE) {
        if (!trackingLeave_) {
            TRACKMOUSEEVENT t{sizeof(t), TME_LEAVE, handle_, 0};
            trackingLeave_ = TrackMouseEvent(&t);
            if (!mouseInControl_) {
                mouseInControl_ = true;
                MouseEnter();
                if (!self.Alive()) return;
            }
        }
        UpdateMouseOver(ControlAtPos(p));
        if (!self.Alive() || !control.Alive()) return;
    }
    TMouseButton button = mbLeft;
    bool down = false, up = false, dbl = false;
    switch (m.Msg) {
        case WM_LBUTTONDOWN: down = true; break;
        case WM_RBUTTONDOWN: down = true; button = mbRight; break;
        case WM_MBUTTONDOWN: down = true; button = mbMiddle; break;
        case WM_LBUTTONUP: up = true; break;
        case WM_RBUTTONUP: up = true; button = mbRight; break;
        case WM_MBUTTONUP: up = true; button = mbMiddle; break;
        case WM_LBUTTONDBLCLK: dbl = true; break;
        case WM_RBUTTONDBLCLK: dbl = true; button = mbRight; break;
        case WM_MBUTTONDBLCLK: dbl = true; button = mbMiddle; break;
        default: break;
    }
    int x = p.x - (target ? target->Left() : 0), y = p.y - (target ? target->Top() : 0);
    if (dbl) shift |= ssDouble;
    if (down || dbl) {
        if (target && button == mbLeft) target->SetMouseCapture(true);
        if (button == mbLeft) c->pressed_ = true;
        if (dbl && button == mbLeft) {
            c->DblClick();
            if (!control.Alive()) return;
        }
        c->MouseDown(button, shift, x, y);
    } else if (up) {
        bool wasPressed = c->pressed_ && button == mbLeft;
        if (button == mbLeft) c->pressed_ = false;
        if (target && button == mbLeft) target->SetMouseCapture(false);
        c->MouseUp(button, shift, x, y);
        // A windowless child clicks on a release inside it; windowed controls decide their own.
        if (control.Alive() && wasPressed && target && target->HitTest(x, y)) target->Click();
    } else {
        c->MouseMove(shift, x, y);
    }
    if (!target && self.Alive()) DefaultHandler(m);
}

bool TWinControl::SetChildCursor(TMessage& m) {
    // Only over our own client area: a child window sets its own cursor.
    if (reinterpret_cast<HWND>(m.WParam) != handle_ || LOWORD(m.LParam) != HTCLIENT) return false;
    POINT p;
    if (!GetCursorPos(&p) || !::ScreenToClient(handle_, &p)) return false;
    TControl* c = captureControl_ ? captureControl_ : ControlAtPos(p);
    if (!c || !c->Cursor) return false;
    ::SetCursor(LoadCursorA(nullptr, c->Cursor));  // shared system cursor: nothing to free
    m.Result = TRUE;
    return true;
}

void TWinControl::WndProc(TMessage& m) {
    switch (m.Msg) {
        case WM_PAINT:
            PaintHandler(m);
            return;
        case WM_PRINTCLIENT:
            PaintWindow(reinterpret_cast<HDC>(m.WParam));
            PaintControls(reinterpret_cast<HDC>(m.WParam), nullptr);
            return;
        case WM_ERASEBKGND:
            if (!DoubleBuffered) EraseBackground(reinterpret_cast<HDC>(m.WParam));
            m.Result = 1;
            return;
        case WM_MOUSEMOVE: case WM_LBUTTONDOWN: case WM_LBUTTONUP: case WM_LBUTTONDBLCLK:
        case WM_RBUTTONDOWN: case WM_RBUTTONUP: case WM_RBUTTONDBLCLK:
        case WM_MBUTTONDOWN: case WM_MBUTTONUP: case WM_MBUTTONDBLCLK:
            MouseHandler(m);
            return;
        case WM_SETCURSOR:
            if (SetChildCursor(m)) return;
            DefaultHandler(m);
            return;
        case WM_MOUSELEAVE:
            trackingLeave_ = false;
            UpdateMouseOver(nullptr);
            if (mouseInControl_) { mouseInControl_ = false; MouseLeave(); }
            DefaultHandler(m);
            return;
        case WM_CAPTURECHANGED:
            if (captureControl_ && reinterpret_cast<HWND>(m.LParam) != handle_) {
                captureControl_->pressed_ = false;
                captureControl_ = nullptr;
            }
            DefaultHandler(m);
            return;
        case WM_CONTEXTMENU: {
            TPopupMenu* menu = PopupMenu();
            if (menu && menu->AutoPopup) {
                POINT p{GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam)};
                if (p.x == -1 && p.y == -1) p = ClientToScreen({0, 0});
                menu->PopupComponent = this;
                menu->Popup(p.x, p.y);
                m.Result = 0;
                return;
            }
            DefaultHandler(m);
            return;
        }
        case WM_SETFOCUS: {
            const TLifeWatch self(this);
            DefaultHandler(m);
            DoEnter();
            if (self.Alive()) BroadcastFocusChanged(RootControl(this), this);
            return;
        }
        case WM_KILLFOCUS:
            DefaultHandler(m);
            DoExit();
            return;
        case WM_KEYDOWN: case WM_SYSKEYDOWN: {
            // The key's handlers may free this control (or its form): nothing of it is touched then.
            const TLifeWatch self(this);
            m.Result = 0;
            WORD key = static_cast<WORD>(m.WParam);
            KeyDown(key, KeyboardShift());
            if (key == 0 || !self.Alive()) return;
            m.WParam = key;
            // Enter and Escape go to the form's default and cancel controls.
            if (m.Msg == WM_KEYDOWN && (key == VK_RETURN || key == VK_ESCAPE) &&
                LeftToForm(handle_, m, DLGC_WANTALLKEYS | DLGC_WANTMESSAGE) &&
                BroadcastDialogKey(RootControl(this), key, KeyboardShift())) {
                m.Result = 0;
                return;
            }
            if (self.Alive()) DefaultHandler(m);
            return;
        }
        case WM_KEYUP: case WM_SYSKEYUP: {
            const TLifeWatch self(this);
            m.Result = 0;
            WORD key = static_cast<WORD>(m.WParam);
            KeyUp(key, KeyboardShift());
            if (key == 0 || !self.Alive()) return;
            m.WParam = key;
            DefaultHandler(m);
            return;
        }
        case WM_CHAR: {
            const TLifeWatch self(this);
            m.Result = 0;
            char key = static_cast<char>(m.WParam);
            KeyPress(key);
            if (key == 0 || !self.Alive()) return;
            m.WParam = static_cast<unsigned char>(key);
            // Accelerator letters typed without Alt, unless the focused control takes characters.
            if (LeftToForm(handle_, m, DLGC_WANTCHARS | DLGC_WANTALLKEYS | DLGC_WANTMESSAGE) &&
                BroadcastDialogChar(RootControl(this), key, KeyboardShift())) {
                m.Result = 0;
                return;
            }
            if (self.Alive()) DefaultHandler(m);
            return;
        }
        case WM_SYSCHAR: {
            // Alt+letter: the controls whose caption has that "&" letter.
            const TLifeWatch self(this);
            m.Result = 0;
            if (BroadcastDialogChar(RootControl(this), static_cast<char>(m.WParam), KeyboardShift() | ssAlt) ||
                !self.Alive())
                return;
            DefaultHandler(m);
            return;
        }
        case WM_SIZE:
            if (handle_ && Parent() == nullptr) {
                RECT w;
                GetWindowRect(handle_, &w);
                StoreBounds(Left(), Top(), w.right - w.left, w.bottom - w.top);
            }
            DefaultHandler(m);
            return;
        case WM_COMMAND: case WM_NOTIFY: case WM_CTLCOLOREDIT: case WM_CTLCOLORSTATIC: case WM_CTLCOLORBTN:
        case WM_DRAWITEM: case WM_HSCROLL: case WM_VSCROLL: {
            // Reflect to the child control that sent it, so each control handles its own.
            HWND child = nullptr;
            if (m.Msg == WM_NOTIFY) child = reinterpret_cast<NMHDR*>(m.LParam)->hwndFrom;
            else if (m.Msg == WM_DRAWITEM) child = reinterpret_cast<DRAWITEMSTRUCT*>(m.LParam)->hwndItem;
            else child = reinterpret_cast<HWND>(m.LParam);
            TWinControl* target = FromHandle(child);
            if (target && target != this) {
                m.Result = SendMessageA(child, m.Msg + ReflectBase, m.WParam, m.LParam);
                return;
            }
            DefaultHandler(m);
            return;
        }
        default:
            DefaultHandler(m);
    }
}

// --- TCustomControl ---------------------------------------------------------------------

TCustomControl::TCustomControl(TComponent* owner) : TWinControl(owner) {}
TCustomControl::~TCustomControl() { canvas_.SetHandle(nullptr); }

void TCustomControl::PaintWindow(HDC dc) {
    canvas_.SetHandle(dc);
    canvas_.Font().Assign(Font());
    canvas_.Brush().SetColor(Color());
    try {
        Paint();
    } catch (...) {
        canvas_.SetHandle(nullptr);
        throw;
    }
    canvas_.SetHandle(nullptr);
}

}  // namespace forms
