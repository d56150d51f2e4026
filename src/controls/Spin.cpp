#include "Spin.h"
#include "forms/Platform.h"
#include <algorithm>
#include <climits>

namespace controls {

using namespace forms;

namespace {

// A whole number that fits in 32 bits: blanks, an optional sign, digits and nothing after.
bool ParseInteger(const std::string& s, int& out) {
    size_t i = 0;
    while (i < s.size() && (s[i] == ' ' || s[i] == '\t')) ++i;
    bool negative = false;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) negative = s[i++] == '-';
    if (i == s.size()) return false;
    long long v = 0;
    for (; i < s.size(); ++i) {
        if (s[i] < '0' || s[i] > '9') return false;
        v = v * 10 + (s[i] - '0');
        if (v > 1LL + INT_MAX) return false;
    }
    if (negative) v = -v;
    if (v > INT_MAX) return false;
    out = static_cast<int>(v);
    return true;
}

constexpr UINT DpiChangedAfterParent = 0x02E3;  // WM_DPICHANGED_AFTERPARENT, Windows 10 on

char DecimalSeparator() {
    char text[8] = {};
    return GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, text, sizeof text) > 1 ? text[0] : '.';
}

}  // namespace

TSpinEdit::TSpinEdit(TComponent* owner) : TWinControl(owner) {
    TabStop = true;
    SetColor(clWindow);
    SetCaption("0");
    SetBounds(0, 0, 121, 22);
    button_ = new TSpinButton(this);
    button_->SetBounds(0, 0, ButtonWidth, ButtonHeight);
    button_->SetFocusControl(this);
    button_->OnUpClick = [this](TObject*) { StepUp(); };
    button_->OnDownClick = [this](TObject*) { StepDown(); };
    button_->SetParent(this);
}

TSpinEdit::~TSpinEdit() { MarkDestroying(); }

// --- value -----------------------------------------------------------------------------

int TSpinEdit::Value() const {
    int v;
    return ParseInteger(Text(), v) ? v : MinValue;
}

void TSpinEdit::SetValue(int v) { SetText(std::to_string(LimitValue(v))); }

int TSpinEdit::LimitValue(int v) const {
    if (MaxValue != MinValue) {
        if (v < MinValue) return MinValue;
        if (v > MaxValue) return MaxValue;
    }
    return v;
}

void TSpinEdit::StepUp() { Step(Increment); }
void TSpinEdit::StepDown() { Step(-static_cast<long long>(Increment)); }

void TSpinEdit::Step(long long delta) {
    if (readOnly_) {
        platform.MessageBeep(0);
        return;
    }
    // Stepping past the ends of int stops there instead of wrapping round.
    long long v = std::clamp<long long>(Value() + delta, INT_MIN, INT_MAX);
    SetValue(static_cast<int>(v));
}

// --- text ------------------------------------------------------------------------------

std::string TSpinEdit::Text() const {
    if (!HandleAllocated()) return Caption();
    HWND h = const_cast<TSpinEdit*>(this)->Handle();
    std::string text(static_cast<size_t>(GetWindowTextLengthA(h)) + 1, '\0');
    text.resize(static_cast<size_t>(GetWindowTextA(h, text.data(), static_cast<int>(text.size()))));
    return text;
}

void TSpinEdit::SetText(const std::string& text) {
    if (text == Text()) return;
    SetCaption(text);
    // The caption may have held this text already while the user typed another.
    if (HandleAllocated()) TextChanged();
    else Change();
}

void TSpinEdit::TextChanged() {
    if (!HandleAllocated() || Text() == Caption()) return;
    // A multi-line edit does not report text set by program: we do, once.
    settingText_ = true;
    SetWindowTextA(Handle(), Caption().c_str());
    settingText_ = false;
    Change();
}

void TSpinEdit::Change() {
    if (OnChange) OnChange(this);
}

void TSpinEdit::SelectAll() {
    if (HandleAllocated()) SendMessageA(Handle(), EM_SETSEL, 0, -1);
}

void TSpinEdit::SetReadOnly(bool v) {
    readOnly_ = v;
    if (HandleAllocated()) SendMessageA(Handle(), EM_SETREADONLY, v, 0);
}

void TSpinEdit::SetMaxLength(int v) {
    maxLength_ = std::max(v, 0);
    if (HandleAllocated()) SendMessageA(Handle(), EM_LIMITTEXT, maxLength_, 0);
}

void TSpinEdit::SetCtl3D(bool v) {
    if (v == ctl3D_) return;
    ctl3D_ = v;
    RecreateWnd();
}

// --- keyboard --------------------------------------------------------------------------

void TSpinEdit::DoEnter() {
    // A click places the caret itself; only the keyboard selects everything.
    if (AutoSelect && GetKeyState(VK_LBUTTON) >= 0) SelectAll();
    TWinControl::DoEnter();
}

void TSpinEdit::DoExit() {
    int v = Value();
    if (LimitValue(v) != v) SetValue(v);
    TWinControl::DoExit();
}

void TSpinEdit::KeyDown(WORD& key, TShiftState shift) {
    if (key == VK_UP) StepUp();
    else if (key == VK_DOWN) StepDown();
    TWinControl::KeyDown(key, shift);
}

bool TSpinEdit::IsValidChar(char key) const {
    unsigned char c = static_cast<unsigned char>(key);
    bool valid = c == '+' || c == '-' || (c >= '0' && c <= '9') || key == DecimalSeparator() ||
                 (c < 32 && c != '\r');
    // Without the editor only control keys pass, and Backspace does not.
    if (valid && !EditorEnabled && (c >= 32 || c == '\b')) valid = false;
    return valid;
}

void TSpinEdit::KeyPress(char& key) {
    if (!IsValidChar(key)) {
        key = 0;
        platform.MessageBeep(0);
    }
    if (key) TWinControl::KeyPress(key);
}

// --- window ----------------------------------------------------------------------------

void TSpinEdit::CreateParams(TCreateParams& p) {
    TWinControl::CreateParams(p);
    p.WinClassName = "TSpinEdit";
    p.SystemClass = "EDIT";
    // Multi-line, so that the formatting rectangle can leave room for the buttons.
    p.Style |= ES_LEFT | ES_MULTILINE | ES_AUTOHSCROLL | WS_CLIPCHILDREN;
    if (readOnly_) p.Style |= ES_READONLY;
    if (ctl3D_) p.ExStyle |= WS_EX_CLIENTEDGE;
    else p.Style |= WS_BORDER;
}

void TSpinEdit::CreateWnd() {
    creatingWindow_ = true;
    try {
        TWinControl::CreateWnd();
    } catch (...) {
        creatingWindow_ = false;
        throw;
    }
    creatingWindow_ = false;
    if (!HandleAllocated()) return;
    if (maxLength_) SendMessageA(Handle(), EM_LIMITTEXT, maxLength_, 0);
    SetDpi(static_cast<int>(platform.GetDpiForWindow(Handle())));
    SizeChanged();
}

void TSpinEdit::DestroyWnd() {
    // Keep what the user typed for the next window.
    if (HandleAllocated()) SetCaption(Text());
    TWinControl::DestroyWnd();
}

int TSpinEdit::MinHeight() {
    WindowDC screen(nullptr);
    TEXTMETRICA system{}, own{};
    GetTextMetricsA(screen.get(), &system);  // a fresh screen DC holds the system font
    {
        SelectScope font(screen.get(), Font().Handle());
        GetTextMetricsA(screen.get(), &own);
    }
    int smaller = std::min(system.tmHeight, own.tmHeight);
    return own.tmHeight + smaller / 4 + GetSystemMetrics(SM_CYBORDER) * 4 + 2;
}

void TSpinEdit::SizeChanged() {
    int minimum = MinHeight();
    if (Height() < minimum) {
        SetHeight(minimum);  // sizes the window again, which lays it out
        return;
    }
    int w = button_->Width();
    if (ctl3D_) button_->SetBounds(Width() - w - 5, 0, w, Height() - 5);
    else button_->SetBounds(Width() - w, 1, w, Height() - 3);
    SetEditRect();
}

void TSpinEdit::SetEditRect() {
    if (!HandleAllocated()) return;
    RECT client;
    GetClientRect(Handle(), &client);
    RECT r{0, 0, client.right - button_->Width() - 2, client.bottom + 1};
    SendMessageA(Handle(), EM_SETRECTNP, 0, reinterpret_cast<LPARAM>(&r));
}

void TSpinEdit::FontChanged() {
    TWinControl::FontChanged();
    SetEditRect();  // a new font resets the edit's formatting rectangle
}

void TSpinEdit::ColorChanged() {
    background_.reset();
    TWinControl::ColorChanged();
}

void TSpinEdit::EnabledChanged() {
    TWinControl::EnabledChanged();
    button_->SetEnabled(Enabled());
}

HBRUSH TSpinEdit::BackgroundBrush() {
    COLORREF rgb = ColorToRGB(Color());
    if (!background_ || rgb != backgroundRgb_) {
        background_.reset(CreateSolidBrush(rgb));
        backgroundRgb_ = rgb;
    }
    return background_.get();
}

void TSpinEdit::WndProc(TMessage& m) {
    switch (m.Msg) {
        case WM_PAINT: case WM_ERASEBKGND: case WM_PRINTCLIENT:
            DefaultHandler(m);  // the edit control paints itself
            return;
        case WM_SIZE:
            TWinControl::WndProc(m);  // the edit resets its formatting rectangle here
            if (!creatingWindow_) SizeChanged();
            return;
        case DpiChangedAfterParent:  // moved with its window onto a screen of another density
            SetDpi(static_cast<int>(platform.GetDpiForWindow(Handle())));
            TWinControl::WndProc(m);
            return;
        case WM_PASTE: case WM_CUT:
            if (CanEditText()) DefaultHandler(m);
            else m.Result = 0;
            return;
        case WM_GETDLGCODE:
            // Tab and Enter belong to the dialog, as in a one-line field.
            DefaultHandler(m);
            m.Result &= ~(DLGC_WANTALLKEYS | DLGC_WANTTAB | DLGC_WANTMESSAGE);
            return;
        case ReflectBase + WM_COMMAND:
            if (HIWORD(m.WParam) == EN_CHANGE && !settingText_) Change();
            m.Result = 0;
            return;
        case ReflectBase + WM_CTLCOLOREDIT: case ReflectBase + WM_CTLCOLORSTATIC: {
            HDC dc = reinterpret_cast<HDC>(m.WParam);
            SetTextColor(dc, ColorToRGB(Font().Color()));
            SetBkColor(dc, ColorToRGB(Color()));
            m.Result = reinterpret_cast<LRESULT>(BackgroundBrush());
            return;
        }
        default:
            TWinControl::WndProc(m);
    }
}

}  // namespace controls
