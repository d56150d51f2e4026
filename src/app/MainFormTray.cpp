// The monitor's tray side: the icon's commands, the balloons and the temperature alarms.
#include "MainForm.h"
#include "Settings.h"

namespace thermowl {

using namespace forms;

void TMainForm::HideMonitor() {
    TrayIcon1->HideMainForm();
    Settings.Show = false;
    if (!Settings.Tray) Settings.Tray = true;
    TrayIcon1->SetIconVisible(true);
}

}  // namespace thermowl
