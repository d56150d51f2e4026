// The monitor's tray side: the icon's commands, the balloons and the temperature alarms.
#include "MainForm.h"
#include "ServiceLink.h"
#include "Settings.h"

namespace thermowl {

using namespace forms;

void TMainForm::HideMonitor() {
    TrayIcon1->HideMainForm();
    Settings.Show = false;
    if (!Settings.Tray) Settings.Tray = true;
    TrayIcon1->SetIconVisible(true);
}

void TMainForm::ShowDriveListBalloon() {
    // The balloon comes with the menu and alarms; the count is remembered either way.
    Settings.Devices = static_cast<uint8_t>(DriveCount);
}

void TMainForm::AlarmCheck(const std::string&, int) {}

}  // namespace thermowl
