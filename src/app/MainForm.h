// The monitor window: a borderless, colour-keyed, alpha-blended window that floats on the
// desktop, owns the program's components and receives the temperature service's replies.
#pragma once
#include "forms/Form.h"
#include "forms/Image.h"
#include "forms/ImageList.h"
#include "forms/Menus.h"
#include "forms/Timer.h"
#include "tray/TrayIcon.h"
#include <string>

namespace thermowl {

extern std::string ProgramDir;
extern HWND DesktopHost;

class TMainForm : public forms::TForm {
public:
    explicit TMainForm(forms::TComponent* owner);
    ~TMainForm() override;

    tray::TTrayIcon* TrayIcon1;
    forms::TPopupMenu* PopupMenu1;
    forms::TImageList* ImageList1;
    forms::TImage* Image1;
    forms::TTimer* Timer1;   // polling, RefreshTime seconds
    forms::TTimer* Timer2;   // start-up reply time-out
    forms::TTimer* Timer4;   // closes a balloon

    // Start-up: everything from reading the directories to switching the polling on.
    void FormCreate();
    void FormShow(forms::TObject* sender);
    void FormPaint(forms::TObject* sender);
    void FormClose(forms::TObject* sender, forms::TCloseAction& action);
    void FormMouseDown(forms::TObject* sender, forms::TMouseButton button, forms::TShiftState shift, int x, int y);
    void Timer1Timer(forms::TObject* sender);
    void Timer2Timer(forms::TObject* sender);

    // The per-drive panel and its feed (MainFormPanel.cpp).
    void CreateIcons();
    void ShowInfo();
    // Every value of each reported drive's history set to its current temperature.
    void StartHistory();
    // The chart's left axis line, label and tick colour.
    void SetAxisColor(forms::TColor color);

    // The tray icon's commands, balloons and the alarms (MainFormTray.cpp).
    // The hide-monitor command: the monitor goes to the tray, and the icon stays for good as
    // the way back.
    void HideMonitor();
    // The list of drives found, when their number changed since the last start.
    void ShowDriveListBalloon();
    // One drive's warning and alarm, run by ShowInfo for each drive in order.
    void AlarmCheck(const std::string& name, int temperature);

protected:
    void WndProc(forms::TMessage& msg) override;
    void CreateParams(forms::TCreateParams& params) override;

private:
    void ApplyPlacement();
    void StartupHandshake();
    void OpenClearScf();
};

}  // namespace thermowl
