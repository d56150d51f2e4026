// Windowless controls are painted by their parent window and get the mouse through it.
#include "forms/Application.h"
#include "forms/Bitmap.h"
#include <gtest/gtest.h>
#include <vector>

using namespace forms;

namespace {
struct Swatch : TGraphicControl {
    explicit Swatch(TComponent* owner, TColor c) : TGraphicControl(owner) { SetColor(c); }
    std::vector<std::string> events;
    void Paint() override {
        Canvas().Brush().SetColor(Color());
        Canvas().FillRect(RECT{0, 0, Width(), Height()});
    }
    void MouseDown(TMouseButton b, TShiftState s, int x, int y) override {
        events.push_back("down " + std::to_string(x) + "," + std::to_string(y));
        TGraphicControl::MouseDown(b, s, x, y);
    }
    void MouseUp(TMouseButton b, TShiftState s, int x, int y) override {
        events.push_back("up " + std::to_string(x) + "," + std::to_string(y));
        TGraphicControl::MouseUp(b, s, x, y);
    }
    void Click() override { events.push_back("click"); }
    void MouseEnter() override { events.push_back("enter"); }
    void MouseLeave() override { events.push_back("leave"); }
};

struct Fixture : testing::Test {
    TForm* form = nullptr;
    void SetUp() override {
        Application->Initialize();
        form = new TForm(nullptr);
        form->SetBorderStyle(bsNone);
        form->SetColor(clWhite);
        form->SetBounds(0, 0, 100, 80);
    }
    void TearDown() override { delete form; }
    // Paints the form with its children into a bitmap, as WM_PRINTCLIENT asks.
    COLORREF PixelAfterPaint(int x, int y) {
        TBitmap bmp(100, 80);
        HDC dc = bmp.Canvas().Handle();
        RECT r{0, 0, 100, 80};
        FillRect(dc, &r, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
        SendMessageA(form->Handle(), WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
        SendMessageA(form->Handle(), WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT);
        return bmp.Canvas().Pixel(x, y);
    }
    Swatch* Add(TColor c, int x, int y, int w, int h) {
        auto* s = new Swatch(form, c);
        s->SetBounds(x, y, w, h);
        s->SetParent(form);
        return s;
    }
    void Mouse(UINT msg, int x, int y, WPARAM keys = 0) {
        SendMessageA(form->Handle(), msg, keys, MAKELPARAM(x, y));
    }
};
}  // namespace

TEST_F(Fixture, ParentPaintsVisibleWindowlessChildrenInZOrder) {
    auto* red = Add(clRed, 10, 10, 30, 30);
    Add(clBlue, 30, 30, 30, 30);
    EXPECT_EQ(PixelAfterPaint(15, 15), RGB(255, 0, 0));
    EXPECT_EQ(PixelAfterPaint(35, 35), RGB(0, 0, 255));  // blue was added later: on top
    EXPECT_EQ(PixelAfterPaint(5, 5), RGB(255, 255, 255));
    red->BringToFront();
    EXPECT_EQ(PixelAfterPaint(35, 35), RGB(255, 0, 0));
    red->Hide();
    EXPECT_EQ(PixelAfterPaint(15, 15), RGB(255, 255, 255));
}

TEST_F(Fixture, ChildPaintingIsClippedToItsBounds) {
    struct Spill : Swatch {
        using Swatch::Swatch;
        void Paint() override {
            Canvas().Brush().SetColor(clRed);
            Canvas().FillRect(RECT{-20, -20, 200, 200});
        }
    };
    auto* s = new Spill(form, clRed);
    s->SetBounds(20, 20, 10, 10);
    s->SetParent(form);
    EXPECT_EQ(PixelAfterPaint(25, 25), RGB(255, 0, 0));
    EXPECT_EQ(PixelAfterPaint(15, 25), RGB(255, 255, 255));
    EXPECT_EQ(PixelAfterPaint(31, 25), RGB(255, 255, 255));
}

TEST_F(Fixture, MouseGoesToTheEnabledChildUnderItInChildCoordinatesEvenWhenReleasedOutside) {
    auto* s = Add(clRed, 10, 20, 30, 30);
    std::vector<std::string> formEvents;
    form->OnMouseDown = [&](TObject*, TMouseButton, TShiftState, int x, int y) {
        formEvents.push_back("form " + std::to_string(x) + "," + std::to_string(y));
    };
    Mouse(WM_LBUTTONDOWN, 15, 25, MK_LBUTTON);
    Mouse(WM_LBUTTONUP, 16, 26);
    Mouse(WM_LBUTTONDOWN, 70, 70, MK_LBUTTON);
    Mouse(WM_LBUTTONUP, 70, 70);
    EXPECT_EQ(s->events, (std::vector<std::string>{"down 5,5", "up 6,6", "click"}));
    EXPECT_EQ(formEvents, std::vector<std::string>{"form 70,70"});

    // Released outside: no click, but captured, the child hears the release.
    s->events.clear();
    Mouse(WM_LBUTTONDOWN, 15, 25, MK_LBUTTON);
    Mouse(WM_LBUTTONUP, 60, 70);
    EXPECT_EQ(s->events, (std::vector<std::string>{"down 5,5", "up 50,50"}));

    // Disabled, it lets the mouse through to the form.
    s->events.clear();
    s->SetEnabled(false);
    Mouse(WM_LBUTTONDOWN, 15, 25, MK_LBUTTON);
    Mouse(WM_LBUTTONUP, 15, 25);
    EXPECT_TRUE(s->events.empty());
    EXPECT_EQ(formEvents, (std::vector<std::string>{"form 70,70", "form 15,25"}));
}

TEST_F(Fixture, EnterAndLeaveFollowTheMouseAcrossChildren) {
    auto* a = Add(clRed, 0, 0, 20, 20);
    auto* b = Add(clBlue, 40, 0, 20, 20);
    Mouse(WM_MOUSEMOVE, 5, 5);
    Mouse(WM_MOUSEMOVE, 6, 6);
    Mouse(WM_MOUSEMOVE, 45, 5);
    Mouse(WM_MOUSELEAVE, 0, 0);
    EXPECT_EQ(a->events, (std::vector<std::string>{"enter", "leave"}));
    EXPECT_EQ(b->events, (std::vector<std::string>{"enter", "leave"}));
    EXPECT_FALSE(b->MouseInControl());
}

TEST_F(Fixture, ChildOwnedElsewhereLeavesItsParentWhenEitherGoes) {
    auto* other = new TForm(nullptr);
    auto* s = new Swatch(other, clRed);
    s->SetParent(form);  // parented here, owned there
    delete other;
    EXPECT_EQ(form->ControlCount(), 0);

    // And the other way round: owned here, it loses its parent when the parent goes.
    auto* parent = new TForm(nullptr);
    auto* t = new Swatch(form, clRed);
    t->SetParent(parent);
    delete parent;
    EXPECT_EQ(t->Parent(), nullptr);
}

TEST_F(Fixture, LayeredFormCarriesItsColourKeyAndAlphaAndStaysOnTop) {
    form->SetTransparentColor(true);
    form->SetTransparentColorValue(clPurple);
    form->SetAlphaBlend(true);
    form->SetAlphaBlendValue(170);
    COLORREF key = 0;
    BYTE alpha = 0;
    DWORD flags = 0;
    ASSERT_TRUE(form->LayeredAttributes(key, alpha, flags));
    EXPECT_EQ(key, RGB(128, 0, 128));
    EXPECT_EQ(alpha, 170);
    EXPECT_EQ(flags, DWORD(LWA_ALPHA | LWA_COLORKEY));
    EXPECT_TRUE(GetWindowLongPtrA(form->Handle(), GWL_EXSTYLE) & WS_EX_LAYERED);
    form->SetFormStyle(fsStayOnTop);
    EXPECT_TRUE(GetWindowLongPtrA(form->Handle(), GWL_EXSTYLE) & WS_EX_TOPMOST);
}

TEST_F(Fixture, AutoSizeToVisibleChildren) {
    Add(clRed, 0, 0, 40, 30);
    auto* b = Add(clRed, 10, 50, 90, 60);
    b->Hide();
    form->AdjustSizeToChildren();
    EXPECT_EQ(form->ClientWidth(), 40);
    EXPECT_EQ(form->ClientHeight(), 30);
}

TEST_F(Fixture, AWindowlessChildShowsItsOwnCursorAndOtherPlacesTheWindows) {
    form->SetBounds(200, 200, 100, 80);
    auto* hand = new Swatch(form, clRed);
    hand->SetBounds(10, 10, 30, 30);
    hand->Cursor = IDC_HAND;
    hand->SetParent(form);
    form->Show();
    Application->ProcessMessages();
    HCURSOR arrow = LoadCursorA(nullptr, IDC_ARROW), handCursor = LoadCursorA(nullptr, IDC_HAND);
    struct Case {
        POINT at;
        HCURSOR expected;
    } cases[] = {{{220, 220}, handCursor}, {{270, 260}, arrow}, {{220, 220}, handCursor}};
    for (const Case& c : cases) {
        SetCursorPos(c.at.x, c.at.y);
        SetCursor(LoadCursorA(nullptr, IDC_CROSS));  // neither: the answer must set one
        SendMessageA(form->Handle(), WM_SETCURSOR, reinterpret_cast<WPARAM>(form->Handle()), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
        EXPECT_EQ(GetCursor(), c.expected) << c.at.x << "," << c.at.y;
    }
}
