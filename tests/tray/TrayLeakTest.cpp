// A long run leaks nothing: many tray components and simple timers made and freed leave the
// GDI objects, the windows and the working set as they were.
#include "TrayTestSupport.h"
#include "forms/ProcessStats.h"
#include "forms/Form.h"
#include <memory>

using namespace tray;
using namespace traytest;

namespace {
struct Counts {
    long gdi;
    int windows;
};
Counts Now() { return {forms::gdi::LiveObjects(), forms::CountProcessWindows()}; }

struct TrayLeakTest : testing::Test {
    void SetUp() override {
        forms::Application->Initialize();
        form = std::make_unique<forms::TForm>(nullptr);
        form->Handle();
        SolidIcon(forms::clRed, image);
        list = std::make_unique<forms::TImageList>(nullptr);
        AddSolid(*list, forms::clGreen);
        AddSolid(*list, forms::clBlue);
    }
    // One component through a busy life: icon, hint, balloon, cycling, clicks, then freed.
    void OneTrayIcon() {
        auto* icon = new TTrayIcon(form.get());
        icon->SetIcon(image);
        icon->SetHint("Disk 0 is 40\xB0" "C");
        icon->SetIconVisible(true);
        icon->ShowBalloonHint("WARNING!", "hot", biWarning, 10);
        icon->SetIconList(list.get());
        icon->SetCycleInterval(600000);
        icon->SetCycleIcons(true);
        icon->OnDblClick = [](forms::TObject*) {};
        icon->SetWantEnterExitEvents(true);
        Callback(*icon, WM_LBUTTONDOWN);
        Callback(*icon, WM_MOUSEMOVE);
        Tick(icon->AnimationTimer());
        delete icon;
    }
    void OneTimer() {
        TSimpleTimer timer(60000, [](forms::TObject*) {});
        timer.SetEnabled(true);
    }

    FakeShell shell;
    std::unique_ptr<forms::TForm> form;
    forms::TIcon image;
    std::unique_ptr<forms::TImageList> list;
};
}  // namespace

// With a component kept alive the shared windows stay, so the loop measures the component's
// own resources: the working set must not move beyond page noise.
TEST_F(TrayLeakTest, TenThousandTrayComponentsLeaveNothingBehind) {
    TTrayIcon keeper(nullptr);
    for (int i = 0; i < 500; ++i) OneTrayIcon();  // warm-up: caches and heaps settle
    Counts before = Now();
    SIZE_T ws = forms::WorkingSetBytes();
    for (int i = 0; i < 10000; ++i) {
        OneTrayIcon();
        if (i % 500 == 0) shell.calls.clear();
    }
    Counts after = Now();
    EXPECT_EQ(after.gdi, before.gdi);
    EXPECT_EQ(after.windows, before.windows);
    EXPECT_LT(forms::WorkingSetBytes(), ws + 512 * 1024) << "working set grew from " << ws;
}

TEST_F(TrayLeakTest, AHundredThousandSimpleTimersLeaveNothingBehind) {
    TSimpleTimer keeper;
    for (int i = 0; i < 2000; ++i) OneTimer();
    Counts before = Now();
    SIZE_T ws = forms::WorkingSetBytes();
    for (int i = 0; i < 100000; ++i) OneTimer();
    Counts after = Now();
    EXPECT_EQ(after.gdi, before.gdi);
    EXPECT_EQ(after.windows, before.windows);
    EXPECT_LT(forms::WorkingSetBytes(), ws + 512 * 1024) << "working set grew from " << ws;
}

// Alone, each one makes and destroys the shared windows: none is left behind.
TEST_F(TrayLeakTest, TheSharedWindowsComeAndGoWithoutLeftovers) {
    Counts before = Now();
    for (int i = 0; i < 300; ++i) OneTrayIcon();
    for (int i = 0; i < 2000; ++i) OneTimer();
    Counts after = Now();
    EXPECT_EQ(after.gdi, before.gdi);
    EXPECT_EQ(after.windows, before.windows);
    EXPECT_EQ(TTrayIcon::HandlerWindow(), nullptr);
    EXPECT_EQ(TSimpleTimerHandler::Instance(), nullptr);
}

TEST_F(TrayLeakTest, TheChecksSeeALeak) {
    // The counts above can fail: a component that is never freed shows in both.
    Counts before = Now();
    auto* leaked = new TTrayIcon(nullptr);
    leaked->SetIcon(image);
    Counts after = Now();
    EXPECT_EQ(after.gdi, before.gdi + 1);
    EXPECT_EQ(after.windows, before.windows + 2);  // the icon's window and the timers' window
    delete leaked;
}
