// The monitor in-process against a service on a thread: the platform's blocking and shell calls
// answered at once, and the link's state as the program starts with it.
#pragma once
#include "AppFixture.h"
#include "FakeService.h"
#include "Process.h"
#include "app/MainForm.h"
#include "app/ServiceLink.h"
#include "app/Settings.h"
#include "forms/Application.h"
#include "forms/Platform.h"
#include <memory>

struct MonitorTest : AppFixture {
    forms::PlatformOverride restore;
    std::unique_ptr<FakeService> service;
    std::unique_ptr<thermowl::TMainForm> monitor;

    void SetUp() override {
        AppFixture::SetUp();
        service = std::make_unique<FakeService>();  // after the clean-up, which removes its file
        forms::Application->Title = "Thermowl";
        forms::Application->Initialize();
        forms::platform.MessageBoxA = [](HWND, LPCSTR, LPCSTR, UINT) { return IDOK; };
        forms::platform.ShellExecuteA = [](HWND, LPCSTR, LPCSTR, LPCSTR, LPCSTR, INT) {
            return reinterpret_cast<HINSTANCE>(42);
        };
        forms::platform.Shell_NotifyIconA = [](DWORD, PNOTIFYICONDATAA) { return TRUE; };
        forms::platform.Beep = [](DWORD, DWORD) { return TRUE; };
        forms::platform.Sleep = [](DWORD) {};
        ResetMonitorState();
    }
    void TearDown() override {
        forms::Application->MainForm = nullptr;
        monitor.reset();
        service.reset();
        AppFixture::TearDown();
    }
    // Stores the settings (with `overrides`) and starts the monitor as the program does.
    void Start(std::map<std::string, int32_t> overrides = {}) {
        StoreSettings(overrides);
        monitor = std::make_unique<thermowl::TMainForm>(nullptr);
        ASSERT_TRUE(thermowl::PanelReady);
        forms::Application->MainForm = monitor.get();
    }
    // One poll: the service answers with `drives` and the monitor shows the reply, which is
    // handled in one message (the flag is set while it is).
    void Reply(std::vector<FakeService::Drive> drives) {
        service->drives = std::move(drives);
        thermowl::ReplyReceived = false;
        monitor->Timer1Timer(nullptr);
        ASSERT_TRUE(testsupport::WaitUntil([] { return thermowl::ReplyReceived; }));
    }
};
