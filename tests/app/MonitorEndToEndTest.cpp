// Thermowl and the temperature service as processes, checked as a user would see them: the
// message box, the monitor window, the polling, and the settings after closing.
#include "AppFixture.h"
#include "Process.h"
#include "forms/Bitmap.h"
#include "forms/Registry.h"
#include <algorithm>
#include <cstring>
#include <sstream>
#include <vector>

using namespace testsupport;

namespace {
struct Found {
    DWORD pid;
    std::string cls, title;
    HWND wnd;
};

std::string ClassOf(HWND w) {
    char buf[256] = {};
    GetClassNameA(w, buf, sizeof(buf));
    return buf;
}
std::string TextOf(HWND w) {
    char buf[512] = {};
    GetWindowTextA(w, buf, sizeof(buf));
    return buf;
}

// A top-level window of the process with that class (and title, when given); null if none.
HWND FindProcessWindow(DWORD pid, const std::string& cls, const std::string& title = "") {
    Found f{pid, cls, title, nullptr};
    EnumWindows([](HWND w, LPARAM lp) -> BOOL {
        auto* f = reinterpret_cast<Found*>(lp);
        DWORD owner = 0;
        GetWindowThreadProcessId(w, &owner);
        if (owner == f->pid && ClassOf(w) == f->cls && (f->title.empty() || TextOf(w) == f->title)) {
            f->wnd = w;
            return FALSE;
        }
        return TRUE;
    }, reinterpret_cast<LPARAM>(&f));
    return f.wnd;
}

// The message text of a message box: its longest static text.
std::string MessageBoxText(HWND box) {
    std::string text;
    EnumChildWindows(box, [](HWND w, LPARAM lp) -> BOOL {
        auto* text = reinterpret_cast<std::string*>(lp);
        std::string t = TextOf(w);
        if (ClassOf(w) == "Static" && t.size() > text->size()) *text = t;
        return TRUE;
    }, reinterpret_cast<LPARAM>(&text));
    return text;
}

// A shown balloon of the notification area (a tooltip of the shell's process) holding `text`.
// Its text is asked from the tooltip itself, which keeps it apart from the window's own.
HWND FindBalloon(const std::string& text) {
    struct Search {
        std::string text;
        HWND found;
    } search{text, nullptr};
    EnumWindows([](HWND w, LPARAM lp) -> BOOL {
        auto* s = reinterpret_cast<Search*>(lp);
        if (ClassOf(w) != "tooltips_class32" || !IsWindowVisible(w)) return TRUE;
        char buf[512] = {};
        DWORD_PTR copied = 0;
        SendMessageTimeoutA(w, WM_GETTEXT, sizeof(buf), reinterpret_cast<LPARAM>(buf), SMTO_ABORTIFHUNG, 2000, &copied);
        if (std::string(buf).find(s->text) == std::string::npos) return TRUE;
        s->found = w;
        return FALSE;
    }, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// The request log of the service: per request, its GetTickCount value and the window named.
struct Request {
    DWORD tick;
    HWND window;
};
std::vector<Request> Requests(const std::string& log) {
    std::vector<Request> requests;
    std::istringstream in(ReadFileText(log).value_or(""));
    std::string counter, tick, window;
    while (in >> counter >> tick >> window)
        requests.push_back({static_cast<DWORD>(std::stoul(tick)),
                            reinterpret_cast<HWND>(static_cast<uintptr_t>(std::stoull(window, nullptr, 16)))});
    return requests;
}

struct EndToEnd : AppFixture {
    std::string log = TempFilePath("req");
    std::optional<Process> service, monitor;

    void TearDown() override {
        monitor.reset();
        if (service) {
            service->Terminate();
            service.reset();
        }
        RemoveFile(log);
        AppFixture::TearDown();
    }
    void StartService(std::vector<std::string> args = {}) {
        // Simulated drives: this machine's own would make the answers unknown.
        args.insert(args.begin(), {WindowsPath(SERVICE_EXE), "--log", log, "--source", "simulated"});
        service.emplace(Process::Start(CommandLine(args)));
        ASSERT_TRUE(WaitForFile(SystemFilePath("hsid.dat")));
    }
    void StartMonitor() { monitor.emplace(Process::Start(CommandLine({WindowsPath(THERMOWL_EXE)}))); }
    HWND WaitForWindow(const std::string& cls, const std::string& title = "", bool visible = false) {
        HWND w = nullptr;
        WaitUntil([&] {
            w = FindProcessWindow(monitor->Id(), cls, title);
            return w && (!visible || IsWindowVisible(w));
        }, 60000);
        return w;
    }
    HWND WaitForMonitorRunning() {
        HWND w = WaitForWindow("TMainForm", "Thermowl", true);
        // Running means the first request was answered and polling is on.
        WaitUntil([&] { return Requests(log).size() >= 1; });
        return w;
    }
    // Moves the monitor as a drag would, and waits until the move is done.
    static void MoveAndWait(HWND w, int x, int y) {
        SetWindowPos(w, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        WaitUntil([&] {
            RECT r;
            GetWindowRect(w, &r);
            return r.left == x && r.top == y;
        });
    }
    void CloseAndWait(HWND w) {
        PostMessageA(w, WM_CLOSE, 0, 0);
        ASSERT_TRUE(monitor->WaitForExit(30000, true).has_value());
    }
};
}  // namespace

TEST_F(EndToEnd, WithoutTheServiceOneMessageAndTheProgramEnds) {
    StartMonitor();
    HWND box = WaitForWindow("#32770", "Thermowl");
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(MessageBoxText(box), "Service is not started!\r\nPlease reinstall application.");
    HWND main = FindProcessWindow(monitor->Id(), "TMainForm");
    EXPECT_TRUE(main == nullptr || !IsWindowVisible(main));
    SendMessageA(box, WM_COMMAND, IDOK, 0);
    auto code = monitor->WaitForExit(30000, true);
    ASSERT_TRUE(code.has_value());
    EXPECT_EQ(*code, 0u);
}

TEST_F(EndToEnd, AServiceThatNeverAnswersIsReportedAfterFiveSeconds) {
    StartService({"--never-answer"});
    StartMonitor();
    HWND box = WaitForWindow("#32770", "Thermowl");
    DWORD seen = GetTickCount();
    ASSERT_NE(box, nullptr);
    auto requests = Requests(log);
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_GE(seen - requests[0].tick, 4900u);  // the time-out cannot end before its 5 seconds
    EXPECT_EQ(MessageBoxText(box), "Service is not started!\r\nPlease reinstall application.");
    SendMessageA(box, WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(monitor->WaitForExit(30000, true).has_value());
    EXPECT_EQ(Requests(log).size(), 1u);
}

namespace {
// A plain window of one colour, behind the monitor, so that see-through pixels have a known
// colour.
class Backdrop {
public:
    Backdrop(COLORREF color, RECT r) : brush_(CreateSolidBrush(color)) {
        WNDCLASSA wc{};
        wc.lpfnWndProc = DefWindowProcA;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.hbrBackground = brush_;
        wc.lpszClassName = "ThermowlTestBackdrop";
        RegisterClassA(&wc);
        wnd_ = CreateWindowExA(0, wc.lpszClassName, "", WS_POPUP, r.left, r.top, r.right - r.left, r.bottom - r.top,
                               nullptr, nullptr, wc.hInstance, nullptr);
        ShowWindow(wnd_, SW_SHOWNA);
        UpdateWindow(wnd_);
    }
    ~Backdrop() {
        DestroyWindow(wnd_);
        UnregisterClassA("ThermowlTestBackdrop", GetModuleHandleA(nullptr));
        DeleteObject(brush_);
    }
    Backdrop(const Backdrop&) = delete;
    Backdrop& operator=(const Backdrop&) = delete;

private:
    HBRUSH brush_;
    HWND wnd_ = nullptr;
};

// The screen's pixels of a rectangle.
struct ScreenPixels {
    forms::TBitmap bitmap;
    explicit ScreenPixels(RECT r) : bitmap(r.right - r.left, r.bottom - r.top) {
        HDC screen = GetDC(nullptr);
        BitBlt(bitmap.Canvas().Handle(), 0, 0, bitmap.Width(), bitmap.Height(), screen, r.left, r.top, SRCCOPY);
        ReleaseDC(nullptr, screen);
        GdiFlush();
    }
    // How many pixels of the colour (a COLORREF) lie in the rectangle (window coordinates).
    int Count(COLORREF color, RECT area) const {
        uint32_t want = (GetRValue(color) << 16) | (GetGValue(color) << 8) | GetBValue(color);
        int n = 0;
        for (int y = std::max(0, int(area.top)); y < std::min(bitmap.Height(), int(area.bottom)); ++y)
            for (int x = std::max(0, int(area.left)); x < std::min(bitmap.Width(), int(area.right)); ++x)
                n += (bitmap.Bits()[y * bitmap.Width() + x] & 0xFFFFFF) == want;
        return n;
    }
};
}  // namespace

// One run through what a user sees and what the service sees: the window, its pixels, the polls
// at the refresh time, and a service started again under a new id.
TEST_F(EndToEnd, TheMonitorAsTheUserSeesItPollsAtTheRefreshTimeAndFollowsARestartedService) {
    const COLORREF face = RGB(255, 160, 0), outline = RGB(0, 64, 255), axis = RGB(64, 64, 64);
    const COLORREF behind = RGB(200, 220, 240);
    StoreSettings({{"Pos", 3}, {"PosX", 100}, {"PosY", 100}, {"Alpha", 255}, {"RefreshTime", 1},
                   {"ShowHddNames", 1}, {"ShowIcons", 0}, {"ShowChart", 1}, {"TextColor", int32_t(face)},
                   {"DelColor", int32_t(outline)}, {"AxisColor", int32_t(axis)}});
    Backdrop backdrop(behind, RECT{50, 50, 450, 450});
    StartService({"--drive", "Disk A=40", "--drive", "Disk B=42", "--drive", "Disk C=44"});
    StartMonitor();
    HWND w = WaitForMonitorRunning();
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(TextOf(w), "Thermowl");
    RECT r;
    GetWindowRect(w, &r);
    EXPECT_EQ(r.left, 100);
    EXPECT_EQ(r.top, 100);
    LONG_PTR style = GetWindowLongPtrA(w, GWL_STYLE), ex = GetWindowLongPtrA(w, GWL_EXSTYLE);
    EXPECT_FALSE(style & (WS_CAPTION | WS_THICKFRAME | WS_BORDER));
    EXPECT_TRUE(ex & WS_EX_LAYERED);
    EXPECT_FALSE(ex & WS_EX_TOPMOST);
    COLORREF key = 0;
    BYTE alpha = 0;
    DWORD flags = 0;
    ASSERT_TRUE(GetLayeredWindowAttributes(w, &key, &alpha, &flags));
    EXPECT_EQ(key, RGB(128, 0, 128));
    EXPECT_EQ(alpha, 255);
    EXPECT_EQ(flags, DWORD(LWA_COLORKEY | LWA_ALPHA));
    // No taskbar button: the window is owned by the hidden application window, which is hidden.
    HWND app = FindProcessWindow(monitor->Id(), "TApplication");
    ASSERT_NE(app, nullptr);
    EXPECT_FALSE(IsWindowVisible(app));
    EXPECT_EQ(GetWindow(w, GW_OWNER), app);
    EXPECT_FALSE(ex & WS_EX_APPWINDOW);

    // Three name lines of 16 pixels ("Disk A - 40", degree sign, "C"), the chart 16 pixels below.
    const RECT names{0, 0, r.right - r.left, 48}, chart{0, 64, 145, 64 + 105};
    std::unique_ptr<ScreenPixels> shot;
    // Wait for the paint that shows the text, rather than for a time.
    WaitUntil([&] {
        shot = std::make_unique<ScreenPixels>(r);
        return shot->Count(face, names) > 40 && shot->Count(RGB(255, 0, 0), chart) > 40;
    });
    const ScreenPixels& p = *shot;
    EXPECT_GT(p.Count(face, names), 40);
    EXPECT_GT(p.Count(outline, names), 40);
    EXPECT_GT(p.Count(RGB(255, 0, 0), chart), 40);   // the first drive's line: red
    EXPECT_GT(p.Count(RGB(255, 255, 0), chart), 40); // the third one's: yellow (green is the grid's too)
    EXPECT_GT(p.Count(axis, chart), 20);             // the left axis in the axis colour
    // The colour key: no purple pixel anywhere, the backdrop shows through instead.
    const RECT all{0, 0, r.right - r.left, r.bottom - r.top};
    EXPECT_EQ(p.Count(RGB(128, 0, 128), all), 0);
    EXPECT_GT(p.Count(behind, all), all.right * all.bottom / 2);

    ASSERT_TRUE(WaitUntil([&] { return Requests(log).size() >= 4; }, 60000));
    auto requests = Requests(log);
    // Polling, not a flood: the k-th poll comes no sooner than k periods after the first request.
    // (One tick can come late while the window paints, so single gaps may be shorter.)
    for (size_t i = 1; i < requests.size(); ++i)
        EXPECT_GE(requests[i].tick - requests[0].tick, 900u * i) << "request " << i;

    // The service dies and leaves its old id behind; a new one, under a new id, is asked by the
    // same monitor window.
    service->Terminate();
    auto oldId = ReadFileBytes(SystemFilePath("hsid.dat"));
    ASSERT_TRUE(oldId.has_value());
    std::string again = TempFilePath("req");
    FileCleanup removeLog({again}, false);
    service.emplace(Process::Start(CommandLine({WindowsPath(SERVICE_EXE), "--log", again, "--source", "simulated"})));
    ASSERT_TRUE(WaitUntil([&] { return ReadFileBytes(SystemFilePath("hsid.dat")) != oldId; }));
    ASSERT_TRUE(WaitUntil([&] { return Requests(again).size() >= 2; }, 60000));
    for (const Request& asked : Requests(again)) EXPECT_EQ(asked.window, w);
    CloseAndWait(w);
    service->Terminate();  // it holds its log open
}

// Closing stores every value; the next start uses them, a hidden one too, and the end of the
// session stores them as Exit would.
TEST_F(EndToEnd, TheSettingsAreStoredOnCloseAndAtLogOffAndTheNextStartUsesThem) {
    StoreSettings({{"Pos", 3}, {"PosX", 100}, {"PosY", 100}, {"Alarm", 2}, {"Devices", 5}, {"RefreshTime", 1}});
    StartService({"--drives", "3"});
    StartMonitor();
    HWND w = WaitForMonitorRunning();
    MoveAndWait(w, 345, 234);
    CloseAndWait(w);
    const char* names[] = {"Alarm", "Tray", "Show", "ShowHddNames", "ShowIcons", "ShowChart", "RefreshTime",
                           "WarnTemp", "AlarmTemp", "PosX", "PosY", "Pos", "Alpha", "Devices",
                           "TextColor", "DelColor", "AxisColor"};
    DWORD v = 0;
    for (const char* n : names) EXPECT_TRUE(StoredValue(n, v)) << n;
    // The count the service reported at this start is the stored one.
    for (auto [name, value] : {std::pair{"PosX", 345u}, {"PosY", 234u}, {"Alarm", 1u}, {"Devices", 3u}})
        EXPECT_EQ(Stored(name), value) << name;

    // What the first run stored, now hidden without the icon: the icon is turned on as the way back.
    {
        forms::TRegistry reg;
        ASSERT_TRUE(reg.OpenKey("\\Software\\Vantrell\\Thermowl\\Conf", false));
        reg.WriteInteger("Show", 0);
        reg.WriteInteger("Tray", 0);
    }
    const size_t asked = Requests(log).size();
    StartMonitor();
    w = WaitForWindow("TMainForm", "Thermowl");
    ASSERT_NE(w, nullptr);
    // A poll after the first request: the program runs its message loop, its window was shown.
    ASSERT_TRUE(WaitUntil([&] { return Requests(log).size() >= asked + 2; }, 60000));
    EXPECT_FALSE(IsWindowVisible(w)) << (IsIconic(w) ? "minimised, not hidden" : "shown");
    HWND app = FindProcessWindow(monitor->Id(), "TApplication");
    ASSERT_NE(app, nullptr);
    EXPECT_FALSE(IsWindowVisible(app));  // no taskbar button either
    RECT r;
    GetWindowRect(w, &r);
    EXPECT_EQ(r.left, 345);
    EXPECT_EQ(r.top, 234);

    MoveAndWait(w, 123, 45);
    // Log-off asks every top-level window, hidden ones too; the application window is one.
    EXPECT_EQ(SendMessageA(app, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF), TRUE);
    SendMessageA(app, WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF);
    // Stored by the time the message returns: the session may end the process right after.
    for (auto [name, value] : {std::pair{"PosX", 123u}, {"PosY", 45u}, {"Show", 0u}, {"Tray", 1u}})
        EXPECT_EQ(Stored(name), value) << name;
    ASSERT_TRUE(monitor->WaitForExit(30000, true).has_value());
}

TEST_F(EndToEnd, OnTheDesktopAHotDriveIsAnnouncedAtEveryPollAndThePollingGoesOn) {
    FakeProgman desktop;
    // Polls far enough apart for Wine's notification area, which shows a balloon only after it
    // has stood for two seconds.
    StoreSettings({{"Pos", 2}, {"RefreshTime", 4}, {"Tray", 0}, {"Devices", 0}, {"WarnTemp", 50},
                   {"AlarmTemp", 60}});
    StartService({"--drive", "Hot disk=72"});
    StartMonitor();
    HWND w = nullptr;
    // The monitor is a child of our window: found there, shown once start-up is over.
    ASSERT_TRUE(WaitUntil([&] {
        w = FindWindowExA(desktop.Handle(), nullptr, "TMainForm", "Thermowl");
        return w != nullptr && IsWindowVisible(w);
    }, 60000));
    EXPECT_EQ(GetAncestor(w, GA_PARENT), desktop.Handle());
    // The balloons show above an icon that is there only for them.
    EXPECT_TRUE(WaitUntil([&] { return FindBalloon("Hot disk\r\ntemperature is 72 \xB0" "C !") != nullptr; }));
    // Every reply raises the warning and the alarm, and the alarm beeps for about half a second:
    // the polls keep coming all the same.
    EXPECT_TRUE(WaitUntil([&] { return Requests(log).size() >= 3; }, 60000));
    CloseAndWait(w);
    // What was stored: the new drive count; the icon's visible spells did not turn the tray on.
    for (auto [name, value] : {std::pair{"Devices", 1u}, {"Tray", 0u}, {"Show", 1u}, {"Alarm", 1u}, {"Pos", 2u}})
        EXPECT_EQ(Stored(name), value) << name;
}

namespace {
// The screen's density as Wine takes it at a program's start, put back at the end of the scope.
struct ScreenDensity {
    HKEY key = nullptr;
    DWORD old = 0;
    bool had = false;
    explicit ScreenDensity(DWORD dpi) {
        EXPECT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, "Control Panel\\Desktop", 0, KEY_QUERY_VALUE | KEY_SET_VALUE, &key),
                  ERROR_SUCCESS);
        DWORD size = sizeof old;
        had = RegQueryValueExA(key, "LogPixels", nullptr, nullptr, reinterpret_cast<BYTE*>(&old), &size) == ERROR_SUCCESS;
        Set(dpi);
    }
    ~ScreenDensity() {
        if (had) Set(old);
        else RegDeleteValueA(key, "LogPixels");
        RegCloseKey(key);
    }
    void Set(DWORD dpi) {
        EXPECT_EQ(RegSetValueExA(key, "LogPixels", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&dpi), sizeof dpi),
                  ERROR_SUCCESS);
    }
};
}  // namespace

TEST_F(EndToEnd, AtOneAndAHalfTimesTheDensityTheMonitorIsOneAndAHalfTimesItsSize) {
    // Pictures and chart: the drive names' widths would follow their font's own metrics.
    StoreSettings({{"Pos", 3}, {"PosX", 100}, {"PosY", 100}, {"ShowHddNames", 0}, {"ShowIcons", 1}, {"ShowChart", 1}});
    StartService();
    SIZE at[2] = {};
    for (int i = 0; i < 2; ++i) {
        ScreenDensity density(i ? 144 : 96);
        StartMonitor();
        HWND w = WaitForMonitorRunning();
        ASSERT_NE(w, nullptr);
        RECT r;
        GetWindowRect(w, &r);
        at[i] = {r.right - r.left, r.bottom - r.top};
        CloseAndWait(w);
    }
    EXPECT_NEAR(at[1].cx, at[0].cx * 3 / 2, 1) << at[0].cx;
    EXPECT_NEAR(at[1].cy, at[0].cy * 3 / 2, 1) << at[0].cy;
}
