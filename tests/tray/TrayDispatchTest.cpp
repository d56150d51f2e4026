// The shell's callbacks as events: click against double click, the menu, Enabled, enter and
// exit, and handlers that fail or free the icon.
#include "TrayTestSupport.h"
#include "forms/Form.h"
#include "forms/Menus.h"
#include <memory>
#include <stdexcept>

using namespace tray;
using namespace traytest;

namespace {
// Records the menu instead of showing it (a real popup waits for the user).
struct MenuRecordingTrayIcon : TTrayIcon {
    using TTrayIcon::TTrayIcon;
    std::vector<POINT> popups;
    void PopupAt(forms::TPopupMenu&, int x, int y) override { popups.push_back({x, y}); }
};

struct TrayDispatchTest : testing::Test {
    void SetUp() override {
        forms::Application->Initialize();
        icon = std::make_unique<MenuRecordingTrayIcon>(nullptr);
        icon->OnClick = [this](forms::TObject* s) { Log("click", s); };
        icon->OnMouseDown = [this](forms::TObject* s, forms::TMouseButton b, forms::TShiftState, int, int) {
            Log(b == forms::mbLeft ? "down" : b == forms::mbRight ? "rdown" : "mdown", s);
        };
        icon->OnMouseUp = [this](forms::TObject* s, forms::TMouseButton b, forms::TShiftState, int, int) {
            Log(b == forms::mbLeft ? "up" : b == forms::mbRight ? "rup" : "mup", s);
        };
    }
    void Log(const std::string& what, forms::TObject* sender) {
        events.push_back(what);
        if (sender != icon.get()) events.push_back("wrong sender");
    }
    void WithDblClick() { icon->OnDblClick = [this](forms::TObject* s) { Log("dbl", s); }; }

    FakeShell shell;
    std::unique_ptr<MenuRecordingTrayIcon> icon;
    std::vector<std::string> events;
    using Events = std::vector<std::string>;
};

struct Menu {
    forms::TPopupMenu menu{nullptr};
    std::vector<std::string> clicked;
    forms::TMenuItem* Add(const std::string& caption, bool isDefault) {
        auto* item = new forms::TMenuItem(&menu);
        item->Caption = caption;
        item->Default = isDefault;
        item->OnClick = [this, caption](forms::TObject*) { clicked.push_back(caption); };
        menu.Items().Add(item);
        return item;
    }
};
}  // namespace

// Left-button sequences, each on a fresh icon; a step of 0 is one tick of the single-click timer.
TEST_F(TrayDispatchTest, LeftButtonSequences) {
    const struct {
        bool dblClick;
        std::vector<LPARAM> steps;
        Events expected;
    } cases[] = {
        // Without OnDblClick the click comes at the button-up, before OnMouseUp.
        {false, {WM_LBUTTONDOWN, WM_LBUTTONUP}, {"down", "click", "up"}},
        // With it the click waits for the double-click time.
        {true, {WM_LBUTTONDOWN, WM_LBUTTONUP, 0}, {"down", "up", "click"}},
        // A button-up after the double-click time clicks at once.
        {true, {WM_LBUTTONDOWN, 0, WM_LBUTTONUP}, {"down", "click", "up"}},
        // A double click reports only OnDblClick; the next single click is reported again.
        {true,
         {WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK, WM_LBUTTONUP, 0, WM_LBUTTONDOWN, WM_LBUTTONUP, 0},
         {"down", "up", "dbl", "up", "down", "up", "click"}},
    };
    for (const auto& c : cases) {
        SetUp();
        events.clear();
        if (c.dblClick) WithDblClick();
        for (LPARAM step : c.steps) {
            if (step)
                Callback(*icon, step);
            else
                Tick(icon->SingleClickTimer());
        }
        EXPECT_EQ(events, c.expected) << c.steps.size();
        EXPECT_FALSE(icon->SingleClickTimer().Enabled()) << c.steps.size();
    }
}

TEST_F(TrayDispatchTest, TheHeldBackClickArrivesOnTheRealTimer) {
    WithDblClick();
    Callback(*icon, WM_LBUTTONDOWN);
    EXPECT_EQ(icon->SingleClickTimer().Interval(), GetDoubleClickTime());
    Callback(*icon, WM_LBUTTONUP);
    ASSERT_TRUE(PumpUntil([&] { return events.size() == 3; }));
    EXPECT_EQ(events.back(), "click");
}

TEST_F(TrayDispatchTest, DisabledDropsMouseNotifications) {
    WithDblClick();
    Menu m;
    m.Add("Show", true);
    icon->SetPopupMenu(&m.menu);
    icon->OnMouseMove = [this](forms::TObject* s, forms::TShiftState, int, int) { Log("move", s); };
    icon->Enabled = false;  // balloon notifications still come: see the balloon tests
    for (LPARAM n : {WM_MOUSEMOVE, WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK, WM_RBUTTONDOWN, WM_RBUTTONUP,
                     WM_MBUTTONDOWN, WM_MBUTTONUP})
        Callback(*icon, n);
    EXPECT_TRUE(icon->popups.empty());
    EXPECT_TRUE(m.clicked.empty());
    EXPECT_FALSE(icon->SingleClickTimer().Enabled());
    EXPECT_TRUE(events.empty());
}

TEST_F(TrayDispatchTest, ADoubleClickRunsTheFirstDefaultItemUnlessLeftPopup) {
    WithDblClick();
    Menu m;
    m.Add("Options", false);
    m.Add("Show monitor", true);
    m.Add("Exit", true);
    icon->SetPopupMenu(&m.menu);
    Callback(*icon, WM_LBUTTONDBLCLK);
    EXPECT_EQ(m.clicked, (std::vector<std::string>{"Show monitor"}));
    EXPECT_EQ(events, (Events{"dbl"}));

    m.clicked.clear();
    icon->LeftPopup = true;
    Callback(*icon, WM_LBUTTONDBLCLK);
    EXPECT_TRUE(m.clicked.empty());
    // With LeftPopup the left button-down is the menu's.
    Callback(*icon, WM_LBUTTONDOWN);
    EXPECT_EQ(icon->popups.size(), 1u);

    icon->LeftPopup = false;
    m.menu.AutoPopup = false;
    Callback(*icon, WM_LBUTTONDBLCLK);
    EXPECT_TRUE(m.clicked.empty());
}

TEST_F(TrayDispatchTest, TheRightButtonPopsTheMenuUpAtTheCursor) {
    forms::TForm owner(nullptr);
    auto* onForm = new MenuRecordingTrayIcon(&owner);
    Menu m;
    onForm->SetPopupMenu(&m.menu);
    POINT cursor;
    GetCursorPos(&cursor);
    MSG stale;
    while (PeekMessageA(&stale, owner.Handle(), WM_NULL, WM_NULL, PM_REMOVE)) {
    }
    Callback(*onForm, WM_RBUTTONDOWN);
    ASSERT_EQ(onForm->popups.size(), 1u);
    EXPECT_EQ(onForm->popups[0].x, cursor.x);
    EXPECT_EQ(onForm->popups[0].y, cursor.y);
    EXPECT_EQ(m.menu.PopupComponent, onForm);
    MSG after;
    EXPECT_TRUE(PeekMessageA(&after, owner.Handle(), WM_NULL, WM_NULL, PM_REMOVE));  // WM_NULL after the menu

    // No menu, or a menu that does not pop up by itself: nothing.
    m.menu.AutoPopup = false;
    Callback(*onForm, WM_RBUTTONDOWN);
    onForm->SetPopupMenu(nullptr);
    Callback(*onForm, WM_RBUTTONDOWN);
    EXPECT_EQ(onForm->popups.size(), 1u);
}

TEST_F(TrayDispatchTest, RightAndMiddleButtonsAndTheVersion3Notifications) {
    Callback(*icon, WM_RBUTTONDOWN);
    Callback(*icon, WM_RBUTTONUP);
    Callback(*icon, WM_MBUTTONDOWN);
    Callback(*icon, WM_MBUTTONUP);
    Callback(*icon, WM_CONTEXTMENU);  // classic style: ignored
    EXPECT_EQ(events, (Events{"rdown", "rup", "mdown", "mup"}));

    events.clear();
    icon->SetNotifyStyle(nsVersion3);
    Callback(*icon, WM_RBUTTONUP);
    Callback(*icon, WM_CONTEXTMENU);
    Callback(*icon, NIN_SELECT);
    Callback(*icon, NIN_KEYSELECT);
    Callback(*icon, WM_RBUTTONDBLCLK);  // not a notification the icon knows
    EXPECT_EQ(events, (Events{"rup", "rup", "rup"}));
}

TEST_F(TrayDispatchTest, MouseEventsCarryTheCursorPosition) {
    POINT cursor;
    GetCursorPos(&cursor);
    POINT down{-1, -1}, moved{-1, -1};
    forms::TShiftState shift = 0;
    icon->OnMouseDown = [&](forms::TObject*, forms::TMouseButton, forms::TShiftState s, int x, int y) {
        down = {x, y};
        shift = s;
    };
    icon->OnMouseMove = [&](forms::TObject*, forms::TShiftState, int x, int y) { moved = {x, y}; };
    Callback(*icon, WM_LBUTTONDOWN);
    Callback(*icon, WM_MOUSEMOVE);
    EXPECT_EQ(down.x, cursor.x);
    EXPECT_EQ(down.y, cursor.y);
    EXPECT_EQ(moved.x, cursor.x);
    EXPECT_TRUE(shift & forms::ssLeft);
}

TEST_F(TrayDispatchTest, EnterAndExitFollowTheCursor) {
    icon->OnMouseEnter = [this](forms::TObject* s) { Log("enter", s); };
    icon->OnMouseExit = [this](forms::TObject* s) { Log("exit", s); };
    Callback(*icon, WM_MOUSEMOVE);
    EXPECT_TRUE(events.empty());  // not asked for
    EXPECT_FALSE(icon->HoverPollTimer().Enabled());

    icon->SetWantEnterExitEvents(true);
    EXPECT_TRUE(icon->HoverPollTimer().Enabled());
    EXPECT_EQ(icon->HoverPollTimer().Interval(), 20u);
    POINT p;
    GetCursorPos(&p);
    Callback(*icon, WM_MOUSEMOVE);
    Callback(*icon, WM_MOUSEMOVE);
    EXPECT_EQ(events, (Events{"enter"}));
    Tick(icon->HoverPollTimer());  // the cursor has not moved: still over the icon
    EXPECT_EQ(events, (Events{"enter"}));
    SetCursorPos(p.x + 7, p.y + 5);
    Tick(icon->HoverPollTimer());
    Tick(icon->HoverPollTimer());
    EXPECT_EQ(events, (Events{"enter", "exit"}));
    Callback(*icon, WM_MOUSEMOVE);
    EXPECT_EQ(events, (Events{"enter", "exit", "enter"}));
    SetCursorPos(p.x, p.y);

    icon->SetWantEnterExitEvents(false);
    EXPECT_FALSE(icon->HoverPollTimer().Enabled());
}

TEST_F(TrayDispatchTest, StaleCallbacksAreIgnored) {
    UINT dead = icon->IconId();
    auto keeper = std::make_unique<TTrayIcon>(nullptr);  // keeps the window alive
    icon.reset();
    EXPECT_EQ(SendMessageA(TTrayIcon::HandlerWindow(), TrayCallbackMessage, dead, WM_LBUTTONUP), 0);
    EXPECT_TRUE(events.empty());
}

TEST_F(TrayDispatchTest, AHandlerMayFreeTheIcon) {
    icon->OnClick = [this](forms::TObject*) { icon.reset(); };
    Callback(*icon, WM_LBUTTONDOWN);
    Callback(*icon, WM_LBUTTONUP);  // the click frees it; its OnMouseUp is not reached
    EXPECT_EQ(icon, nullptr);
    EXPECT_EQ(TTrayIcon::HandlerWindow(), nullptr);
    EXPECT_EQ(events, (Events{"down"}));
}

TEST_F(TrayDispatchTest, AFailingHandlerEndsInTheErrorBox) {
    ErrorBox box;
    icon->OnBalloonHintShow = [](forms::TObject*) { throw std::runtime_error("Balloon failed"); };
    Callback(*icon, NIN_BALLOONSHOW);
    ASSERT_EQ(box.messages.size(), 1u);
    EXPECT_EQ(box.messages[0], "Balloon failed.");
}
