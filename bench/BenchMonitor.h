// The monitor as a benchmark drives it: no service (start-up gives up at once and says nothing),
// nothing that blocks or beeps, the drive table read from a folder of its own under %TEMP% so no
// service's file is touched, and every part of the panel shown without alarms.
#pragma once
#include "app/MainForm.h"
#include "app/ServiceLink.h"
#include "app/Settings.h"
#include "forms/Platform.h"
#include <string>

// Makes the monitor; `table` receives the path of the drive table the benchmark writes.
inline thermowl::TMainForm* NewBenchMonitor(const char* folder, std::string& table) {
    using namespace thermowl;
    forms::platform.MessageBoxA = [](HWND, LPCSTR, LPCSTR, UINT) { return IDOK; };
    forms::platform.Beep = [](DWORD, DWORD) { return TRUE; };
    forms::platform.Sleep = [](DWORD) {};
    forms::platform.ShellExecuteA = [](HWND, LPCSTR, LPCSTR, LPCSTR, LPCSTR, INT) {
        return reinterpret_cast<HINSTANCE>(42);
    };
    Waits = {0, 0};
    auto* monitor = new TMainForm(nullptr);
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    SystemDir = std::string(temp) + folder;
    CreateDirectoryA(SystemDir.c_str(), nullptr);
    table = SystemDir + "\\hdinfo.dat";
    Settings = DefaultSettings(GetSystemMetrics(SM_CXSCREEN));
    Settings.ShowHddNames = Settings.ShowIcons = Settings.ShowChart = true;
    Settings.Alarm = false;
    return monitor;
}
