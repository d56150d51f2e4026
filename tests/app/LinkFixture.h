// The monitor in-process: recorded message boxes and shell calls, and the link's state reset
// before each test.
#pragma once
#include "AppFixture.h"
#include "Process.h"
#include "app/MainForm.h"
#include "app/ServiceLink.h"
#include "app/Settings.h"
#include "forms/Application.h"
#include "forms/Platform.h"
#include <memory>
#include <string>
#include <thread>
#include <vector>

struct Call {
    std::string a, b;
    UINT flags;
};

struct Link : AppFixture {
    // A start-up time-out that a case waits out on purpose: short, as no answer races it.
    static constexpr DWORD WaitedOutMs = 200;
    forms::PlatformOverride restore;
    std::vector<Call> boxes, shell;
    void SetUp() override {
        AppFixture::SetUp();
        forms::Application->Title = "Thermowl";
        forms::Application->Initialize();
        forms::platform.MessageBoxA = [this](HWND, LPCSTR t, LPCSTR c, UINT f) {
            boxes.push_back({t, c, f});
            return IDOK;
        };
        forms::platform.ShellExecuteA = [this](HWND, LPCSTR verb, LPCSTR file, LPCSTR params, LPCSTR dir, INT show) {
            shell.push_back({std::string(verb) + (params ? "+params" : "") + (dir ? "+dir" : ""), file, UINT(show)});
            return reinterpret_cast<HINSTANCE>(42);
        };
        forms::platform.Shell_NotifyIconA = [](DWORD, PNOTIFYICONDATAA) { return TRUE; };
        ResetMonitorState();
    }
    void TearDown() override {
        RegDeleteKeyA(HKEY_LOCAL_MACHINE, "Software\\Vantrell\\Thermowl");
        AppFixture::TearDown();
    }
    void WriteTable(const std::vector<uint8_t>& bytes) {
        testsupport::WriteFileBytes(testsupport::SystemFilePath("hdinfo.dat"), bytes);
    }
    static std::vector<uint8_t> IdBytes(DWORD id) {
        auto* p = reinterpret_cast<uint8_t*>(&id);
        return {p, p + 4};
    }
    // The id of a thread that has ended, as a service that crashed leaves it in "hsid.dat".
    static DWORD EndedThreadId() {
        DWORD id = 0;
        std::thread([&] { id = GetCurrentThreadId(); }).join();
        return id;
    }
    static std::unique_ptr<thermowl::TMainForm> StartMonitor() {
        return std::make_unique<thermowl::TMainForm>(nullptr);
    }
};
