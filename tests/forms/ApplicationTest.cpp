// A failure inside a window procedure or a timer ends in the application's error box, and the
// program carries on.
#include "forms/Application.h"
#include "forms/Platform.h"
#include "forms/Timer.h"
#include <gtest/gtest.h>
#include <memory>
#include <stdexcept>
#include <vector>

using namespace forms;

namespace {
struct Box {
    std::string text, caption;
    UINT flags;
};

struct ErrorBoxes : testing::Test {
    PlatformOverride restore;
    std::vector<Box> boxes;
    void SetUp() override {
        Application->Initialize();
        Application->Title = "Thermowl";
        platform.MessageBoxA = [this](HWND, LPCSTR t, LPCSTR c, UINT f) {
            boxes.push_back({t, c, f});
            return IDOK;
        };
    }
};

struct Throwing : TForm {
    using TForm::TForm;
    static constexpr UINT Boom = WM_APP + 7;
    std::string message = "Failed to get data for 'Devices'";
    int handled = 0;
    void WndProc(TMessage& m) override {
        if (m.Msg == Boom) throw std::runtime_error(message);
        if (m.Msg == WM_APP + 8) ++handled;
        TForm::WndProc(m);
    }
};
}  // namespace

TEST_F(ErrorBoxes, ExceptionInAWindowProcedureShowsTheErrorBoxAndTheLoopGoesOn) {
    Throwing form(nullptr);
    PostMessageA(form.Handle(), Throwing::Boom, 0, 0);
    PostMessageA(form.Handle(), WM_APP + 8, 0, 0);
    Application->ProcessMessages();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, "Failed to get data for 'Devices'");  // ends in a quote: no full stop added
    EXPECT_EQ(boxes[0].caption, "Thermowl");
    EXPECT_EQ(boxes[0].flags, UINT(MB_OK | MB_ICONSTOP));
    EXPECT_EQ(form.handled, 1);

    form.message = "Disk is full";  // a sentence gets its full stop
    SendMessageA(form.Handle(), Throwing::Boom, 0, 0);
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[1].text, "Disk is full.");
}

TEST_F(ErrorBoxes, ExceptionInATimerHandler) {
    TTimer timer(nullptr);
    timer.SetInterval(1);
    int ticks = 0;
    timer.OnTimer = [&](TObject*) {
        ++ticks;
        throw std::runtime_error("tick failed");
    };
    // The tick arrives as a message; the failure must not leave the loop.
    for (int i = 0; i < 500 && boxes.empty(); ++i) {
        Application->ProcessMessages();
        Sleep(2);
    }
    timer.SetEnabled(false);
    ASSERT_FALSE(boxes.empty());
    EXPECT_EQ(boxes[0].text, "tick failed.");
    EXPECT_GE(ticks, 1);
}

TEST(Timers, DisabledTimerHasNoSystemTimerAndZeroIntervalNeverRuns) {
    Application->Initialize();
    TTimer t(nullptr);
    EXPECT_TRUE(t.Running());
    t.SetEnabled(false);
    EXPECT_FALSE(t.Running());
    t.SetInterval(0);
    t.SetEnabled(true);
    EXPECT_FALSE(t.Running());
    t.SetInterval(50);
    EXPECT_TRUE(t.Running());
}

TEST(Windows, ComponentsLeaveNoWindowBehind) {
    Application->Initialize();
    int before = CountProcessWindows();
    auto* form = new TForm(nullptr);
    new TTimer(form);
    form->Handle();
    EXPECT_GT(CountProcessWindows(), before);
    delete form;
    EXPECT_EQ(CountProcessWindows(), before);
}

TEST(Windows, ApplicationWindowCarriesTheTaskbarButtonAndShowsWithTheMainForm) {
    Application->Initialize();
    ASSERT_TRUE(IsWindow(Application->Handle()));
    TForm form(nullptr);
    TForm* saved = Application->MainForm;
    Application->MainForm = &form;
    ShowWindow(Application->Handle(), SW_HIDE);
    form.Show();
    EXPECT_TRUE(IsWindowVisible(Application->Handle()));
    EXPECT_EQ(GetWindow(form.Handle(), GW_OWNER), Application->Handle());
    form.Hide();
    ShowWindow(Application->Handle(), SW_HIDE);
    Application->MainForm = saved;
}

namespace {
// An application object of the test's own, for what ends an application (Terminate stays set),
// with the main form it closes.
struct OwnApplication {
    TApplication app;
    TApplication* saved = Application;
    std::unique_ptr<TForm> form;
    int closes = 0;
    OwnApplication() {
        Application = &app;
        app.Title = "Thermowl";
        app.Initialize();
        form = std::make_unique<TForm>(nullptr);
        app.MainForm = form.get();
    }
    ~OwnApplication() {
        form.reset();
        MSG msg;
        while (PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
        }
        app.MainForm = nullptr;
        Application = saved;
    }
};
}  // namespace

TEST_F(ErrorBoxes, AFailingCloseHandlerIsReportedAndTheProgramEndsAllTheSame) {
    OwnApplication own;
    own.form->OnClose = [&](TObject*, TCloseAction&) {
        ++own.closes;
        throw std::runtime_error("Failed to set data for 'Alarm'");
    };
    SendMessageA(own.form->Handle(), WM_CLOSE, 0, 0);
    EXPECT_EQ(own.closes, 1);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, "Failed to set data for 'Alarm'");
    EXPECT_TRUE(own.app.Terminated());
}

TEST_F(ErrorBoxes, TheEndOfTheSessionClosesTheMainFormOnce) {
    OwnApplication own;
    bool allow = false;
    own.form->OnClose = [&](TObject*, TCloseAction&) { ++own.closes; };
    own.form->OnCloseQuery = [&](TObject*, bool& canClose) { canClose = allow; };
    EXPECT_EQ(SendMessageA(own.app.Handle(), WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF), FALSE);
    allow = true;
    EXPECT_EQ(SendMessageA(own.app.Handle(), WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF), TRUE);
    // A session that goes on after all closes nothing.
    SendMessageA(own.app.Handle(), WM_ENDSESSION, FALSE, ENDSESSION_LOGOFF);
    EXPECT_EQ(own.closes, 0);
    SendMessageA(own.app.Handle(), WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF);
    SendMessageA(own.app.Handle(), WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF);
    EXPECT_EQ(own.closes, 1);
    EXPECT_TRUE(own.app.Terminated());
}
