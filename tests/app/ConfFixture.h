// What the options dialog tests share: a monitor started against a service on a thread, the
// dialog on it, and the recorded message boxes, shell calls and colour dialogs.
#pragma once
#include "AppFixture.h"
#include "FakeService.h"
#include "app/ConfForm.h"
#include "app/MainForm.h"
#include "forms/Platform.h"
#include <functional>
#include <memory>
#include <string>
#include <vector>

// The captions that do not fit their controls on the dialog's pages, empty when all do.
std::string CaptionMisfits(thermowl::TConfForm* dialog);

struct ConfTest : AppFixture {
    struct Box { HWND owner; std::string text, caption; UINT flags; };
    struct Shell { std::string verb, file; INT show; };

    forms::PlatformOverride restore;
    std::vector<Box> boxes;
    std::vector<Shell> shell;
    std::vector<COLORREF> colorDialogOpenedWith;
    COLORREF pickedColor = 0;
    bool colorConfirmed = true;

    std::unique_ptr<FakeService> service;
    std::unique_ptr<thermowl::TMainForm> monitor;
    std::unique_ptr<thermowl::TConfForm> dialog;

    // Prepares each service Start makes, before the monitor starts.
    std::function<void(FakeService&)> prepareService;

    void SetUp() override;
    void TearDown() override;

    // Starts the monitor (with the stored settings, if any) and makes the dialog.
    void Start();
    // Shows the dialog as the tray menu's "Options..." does.
    void ShowOptions() { dialog->ShowPage(thermowl::cpMonitor); }
    void Apply() { dialog->XPButton2->Click(); }
};
