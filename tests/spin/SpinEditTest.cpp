// The spin edit: its number and range, what may be typed, the arrows, repeating, and its size.
#include "SpinFixture.h"
#include "forms/Gdi.h"
#include <algorithm>
#include <climits>

using namespace controls;
using namespace forms;

namespace spintest {
namespace {

struct SpinEditTest : SpinFixture {
    TSpinEdit* edit = nullptr;
    TSpinEdit* other = nullptr;  // takes the focus away

    void Make(int minValue, int maxValue) {
        for (TSpinEdit** e : {&edit, &other}) {
            *e = new TSpinEdit(form);
            (*e)->SetBounds(10, e == &edit ? 10 : 50, 100, 22);
            (*e)->SetParent(form);
        }
        edit->MinValue = minValue;
        edit->MaxValue = maxValue;
    }
    std::pair<DWORD, DWORD> Selection() {
        DWORD start = 0, end = 0;
        SendMessageA(edit->Handle(), EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
        return {start, end};
    }
    // Types `text` into the emptied field and leaves it.
    std::string AfterLeaving(const std::string& text) {
        edit->SetFocus();
        edit->SetText("");
        Type(edit, text);
        other->SetFocus();
        return edit->Text();
    }
};

TEST_F(SpinEditTest, RangeIsAppliedWhenTheFocusLeavesAndWhenTheValueIsWritten) {
    Make(1, 60);
    EXPECT_EQ(AfterLeaving("0"), "1");
    EXPECT_EQ(AfterLeaving("75"), "60");
    EXPECT_EQ(AfterLeaving("30"), "30");
    EXPECT_EQ(AfterLeaving("-"), "-");  // no number: stays as typed, reads as the lower end
    EXPECT_EQ(edit->Value(), 1);


    edit->SetValue(120);
    EXPECT_EQ(edit->Text(), "60");
    edit->SetValue(-3);
    EXPECT_EQ(edit->Text(), "1");
    for (const char* text : {"", "+", "12abc", "1.5", "99999999999"}) {
        edit->SetText(text);
        EXPECT_EQ(edit->Value(), 1) << text;
    }
    edit->SetText("+17");
    EXPECT_EQ(edit->Value(), 17);

    edit->MinValue = edit->MaxValue = 0;  // no range
    EXPECT_EQ(AfterLeaving("-7500"), "-7500");
    edit->SetText("");
    EXPECT_EQ(edit->Value(), 0);
    edit->SetValue(INT_MAX);
    edit->StepUp();  // stops at the end of int rather than wrapping round
    EXPECT_EQ(edit->Value(), INT_MAX);
}

TEST_F(SpinEditTest, OnlyNumberCharactersCanBeTypedOthersBeep) {
    Make(0, 0);
    edit->SetText("");
    Type(edit, "abc x\r");
    EXPECT_EQ(edit->Text(), "");
    EXPECT_EQ(beeps, std::vector<UINT>(6, 0));

    beeps.clear();
    char separator[4] = {};
    GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, separator, sizeof separator);
    Type(edit, std::string("-12+") + separator[0] + "\b\b");
    EXPECT_EQ(edit->Text(), "-12");
    EXPECT_TRUE(beeps.empty());

    // Without the editor only control keys pass, and not Backspace.
    edit->EditorEnabled = false;
    Type(edit, "5\b-\x03");
    EXPECT_EQ(edit->Text(), "-12");
    EXPECT_EQ(beeps.size(), 3u);
}

TEST_F(SpinEditTest, CutAndPasteOnlyWhereTheTextMayBeEdited) {
    Make(0, 0);
    edit->SetText("123");
    edit->SelectAll();
    edit->EditorEnabled = false;
    SendMessageA(edit->Handle(), WM_CUT, 0, 0);
    EXPECT_EQ(edit->Text(), "123");
    edit->EditorEnabled = true;
    SendMessageA(edit->Handle(), WM_CUT, 0, 0);
    ASSERT_EQ(edit->Text(), "");
    edit->SetReadOnly(true);
    SendMessageA(edit->Handle(), WM_PASTE, 0, 0);
    EXPECT_EQ(edit->Text(), "");
    edit->SetReadOnly(false);
    SendMessageA(edit->Handle(), WM_PASTE, 0, 0);
    EXPECT_EQ(edit->Text(), "123");
}

TEST_F(SpinEditTest, ArrowKeysAndButtonsStepByIncrementReadOnlyBeeps) {
    Make(0, 100);
    edit->Increment = 5;
    edit->SetValue(50);
    Key(edit, VK_UP);
    EXPECT_EQ(edit->Value(), 55);
    Key(edit, VK_DOWN);
    Key(edit, VK_DOWN);
    EXPECT_EQ(edit->Value(), 45);
    edit->SetValue(98);
    Key(edit, VK_UP);
    EXPECT_EQ(edit->Value(), 100);

    // A click on an arrow steps once and brings the focus to the field.
    other->SetFocus();
    Click(edit->Button(), edit->Button()->DownButton());
    EXPECT_EQ(edit->Value(), 95);
    EXPECT_TRUE(edit->Focused());
    EXPECT_TRUE(beeps.empty());

    edit->SetReadOnly(true);
    edit->StepUp();
    Key(edit, VK_DOWN);
    Click(edit->Button(), edit->Button()->UpButton());
    EXPECT_EQ(edit->Value(), 95);
    EXPECT_EQ(beeps, std::vector<UINT>(3, 0));
}

TEST_F(SpinEditTest, HoldingAnArrowRepeatsAfter400msThenEvery100ms) {
    Make(1, 60);
    edit->SetValue(57);
    TSpinButton* spin = edit->Button();
    TRepeatButton* up = spin->UpButton();
    EXPECT_EQ(up->RepeatTimer(), nullptr);
    Mouse(spin, WM_LBUTTONDOWN, Centre(up));
    ASSERT_NE(up->RepeatTimer(), nullptr);
    EXPECT_EQ(up->RepeatTimer()->Interval(), 400u);
    EXPECT_TRUE(up->RepeatTimer()->Enabled());
    EXPECT_EQ(edit->Value(), 57);  // the press alone does not step
    Tick(up);
    EXPECT_EQ(up->RepeatTimer()->Interval(), 100u);
    EXPECT_EQ(edit->Value(), 58);
    for (int i = 0; i < 3; ++i) Tick(up);
    EXPECT_EQ(edit->Value(), 60);  // up to the range end and no further
    Mouse(spin, WM_LBUTTONUP, Centre(up));
    EXPECT_FALSE(up->RepeatTimer()->Enabled());

    // Moved off the arrow while held: no repeats and no step on release.
    TRepeatButton* down = spin->DownButton();
    LPARAM away = MAKELPARAM(down->Left() + 2, spin->Height() + 30);
    Mouse(spin, WM_LBUTTONDOWN, Centre(down));
    Tick(down);
    EXPECT_EQ(edit->Value(), 59);
    Mouse(spin, WM_MOUSEMOVE, away);
    EXPECT_FALSE(down->Down());
    Tick(down);
    Mouse(spin, WM_LBUTTONUP, away);
    EXPECT_EQ(edit->Value(), 59);
    EXPECT_FALSE(down->RepeatTimer()->Enabled());

    // A new hold starts with the long delay again; a short press steps once on release.
    Mouse(spin, WM_LBUTTONDOWN, Centre(down));
    EXPECT_EQ(down->RepeatTimer()->Interval(), 400u);
    Mouse(spin, WM_LBUTTONUP, Centre(down));
    EXPECT_EQ(edit->Value(), 58);
}

TEST_F(SpinEditTest, FocusAndTextChanges) {
    Make(0, 0);
    int changes = 0;
    edit->OnChange = [&](TObject*) { ++changes; };
    edit->SetText("1234");
    SendMessageA(edit->Handle(), EM_SETSEL, 4, 4);
    Type(edit, "x5");
    edit->SetValue(12345);
    EXPECT_EQ(changes, 2);  // the refused "x" and the same value again change nothing

    // The keyboard's focus selects everything; without AutoSelect the caret stays.
    edit->SetFocus();
    EXPECT_EQ(Selection(), std::make_pair(0ul, 5ul));
    other->SetFocus();
    edit->AutoSelect = false;
    SendMessageA(edit->Handle(), EM_SETSEL, 1, 1);
    edit->SetFocus();
    EXPECT_EQ(Selection(), std::make_pair(1ul, 1ul));
}

// The least height for a font: its height, a quarter of the smaller of it and the system font's,
// four borders and two pixels (22 for MS Sans Serif 8 on a standard system; here the fonts
// installed decide).
int FloorFor(TFont& font) {
    WindowDC screen(nullptr);
    TEXTMETRICA system{}, own{};
    GetTextMetricsA(screen.get(), &system);
    {
        SelectScope select(screen.get(), font.Handle());
        GetTextMetricsA(screen.get(), &own);
    }
    return own.tmHeight + std::min(system.tmHeight, own.tmHeight) / 4 + GetSystemMetrics(SM_CYBORDER) * 4 + 2;
}

TEST_F(SpinEditTest, HeightIsAtLeastWhatTheFontNeeds) {
    Make(0, 0);
    edit->Font().SetName("MS Sans Serif");
    edit->Font().SetSize(8);
    edit->SetHeight(10);
    const int small = FloorFor(edit->Font());
    EXPECT_EQ(edit->Height(), small);
    RECT r;
    GetWindowRect(edit->Handle(), &r);
    EXPECT_EQ(r.bottom - r.top, small);
    edit->SetHeight(small + 8);
    EXPECT_EQ(edit->Height(), small + 8);
    edit->Font().SetSize(14);
    edit->SetHeight(10);
    EXPECT_EQ(edit->Height(), FloorFor(edit->Font()));
    EXPECT_GT(edit->Height(), small);

    auto* late = new TSpinEdit(form);  // its window is made below the floor
    late->SetBounds(10, 100, 80, 10);
    late->SetParent(form);
    EXPECT_EQ(late->Height(), FloorFor(late->Font()));
}

TEST_F(SpinEditTest, ButtonsSitAtTheRightEdgeAndTheTextStopsBeforeThem) {
    Make(0, 0);
    TSpinButton* spin = edit->Button();
    EXPECT_EQ(spin->BoundsRect(), (RECT{100 - 15 - 5, 0, 100 - 5, edit->Height() - 5}));
    RECT client, format, w;
    GetClientRect(edit->Handle(), &client);
    SendMessageA(edit->Handle(), EM_GETRECT, 0, reinterpret_cast<LPARAM>(&format));
    int rightMargin = HIWORD(SendMessageA(edit->Handle(), EM_GETMARGINS, 0, 0));
    EXPECT_LE(format.right, spin->Left());
    EXPECT_GE(format.right, client.right - 15 - 2 - rightMargin - 1);  // the edit may keep one more pixel
    GetWindowRect(spin->Handle(), &w);
    MapWindowPoints(nullptr, edit->Handle(), reinterpret_cast<POINT*>(&w), 2);
    EXPECT_EQ(w.left, spin->Left());
    EXPECT_LE(w.right, client.right);

    edit->SetText("42");
    edit->SetCtl3D(false);
    edit->SetHeight(30);
    EXPECT_EQ(spin->BoundsRect(), (RECT{100 - 15, 1, 100, 28}));
    EXPECT_EQ(edit->Text(), "42");  // the text outlives the new window

    edit->SetEnabled(false);
    EXPECT_FALSE(spin->UpButton()->Enabled());
    EXPECT_FALSE(spin->DownButton()->Enabled());
}

TEST_F(SpinEditTest, ManyFieldsComeAndGoWithoutLeaks) {
    auto once = [&] {
        Make(1, 60);
        TSpinButton* spin = edit->Button();
        Mouse(spin, WM_LBUTTONDOWN, Centre(spin->UpButton()));
        Tick(spin->UpButton());
        Mouse(spin, WM_LBUTTONUP, Centre(spin->UpButton()));
        TBitmap bmp(20, 20);
        HDC dc = bmp.Canvas().Handle();
        SendMessageA(spin->Handle(), WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT);
        SendMessageA(form->Handle(), WM_CTLCOLOREDIT, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(edit->Handle()));
        delete edit;
        delete other;
    };
    once();  // classes and caches made once
    long objects = gdi::LiveObjects();
    int windows = CountProcessWindows();
    for (int i = 0; i < 30; ++i) once();
    EXPECT_EQ(gdi::LiveObjects(), objects);
    EXPECT_EQ(CountProcessWindows(), windows);
}

}  // namespace
}  // namespace spintest
