// The flags of a drive record on the monitor (asleep, stale, simulated), and the link keeping
// the right service: a stale id at start, a dead one while polling.
#include "LinkFixture.h"
#include "MonitorFixture.h"
#include "app/DriveFlags.h"
#include "label/OutlinedLabel.h"
#include <gtest/gtest.h>

using namespace thermowl;

namespace {
DriveRecord Record(const char* name, uint8_t flags) {
    DriveRecord r{};
    r.NameLength = static_cast<uint8_t>(strlen(name));
    memcpy(r.Name, name, r.NameLength);
    r.Flags = flags;
    return r;
}
}  // namespace

TEST(DriveFlags, HintLineAndDimmedColour) {
    const struct {
        uint8_t flags;
        const char* line;
        bool old;
    } cases[] = {
        {0, "A is 40\xB0" "C", false},
        {DriveFlagAsleep, "A is 40\xB0" "C (asleep)", true},
        {DriveFlagStale, "A is 40\xB0" "C (stale)", true},
        {DriveFlagSimulated, "A is 40\xB0" "C (simulated)", false},
        {DriveFlagAsleep | DriveFlagSimulated | DriveFlagStale, "A is 40\xB0" "C (asleep) (simulated)", true},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(DriveHintLine(Record("A", c.flags), "40\xB0" "C"), c.line) << int(c.flags);
        EXPECT_EQ(OldReading(Record("A", c.flags)), c.old) << int(c.flags);
    }
    // Eight drives of the longest model name a real source gives, asleep: the line stays short
    // enough that the tray's 127 characters still hold two of them.
    EXPECT_LE(DriveHintLine(Record("ST3500418AS (sda)", DriveFlagAsleep), "255\xB0" "C").size() * 2 + 2, 127u);
    EXPECT_EQ(DimmedColor(forms::clWhite, forms::clBlack), 0x7F7F7Fu);
    EXPECT_EQ(DimmedColor(0x0000FF, 0x00FF00), 0x007F7Fu);
    EXPECT_NE(DimmedColor(0x010001, 0xFF00FF), forms::clPurple);  // would blend into the colour key
}

struct Flags : MonitorTest {};

TEST_F(Flags, AnOldReadingIsDimmedMarkedAndRaisesNoAlarm) {
    int beeps = 0;
    forms::platform.Beep = [&](DWORD, DWORD) { return ++beeps, TRUE; };
    Start({{"Alarm", 1}, {"WarnTemp", 30}, {"AlarmTemp", 35}});
    const forms::TColor text = Settings.TextColor;
    EXPECT_EQ(monitor->TempLabels[0]->Colors().Text(), text);
    const int beepsWhenNew = beeps;
    EXPECT_GT(beepsWhenNew, 0);

    DriveTable[0].Flags = DriveFlagAsleep;
    DriveTable[1].Flags = DriveFlagSimulated;
    monitor->ShowInfo();
    EXPECT_EQ(monitor->TempLabels[0]->Colors().Text(), DimmedColor(text, Settings.DelColor));
    EXPECT_EQ(monitor->TempLabels[1]->Colors().Text(), text);
    EXPECT_EQ(monitor->TrayIcon1->Hint(),
              "WDC WD5000AAKS-00V1A0 is 41\xB0" "C (asleep)\r\nST3500418AS is 37\xB0" "C (simulated)");
    EXPECT_EQ(beeps, beepsWhenNew * 3 / 2);  // only the simulated drive, awake, alarmed again

    DriveTable[0].Flags = 0;  // awake again: as before
    monitor->ShowInfo();
    EXPECT_EQ(monitor->TempLabels[0]->Colors().Text(), text);
}

struct Keeps : Link {};

TEST_F(Keeps, AStaleIdNamingALiveThreadGivesWayToTheServiceThatArrives) {
    FakeService service(false);
    // Some other program's thread with a queue: the stale id names it. It takes the hand-shake
    // and answers nothing; only then does the real service publish its id.
    std::atomic<DWORD> other{0};
    std::thread stranger([&] {
        MSG msg;
        PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE);
        other = GetCurrentThreadId();
        while (GetMessageA(&msg, nullptr, 0, 0) > 0)
            if (msg.message == ReqInfoMsg) service.Publish();
    });
    ASSERT_TRUE(testsupport::WaitUntil([&] { return other != 0; }));
    testsupport::WriteFileBytes(testsupport::SystemFilePath("hsid.dat"), IdBytes(other));
    StoreSettings();
    auto monitor = StartMonitor();
    PostThreadMessageA(other, WM_QUIT, 0, 0);
    stranger.join();
    EXPECT_TRUE(boxes.empty());
    EXPECT_EQ(ServiceThreadId, service.ThreadId());
    EXPECT_EQ(DriveCount, 2);
}

TEST_F(Keeps, WhilePollingADeadIdInTheFileIsNotTaken) {
    FakeService service;
    ServiceThreadId = service.ThreadId();
    testsupport::WriteFileBytes(testsupport::SystemFilePath("hsid.dat"), IdBytes(EndedThreadId()));
    Polls.missedPolls = SilentPolls;  // silent: the file is read again
    HWND window = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, nullptr, nullptr);
    PollService(window);
    ASSERT_EQ(ServiceThreadId, service.ThreadId());
    ASSERT_TRUE(testsupport::WaitUntil([&] { return service.requests > 0; }));
    DestroyWindow(window);
}
