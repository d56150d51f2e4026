#include "ConfFixture.h"
#include "app/ServiceLink.h"
#include "forms/Application.h"

using namespace thermowl;

void ConfTest::SetUp() {
    AppFixture::SetUp();
    forms::Application->Title = "Thermowl";
    forms::Application->Initialize();
    forms::platform.MessageBoxA = [this](HWND owner, LPCSTR t, LPCSTR c, UINT f) {
        boxes.push_back({owner, t, c, f});
        return IDOK;
    };
    forms::platform.ShellExecuteA = [this](HWND, LPCSTR verb, LPCSTR file, LPCSTR, LPCSTR, INT show) {
        shell.push_back({verb, file, show});
        return reinterpret_cast<HINSTANCE>(42);
    };
    forms::platform.ChooseColorA = [this](LPCHOOSECOLORA cc) {
        colorDialogOpenedWith.push_back(cc->rgbResult);
        if (colorConfirmed) cc->rgbResult = pickedColor;
        return BOOL(colorConfirmed);
    };
    // No notification area under the test display: the shell's answer would take its time.
    forms::platform.Shell_NotifyIconA = [](DWORD, PNOTIFYICONDATAA) { return TRUE; };
    forms::platform.Beep = [](DWORD, DWORD) { return TRUE; };
    forms::platform.Sleep = [](DWORD) {};
    ResetMonitorState();
}

void ConfTest::TearDown() {
    if (forms::Application->MainForm == monitor.get()) forms::Application->MainForm = nullptr;
    dialog.reset();
    monitor.reset();
    service.reset();
    // Our value only: every other program's start-up entry stays.
    HKEY run;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, "Software\\Microsoft\\Windows\\CurrentVersion\\Run", 0, KEY_SET_VALUE,
                      &run) == ERROR_SUCCESS) {
        RegDeleteValueA(run, "Thermowl");
        RegCloseKey(run);
    }
    AppFixture::TearDown();
}

void ConfTest::Start() {
    service = std::make_unique<FakeService>();
    if (prepareService) prepareService(*service);
    monitor = std::make_unique<TMainForm>(nullptr);
    ASSERT_TRUE(PanelReady) << "the monitor did not start";
    dialog = std::make_unique<TConfForm>(nullptr, monitor.get());
    // The start-up's own shell calls ("clear.scf") are not the dialog's.
    shell.clear();
}
