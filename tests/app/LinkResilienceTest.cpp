// The link through the service's life: a service that starts after the monitor, one that is
// started again under a new id, one that stops answering, and the start-up wait's own limits.
#include "FakeService.h"
#include "LinkFixture.h"
#include "app/TrayHint.h"
#include "forms/UtilWindow.h"
#include <atomic>
#include <optional>

using namespace thermowl;
using namespace testsupport;

namespace {
// Runs a function on the monitor's thread while it waits, in the middle of its message pass:
// what it posts there is handled in that same pass.
class OnMonitorThread {
public:
    explicit OnMonitorThread(std::function<void(TMainForm&)> action)
        : action_(std::move(action)), window_([this](HWND w, UINT m, WPARAM wp, LPARAM lp) -> LRESULT {
              if (m != WM_APP) return DefWindowProcA(w, m, wp, lp);
              auto* form = dynamic_cast<TMainForm*>(forms::TWinControl::FromHandle(reinterpret_cast<HWND>(lp)));
              if (form) action_(*form);
              return 0;
          }) {}
    // Called from the service's thread with the window the request names.
    void Run(HWND monitor) { SendMessageA(window_.Handle(), WM_APP, 0, reinterpret_cast<LPARAM>(monitor)); }
    // From any other thread: runs at the monitor's next pass of messages, if one comes.
    void Post(HWND monitor) { PostMessageA(window_.Handle(), WM_APP, 0, reinterpret_cast<LPARAM>(monitor)); }

private:
    std::function<void(TMainForm&)> action_;
    forms::TUtilWindow window_;
};

// One poll, and the wait until the service it reached (if any) has taken it.
void Poll(TMainForm& monitor, std::initializer_list<FakeService*> services) {
    int before = 0;
    for (auto* s : services) before += s->requests;
    monitor.Timer1Timer(nullptr);
    WaitUntil([&] {
        int now = 0;
        for (auto* s : services) now += s->requests;
        return now > before;
    }, 5000);
    PumpMessages();  // the answer, if one came
}
// Runs `on` once start-up waits for the service: the monitor's window is up, and its first
// pass of messages comes after its first look at "hsid.dat".
std::thread WhileStartUpLooks(OnMonitorThread& on) {
    return std::thread([&on] {
        HWND monitor = nullptr;
        WaitUntil([&] { return (monitor = FindWindowA("TMainForm", "Thermowl")) != nullptr; });
        on.Post(monitor);
    });
}
}  // namespace

// --- start-up: the service comes after the monitor --------------------------------------------

TEST_F(Link, AServiceThatStartsAfterTheMonitorIsFound) {
    struct Case {  // what "hsid.dat" holds until the service writes its id
        const char* name;
        std::optional<std::vector<uint8_t>> before;
    };
    FakeService service(false);
    const Case cases[] = {
        {"no file yet", std::nullopt},
        {"the id of an earlier run", IdBytes(EndedThreadId())},
        {"a file still being written", std::vector<uint8_t>{0x12, 0x34}},
    };
    OnMonitorThread publish([&](TMainForm&) { service.Publish(); });
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        boxes.clear();
        RemoveFile(SystemFilePath("hsid.dat"));
        if (c.before) WriteFileBytes(SystemFilePath("hsid.dat"), *c.before);
        int asked = service.requests;
        std::thread late = WhileStartUpLooks(publish);
        auto monitor = StartMonitor();
        late.join();
        EXPECT_TRUE(boxes.empty());
        EXPECT_EQ(ServiceThreadId, service.ThreadId());
        EXPECT_EQ(service.requests, asked + 1);
        EXPECT_TRUE(PanelReady);
        EXPECT_TRUE(monitor->Timer1->Enabled());
    }
}

TEST_F(Link, AnExitWhileStartUpLooksForTheServiceEndsItQuietlyAndKeepsTheStoredSettings) {
    StoreSettings({{"PosX", 40}, {"RefreshTime", 7}});
    FakeService service(false);
    // Exit from the icon's menu while the service has not come yet, and the service right after.
    OnMonitorThread exit([&](TMainForm& form) {
        form.Exit2->Click();
        service.Publish();
    });
    std::thread user = WhileStartUpLooks(exit);
    auto monitor = StartMonitor();
    user.join();
    EXPECT_TRUE(boxes.empty());
    EXPECT_EQ(ServiceThreadId, 0u);
    EXPECT_FALSE(monitor->Timer1->Enabled());
    EXPECT_EQ(Stored("PosX"), 40u);
    EXPECT_EQ(Stored("RefreshTime"), 7u);
}

// --- start-up: the wait for the first answer --------------------------------------------------

TEST_F(Link, AReplyHandledInTheSamePassAsTheTimeOutIsKept) {
    FakeService service;
    service.answer = false;
    WriteTable(EncodeTable(service.drives));
    // The reply and, right behind it, the time-out's tick: both wait in the queue together.
    OnMonitorThread late([](TMainForm& m) {
        PostMessageA(m.Handle(), RecInfoMsg, 2, 0);
        PostMessageA(m.Timer2->WindowHandle(), WM_TIMER, 1, 0);
    });
    service.afterRequest = [&](HWND monitor) { late.Run(monitor); };
    auto monitor = StartMonitor();
    EXPECT_TRUE(boxes.empty());
    EXPECT_EQ(DriveCount, 2);
    EXPECT_TRUE(PanelReady);
    EXPECT_NE(ServiceThreadId, 0u);
}

TEST_F(Link, TheStartUpWaitEndsWithoutItsTimer) {
    FakeService service;
    service.answer = false;
    Waits.firstReplyMs = 1000;  // long enough for the timer to be gone before it could tick
    // The time-out timer stops ticking, as one that could not be set.
    OnMonitorThread cut([](TMainForm& m) { KillTimer(m.Timer2->WindowHandle(), 1); });
    std::atomic<HWND> monitorWindow{nullptr};
    service.afterRequest = [&](HWND monitor) {
        monitorWindow = monitor;
        cut.Run(monitor);
    };
    // Should the wait hang, a late reply ends it, so this test fails instead of hanging.
    std::atomic<bool> done{false}, rescued{false};
    std::thread watchdog([&] {
        if (!WaitUntil([&] { return done.load(); }, 60000)) rescued = true, PostMessageA(monitorWindow, RecInfoMsg, NoReply, 0);
    });
    auto monitor = StartMonitor();
    done = true;
    watchdog.join();
    EXPECT_FALSE(rescued);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].a, "Service is not started!\r\nPlease reinstall application.");
    EXPECT_EQ(ServiceThreadId, 0u);
}

// --- polling: a service started again --------------------------------------------------------

TEST_F(Link, AServiceStartedAgainIsFollowedUnderItsNewId) {
    enum Going { Ends, Crashes, Hangs };
    struct Case {
        const char* name;
        Going going;
        int pollsWithoutService, pollsToFollow;
    };
    const Case cases[] = {
        {"ended cleanly", Ends, 0, 1},
        {"ended cleanly, back two polls later", Ends, 2, 1},
        {"crashed, leaving its id", Crashes, 0, 1},
        {"crashed, back two polls later", Crashes, 2, 1},
        // A hung service still takes requests: only its silence gives it away.
        {"hung, replaced at once", Hangs, 0, SilentPolls + 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FakeService old;
        auto monitor = StartMonitor();
        ASSERT_EQ(ServiceThreadId, old.ThreadId());
        if (c.going == Ends) old.End();
        if (c.going == Crashes) old.Crash();
        if (c.going == Hangs) old.answer = false;
        for (int i = 0; i < c.pollsWithoutService; ++i) monitor->Timer1Timer(nullptr);  // nobody to ask
        FakeService again(false);
        again.drives = {{"Disk A", 52}, {"Disk B", 53}};
        ASSERT_NE(again.ThreadId(), old.ThreadId());
        again.Publish();
        int polls = 0;
        while (again.requests == 0 && polls < 2 * SilentPolls) {
            Poll(*monitor, {&old, &again});
            ++polls;
        }
        EXPECT_EQ(polls, c.pollsToFollow);
        EXPECT_EQ(ServiceThreadId, again.ThreadId());
        EXPECT_EQ(DriveTable[0].Temperature, 52);
        EXPECT_FALSE(ServiceSilent());
        Poll(*monitor, {&again});
        EXPECT_EQ(again.requests, 2);
        monitor.reset();
        again.End();
        if (c.going == Hangs) old.End();
        ClearState();
    }
}

// --- polling: a service that no longer answers ------------------------------------------------

TEST_F(Link, ASilentServiceIsMarkedAfterThreePollsUntilTheNextReply) {
    // Any reply clears the mark, also one that leaves nothing to show (the count -1: the table's).
    const std::pair<const char*, int> cases[] = {{"a reply with the table", -1}, {"a reply without drives", 0}};
    FakeService service;
    auto monitor = StartMonitor();
    const std::string driveLines = monitor->TrayIcon1->Hint();
    ASSERT_FALSE(driveLines.empty());
    for (const auto& [name, count] : cases) {
        SCOPED_TRACE(name);
        service.answer = false;
        // Each poll finds the one before it unanswered; the mark comes with the third of those.
        for (int poll = 1; poll <= SilentPolls + 1; ++poll) {
            EXPECT_FALSE(ServiceSilent()) << "before poll " << poll;
            EXPECT_EQ(monitor->TrayIcon1->Hint(), driveLines) << "before poll " << poll;
            Poll(*monitor, {&service});
        }
        EXPECT_TRUE(ServiceSilent());
        EXPECT_EQ(monitor->TrayIcon1->Hint(), std::string(ServiceSilentLine) + "\r\n" + driveLines);
        EXPECT_EQ(ServiceThreadId, service.ThreadId());  // its file still names it
        service.answer = true;
        service.count = count;
        Poll(*monitor, {&service});
        EXPECT_FALSE(ServiceSilent());
        EXPECT_EQ(monitor->TrayIcon1->Hint(), driveLines);
        service.count = -1;
    }
}

TEST(TrayHint, TheNoticeKeepsWholeDriveLinesWithinTheLimit) {
    const std::string notice = ServiceSilentLine;
    const std::string line = "WDC WD5000AAKS-00V1A0 is 41\xB0" "C";
    std::string eight = line;
    for (int i = 1; i < 8; ++i) eight += "\r\n" + line;
    EXPECT_EQ(TrayHintText("", true), notice);
    const std::string hint = TrayHintText(eight, true);
    EXPECT_EQ(hint, notice + "\r\n" + line + "\r\n" + line);  // the two whole lines that fit
    EXPECT_LE(hint.size(), HintLimit);
}
