// The monitor window: a borderless, colour-keyed, alpha-blended window that floats on the
// desktop, owns the program's components and receives the temperature service's replies.
#pragma once
#include "forms/Form.h"
#include "forms/Image.h"
#include "forms/ImageList.h"
#include "forms/Menus.h"
#include "forms/Timer.h"
#include "tray/TrayIcon.h"
#include <array>
#include <functional>
#include <string>

namespace chart { class TChart; }
namespace label { class TOutlinedLabel; }

namespace thermowl {

extern std::string ProgramDir;
extern HWND DesktopHost;

// The last 100 readings of each possible drive, oldest first; kept across panel rebuilds.
constexpr int HistoryLength = 100;
extern double History[8][HistoryLength];

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
    chart::TChart* Chart1;   // the history chart, one line per drive
    label::TOutlinedLabel* OutlinedLabel1;  // hidden template of the drive labels' options

    // Start-up: everything from reading the directories to switching the polling on.
    void FormCreate();
    void FormShow(forms::TObject* sender);
    void FormPaint(forms::TObject* sender);
    void FormClose(forms::TObject* sender, forms::TCloseAction& action);
    void FormMouseDown(forms::TObject* sender, forms::TMouseButton button, forms::TShiftState shift, int x, int y);
    void Timer1Timer(forms::TObject* sender);
    void Timer2Timer(forms::TObject* sender);

    // The per-drive panel and its feed (MainFormPanel.cpp). Slots past the built drives are null.
    static constexpr int PanelSlots = 32;
    std::array<label::TOutlinedLabel*, PanelSlots> NameLabels{};
    std::array<label::TOutlinedLabel*, PanelSlots> TempLabels{};
    std::array<forms::TImage*, PanelSlots> DriveIcons{};
    // One line per drive for the tray icon's hint ("name is 45\xB0C", CR LF between lines).
    std::string DriveHint;

    // Builds the rows for the first DriveCount drives and fits the window to them.
    void CreateIcons();
    // Hides and frees every drive label and picture.
    void ClearAll();
    // Shows DriveTable: texts, one more history sample per drive, the chart, alarms, the hint.
    void ShowInfo();
    // The number of drives the panel was last built for.
    int BuiltDrives() const { return builtDrives_; }
    // Hands the hint to the tray icon: the drive lines, under a notice while the service is silent.
    void UpdateHint();
    // Every value of each reported drive's history set to its current temperature.
    void StartHistory();
    // The chart's left axis line, label and tick colour.
    void SetAxisColor(forms::TColor color);

    // The tray icon's commands, balloons and the alarms (MainFormTray.cpp).
    forms::TMenuItem* option;
    forms::TMenuItem* showmon;
    forms::TMenuItem* hidemon;
    forms::TMenuItem* About1;
    forms::TMenuItem* Exit2;
    // Shows the options dialog on a page (1 "Monitor", 2 "About"); empty until the dialog exists.
    std::function<void(int page)> OnShowOptions;

    void optionClick(forms::TObject* sender);
    void showmonClick(forms::TObject* sender);
    void hidemonClick(forms::TObject* sender);
    void About1Click(forms::TObject* sender);
    void Exit2Click(forms::TObject* sender);
    void TrayIcon1DblClick(forms::TObject* sender);
    void TrayIcon1BalloonHintTimeout(forms::TObject* sender);
    void TrayIcon1BalloonHintClick(forms::TObject* sender);
    void TrayIcon1BalloonHintHide(forms::TObject* sender);
    void Timer4Timer(forms::TObject* sender);
    // The hide-monitor command: the monitor goes to the tray, and the icon stays for good as
    // the way back.
    void HideMonitor();
    // The list of drives found, when their number changed since the last start.
    void ShowDriveListBalloon();
    // One drive's warning and alarm, run by ShowInfo for each drive in order; `drive` indexes
    // DriveLimits.
    void AlarmCheck(int drive, const std::string& name, int temperature);

protected:
    void WndProc(forms::TMessage& msg) override;
    void CreateParams(forms::TCreateParams& params) override;

private:
    label::TOutlinedLabel* MakeDriveLabel();
    forms::TImage* MakeDriveIcon();
    void LayOutRows();
    void FitToChildren();
    // The screen's density: sizes made for 96 pixels per inch are multiplied by dpi / 96.
    int dpi_ = 96;
    int Scaled(int pixels) const { return MulDiv(pixels, dpi_, 96); }
    // Fonts, the drive picture and the chart for `dpi`; the rows follow at the next CreateIcons.
    void ApplyDpi(int dpi);
    void DpiChanged(int dpi, const RECT& suggested);
    // The tray icon and the menu images follow the main screen's density (MainFormTrayDpi.cpp).
    int trayDpi_ = 0;  // the density they were last made for
    int settingsHook_ = 0;  // the application window's hook: the broadcasts reach it also when
                            // the monitor is a child of the desktop
    void FollowDesktopDpi();
    void PullBackOnScreen();
    int builtDrives_ = 0;
    // While the panel is being shown, or a row's mouse-down drags the window, a reply only marks
    // itself pending: the shell calls and the move loop take messages sent to the window, and a
    // rebuild then would free rows under the running loop or handler.
    bool panelBusy_ = false;
    bool showPending_ = false;
    static constexpr UINT ShowPendingMsg = WM_APP + 1;  // shows a reply the window drag held back
    static constexpr UINT DpiChangedMsg = 0x02E0;  // WM_DPICHANGED, from Windows 8.1 on
    void ShowReading();
    // The stored settings are loaded and the window stands in their place: a close may store them.
    bool settingsApplied_ = false;

    void ApplyPlacement();
    void StartupHandshake();
    void OpenClearScf();
    // The menu images, the popup menu's items and the tray icon's and Timer4's handlers.
    void LoadMenuImages();
    void BuildPopupMenu();
    void ConnectTray();
    // A warning or alarm balloon; with Tray off the icon shows only while it is up.
    void ShowAlertBalloon(const char* title, const std::string& text);
};

}  // namespace thermowl
