// The monitor's tray side in-process, against a service on a thread: warnings and alarms raised
// by the service's replies, the drive-list balloon at start, Timer4 and the icon's visible spells,
// the popup menu and its commands, and a monitor that starts hidden.
#include "AppFixture.h"
#include "FakeService.h"
#include "Process.h"
#include "app/MainForm.h"
#include "app/ServiceLink.h"
#include "app/Settings.h"
#include "forms/Application.h"
#include "forms/Platform.h"
#include <cstring>
#include <memory>
#include <set>

using namespace thermowl;
using namespace testsupport;

namespace {

// What reached the shell and the speaker, in order.
struct Event {
    std::string kind;  // "add", "remove", "balloon", "unballoon", "beep", "sleep"
    std::string title, text;
    DWORD flags = 0, timeout = 0;  // balloon: dwInfoFlags and uTimeout; beep: frequency and duration
    bool operator==(const Event&) const = default;
};
std::ostream& operator<<(std::ostream& out, const Event& e) {
    return out << e.kind << "(" << e.title << "|" << e.text << "|" << e.flags << "|" << e.timeout << ")";
}
Event Balloon(const std::string& title, const std::string& text, DWORD flags = NIIF_WARNING) {
    return {"balloon", title, text, flags, 10000};
}
Event Beep() { return {"beep", "", "", 1000, 100}; }
Event Pause() { return {"sleep", "", "", 100, 0}; }
Event Added() { return {"add", "", ""}; }
Event Removed() { return {"remove", "", ""}; }
Event Unballoon() { return {"unballoon", "", ""}; }
std::string AlertText(const std::string& name, int t) {
    return name + "\r\ntemperature is " + std::to_string(t) + " \xB0" "C !";
}

struct TrayAlarm : AppFixture {
    forms::PlatformOverride restore;
    std::vector<Event> events;
    std::set<UINT> shown;  // icons in the fake notification area
    std::unique_ptr<FakeService> service;
    std::unique_ptr<TMainForm> monitor;

    void SetUp() override {
        AppFixture::SetUp();
        forms::Application->Title = "Thermowl";
        forms::Application->Initialize();
        forms::platform.MessageBoxA = [](HWND, LPCSTR, LPCSTR, UINT) { return IDOK; };
        forms::platform.ShellExecuteA = [](HWND, LPCSTR, LPCSTR, LPCSTR, LPCSTR, INT) {
            return reinterpret_cast<HINSTANCE>(42);
        };
        forms::platform.Beep = [this](DWORD f, DWORD d) {
            events.push_back({"beep", "", "", f, d});
            return TRUE;
        };
        forms::platform.Sleep = [this](DWORD ms) { events.push_back({"sleep", "", "", ms, 0}); };
        // Answers as the shell does: no icon twice, nothing for an icon it does not show.
        forms::platform.Shell_NotifyIconA = [this](DWORD m, PNOTIFYICONDATAA d) -> BOOL {
            bool ok = m == NIM_ADD ? shown.insert(d->uID).second
                      : m == NIM_DELETE ? shown.erase(d->uID) > 0 : shown.count(d->uID) > 0;
            if (m == NIM_ADD && ok) events.push_back(Added());
            if (m == NIM_DELETE && ok) events.push_back(Removed());
            if (m == NIM_MODIFY && (d->uFlags & NIF_INFO)) {
                // A balloon first clears the one before it: that is part of showing it.
                if (d->szInfo[0] && !events.empty() && events.back() == Unballoon()) events.pop_back();
                if (d->szInfo[0]) events.push_back({"balloon", d->szInfoTitle, d->szInfo, d->dwInfoFlags, d->uTimeout});
                else if (ok) events.push_back(Unballoon());
            }
            return ok;
        };
        Settings = TSettings{};
        ServiceThreadId = 0;
        DriveCount = 0;
        memset(DriveTable, 0, sizeof(DriveTable));
        ReplyReceived = PanelReady = false;
        SystemDir = ReadSystemDir();
        service = std::make_unique<FakeService>();
    }
    void TearDown() override {
        monitor.reset();
        forms::Application->MainForm = nullptr;
        forms::Application->Restore();
        ShowWindow(forms::Application->Handle(), SW_HIDE);
        PumpMessages();
        service.reset();
        AppFixture::TearDown();
    }

    // Starts the monitor as the program does: made, then (with `show`) shown by the message loop.
    // Showing and hiding a window costs Wine seconds without a window manager: only the tests
    // about the window's visibility show it.
    void Start(std::map<std::string, int32_t> settings = {}, bool show = false) {
        StoreSettings(settings);
        monitor = std::make_unique<TMainForm>(nullptr);
        ASSERT_TRUE(PanelReady);
        forms::Application->MainForm = monitor.get();
        if (!show) return;
        monitor->Show();
        PumpMessages();
    }
    // One poll: the service answers with these drives and the monitor shows the reply.
    void Reply(std::vector<FakeService::Drive> drives) {
        service->drives = std::move(drives);
        int before = service->replies;
        monitor->Timer1Timer(nullptr);
        ASSERT_TRUE(WaitUntil([&] { return service->replies > before; }));
        PumpMessages();  // the reply was posted before it was counted
    }
    std::vector<Event> Since(size_t mark) const { return {events.begin() + mark, events.end()}; }
    std::vector<Event> Balloons() const {
        std::vector<Event> b;
        for (auto& e : events) if (e.kind == "balloon") b.push_back(e);
        return b;
    }
    // The shell's report about the icon's balloon, as the notification area sends it.
    void ShellReports(LPARAM notification) {
        SendMessageA(tray::TTrayIcon::HandlerWindow(), tray::TrayCallbackMessage, monitor->TrayIcon1->IconId(),
                     notification);
    }
    // Timer4's count ends now.
    void Timer4Ends() { SendMessageA(monitor->Timer4->WindowHandle(), WM_TIMER, 1, 0); }
    // Whether Timer4's system timer is set. Kills it: a probe, after which Timer4Ends stands in.
    bool Timer4Counting() { return KillTimer(monitor->Timer4->WindowHandle(), 1) != FALSE; }
    bool AppWindowShown() { return IsWindowVisible(forms::Application->Handle()) != FALSE; }
};

// Warnings at 50, alarms at 60, two drives as the service reports them.
const std::map<std::string, int32_t> Thresholds = {{"WarnTemp", 50}, {"AlarmTemp", 60}};

}  // namespace

// --- the alarm check ------------------------------------------------------------------------------

TEST_F(TrayAlarm, WithAlarmsOffNothingIsAnnouncedWhateverTheTemperature) {
    auto s = Thresholds;
    s["Alarm"] = 0;
    Start(s);
    size_t mark = events.size();
    Reply({{"Hot", 200}, {"Hotter", 255}});
    EXPECT_EQ(Since(mark), std::vector<Event>{});
}

TEST_F(TrayAlarm, EachThresholdIsReachedAtItsOwnValue) {
    struct Case {
        int warn, alarm, t;
        std::vector<Event> expected;
    };
    const std::string d = "WDC WD5000AAKS-00V1A0";
    const Case cases[] = {
        {50, 60, 49, {}},
        {50, 60, 50, {Balloon("WARNING!", AlertText(d, 50))}},
        {50, 60, 59, {Balloon("WARNING!", AlertText(d, 59))}},
        {50, 60, 60, {Balloon("WARNING!", AlertText(d, 60)), Balloon("ALARM!", AlertText(d, 60)), Beep(), Pause(),
                      Beep(), Pause(), Beep()}},
        // The thresholds are independent: an alarm below the warning threshold comes alone.
        {70, 60, 65, {Balloon("ALARM!", AlertText(d, 65)), Beep(), Pause(), Beep(), Pause(), Beep()}},
    };
    for (const Case& c : cases) {
        Start({{"WarnTemp", c.warn}, {"AlarmTemp", c.alarm}});
        size_t mark = events.size();
        Reply({{d, static_cast<uint8_t>(c.t)}, {"Cool", 30}});
        EXPECT_EQ(Since(mark), c.expected) << "warn " << c.warn << ", alarm " << c.alarm << ", t " << c.t;
        monitor.reset();
    }
}

TEST_F(TrayAlarm, HotDrivesAreAnnouncedInDriveOrderAtEveryUpdate) {
    auto s = Thresholds;
    s["Devices"] = 3;
    service->drives = {{"A", 40}, {"B", 40}, {"C", 40}};
    Start(s);
    size_t mark = events.size();
    Reply({{"A", 55}, {"B", 40}, {"C", 61}});
    std::vector<Event> once = {Balloon("WARNING!", AlertText("A", 55)), Balloon("WARNING!", AlertText("C", 61)),
                               Balloon("ALARM!", AlertText("C", 61)), Beep(), Pause(), Beep(), Pause(), Beep()};
    EXPECT_EQ(Since(mark), once);
    // No memory of earlier alerts: the next reply announces them again.
    mark = events.size();
    Reply({{"A", 55}, {"B", 40}, {"C", 61}});
    EXPECT_EQ(Since(mark), once);
}

TEST_F(TrayAlarm, AHotDriveAtStartIsAnnouncedWithTheFirstResult) {
    service->drives = {{"A", 40}, {"B", 52}};
    Start(Thresholds);
    EXPECT_EQ(Balloons(), std::vector<Event>{Balloon("WARNING!", AlertText("B", 52))});
}

// --- the icon's visible spells and Timer4 ---------------------------------------------------------

TEST_F(TrayAlarm, WithoutTheTrayIconAWarningShowsItUntilTimer4Ends) {
    auto s = Thresholds;
    s["Tray"] = 0;
    Start(s);
    ASSERT_FALSE(monitor->TrayIcon1->IconVisible());
    size_t mark = events.size();
    Reply({{"A", 51}, {"B", 30}});
    EXPECT_EQ(Since(mark), (std::vector<Event>{Added(), Balloon("WARNING!", AlertText("A", 51))}));
    EXPECT_TRUE(monitor->Timer4->Enabled());

    mark = events.size();
    Timer4Ends();
    EXPECT_EQ(Since(mark), (std::vector<Event>{Unballoon(), Removed()}));
    EXPECT_FALSE(monitor->TrayIcon1->IconVisible());
    EXPECT_FALSE(monitor->Timer4->Enabled());
    EXPECT_FALSE(Settings.Tray);  // a spell, not a change of the setting
}

TEST_F(TrayAlarm, AClickOrTimeoutOfTheBalloonHidesAnIconThatIsOnlyThereForIt) {
    for (LPARAM report : {NIN_BALLOONUSERCLICK, NIN_BALLOONTIMEOUT}) {
        for (int tray : {0, 1}) {
            auto s = Thresholds;
            s["Tray"] = tray;
            Start(s);
            Reply({{"A", 51}, {"B", 30}});
            ASSERT_TRUE(monitor->TrayIcon1->IconVisible());
            ShellReports(report);
            EXPECT_EQ(monitor->TrayIcon1->IconVisible(), tray == 1) << "report " << report << ", Tray " << tray;
            ShellReports(NIN_BALLOONHIDE);  // nothing to do on hide
            EXPECT_EQ(monitor->TrayIcon1->IconVisible(), tray == 1);
            monitor.reset();
        }
    }
}

TEST_F(TrayAlarm, ABalloonRaisedWhileTimer4CountsEndsWithThatCount) {
    auto s = Thresholds;
    s["Tray"] = 0;
    Start(s);
    Reply({{"A", 51}, {"B", 30}});
    ASSERT_TRUE(Timer4Counting());
    // The next update's balloon does not start the count again.
    Reply({{"A", 52}, {"B", 30}});
    EXPECT_FALSE(Timer4Counting());
    EXPECT_TRUE(monitor->Timer4->Enabled());
    EXPECT_EQ(Balloons().back(), Balloon("WARNING!", AlertText("A", 52)));
    size_t mark = events.size();
    Timer4Ends();
    EXPECT_EQ(Since(mark), (std::vector<Event>{Unballoon(), Removed()}));
}

// --- the drive list at start ----------------------------------------------------------------------

TEST_F(TrayAlarm, ANewDriveCountIsListedOnceAndRemembered) {
    service->drives = {{"A", 30}, {"B", 31}};
    Start({{"Devices", 0}});
    EXPECT_EQ(Balloons(), std::vector<Event>{Balloon("Thermowl", "Found 2 Devices:\r\nA\r\nB", NIIF_INFO)});
    EXPECT_TRUE(monitor->Timer4->Enabled());
    Timer4Ends();
    EXPECT_TRUE(monitor->TrayIcon1->IconVisible());  // the icon was there all along
    forms::TCloseAction action = forms::caFree;
    monitor->FormClose(nullptr, action);
    DWORD devices = 0;
    ASSERT_TRUE(StoredValue("Devices", devices));
    EXPECT_EQ(devices, 2u);
    monitor.reset();

    events.clear();
    monitor = std::make_unique<TMainForm>(nullptr);
    EXPECT_EQ(Balloons(), std::vector<Event>{});
    EXPECT_FALSE(monitor->Timer4->Enabled());
}

// --- the menu and its commands --------------------------------------------------------------------

TEST_F(TrayAlarm, OneMenuWithItsImagesServesTheIconAndTheWindow) {
    Start();
    forms::TPopupMenu* menu = monitor->PopupMenu1;
    EXPECT_EQ(monitor->TrayIcon1->PopupMenu(), menu);
    EXPECT_EQ(monitor->PopupMenu(), menu);
    ASSERT_EQ(menu->Images(), monitor->ImageList1);
    struct Item {
        std::string caption;
        int image;
    };
    std::vector<Item> expected = {{"Options...", 2}, {"-", -1}, {"Show monitor", 4}, {"Hide monitor", 5}, {"-", -1},
                                  {"About...", 0},   {"-", -1}, {"Exit", 1}};
    ASSERT_EQ(menu->Items().Count(), static_cast<int>(expected.size()));
    for (size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(menu->Items().Items()[i]->Caption, expected[i].caption) << i;
        EXPECT_EQ(menu->Items().Items()[i]->ImageIndex, expected[i].image) << i;
    }
    // Nine drawn images, no two alike, each with see-through and drawn pixels.
    ASSERT_EQ(monitor->ImageList1->Count(), 9);
    std::set<std::vector<uint32_t>> distinct;
    for (int i = 0; i < 9; ++i) {
        forms::TBitmap on_white, on_black;
        monitor->ImageList1->GetBitmap(i, on_white, RGB(255, 255, 255));
        monitor->ImageList1->GetBitmap(i, on_black, RGB(0, 0, 0));
        std::vector<uint32_t> px(on_white.Bits(), on_white.Bits() + 256);
        int clear = 0;
        for (int p = 0; p < 256; ++p) clear += (on_white.Bits()[p] & 0xFFFFFF) != (on_black.Bits()[p] & 0xFFFFFF);
        EXPECT_GT(clear, 10) << "image " << i;
        EXPECT_LT(clear, 246) << "image " << i;
        distinct.insert(px);
    }
    EXPECT_EQ(distinct.size(), 9u);
}

TEST_F(TrayAlarm, OptionsAndAboutOpenTheirPagesOfTheOptionsDialog) {
    Start();
    monitor->option->Click();  // nothing to open yet: nothing happens
    std::vector<int> pages;
    monitor->OnShowOptions = [&](int page) { pages.push_back(page); };
    monitor->option->Click();
    monitor->About1->Click();
    EXPECT_EQ(pages, (std::vector<int>{1, 2}));
}

TEST_F(TrayAlarm, HideMonitorWithoutTheTrayIconTurnsTheIconOnForGood) {
    auto s = Thresholds;
    s["Tray"] = 0;
    Start(s, true);
    ASSERT_TRUE(IsWindowVisible(monitor->Handle()));
    monitor->hidemon->Click();
    EXPECT_FALSE(IsWindowVisible(monitor->Handle()));
    EXPECT_FALSE(AppWindowShown());
    EXPECT_FALSE(Settings.Show);
    EXPECT_TRUE(Settings.Tray);
    EXPECT_TRUE(monitor->TrayIcon1->IconVisible());
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
    Start({{"Show", 0}, {"Tray", 1}, {"RefreshTime", 1}}, true);
    EXPECT_FALSE(IsWindowVisible(monitor->Handle()));
    EXPECT_FALSE(AppWindowShown());  // no taskbar button
    EXPECT_TRUE(monitor->TrayIcon1->IconVisible());
    EXPECT_TRUE(monitor->Timer1->Enabled());
    int before = service->requests;
    ASSERT_TRUE(WaitUntil([&] { return service->requests > before + 1; }));  // Timer1 keeps asking

    ShellReports(WM_LBUTTONDBLCLK);
    PumpMessages();
    EXPECT_TRUE(IsWindowVisible(monitor->Handle()));
    EXPECT_FALSE(IsIconic(monitor->Handle()));
    EXPECT_FALSE(AppWindowShown());
    forms::TCloseAction action = forms::caFree;
    monitor->FormClose(nullptr, action);
    DWORD show = 0;
    ASSERT_TRUE(StoredValue("Show", show));
    EXPECT_EQ(show, 1u);
}

TEST_F(TrayAlarm, ExitClosesTheMonitorAndStoresTheSettings) {
    Start({{"Devices", 0}});
    monitor->Exit2->Click();
    EXPECT_TRUE(forms::Application->Terminated());
    DWORD devices = 9;
    ASSERT_TRUE(StoredValue("Devices", devices));
    EXPECT_EQ(devices, 2u);
}
