// A shown form to put spin controls on, the beeps they sound, and the mouse and keys sent to them.
#pragma once
#include "controls/Spin.h"
#include "forms/Application.h"
#include "forms/Platform.h"
#include <gtest/gtest.h>
#include <ostream>
#include <string>
#include <vector>

inline bool operator==(const RECT& a, const RECT& b) { return EqualRect(&a, &b); }
inline void PrintTo(const RECT& r, std::ostream* os) {
    *os << "{" << r.left << ", " << r.top << ", " << r.right << ", " << r.bottom << "}";
}

namespace spintest {

struct SpinFixture : testing::Test {
    forms::PlatformOverride restore;
    std::vector<UINT> beeps;
    // One shown form per suite: Wine takes seconds to take a shown window down again.
    inline static forms::TForm* form = nullptr;

    static void SetUpTestSuite() {
        forms::Application->Initialize();
        form = new forms::TForm(nullptr);
        form->SetBorderStyle(forms::bsNone);
        form->SetBounds(40, 40, 300, 200);
        form->Show();
    }
    static void TearDownTestSuite() { delete form; }
    void SetUp() override {
        forms::platform.MessageBeep = [this](UINT type) { beeps.push_back(type); return TRUE; };
    }
    void TearDown() override {
        while (!form->Components().empty()) delete form->Components().back();
    }

    static void Type(forms::TWinControl* c, const std::string& chars) {
        for (char ch : chars) SendMessageA(c->Handle(), WM_CHAR, static_cast<unsigned char>(ch), 1);
    }
    static void Key(forms::TWinControl* c, WORD vk) { SendMessageA(c->Handle(), WM_KEYDOWN, vk, 1); }
    // The mouse on a spin button, at the centre of one arrow or at a point of its own.
    static LPARAM Centre(controls::TRepeatButton* b) {
        return MAKELPARAM(b->Left() + b->Width() / 2, b->Top() + b->Height() / 2);
    }
    static void Mouse(controls::TSpinButton* s, UINT msg, LPARAM at) {
        SendMessageA(s->Handle(), msg, msg == WM_LBUTTONUP ? 0 : MK_LBUTTON, at);
    }
    static void Click(controls::TSpinButton* s, controls::TRepeatButton* b) {
        Mouse(s, WM_LBUTTONDOWN, Centre(b));
        Mouse(s, WM_LBUTTONUP, Centre(b));
    }
    // One tick of the repeat timer, delivered now instead of waited for.
    static void Tick(controls::TRepeatButton* b) { SendMessageA(b->RepeatTimer()->WindowHandle(), WM_TIMER, 1, 0); }
};

}  // namespace spintest
