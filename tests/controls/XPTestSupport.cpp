#include "XPTestSupport.h"
#include <windowsx.h>

namespace xptest {

using namespace forms;

Snapshot::Snapshot(TWinControl& control) : bitmap_(std::make_unique<TBitmap>(control.Width(), control.Height())) {
    HDC dc = bitmap_->Canvas().Handle();
    SendMessageA(control.Handle(), WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT);
    GdiFlush();
}

TColor Snapshot::At(int x, int y) const {
    uint32_t p = bitmap_->Bits()[size_t(y) * bitmap_->Width() + x];
    return ((p & 0xFF) << 16) | (p & 0xFF00) | ((p >> 16) & 0xFF);
}

bool Snapshot::Contains(const RECT& r, TColor c) const {
    for (int y = r.top; y < r.bottom; ++y)
        for (int x = r.left; x < r.right; ++x)
            if (At(x, y) == c) return true;
    return false;
}

bool Snapshot::ContainsDark(const RECT& r) const {
    for (int y = r.top; y < r.bottom; ++y)
        for (int x = r.left; x < r.right; ++x)
            if (Dark(At(x, y))) return true;
    return false;
}

namespace {
// One form for every test of the run, made on first use and destroyed at the end.
class FormEnvironment : public ::testing::Environment {
public:
    static TForm* Form() {
        if (!form_) {
            Application->Initialize();
            form_ = new TForm(Application);
            form_->SetBorderStyle(bsNone);
            form_->SetColor(FormColor);
            form_->Font().SetColor(clBlack);
            form_->SetBounds(40, 40, 420, 300);
            form_->Show();
        }
        return form_;
    }
    void TearDown() override {
        delete form_;
        form_ = nullptr;
        Application->ProcessMessages();
    }
private:
    static TForm* form_;
};
TForm* FormEnvironment::form_ = nullptr;
[[maybe_unused]] auto* const environment = ::testing::AddGlobalTestEnvironment(new FormEnvironment);
}  // namespace

void ControlsTest::SetUp() {
    form = FormEnvironment::Form();
    form->ModalResult = mrNone;
    owner = new TComponent(nullptr);
    SetForegroundWindow(form->Handle());
    ::SetFocus(form->Handle());
}

void ControlsTest::TearDown() {
    delete owner;
    owner = nullptr;
    Application->ProcessMessages();
}

ControlsTest::~ControlsTest() { delete owner; }

namespace {
void Mouse(TWinControl& c, UINT msg, WPARAM keys, int x, int y) {
    SendMessageA(c.Handle(), msg, keys, MAKELPARAM(x, y));
}
void Key(UINT msg, WPARAM key, LPARAM flags) {
    HWND focus = GetFocus();
    ASSERT_NE(focus, nullptr);
    SendMessageA(focus, msg, key, flags);
}
}  // namespace

void ControlsTest::MouseMove(TWinControl& c, int x, int y) {
    POINT p = c.ClientToScreen({x, y});
    SetCursorPos(p.x, p.y);
    Mouse(c, WM_MOUSEMOVE, GetCapture() == c.Handle() ? MK_LBUTTON : 0, x, y);
}
void ControlsTest::MouseDown(TWinControl& c, int x, int y) { Mouse(c, WM_LBUTTONDOWN, MK_LBUTTON, x, y); }
void ControlsTest::MouseUp(TWinControl& c, int x, int y) { Mouse(c, WM_LBUTTONUP, 0, x, y); }

void ControlsTest::Click(TWinControl& c) {
    int x = c.Width() / 2, y = c.Height() / 2;
    MouseMove(c, x, y);
    MouseDown(c, x, y);
    MouseUp(c, x, y);
}

void ControlsTest::KeyDown(WORD key) { Key(WM_KEYDOWN, key, 1); }
void ControlsTest::KeyUp(WORD key) { Key(WM_KEYUP, key, LPARAM(0xC0000001u)); }
void ControlsTest::Char(char c) { Key(WM_CHAR, static_cast<unsigned char>(c), 1); }
void ControlsTest::AltChar(char c) { Key(WM_SYSCHAR, static_cast<unsigned char>(c), LPARAM(1 | (1 << 29))); }

void ControlsTest::Tab() {
    PostMessageA(GetFocus(), WM_KEYDOWN, VK_TAB, 1);
    Application->ProcessMessages();
}

bool ControlsTest::HasFocus(TWinControl& c) { return c.HandleAllocated() && GetFocus() == c.Handle(); }

}  // namespace xptest
