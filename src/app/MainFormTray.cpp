// The monitor's tray side: the icon's commands, the balloons and the temperature alarms.
#include "DriveThresholds.h"
#include "MainForm.h"
#include "ServiceLink.h"
#include "Settings.h"
#include "forms/Application.h"
#include "forms/Platform.h"

namespace thermowl {

using namespace forms;

namespace {
constexpr BYTE BalloonSeconds = 10;
constexpr int MenuImageCount = 9;
}  // namespace

void TMainForm::ConnectTray() {
    LoadMenuImages();
    BuildPopupMenu();
    TrayIcon1->OnDblClick = [this](TObject* s) { TrayIcon1DblClick(s); };
    TrayIcon1->OnBalloonHintTimeout = [this](TObject* s) { TrayIcon1BalloonHintTimeout(s); };
    TrayIcon1->OnBalloonHintClick = [this](TObject* s) { TrayIcon1BalloonHintClick(s); };
    TrayIcon1->OnBalloonHintHide = [this](TObject* s) { TrayIcon1BalloonHintHide(s); };
    Timer4->OnTimer = [this](TObject* s) { Timer4Timer(s); };
}

namespace {

// One cell of the strip grown to `size`: each pixel averages a 4 x 4 grid of samples over the
// part of the cell it covers, leaving out the see-through magenta, which it becomes only where
// most samples are; so edges stay smooth without a magenta fringe.
void ScaleCell(TBitmap& strip, int cell, int from, TBitmap& out, int size) {
    GdiFlush();
    const uint32_t key = 0xFF00FF;
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            int r = 0, g = 0, b = 0, n = 0;
            for (int sy = 0; sy < 4; ++sy)
                for (int sx = 0; sx < 4; ++sx) {
                    const int px = cell * from + (x * 4 + sx) * from / (size * 4);
                    const int py = (y * 4 + sy) * from / (size * 4);
                    const uint32_t p = strip.Bits()[py * strip.Width() + px] & 0xFFFFFF;
                    if (p == key) continue;
                    r += p >> 16, g += (p >> 8) & 0xFF, b += p & 0xFF, ++n;
                }
            out.Bits()[y * size + x] = n < 8 ? key : uint32_t(r / n) << 16 | uint32_t(g / n) << 8 | uint32_t(b / n);
        }
}

}  // namespace

void TMainForm::LoadMenuImages() {
    // One strip of 16 x 16 images in index order; magenta is see-through.
    TBitmap strip;
    if (!strip.LoadFromResourceName(GetModuleHandleA(nullptr), "MENUIMAGES")) return;
    // The menu opens at the tray, on the main screen: its density is the desktop window's.
    const int from = 16, size = MulDiv(from, static_cast<int>(platform.GetDpiForWindow(GetDesktopWindow())), 96);
    // The same list at the new size: the menu and the options dialog's tabs keep pointing at it.
    ImageList1->SetSize(size, size);
    for (int i = 0; i < MenuImageCount && (i + 1) * from <= strip.Width(); ++i) {
        TBitmap cell(size, size);
        if (size == from)
            BitBlt(cell.Canvas().Handle(), 0, 0, size, size, strip.Canvas().Handle(), i * size, 0, SRCCOPY);
        else
            ScaleCell(strip, i, from, cell, size);
        ImageList1->Add(cell, clFuchsia);
    }
}

void TMainForm::BuildPopupMenu() {
    PopupMenu1->SetImages(ImageList1);
    // Name and caption arrive as strings and are moved in: assigning a const char* here makes
    // GCC 12's optimiser raise a false -Wrestrict on std::string's overlap check.
    auto add = [this](std::string name, std::string caption, int image, void (TMainForm::*handler)(TObject*)) {
        auto* item = new TMenuItem(this);
        item->Name = std::move(name);
        item->Caption = std::move(caption);
        item->ImageIndex = image;
        if (handler) item->OnClick = [this, handler](TObject* s) { (this->*handler)(s); };
        PopupMenu1->Items().Add(item);
        return item;
    };
    option = add("option", "Options...", 2, &TMainForm::optionClick);
    add("N1", "-", -1, nullptr);
    showmon = add("showmon", "Show monitor", 4, &TMainForm::showmonClick);
    hidemon = add("hidemon", "Hide monitor", 5, &TMainForm::hidemonClick);
    add("N2", "-", -1, nullptr);
    About1 = add("About1", "About...", 0, &TMainForm::About1Click);
    add("N3", "-", -1, nullptr);
    Exit2 = add("Exit2", "Exit", 1, &TMainForm::Exit2Click);
}

// --- commands ---------------------------------------------------------------------------------

void TMainForm::optionClick(TObject*) {
    if (OnShowOptions) OnShowOptions(1);
}

void TMainForm::About1Click(TObject*) {
    if (OnShowOptions) OnShowOptions(2);
}

void TMainForm::showmonClick(TObject*) {
    // Show first: the monitor's next paint must not send it back to the tray.
    Settings.Show = true;
    TrayIcon1->RestoreMainForm();
}

void TMainForm::hidemonClick(TObject*) { HideMonitor(); }

void TMainForm::HideMonitor() {
    TrayIcon1->HideMainForm();
    Settings.Show = false;
    if (!Settings.Tray) Settings.Tray = true;
    TrayIcon1->SetIconVisible(true);
}

void TMainForm::Exit2Click(TObject*) {
    Close();
    // While start-up still looks for the service the monitor is not yet the application's main
    // form, and its close alone would only hide it: Exit ends the program all the same.
    Application->Terminate();
}

void TMainForm::TrayIcon1DblClick(TObject*) {
    Settings.Show = true;
    // A monitor started hidden is still in the minimized state it started in, and a minimized
    // main form would not show: it comes back as a normal window.
    if (WindowState() == wsMinimized) {
        Application->Restore();
        SetWindowState(wsNormal);
    }
    Show();
}

// --- balloons ---------------------------------------------------------------------------------

void TMainForm::ShowDriveListBalloon() {
    std::string text = "Found " + std::to_string(DriveCount) + " Devices:";
    for (int i = 0; i < DriveCount && i < MaxDrives; ++i) text += "\r\n" + DriveName(DriveTable[i]);
    TrayIcon1->ShowBalloonHint("Thermowl", text, tray::biInfo, BalloonSeconds);
    Settings.Devices = static_cast<uint8_t>(DriveCount);
    Timer4->SetEnabled(true);
}

namespace {
// The balloon's text; a drive's own threshold is named, the default ones are not.
std::string AlertText(const std::string& name, int temperature, const DriveThresholds& limits) {
    const std::string note = CrossedLimitNote(limits, temperature, " ");
    return name + "\r\ntemperature is " + std::to_string(temperature) + " \xB0" "C" + (note.empty() ? " !" : note);
}
}  // namespace

void TMainForm::AlarmCheck(int drive, const std::string& name, int temperature) {
    if (!Settings.Alarm) return;
    const DriveThresholds limits = ThresholdsFor(name, DriveLimits[drive]);
    const std::string text = AlertText(name, temperature, limits);
    if (temperature >= limits.warn) {
        ShowAlertBalloon("WARNING!", text);
        Timer4->SetEnabled(true);
    }
    // Tested on its own: the thresholds need not be in order.
    if (temperature >= limits.alarm) {
        ShowAlertBalloon("ALARM!", text);
        for (int beep = 0; beep < 3; ++beep) {
            if (beep > 0) platform.Sleep(100);
            platform.Beep(1000, 100);
        }
        Timer4->SetEnabled(true);
    }
}

void TMainForm::ShowAlertBalloon(const char* title, const std::string& text) {
    if (!Settings.Tray) TrayIcon1->SetIconVisible(true);
    TrayIcon1->ShowBalloonHint(title, text, tray::biWarning, BalloonSeconds);
}

// Timer4 is switched on after each balloon; one already counting is not restarted, so its end
// closes a later balloon too.
void TMainForm::Timer4Timer(TObject*) {
    Timer4->SetEnabled(false);
    TrayIcon1->HideBalloonHint();
    if (!Settings.Tray) TrayIcon1->SetIconVisible(false);
}

void TMainForm::TrayIcon1BalloonHintTimeout(TObject*) {
    if (!Settings.Tray) TrayIcon1->SetIconVisible(false);
}

void TMainForm::TrayIcon1BalloonHintClick(TObject*) {
    if (!Settings.Tray) TrayIcon1->SetIconVisible(false);
}

void TMainForm::TrayIcon1BalloonHintHide(TObject*) {}

}  // namespace thermowl
