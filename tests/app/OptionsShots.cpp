// Writes a picture of each page of the options dialog (general.ppm, monitor.ppm, about.ppm,
// drives.ppm) and of the monitor window (window.ppm) into the folder given as the argument, for the
// README: a monitor runs against a service on a thread, and the dialog is shown on each page as the
// tray menu shows it and copied from the screen. Run by scripts/shoot-options in a private Wine prefix.
#include "FakeService.h"
#include "app/ConfForm.h"
#include "app/DriveThresholds.h"
#include "app/MainForm.h"
#include "chart/Chart.h"
#include "app/ServiceLink.h"
#include "app/Settings.h"
#include "forms/Application.h"
#include "forms/Bitmap.h"
#include "forms/Platform.h"
#include "forms/Registry.h"
#include <cstdio>
#include <string>

namespace {

// The picture as a binary PPM file; with `showKey`, the colour key as a desktop blue, as on screen.
bool WritePpm(forms::TBitmap& picture, const std::string& path, bool showKey) {
    GdiFlush();
    FILE* out = std::fopen(path.c_str(), "wb");
    if (!out) return false;
    std::fprintf(out, "P6 %d %d 255\n", picture.Width(), picture.Height());
    const uint32_t* p = picture.Bits();
    for (int i = 0; i < picture.Width() * picture.Height(); ++i) {
        const uint32_t c = showKey && (p[i] & 0xFFFFFF) == 0x800080 ? 0x3A6EA5 : p[i];
        const unsigned char rgb[3] = {static_cast<unsigned char>(c >> 16), static_cast<unsigned char>(c >> 8),
                                      static_cast<unsigned char>(c)};
        std::fwrite(rgb, 1, 3, out);
    }
    return std::fclose(out) == 0;
}

// The dialog's client area as the screen shows it, as a binary PPM file. (Without a window
// manager the frame is not drawn.)
bool WriteWindowPicture(HWND window, const std::string& path) {
    RECT r;
    GetClientRect(window, &r);
    POINT origin{0, 0};
    ClientToScreen(window, &origin);
    forms::TBitmap picture(r.right, r.bottom);
    HDC screen = GetDC(nullptr);
    BitBlt(picture.Canvas().Handle(), 0, 0, picture.Width(), picture.Height(), screen, origin.x, origin.y, SRCCOPY);
    ReleaseDC(nullptr, screen);
    return WritePpm(picture, path, false);
}

// The monitor window as it paints itself (its surface with labels and pictures, then the chart),
// the colour key showing a desktop blue as on screen, as a binary PPM file.
bool WriteMonitorPicture(thermowl::TMainForm& monitor, const std::string& path) {
    forms::TBitmap picture(monitor.Width(), monitor.Height());
    HDC dc = picture.Canvas().Handle();
    SendMessageA(monitor.Handle(), WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
    SendMessageA(monitor.Handle(), WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT);
    SetViewportOrgEx(dc, monitor.Chart1->Left(), monitor.Chart1->Top(), nullptr);
    SendMessageA(monitor.Chart1->Handle(), WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT);
    SetViewportOrgEx(dc, 0, 0, nullptr);
    return WritePpm(picture, path, true);
}

void PumpFor(DWORD ms) {
    const DWORD until = GetTickCount() + ms;
    while (static_cast<LONG>(until - GetTickCount()) > 0) {
        forms::Application->ProcessMessages();
        Sleep(20);
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: options_shots FOLDER\n");
        return 2;
    }
    const std::string folder = argv[1];
    forms::Application->Title = "Thermowl";
    forms::Application->Initialize();
    // Nothing may wait for a click or for a notification area the picture display does not have.
    forms::platform.MessageBoxA = [](HWND, LPCSTR text, LPCSTR, UINT) {
        std::fprintf(stderr, "options_shots: message box: %s\n", text);
        return IDOK;
    };
    forms::platform.ShellExecuteA = [](HWND, LPCSTR, LPCSTR, LPCSTR, LPCSTR, INT) {
        return reinterpret_cast<HINSTANCE>(42);
    };
    forms::platform.Shell_NotifyIconA = [](DWORD, PNOTIFYICONDATAA) { return TRUE; };
    thermowl::SystemDir = thermowl::ReadSystemDir();
    const bool settingsExisted = forms::TRegistry(HKEY_CURRENT_USER).KeyExists(thermowl::SettingsKey);
    FakeService service;
    // Drives that state their limits, and one the user set a pair for, for the "Drives" page.
    service.drives = {{"Samsung SSD 970 EVO Plus 1TB", 52}, {"ST3500418AS", 47}, {"WDC WD10EZEX-00BN5A0", 44}};
    service.traits = {{80, 85, contract::KindSolidState, {}, 0}, {55, 0, contract::KindRotating, {}, 0}, {}};
    service.OpenChannel();
    thermowl::TMainForm monitor(nullptr);
    thermowl::StoreUserPair(thermowl::DriveKey("WDC WD10EZEX-00BN5A0", {}), {45, 55});
    thermowl::TConfForm dialog(nullptr, &monitor);
    int failures = 0;
    const char* names[] = {"general", "monitor", "about", "drives"};
    for (int page = 0; page < 4; ++page) {
        dialog.ShowPage(page);
        PumpFor(500);
        failures += !WriteWindowPicture(dialog.Handle(), folder + "/" + names[page] + ".ppm");
    }
    // The labels take their text's size when they paint on screen.
    dialog.Hide();
    monitor.Show();
    RedrawWindow(monitor.Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    PumpFor(500);
    failures += !WriteMonitorPicture(monitor, folder + "/window.ppm");
    // The pair set for the picture goes again, and with it any key it made.
    forms::TRegistry registry(HKEY_CURRENT_USER);
    registry.DeleteKey(thermowl::DriveSettingsKey(thermowl::DriveKey("WDC WD10EZEX-00BN5A0", {})));
    if (!settingsExisted) registry.DeleteKey(thermowl::SettingsKey);
    return failures == 0 ? 0 : 1;
}
