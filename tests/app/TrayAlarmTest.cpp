// The monitor's tray side in-process, against a service on a thread: warnings and alarms raised
// by the service's replies, the drive-list balloon at start, Timer4 and the icon's visible spells,
// the popup menu and its commands, and a monitor that starts hidden.
#include "MonitorFixture.h"
#include <set>

using namespace thermowl;
using namespace testsupport;
using Events = std::vector<std::string>;

namespace {

std::string Balloon(const std::string& title, const std::string& text, DWORD flags = NIIF_WARNING,
                    UINT timeout = 10000) {
    return "balloon " + title + "|" + text + "|" + std::to_string(flags) + "|" + std::to_string(timeout);
}
std::string Alert(const char* title, const std::string& name, int t) {
    return Balloon(title, name + "\r\ntemperature is " + std::to_string(t) + " \xB0" "C !");
}
const std::string Beep = "beep 1000 100", Pause = "sleep 100";
Events Alarm(const std::string& name, int t) { return {Alert("ALARM!", name, t), Beep, Pause, Beep, Pause, Beep}; }
Events operator+(Events a, const Events& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

struct TrayAlarm : MonitorTest {
    Events events;         // what reached the shell and the speaker, in order
    std::set<UINT> shown;  // icons in the fake notification area

    void SetUp() override {
        MonitorTest::SetUp();
        forms::platform.Beep = [this](DWORD f, DWORD d) {
            events.push_back("beep " + std::to_string(f) + " " + std::to_string(d));
            return TRUE;
        };
        forms::platform.Sleep = [this](DWORD ms) { events.push_back("sleep " + std::to_string(ms)); };
        // Answers as the shell does: no icon twice, nothing for an icon it does not show.
        forms::platform.Shell_NotifyIconA = [this](DWORD m, PNOTIFYICONDATAA d) -> BOOL {
            bool ok = m == NIM_ADD ? shown.insert(d->uID).second
                      : m == NIM_DELETE ? shown.erase(d->uID) > 0 : shown.count(d->uID) > 0;
            if (ok && (m == NIM_ADD || m == NIM_DELETE)) events.push_back(m == NIM_ADD ? "add" : "remove");
            if (m == NIM_MODIFY && (d->uFlags & NIF_INFO)) {
                // A balloon first clears the one before it: that is part of showing it.
                if (d->szInfo[0] && !events.empty() && events.back() == "unballoon") events.pop_back();
                if (d->szInfo[0]) events.push_back(Balloon(d->szInfoTitle, d->szInfo, d->dwInfoFlags, d->uTimeout));
                else if (ok) events.push_back("unballoon");
            }
            return ok;
        };
    }
    void TearDown() override {
        forms::Application->MainForm = nullptr;
        monitor.reset();
        forms::Application->Restore();
        ShowWindow(forms::Application->Handle(), SW_HIDE);
        PumpMessages();
        MonitorTest::TearDown();
    }
    // Shows the started monitor as the message loop does. Showing and hiding costs Wine seconds
    // without a window manager: only the tests about the window's visibility show it.
    void ShowMonitor() {
        monitor->Show();
        PumpMessages();
    }
    Events Since(size_t mark) const { return {events.begin() + mark, events.end()}; }
    Events Balloons() const {
        Events b;
        for (auto& e : events) if (e.rfind("balloon", 0) == 0) b.push_back(e);
        return b;
    }
    // The shell's report about the icon's balloon, as the notification area sends it.
    void ShellReports(LPARAM notification) {
        SendMessageA(tray::TTrayIcon::HandlerWindow(), tray::TrayCallbackMessage, monitor->TrayIcon1->IconId(),
                     notification);
    }
    void Timer4Ends() { SendMessageA(monitor->Timer4->WindowHandle(), WM_TIMER, 1, 0); }
    // Whether Timer4's system timer is set. Kills it: a probe, after which Timer4Ends stands in.
    bool Timer4Counting() { return KillTimer(monitor->Timer4->WindowHandle(), 1) != FALSE; }
    bool AppWindowShown() { return IsWindowVisible(forms::Application->Handle()) != FALSE; }
};

// Warnings at 50, alarms at 60.
const std::map<std::string, int32_t> Thresholds = {{"WarnTemp", 50}, {"AlarmTemp", 60}};
std::map<std::string, int32_t> With(std::map<std::string, int32_t> s, const char* name, int32_t value) {
    s[name] = value;
    return s;
}

}  // namespace

TEST_F(TrayAlarm, EachThresholdIsReachedAtItsOwnValue) {
    const std::string d = "WDC WD5000AAKS-00V1A0";
    const struct {
        int alarm, warn, alarmAt, t;
        Events expected;
    } cases[] = {
        {1, 50, 60, 49, {}},
        {1, 50, 60, 50, {Alert("WARNING!", d, 50)}},
        {1, 50, 60, 59, {Alert("WARNING!", d, 59)}},
        {1, 50, 60, 60, Events{Alert("WARNING!", d, 60)} + Alarm(d, 60)},
        // The thresholds are independent: an alarm below the warning threshold comes alone.
        {1, 70, 60, 65, Alarm(d, 65)},
        {0, 50, 60, 255, {}},  // alarms off
    };
    for (const auto& c : cases) {
        Start({{"Alarm", c.alarm}, {"WarnTemp", c.warn}, {"AlarmTemp", c.alarmAt}});
        size_t mark = events.size();
        Reply({{d, static_cast<uint8_t>(c.t)}, {"Cool", 30}});
        EXPECT_EQ(Since(mark), c.expected) << "warn " << c.warn << ", alarm " << c.alarmAt << ", t " << c.t;
        monitor.reset();
    }
}

TEST_F(TrayAlarm, HotDrivesAreAnnouncedInDriveOrderFromTheFirstResultOn) {
    service->drives = {{"A", 55}, {"B", 40}, {"C", 61}};
    Start(With(Thresholds, "Devices", 3));
    const Events once = Events{Alert("WARNING!", "A", 55), Alert("WARNING!", "C", 61)} + Alarm("C", 61);
    EXPECT_EQ(Balloons(), (Events{once[0], once[1], once[2]}));
    // No memory of earlier alerts: the next reply announces them again.
    size_t mark = events.size();
    Reply(service->drives);
    EXPECT_EQ(Since(mark), once);
}

TEST_F(TrayAlarm, WithoutTheTrayIconAWarningShowsItUntilItsBalloonEnds) {
    // Ended by Timer4's first count (a later balloon does not start it again), or by the shell's
    // report of a click or time-out.
    const std::pair<const char*, std::function<void()>> ends[] = {
        {"Timer4", [this] { Timer4Ends(); }},
        {"click", [this] { ShellReports(NIN_BALLOONUSERCLICK); }},
        {"time-out", [this] { ShellReports(NIN_BALLOONTIMEOUT); }},
    };
    for (auto& [how, end] : ends) {
        for (int tray : {0, 1}) {
            SCOPED_TRACE(testing::Message() << how << ", Tray " << tray);
            Start(With(Thresholds, "Tray", tray));
            Reply({{"A", 51}, {"B", 30}});
            ASSERT_TRUE(monitor->TrayIcon1->IconVisible() && Timer4Counting());
            Reply({{"A", 52}, {"B", 30}});
            EXPECT_FALSE(Timer4Counting());
            end();
            EXPECT_EQ(monitor->TrayIcon1->IconVisible(), tray == 1);
            EXPECT_EQ(Settings.Tray, tray == 1);  // a spell, not a change of the setting
            monitor.reset();
        }
    }
}

TEST_F(TrayAlarm, ANewDriveCountIsListedOnceAndRemembered) {
    service->drives = {{"A", 30}, {"B", 31}};
    Start({{"Devices", 0}});
    EXPECT_EQ(Balloons(), Events{Balloon("Thermowl", "Found 2 Devices:\r\nA\r\nB", NIIF_INFO)});
    EXPECT_TRUE(monitor->Timer4->Enabled());
    Timer4Ends();
    EXPECT_TRUE(monitor->TrayIcon1->IconVisible());  // the icon was there all along
    monitor->Exit2->Click();  // stores the settings as it closes the monitor
    EXPECT_EQ(Stored("Devices"), 2u);
    monitor.reset();

    events.clear();
    monitor = std::make_unique<TMainForm>(nullptr);
    EXPECT_EQ(Balloons(), Events{});
    EXPECT_FALSE(monitor->Timer4->Enabled());
}

TEST_F(TrayAlarm, OneMenuWithItsImagesServesTheIconAndTheWindow) {
    Start();
    forms::TPopupMenu* menu = monitor->PopupMenu1;
    EXPECT_EQ(monitor->TrayIcon1->PopupMenu(), menu);
    EXPECT_EQ(monitor->PopupMenu(), menu);
    ASSERT_EQ(menu->Images(), monitor->ImageList1);
    std::vector<std::pair<std::string, int>> items;
    for (forms::TMenuItem* item : menu->Items().Items()) items.push_back({item->Caption, item->ImageIndex});
    EXPECT_EQ(items, (std::vector<std::pair<std::string, int>>{{"Options...", 2}, {"-", -1}, {"Show monitor", 4},
              {"Hide monitor", 5}, {"-", -1}, {"About...", 0}, {"-", -1}, {"Exit", 1}}));
    // Nine drawn images, no two alike, each with see-through and drawn pixels.
    ASSERT_EQ(monitor->ImageList1->Count(), 9);
    std::set<std::vector<uint32_t>> distinct;
    for (int i = 0; i < 9; ++i) {
        forms::TBitmap on_white, on_black;
        monitor->ImageList1->GetBitmap(i, on_white, RGB(255, 255, 255));
        monitor->ImageList1->GetBitmap(i, on_black, RGB(0, 0, 0));
        int clear = 0;
        for (int p = 0; p < 256; ++p) clear += (on_white.Bits()[p] & 0xFFFFFF) != (on_black.Bits()[p] & 0xFFFFFF);
        EXPECT_TRUE(clear > 10 && clear < 246) << "image " << i << ": " << clear << " see-through pixels";
        distinct.insert(std::vector<uint32_t>(on_white.Bits(), on_white.Bits() + 256));
    }
    EXPECT_EQ(distinct.size(), 9u);
}

TEST_F(TrayAlarm, OptionsAndAboutOpenTheirPagesOfTheOptionsDialog) {
    Start();
    std::vector<int> pages;
    monitor->OnShowOptions = [&](int page) { pages.push_back(page); };
    monitor->option->Click();
    monitor->About1->Click();
    EXPECT_EQ(pages, (std::vector<int>{1, 2}));
}

TEST_F(TrayAlarm, HideMonitorWithoutTheTrayIconTurnsTheIconOnForGood) {
    Start(With(Thresholds, "Tray", 0));
    ShowMonitor();
    ASSERT_TRUE(IsWindowVisible(monitor->Handle()));
    monitor->hidemon->Click();
    EXPECT_FALSE(IsWindowVisible(monitor->Handle()));
    EXPECT_FALSE(AppWindowShown());
    EXPECT_FALSE(Settings.Show);
    EXPECT_TRUE(Settings.Tray);
    // A later balloon's end leaves the icon alone now.
    Reply({{"A", 51}, {"B", 30}});
    Timer4Ends();
    EXPECT_TRUE(monitor->TrayIcon1->IconVisible());
    monitor->showmon->Click();
    PumpMessages();  // its paints must not send it back
    EXPECT_TRUE(IsWindowVisible(monitor->Handle()));
    EXPECT_FALSE(AppWindowShown());
    EXPECT_TRUE(Settings.Show);
}

TEST_F(TrayAlarm, AMonitorStartedHiddenPollsAndComesBackOnADoubleClick) {
    Start({{"Show", 0}, {"Tray", 1}, {"RefreshTime", 1}});
    ShowMonitor();
    EXPECT_FALSE(IsWindowVisible(monitor->Handle()));
    EXPECT_FALSE(AppWindowShown());  // no taskbar button
    EXPECT_TRUE(monitor->TrayIcon1->IconVisible());
    int before = service->requests;
    ASSERT_TRUE(WaitUntil([&] { return service->requests > before + 1; }));  // Timer1 keeps asking
    ShellReports(WM_LBUTTONDBLCLK);
    PumpMessages();
    EXPECT_TRUE(IsWindowVisible(monitor->Handle()));
    EXPECT_FALSE(IsIconic(monitor->Handle()));
    EXPECT_FALSE(AppWindowShown());
    forms::TCloseAction action = forms::caFree;
    monitor->FormClose(nullptr, action);
    EXPECT_EQ(Stored("Show"), 1u);
}

TEST_F(TrayAlarm, ExitDuringTheStartUpHandshakeShowsNothing) {
    service->answer = false;
    // Told to end while waiting for the first answer, as Exit in the icon's menu does.
    service->afterRequest = [](HWND m) { PostThreadMessageA(GetWindowThreadProcessId(m, nullptr), WM_QUIT, 0, 0); };
    StoreSettings();
    monitor = std::make_unique<TMainForm>(nullptr);
    forms::Application->MainForm = monitor.get();
    forms::Application->Run();
    EXPECT_FALSE(IsWindowVisible(monitor->Handle()));
    forms::Application->ShowMainForm = true;
}

// The product icon has a picture drawn for each size the tray and the windows ask for up to 150 %.
TEST(ProductIcon, EverySizeUpTo150PercentHasItsOwnPicture) {
    HRSRC group = FindResourceA(nullptr, "MAINICON", RT_GROUP_ICON);
    ASSERT_NE(group, nullptr);
    auto* directory = static_cast<BYTE*>(LockResource(LoadResource(nullptr, group)));
    for (int size : {16, 24, 32, 48}) {
        const int id = LookupIconIdFromDirectoryEx(directory, TRUE, size, size, LR_DEFAULTCOLOR);
        HRSRC picture = FindResourceA(nullptr, MAKEINTRESOURCEA(id), RT_ICON);
        ASSERT_NE(picture, nullptr) << size;
        EXPECT_EQ(static_cast<const BITMAPINFOHEADER*>(LockResource(LoadResource(nullptr, picture)))->biWidth, size);
    }
}
