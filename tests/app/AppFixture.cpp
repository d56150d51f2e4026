#include "AppFixture.h"
#include "Process.h"
#include "app/MainForm.h"
#include "app/ServiceLink.h"
#include "app/Settings.h"
#include "forms/Registry.h"
#include <cstring>

using namespace testsupport;

void AppFixture::ClearState() {
    // The settings, and the drives' own pairs beside them.
    forms::TRegistry(HKEY_CURRENT_USER).DeleteKey("\\Software\\Vantrell\\Thermowl\\Conf");
    forms::TRegistry(HKEY_CURRENT_USER).DeleteKey("\\Software\\Vantrell\\Thermowl\\Drives");
    RemoveFile(SystemFilePath("hsid.dat"));
    RemoveFile(SystemFilePath("hdinfo.dat"));
}

void AppFixture::SetUp() { ClearState(); }
void AppFixture::TearDown() { ClearState(); }

void AppFixture::StoreSettings(std::map<std::string, int32_t> overrides) {
    std::map<std::string, int32_t> v = {{"Alarm", 1}, {"Tray", 1}, {"Show", 1}, {"ShowHddNames", 1},
                                        {"ShowIcons", 1}, {"ShowChart", 1}, {"RefreshTime", 30},
                                        {"WarnTemp", 60}, {"AlarmTemp", 70}, {"PosX", 300}, {"PosY", 40},
                                        {"Pos", 3}, {"Alpha", 170}, {"Devices", 2}, {"TextColor", 0x80FF},
                                        {"DelColor", 0}, {"AxisColor", 0xA00000}};
    for (auto& [k, x] : overrides) v[k] = x;
    forms::TRegistry reg;
    reg.OpenKey("\\Software\\Vantrell\\Thermowl\\Conf", true);
    for (auto& [k, x] : v) reg.WriteInteger(k, x);
}

bool AppFixture::StoredValue(const char* name, DWORD& value) {
    DWORD size = sizeof(value), type = 0;
    HKEY key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\Vantrell\\Thermowl\\Conf", 0, KEY_READ, &key)) return false;
    LONG r = RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE*>(&value), &size);
    RegCloseKey(key);
    return r == ERROR_SUCCESS && type == REG_DWORD;
}

DWORD AppFixture::Stored(const char* name) {
    DWORD value = 0;
    return StoredValue(name, value) ? value : 0xFFFFFFFF;
}

void AppFixture::ResetMonitorState() {
    using namespace thermowl;
    Settings = TSettings{};
    ServiceThreadId = 0;
    DriveCount = 0;
    memset(DriveTable, 0, sizeof(DriveTable));
    memset(DriveLimits, 0, sizeof(DriveLimits));
    memset(History, 0, sizeof(History));
    ReplyReceived = PanelReady = false;
    Polls = PollState{};
    Waits = StartupWaits{};
    ProgramDir.clear();
    DesktopHost = nullptr;
    SystemDir = ReadSystemDir();
}

FakeProgman::FakeProgman() {
    thread_ = std::thread([this] {
        WNDCLASSA wc{};
        wc.lpfnWndProc = DefWindowProcA;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "Progman";
        RegisterClassA(&wc);
        HWND w = CreateWindowExA(0, "Progman", "Program Manager", WS_POPUP, 0, 0, 800, 600, nullptr, nullptr,
                                 wc.hInstance, nullptr);
        ShowWindow(w, SW_SHOWNA);  // the desktop is visible, and so are the windows on it
        wnd_ = w;
        MSG msg;
        while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
            if (msg.message == WM_APP && msg.hwnd == nullptr) break;
            DispatchMessageA(&msg);
        }
        DestroyWindow(w);
    });
    while (!wnd_) Sleep(1);
}

FakeProgman::~FakeProgman() {
    PostThreadMessageA(GetWindowThreadProcessId(wnd_, nullptr), WM_APP, 0, 0);
    thread_.join();
}

int IconWidth(HICON icon) {
    ICONINFO info{};
    if (!icon || !GetIconInfo(icon, &info)) return 0;
    BITMAP bitmap{};
    GetObjectA(info.hbmColor ? info.hbmColor : info.hbmMask, sizeof bitmap, &bitmap);
    if (info.hbmColor) DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
    return bitmap.bmWidth;
}
