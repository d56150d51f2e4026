// A click handler may free its own control or the dialog that holds it (Apply in the options
// dialog ends the program): the control must not touch itself after the click.
#include "controls/XPButton.h"
#include "controls/XPCheckBox.h"
#include "controls/XPRadioButton.h"
#include "XPTestSupport.h"
#include "Poisoned.h"
#include <functional>
#include <utility>

using namespace controls;
using namespace forms;

namespace {

using testsupport::FreedObjectsUntouched;
using testsupport::Poisoned;

class FreedByHandler : public xptest::ControlsTest {
protected:
    // A dialog of its own: the handler frees either the control or the whole dialog.
    TComponent* dialog = nullptr;
    int clicks = 0;

    void SetUp() override {
        ControlsTest::SetUp();
        dialog = new TComponent(owner);
    }
    template <typename T>
    T* Make(bool freeDialog) {
        T* c = new Poisoned<T>(dialog);
        c->SetParent(form);
        c->SetBounds(20, 20, 90, 25);
        c->SetCaption("Apply");
        c->OnClick = [this, c, freeDialog](TObject*) {
            ++clicks;
            if (freeDialog) delete dialog;
            else delete c;
        };
        return c;
    }
    // Runs one way of clicking on a control that frees itself (or its dialog) when clicked.
    void Expect(const std::function<TWinControl*(bool)>& make, const std::function<void(TWinControl&)>& click) {
        for (bool freeDialog : {false, true}) {
            SCOPED_TRACE(freeDialog ? "the handler frees the dialog" : "the handler frees the control");
            clicks = 0;
            if (!dialog) dialog = new TComponent(owner);
            TWinControl* c = make(freeDialog);
            click(*c);
            EXPECT_EQ(clicks, 1);
            EXPECT_TRUE(FreedObjectsUntouched()) << "the freed control was touched";
            if (freeDialog) dialog = nullptr;
            Application->ProcessMessages();
        }
    }
    static void SpaceOn(TWinControl& c) {
        c.SetFocus();
        KeyDown(VK_SPACE);
        KeyUp(VK_SPACE);
    }
};

TEST_F(FreedByHandler, ClickedByMouseKeyOrFocus) {
    const std::function<TWinControl*(bool)> button = [this](bool d) { return Make<TXPButton>(d); },
                                            check = [this](bool d) { return Make<TXPCheckBox>(d); },
                                            radio = [this](bool d) { return Make<TXPRadioButton>(d); };
    const std::function<void(TWinControl&)> mouse = [](TWinControl& c) { Click(c); }, space = SpaceOn,
                                            focus = [](TWinControl& c) { c.SetFocus(); },
                                            enter = [](TWinControl& c) {
                                                c.SetFocus();
                                                KeyDown(VK_RETURN);
                                            };
    const struct {
        const char* what;
        const std::function<TWinControl*(bool)>& make;
        const std::function<void(TWinControl&)>& click;
    } cases[] = {{"button, mouse", button, mouse},    {"button, space", button, space},
                 {"button, enter", button, enter},    {"check box, mouse", check, mouse},
                 {"check box, space", check, space},  {"radio button, mouse", radio, mouse},
                 {"radio button, focus", radio, focus}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Expect(c.make, c.click);
    }
}

TEST_F(FreedByHandler, SiblingThatUnchecksMayFreeTheRadioBeingChecked) {
    auto* first = new Poisoned<TXPRadioButton>(dialog);
    auto* second = new Poisoned<TXPRadioButton>(dialog);
    for (TXPRadioButton* r : {static_cast<TXPRadioButton*>(first), static_cast<TXPRadioButton*>(second)}) {
        r->SetParent(form);
        r->SetBounds(20, r == first ? 20 : 50, 90, 20);
    }
    first->SetChecked(true);
    first->OnClick = [this](TObject*) {
        ++clicks;
        delete std::exchange(dialog, nullptr);  // nothing of this handler is read after the free
    };
    second->SetChecked(true);  // unchecks the first, whose handler frees both
    EXPECT_EQ(clicks, 1);
    EXPECT_TRUE(FreedObjectsUntouched());
}

}  // namespace
