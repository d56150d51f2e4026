// The tray icon and the menu images at the main screen's density: the notification area and the
// menu it opens are there, whatever screen the monitor window is on. Made again when that density
// changes (a new display setting, or the monitor told of a change).
#include "IconSize.h"
#include "MainForm.h"
#include "forms/Platform.h"

namespace thermowl {

using namespace forms;

void TMainForm::FollowDesktopDpi() {
    int dpi = static_cast<int>(platform.GetDpiForWindow(GetDesktopWindow()));
    if (dpi <= 0) dpi = 96;
    if (dpi == trayDpi_) return;
    const bool first = trayDpi_ == 0;  // the menu images are made by ConnectTray, at this density
    trayDpi_ = dpi;
    TIcon icon;
    if (icon.LoadFromResourceName(GetModuleHandleA(nullptr), "MAINICON", IconSizeAt(SM_CXSMICON, dpi))) TrayIcon1->SetIcon(icon);
    if (!first) LoadMenuImages();
}

}  // namespace thermowl
