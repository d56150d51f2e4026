// How a label on a shown window reacts to the mouse and to the focus of its linked control.
#include "LabelTestSupport.h"
#include "Poisoned.h"
#include "label/FocusLink.h"
#include <functional>

using namespace label;
using namespace labeltest;

namespace {

constexpr COLORREF kMarker = RGB(0, 255, 0);
constexpr COLORREF kHover = RGB(255, 255, 0);

// One shown window for the whole suite (showing one is slow under Wine); each test's labels and
// controls go at its end.
class LabelBehaviour : public LabelTest {
protected:
    static void SetUpTestSuite() {
        LabelTest::SetUpTestSuite();
        shown = new forms::TForm(nullptr);
        shown->SetBorderStyle(forms::bsNone);
        shown->SetBounds(20, 20, 300, 120);
        shown->SetColor(forms::clPurple);
        shown->Show();
        forms::Application->ProcessMessages();
    }
    static void TearDownTestSuite() { delete shown; }
    void SetUp() override { form = shown; }
    void TearDown() override {
        while (!form->Components().empty()) delete form->Components().back();
        form->Update();
    }
    static inline forms::TForm* shown = nullptr;
    void MouseAt(UINT msg, int x, int y) { SendMessageA(form->Handle(), msg, msg == WM_MOUSEMOVE ? 0 : MK_LBUTTON, MAKELPARAM(x, y)); }
    // Counts OnMouseEnter and OnMouseLeave.
    void Watch(TOutlinedLabel* l) {
        l->OnMouseEnter = [this](forms::TObject*) { ++enters; };
        l->OnMouseLeave = [this](forms::TObject*) { ++leaves; };
    }
    // The linked control, another one to take the focus away, and the control's own window procedure.
    void MakeControls() {
        edit = MakeControl(10);
        other = MakeControl(60);
        original = GetWindowLongPtrA(edit->Handle(), GWLP_WNDPROC);
    }
    forms::TWinControl *edit = nullptr, *other = nullptr;
    LONG_PTR original = 0;
    forms::TWinControl* MakeControl(int left) {
        auto* c = new forms::TWinControl(form);
        c->SetParent(form);
        c->SetBounds(left, 80, 30, 20);
        c->HandleNeeded();
        return c;
    }
    // What the form's window shows now.
    std::unique_ptr<forms::TBitmap> Screen() {
        auto b = std::make_unique<forms::TBitmap>(form->Width(), form->Height());
        forms::WindowDC dc(form->Handle());
        BitBlt(b->Canvas().Handle(), 0, 0, b->Width(), b->Height(), dc.get(), 0, 0, SRCCOPY);
        GdiFlush();
        return b;
    }
    void PaintMarker(const TOutlinedLabel& l) { PaintMarker(l.BoundsRect()); }
    void PaintMarker(RECT r) {
        forms::WindowDC dc(form->Handle());
        forms::Brush brush(CreateSolidBrush(kMarker));
        FillRect(dc.get(), &r, brush.get());
    }
    TOutlinedLabel* HoverLabel(TLabelOptions options = floDelineatedText) {
        auto* l = MakeLabel(kCaption, options);
        l->SetLeft(10);
        l->SetTop(10);
        l->TextStyles().SetPassive(fstNone);
        l->TextStyles().SetActive(fstNone);
        l->Colors().SetText(kFace);
        l->Colors().SetDelineate(kOutline);
        l->Colors().SetDelineateActive(kOutline);
        l->Colors().SetTextActive(kHover);
        form->Update();
        return l;
    }
    int enters = 0, leaves = 0;
};

TEST_F(LabelBehaviour, MouseOverMakesTheLabelActive) {
    TOutlinedLabel* l = HoverLabel();
    Watch(l);
    MouseAt(WM_MOUSEMOVE, 15, 15);
    EXPECT_TRUE(l->MouseActive());
    EXPECT_EQ(enters, 1);
    MouseAt(WM_MOUSEMOVE, 250, 100);
    EXPECT_FALSE(l->MouseActive());
    EXPECT_EQ(leaves, 1);
}

TEST_F(LabelBehaviour, IgnoredMouseAndDisabledLabelChangeNothing) {
    for (bool disabled : {false, true}) {
        TOutlinedLabel* l = HoverLabel(disabled ? 0u : TLabelOptions(floIgnoreMouse));
        l->SetEnabled(!disabled);
        Watch(l);
        form->Update();
        PaintMarker(*l);
        MouseAt(WM_MOUSEMOVE, 15, 15);
        MouseAt(WM_MOUSEMOVE, 250, 100);
        // The form routes no mouse to a disabled control: the label gets its hover directly too.
        forms::TControl& control = *l;
        control.MouseEnter();
        control.MouseLeave();
        EXPECT_FALSE(l->MouseActive());
        EXPECT_EQ(enters + leaves, 0);
        auto screen = Screen();
        for (int y = l->Top(); y < l->Top() + l->Height(); ++y)
            for (int x = l->Left(); x < l->Left() + l->Width(); ++x) ASSERT_EQ(PixelAt(*screen, x, y), kMarker);
        delete l;
    }
}

TEST_F(LabelBehaviour, HoverRedrawsOnlyTheFaceUnlessTheOutlineChanges) {
    const COLORREF outline = kMarker ^ 0xFFFFFF;
    struct Case {
        COLORREF outlineActive, faceActive;
        std::vector<Layer> layers;  // what is drawn over what was there, nothing erased
    };
    const Case cases[] = {
        {kOutline, kHover, {{1, 1, kHover}}},
        {outline, kFace, {{0, 0, outline}, {2, 2, outline}, {0, 2, outline}, {2, 0, outline}, {1, 1, kFace}}},
    };
    for (const Case& c : cases) {
        TOutlinedLabel* l = HoverLabel();
        l->Colors().SetDelineateActive(c.outlineActive);
        l->Colors().SetTextActive(c.faceActive);
        form->Update();
        PaintMarker(*l);
        l->EnterActive();
        auto screen = Screen();
        EXPECT_TRUE(LayersMatch(*screen, TextShape(l->DrawFont(), l->Caption()), {l->Left(), l->Top()}, c.layers,
                                Uniform(kMarker), l->BoundsRect()));
        delete l;
        form->Update();
    }
}

TEST_F(LabelBehaviour, HoverStyleChangeWaitsForThePaintUnlessBuffered) {
    for (bool buffered : {false, true}) {
        TOutlinedLabel* l = HoverLabel(floDelineatedText | (buffered ? floBufferedDraw : 0u));
        l->TextStyles().SetActive(fstRaised);
        form->Update();
        PaintMarker(*l);
        l->EnterActive();
        auto before = Screen();
        form->Update();
        auto after = Screen();
        // Unbuffered, the area is invalidated and erased by the next paint; buffered, it is
        // composed on the form's colour and shown at once.
        EXPECT_EQ(PixelAt(*before, l->Left(), l->Top()), buffered ? COLORREF(forms::clPurple) : kMarker);
        EXPECT_EQ(PixelAt(*after, l->Left(), l->Top()), COLORREF(forms::clPurple));
        delete l;
        form->Update();
    }
}

TEST_F(LabelBehaviour, FirstPaintDrawsEverythingEvenWhenAskedForTheFaceOnly) {
    TOutlinedLabel* l = ProgramLabel(kCaption);
    l->SetLeft(10);
    l->SetTop(10);
    // No paint yet: the window shows only what lies behind.
    PaintMarker({0, 0, form->Width(), form->Height()});
    l->Gradient().SetPercentFilling(40);  // a face-only repaint, which is the label's first paint
    auto screen = Screen();
    EXPECT_TRUE(LayersMatch(*screen, TextShape(l->DrawFont(), l->Caption()), {l->Left(), l->Top()}, kRaised,
                            Uniform(kMarker), l->BoundsRect()));
}

TEST_F(LabelBehaviour, AFaceOnlyRequestWhileTheCaptionIsEmptyIsForgotten) {
    TOutlinedLabel* l = ProgramLabel(kCaption);
    form->Update();
    l->SetCaption("");
    form->Update();
    l->Gradient().SetPercentFilling(40);  // asks for the face alone, with nothing to draw
    l->SetCaption(kCaption);
    auto b = Render(*l, kMarker, 260, 40, false);
    EXPECT_TRUE(LayersMatch(*b, TextShape(l->DrawFont(), kCaption), {0, 0}, kRaised, Uniform(kMarker),
                            {0, 0, l->Width(), l->Height()}));
}

TEST_F(LabelBehaviour, FocusOfTheLinkedControlMakesTheLabelActive) {
    TOutlinedLabel* l = HoverLabel(floActiveWhileControlFocused);
    Watch(l);
    MakeControls();
    l->SetFocusControl(edit);
    EXPECT_TRUE(focuslink::IsHooked(edit->Handle()));
    edit->SetFocus();
    EXPECT_TRUE(l->MouseActive());
    EXPECT_TRUE(l->FocusActive());
    EXPECT_EQ(enters, 1);
    // While the control has the focus the mouse changes nothing.
    MouseAt(WM_MOUSEMOVE, 15, 15);
    MouseAt(WM_MOUSEMOVE, 250, 100);
    EXPECT_TRUE(l->MouseActive());
    other->SetFocus();
    EXPECT_FALSE(l->MouseActive());
    EXPECT_FALSE(l->FocusActive());
    EXPECT_EQ(leaves, 1);
    delete l;
    EXPECT_EQ(GetWindowLongPtrA(edit->Handle(), GWLP_WNDPROC), original);
    edit->SetFocus();  // nothing left that points at the label
}

TEST_F(LabelBehaviour, SeveralLabelsShareOneControl) {
    TOutlinedLabel* a = HoverLabel(floActiveWhileControlFocused);
    TOutlinedLabel* b = HoverLabel(floActiveWhileControlFocused);
    MakeControls();
    a->SetFocusControl(edit);
    b->SetFocusControl(edit);
    edit->SetFocus();
    EXPECT_TRUE(a->FocusActive());
    EXPECT_TRUE(b->FocusActive());
    other->SetFocus();
    delete a;
    EXPECT_TRUE(focuslink::IsHooked(edit->Handle()));
    edit->SetFocus();
    EXPECT_TRUE(b->FocusActive());
    other->SetFocus();
    b->SetFocusControl(nullptr);
    EXPECT_EQ(GetWindowLongPtrA(edit->Handle(), GWLP_WNDPROC), original);
}

TEST_F(LabelBehaviour, AFocusHandlerMayFreeOrUnlinkLabelsOfTheSameControl) {
    MakeControls();
    auto linked = [&](TOutlinedLabel* l) {
        l->SetOptions(floActiveWhileControlFocused);
        l->SetFocusControl(edit);
        return l;
    };
    // What the first label's handler does to the second one, or to itself.
    struct Case {
        const char* what;
        std::function<void(TOutlinedLabel*& first, TOutlinedLabel*& second)> act;
    };
    const std::vector<Case> cases = {
        {"frees the other label", [](TOutlinedLabel*&, TOutlinedLabel*& b) { delete b; b = nullptr; }},
        {"unlinks the other label", [](TOutlinedLabel*&, TOutlinedLabel*& b) { b->SetFocusControl(nullptr); }},
        {"drops the other's option", [](TOutlinedLabel*&, TOutlinedLabel*& b) { b->SetOptions(floDelineatedText); }},
        {"frees itself, the last one", [](TOutlinedLabel*& a, TOutlinedLabel*& b) {
             delete b;
             b = nullptr;
             delete a;
             a = nullptr;
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        other->SetFocus();
        TOutlinedLabel* first = linked(new testsupport::Poisoned<TOutlinedLabel>(form));
        TOutlinedLabel* second = linked(new testsupport::Poisoned<TOutlinedLabel>(form));
        first->OnMouseEnter = [&](forms::TObject*) { c.act(first, second); };
        edit->SetFocus();
        EXPECT_TRUE(!second || !second->FocusActive());
        EXPECT_TRUE(first || second || GetWindowLongPtrA(edit->Handle(), GWLP_WNDPROC) == original);
        other->SetFocus();  // the control still works, with or without labels
        edit->SetFocus();
        EXPECT_TRUE(testsupport::PoisonedFreeCount() == 0 || testsupport::FreedObjectsUntouched());
        delete first;
        delete second;
    }
}

TEST_F(LabelBehaviour, LinkFollowsTheOption) {
    TOutlinedLabel* l = HoverLabel(floActiveWhileControlFocused);
    MakeControls();
    l->SetFocusControl(edit);
    l->SetOptions(floDelineatedText);
    EXPECT_EQ(GetWindowLongPtrA(edit->Handle(), GWLP_WNDPROC), original);
    edit->SetFocus();
    EXPECT_FALSE(l->FocusActive());
    other->SetFocus();
    l->SetOptions(floActiveWhileControlFocused);
    edit->SetFocus();
    EXPECT_TRUE(l->FocusActive());
    // A label made without the option never hooks.
    TOutlinedLabel* plain = HoverLabel(floDelineatedText);
    plain->SetFocusControl(other);
    EXPECT_FALSE(focuslink::IsHooked(other->Handle()));
}

TEST_F(LabelBehaviour, NewWindowOfTheControlIsHookedAtTheNextPaintAndARemovedControlLetGo) {
    TOutlinedLabel* l = HoverLabel(floActiveWhileControlFocused);
    edit = MakeControl(10);
    l->SetFocusControl(edit);
    edit->RecreateWnd();
    EXPECT_FALSE(focuslink::IsHooked(edit->Handle()));
    Render(*l, kMarker);
    EXPECT_TRUE(focuslink::IsHooked(edit->Handle()));
    edit->SetFocus();
    EXPECT_TRUE(l->FocusActive());
    delete edit;
    EXPECT_EQ(l->FocusControl(), nullptr);
    Render(*l, kMarker);
}

TEST_F(LabelBehaviour, ClickFocusesTheLinkedControlAsConfigured) {
    TOutlinedLabel* l = HoverLabel(floIgnoreMouse);
    MakeControls();
    l->SetFocusControl(edit);
    struct Case {
        TFocusControlMethod method;
        UINT focusingMessage;
    };
    for (Case c : {Case{fcmOnMouseDown, WM_LBUTTONDOWN}, Case{fcmOnMouseUp, WM_LBUTTONUP}}) {
        SCOPED_TRACE(testing::Message() << "method " << c.method);
        other->SetFocus();
        l->FocusControlMethod = c.method;
        MouseAt(WM_MOUSEMOVE, 15, 15);
        MouseAt(WM_LBUTTONDOWN, 15, 15);
        EXPECT_EQ(edit->Focused(), c.focusingMessage == WM_LBUTTONDOWN);
        MouseAt(WM_LBUTTONUP, 15, 15);
        EXPECT_TRUE(edit->Focused());
        MouseAt(WM_MOUSEMOVE, 250, 100);
    }
    // On entering: only when the mouse is not ignored.
    other->SetFocus();
    l->FocusControlMethod = fcmOnMouseEnter;
    MouseAt(WM_MOUSEMOVE, 15, 15);
    EXPECT_FALSE(edit->Focused());
    MouseAt(WM_MOUSEMOVE, 250, 100);
    l->SetOptions(0);
    MouseAt(WM_MOUSEMOVE, 15, 15);
    EXPECT_TRUE(edit->Focused());
    // A disabled label gives no focus on a click.
    other->SetFocus();
    l->FocusControlMethod = fcmOnMouseDown;
    l->SetEnabled(false);
    MouseAt(WM_LBUTTONDOWN, 15, 15);
    MouseAt(WM_LBUTTONUP, 15, 15);
    // The form routes no mouse to a disabled control: the label gets the click directly too.
    forms::TControl& control = *l;
    for (TFocusControlMethod method : {fcmOnMouseDown, fcmOnMouseUp}) {
        l->FocusControlMethod = method;
        control.MouseDown(forms::mbLeft, forms::ssLeft, 5, 5);
        control.MouseUp(forms::mbLeft, 0, 5, 5);
    }
    EXPECT_FALSE(edit->Focused());
}

}  // namespace
