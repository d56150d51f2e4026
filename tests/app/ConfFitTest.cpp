// Every caption of the options dialog fits its control, measured in the control's own font at the
// dialog's design metrics: nothing runs into its neighbour or is cut off.
#include "ConfFixture.h"
#include "controls/Spin.h"
#include "controls/XPButton.h"
#include "controls/XPCheckBox.h"
#include "controls/XPGroupBox.h"
#include "controls/XPRadioButton.h"
#include "forms/Label.h"
#include <algorithm>
#include <sstream>

using namespace thermowl;
using namespace controls;

namespace {

// The caption's width in `font`, and the face the font really got.
struct Measured { int width; std::string face; };
Measured Measure(forms::TFont& font, const std::string& text) {
    HDC dc = GetDC(nullptr);
    HGDIOBJ old = SelectObject(dc, font.Handle());
    RECT r{0, 0, 0, 0};
    DrawTextA(dc, text.c_str(), -1, &r, DT_SINGLELINE | DT_CALCRECT);
    char face[LF_FACESIZE] = {};
    GetTextFaceA(dc, sizeof face, face);
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
    return {r.right - r.left, face};
}

// Room for a label: up to the next control to its right on the same row, or the parent's edge.
int LabelRoom(forms::TLabel* l) {
    int right = l->Parent()->ClientWidth();
    for (forms::TControl* c : l->Parent()->Controls())
        if (c != l && c->Left() >= l->Left() + 1 && c->Top() < l->Top() + l->Height() && l->Top() < c->Top() + c->Height())
            right = std::min(right, c->Left());
    return std::min(right - l->Left(), l->AutoSize() ? 1 << 20 : l->Width());
}

// The width a spin edit's field shows its text in.
int FieldRoom(TSpinEdit* s) {
    RECT r;
    SendMessageA(s->Handle(), EM_GETRECT, 0, reinterpret_cast<LPARAM>(&r));
    return r.right - r.left;
}

}  // namespace

std::string CaptionMisfits(TConfForm* dialog) {
    for (int page = 0; page < 3; ++page) dialog->ShowPage(page);
    std::ostringstream misfits;
    int measured = 0;
    for (forms::TComponent* c : dialog->Components()) {
        auto* control = dynamic_cast<forms::TControl*>(c);
        if (!control) continue;
        std::string text = control->Caption();
        int room = -1;
        if (auto* l = dynamic_cast<forms::TLabel*>(c)) room = LabelRoom(l);
        else if (auto* t = dynamic_cast<TXPToggle*>(c)) room = control->Width() - t->BoxSize() - 5;
        else if (auto* g = dynamic_cast<TXPGroupBox*>(c)) room = g->Width() - 2 * g->CaptionOffset();
        else if (auto* b = dynamic_cast<TXPButton*>(c)) room = b->Width() - 8 - (b->Glyph().Empty() ? 0 : b->Glyph().Width() + 3);
        else if (auto* s = dynamic_cast<TSpinEdit*>(c)) {
            // The widest number it holds: its range's ends, or the thresholds' 10..150.
            text = s->MinValue != s->MaxValue ? std::to_string(std::max(s->MinValue, s->MaxValue)) : "150";
            room = FieldRoom(s);
        }
        text.erase(text.find_last_not_of(' ') + 1);  // a trailing space shows nothing
        if (room < 0 || text.empty()) continue;
        ++measured;
        const Measured m = Measure(control->Font(), text);
        if (m.face != control->Font().Name()) misfits << c->Name << ": font " << m.face << "; ";
        if (m.width > room) misfits << c->Name << " \"" << text << "\" " << m.width << " > " << room << "; ";
    }
    // The tabs' captions: all four tabs in view, no scroll arrows.
    forms::TPageControl* pages = dialog->PageControl1;
    if (const RECT last = pages->TabRect(pages->PageCount() - 1); last.right > pages->ClientWidth())
        misfits << "the last tab ends at " << last.right << " > " << pages->ClientWidth() << "; ";
    if (measured < 40) misfits << "only " << measured << " captions measured";
    return misfits.str();
}

TEST_F(ConfTest, EveryCaptionFitsItsControlInTheFontTheDialogAsksFor) {
    Start();
    EXPECT_EQ(CaptionMisfits(dialog.get()), "");
}

// The program declares itself aware of each screen's density, and the monitor and the dialog
// follow it: neither is stretched by the system.
TEST_F(ConfTest, TheMonitorAndTheDialogAreAwareOfEachScreensDensity) {
    HRSRC manifest = FindResourceA(nullptr, MAKEINTRESOURCE(1), MAKEINTRESOURCE(24));
    ASSERT_NE(manifest, nullptr);
    const std::string text(static_cast<const char*>(LockResource(LoadResource(nullptr, manifest))),
                           SizeofResource(nullptr, manifest));
    EXPECT_NE(text.find("<dpiAwareness xmlns=\"http://schemas.microsoft.com/SMI/2016/WindowsSettings\">PerMonitorV2"),
              std::string::npos);
    Start();
    using GetContext = HANDLE(WINAPI*)(HWND);
    using GetAwareness = int(WINAPI*)(HANDLE);
    HMODULE user32 = GetModuleHandleA("user32.dll");
    auto context = reinterpret_cast<GetContext>(reinterpret_cast<void*>(GetProcAddress(user32, "GetWindowDpiAwarenessContext")));
    auto awareness = reinterpret_cast<GetAwareness>(reinterpret_cast<void*>(GetProcAddress(user32, "GetAwarenessFromDpiAwarenessContext")));
    ASSERT_TRUE(context && awareness);
    EXPECT_EQ(awareness(context(monitor->Handle())), 2);  // per monitor
    EXPECT_EQ(awareness(context(dialog->Handle())), 2);
    EXPECT_EQ(awareness(context(dialog->XPButton2->Handle())), 2);
}
