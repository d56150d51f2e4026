// Simple timers: start and stop rules, the paused state, ticks, and the one shared window.
#include "TrayTestSupport.h"
#include <memory>
#include <stdexcept>

using namespace tray;
using namespace traytest;

namespace {
struct SimpleTimerTest : testing::Test {
    void SetUp() override { forms::Application->Initialize(); }
};

std::string ClassName(HWND w) {
    char buf[64] = {};
    GetClassNameA(w, buf, sizeof buf);
    return buf;
}
}  // namespace

TEST_F(SimpleTimerTest, IntervalZeroRefusesToStart) {
    TSimpleTimer timer(0, [](forms::TObject*) {});
    EXPECT_FALSE(timer.Start());
    timer.SetEnabled(true);
    EXPECT_FALSE(timer.Enabled());
    EXPECT_FALSE(SystemTimerSet(timer));
}

TEST_F(SimpleTimerTest, TheSameIntervalDoesNotRestartADifferentOneDoesAndClearingPauses) {
    TSimpleTimer timer(60000, [](forms::TObject*) {});
    ASSERT_TRUE(timer.Start());
    ASSERT_TRUE(SystemTimerSet(timer));  // the probe kills it: a restart would set it again
    timer.SetInterval(60000);
    EXPECT_FALSE(SystemTimerSet(timer));
    timer.SetInterval(30000);
    EXPECT_TRUE(timer.Enabled());
    EXPECT_TRUE(SystemTimerSet(timer));

    // Clearing the handler or the interval pauses without clearing Enabled.
    timer.SetEnabled(true);
    timer.SetOnTimer(nullptr);
    EXPECT_TRUE(timer.Enabled());
    EXPECT_FALSE(SystemTimerSet(timer));
    timer.SetOnTimer([](forms::TObject*) {});  // a handler alone does not resume
    EXPECT_FALSE(SystemTimerSet(timer));
    timer.SetEnabled(true);
    EXPECT_TRUE(SystemTimerSet(timer));

    timer.SetEnabled(true);
    timer.SetInterval(0);
    EXPECT_TRUE(timer.Enabled());
    EXPECT_FALSE(SystemTimerSet(timer));
    timer.SetInterval(45000);  // a usable interval resumes
    EXPECT_TRUE(SystemTimerSet(timer));

    timer.SetEnabled(true);
    timer.SetEnabled(false);
    EXPECT_FALSE(timer.Enabled());
    EXPECT_FALSE(SystemTimerSet(timer));
    EXPECT_FALSE(timer.Stop(true));  // nothing left to kill
}

TEST_F(SimpleTimerTest, RealTicksCallTheHandlerWithTheTimerAsSender) {
    std::vector<forms::TObject*> senders;
    TSimpleTimer timer(10, [&](forms::TObject* s) { senders.push_back(s); });
    timer.SetEnabled(true);
    ASSERT_TRUE(PumpUntil([&] { return senders.size() >= 3; }));
    EXPECT_EQ(senders[0], &timer);
    EXPECT_TRUE(timer.Enabled());
}

TEST_F(SimpleTimerTest, OneShotStopsBeforeItsHandlerRuns) {
    bool enabledInHandler = true;
    int ticks = 0;
    TSimpleTimer timer(10, nullptr);
    timer.SetOnTimer([&](forms::TObject*) { ++ticks; enabledInHandler = timer.Enabled(); });
    timer.OneShot = true;
    timer.SetEnabled(true);
    ASSERT_TRUE(PumpUntil([&] { return ticks >= 1; }));
    EXPECT_FALSE(enabledInHandler);
    EXPECT_FALSE(timer.Enabled());
    Tick(timer);  // a late tick of a stopped timer is not delivered
    EXPECT_EQ(ticks, 1);
}

TEST_F(SimpleTimerTest, StaleTicksAreIgnored) {
    TSimpleTimer keeper;  // keeps the shared window alive
    int ticks = 0;
    UINT_PTR deadId;
    {
        TSimpleTimer dead(60000, [&](forms::TObject*) { ++ticks; });
        dead.SetEnabled(true);
        deadId = dead.TimerId();
    }
    HWND w = TSimpleTimerHandler::Instance()->Handle();
    EXPECT_EQ(SendMessageA(w, WM_TIMER, deadId, 0), 0);
    EXPECT_EQ(ticks, 0);
    // A new timer never takes a freed timer's id.
    TSimpleTimer fresh(60000, [&](forms::TObject*) { ++ticks; });
    EXPECT_NE(fresh.TimerId(), deadId);
}

TEST_F(SimpleTimerTest, TheSharedWindowGoesWithTheLastTimerAndComesBackWithTheNext) {
    ASSERT_EQ(TSimpleTimerHandler::Instance(), nullptr);
    int windows = forms::CountProcessWindows();
    auto a = std::make_unique<TSimpleTimer>();
    HWND w = TSimpleTimerHandler::Instance()->Handle();
    EXPECT_EQ(ClassName(w), "TSimpleTimerHandler");
    EXPECT_EQ(forms::CountProcessWindows(), windows + 1);
    {
        TSimpleTimer b;
        EXPECT_EQ(TSimpleTimerHandler::Instance()->Handle(), w);  // one window for all
        EXPECT_EQ(TSimpleTimerHandler::Instance()->TimerCount(), 2);
        EXPECT_NE(a->TimerId(), b.TimerId());
    }
    EXPECT_TRUE(IsWindow(w));
    a.reset();
    EXPECT_EQ(TSimpleTimerHandler::Instance(), nullptr);
    EXPECT_FALSE(IsWindow(w));
    EXPECT_EQ(forms::CountProcessWindows(), windows);
    TSimpleTimer c;
    ASSERT_NE(TSimpleTimerHandler::Instance(), nullptr);
    EXPECT_TRUE(IsWindow(TSimpleTimerHandler::Instance()->Handle()));
}

TEST_F(SimpleTimerTest, AHandlerMayFreeTheLastTimer) {
    auto* timer = new TSimpleTimer(60000, nullptr);
    timer->SetOnTimer([&](forms::TObject*) { delete timer; timer = nullptr; });
    timer->SetEnabled(true);
    Tick(*timer);
    EXPECT_EQ(timer, nullptr);
    EXPECT_EQ(TSimpleTimerHandler::Instance(), nullptr);
}

TEST_F(SimpleTimerTest, AFailingHandlerEndsInTheErrorBox) {
    ErrorBox box;
    TSimpleTimer timer(60000, [](forms::TObject*) { throw std::runtime_error("Timer failed"); });
    timer.SetEnabled(true);
    Tick(timer);
    ASSERT_EQ(box.messages.size(), 1u);
    EXPECT_EQ(box.messages[0], "Timer failed.");
}
