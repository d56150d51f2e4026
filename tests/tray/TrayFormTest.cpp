// The icon and the main form: minimize to the tray (also at start), restore, hiding the
// taskbar button, the owner form's hook, the start-up decision and a re-created taskbar.
#include "TrayTestSupport.h"
#include "forms/Form.h"
#include "forms/Menus.h"
#include <memory>

using namespace tray;
using namespace traytest;

namespace {
struct TrayFormTest : testing::Test {
    void SetUp() override {
        forms::Application->Initialize();
        app = forms::Application->Handle();
        form = std::make_unique<forms::TForm>(nullptr);
        form->SetBorderStyle(forms::bsSingle);
        form->SetBounds(100, 100, 200, 150);
        forms::Application->MainForm = form.get();
    }
    void TearDown() override {
        form.reset();  // its icons go with it
        forms::Application->MainForm = nullptr;
        forms::Application->ShowMainForm = true;
        forms::Application->Restore();
        ShowWindow(app, SW_HIDE);
        forms::Application->ProcessMessages();
    }
    TTrayIcon* MakeIcon() {
        auto* icon = new TTrayIcon(form.get());
        icon->MinimizeToTray = true;
        return icon;
    }
    bool Shown(HWND w) const { return IsWindowVisible(w) != FALSE; }

    FakeShell shell;
    HWND app = nullptr;
    std::unique_ptr<forms::TForm> form;
};
}  // namespace

TEST_F(TrayFormTest, MinimizingSendsTheMainFormToTheTray) {
    TTrayIcon* icon = MakeIcon();
    form->Show();
    ASSERT_TRUE(Shown(app));  // the taskbar button
    ASSERT_FALSE(icon->IconVisible());
    SendMessageA(form->Handle(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
    EXPECT_FALSE(form->Visible());
    EXPECT_FALSE(Shown(form->Handle()));
    EXPECT_FALSE(Shown(app));
    EXPECT_TRUE(icon->IconVisible());
    ASSERT_FALSE(shell.calls.empty());
    EXPECT_EQ(shell.last().message, DWORD(NIM_ADD));

    icon->RestoreMainForm();
    EXPECT_TRUE(form->Visible());
    EXPECT_TRUE(Shown(form->Handle()));
    EXPECT_EQ(form->WindowState(), forms::wsNormal);
    EXPECT_FALSE(forms::Application->Minimized());
    EXPECT_TRUE(icon->IconVisible());  // the icon stays

    // The application's own restore command shows it again too.
    SendMessageA(form->Handle(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
    ASSERT_FALSE(form->Visible());
    SendMessageA(app, WM_SYSCOMMAND, SC_RESTORE, 0);
    EXPECT_TRUE(form->Visible());
    EXPECT_TRUE(Shown(form->Handle()));
    EXPECT_TRUE(icon->IconVisible());
}

TEST_F(TrayFormTest, AMainFormStartingMinimizedGoesStraightToTheTray) {
    TTrayIcon* icon = MakeIcon();
    form->SetWindowState(forms::wsMinimized);
    form->Show();
    EXPECT_FALSE(Shown(form->Handle()));
    EXPECT_FALSE(Shown(app));
    EXPECT_TRUE(icon->IconVisible());

    icon->RestoreMainForm();
    EXPECT_TRUE(Shown(form->Handle()));
    EXPECT_EQ(form->WindowState(), forms::wsNormal);
}

TEST_F(TrayFormTest, WithoutMinimizeToTrayTheFormMinimizesAsUsual) {
    TTrayIcon* icon = MakeIcon();
    icon->MinimizeToTray = false;
    form->Show();
    SendMessageA(form->Handle(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
    EXPECT_TRUE(forms::Application->Minimized());
    EXPECT_FALSE(icon->IconVisible());
    EXPECT_TRUE(shell.calls.empty());
}

TEST_F(TrayFormTest, OnMinimizeToTrayTakesTheMinimizeAwayFromTheForm) {
    TTrayIcon* icon = MakeIcon();
    int called = 0;
    icon->OnMinimizeToTray = [&](forms::TObject* s) { called += s == icon; };
    form->Show();
    EXPECT_EQ(SendMessageA(form->Handle(), WM_SYSCOMMAND, SC_MINIMIZE, 0), 1);
    EXPECT_EQ(called, 1);
    EXPECT_FALSE(forms::Application->Minimized());  // the form never saw the minimize
    EXPECT_FALSE(form->Visible());
    EXPECT_TRUE(icon->IconVisible());
}

TEST_F(TrayFormTest, HideMainFormHidesTheFormAndTheTaskbarButton) {
    TTrayIcon* icon = MakeIcon();
    form->Show();
    icon->HideMainForm();
    EXPECT_FALSE(Shown(form->Handle()));
    EXPECT_FALSE(Shown(app));
    EXPECT_FALSE(icon->IconVisible());  // hiding alone does not show the icon
    icon->SendToTray();
    EXPECT_TRUE(icon->IconVisible());

    // Without a main form, or on an owner that is not a window, nothing happens.
    forms::Application->MainForm = nullptr;
    icon->RestoreMainForm();
    EXPECT_FALSE(Shown(form->Handle()));
    forms::Application->MainForm = form.get();
    TTrayIcon loose(nullptr);
    loose.RestoreMainForm();
    EXPECT_FALSE(Shown(form->Handle()));
}

TEST_F(TrayFormTest, ARecreatedTaskbarGetsTheVisibleIconsBack) {
    UINT taskbarCreated = TTrayIcon::TaskbarCreatedMessage();
    ASSERT_NE(taskbarCreated, 0u);
    TTrayIcon* visible = MakeIcon();
    TTrayIcon* hidden = MakeIcon();
    visible->SetIconVisible(true);
    shell.shown.clear();  // Explorer restarted: the tray is empty
    shell.calls.clear();
    SendMessageA(app, taskbarCreated, 0, 0);
    ASSERT_EQ(shell.messages(), (std::vector<DWORD>{NIM_ADD}));
    EXPECT_EQ(shell.last().data.uID, visible->IconId());
    EXPECT_FALSE(hidden->IconVisible());
}

TEST_F(TrayFormTest, TheOwnerFormsProcedureIsPutBack) {
    HWND w = form->Handle();
    LONG_PTR own = GetWindowLongPtrA(w, GWLP_WNDPROC);
    auto* first = MakeIcon();
    EXPECT_NE(GetWindowLongPtrA(w, GWLP_WNDPROC), own);
    auto* second = MakeIcon();
    delete first;
    EXPECT_NE(GetWindowLongPtrA(w, GWLP_WNDPROC), own);
    // The remaining icon still sees the form's messages.
    form->Show();
    SendMessageA(w, WM_SYSCOMMAND, SC_MINIMIZE, 0);
    EXPECT_TRUE(second->IconVisible());
    delete second;
    EXPECT_EQ(GetWindowLongPtrA(w, GWLP_WNDPROC), own);
}

TEST_F(TrayFormTest, OnStartupFalseHidesTheMainFormAfterLoading) {
    TTrayIcon* icon = MakeIcon();
    form->Show();
    icon->BeginLoading();
    icon->OnStartup = [](forms::TObject*, bool& show) { show = false; };
    icon->Loaded();
    EXPECT_FALSE(forms::Application->ShowMainForm);
    EXPECT_FALSE(Shown(form->Handle()));
    EXPECT_FALSE(Shown(app));

    forms::Application->ShowMainForm = true;
    TTrayIcon* agreeing = MakeIcon();
    agreeing->OnStartup = [](forms::TObject*, bool&) {};
    agreeing->Loaded();
    EXPECT_TRUE(forms::Application->ShowMainForm);
}

// The monitor window's set-up: a borderless, colour-keyed main form whose icon is visible,
// minimizes to the tray, carries the menu and shows the form again on a double click.
TEST_F(TrayFormTest, TheMonitorWindowsIconWithItsDesignValues) {
    form->SetBorderStyle(forms::bsNone);
    form->SetColor(forms::clPurple);
    form->SetTransparentColorValue(forms::clPurple);
    form->SetTransparentColor(true);
    form->SetAlphaBlend(true);
    auto* menu = new forms::TPopupMenu(form.get());
    auto* TrayIcon1 = new TTrayIcon(form.get());
    forms::TIcon product;
    SolidIcon(forms::clNavy, product);
    TrayIcon1->SetIcon(product);
    TrayIcon1->SetIconVisible(true);
    TrayIcon1->MinimizeToTray = true;
    TrayIcon1->SetPopupMenu(menu);
    TrayIcon1->OnDblClick = [this](forms::TObject*) { form->Show(); };
    EXPECT_EQ(shell.last().message, DWORD(NIM_ADD));
    EXPECT_EQ(IconColour(shell.last().data.hIcon), forms::clNavy);

    form->SetWindowState(forms::wsMinimized);  // the monitor starting hidden
    form->Show();
    EXPECT_FALSE(Shown(form->Handle()));
    EXPECT_FALSE(Shown(app));
    TrayIcon1->RestoreMainForm();
    TrayIcon1->HideMainForm();
    EXPECT_FALSE(Shown(form->Handle()));
    Callback(*TrayIcon1, WM_LBUTTONDBLCLK);
    EXPECT_TRUE(Shown(form->Handle()));
    EXPECT_TRUE(shell.shown.count(TrayIcon1->IconId()));
    delete menu;
    EXPECT_EQ(TrayIcon1->PopupMenu(), nullptr);
}
