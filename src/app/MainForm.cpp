#include "MainForm.h"
#include "HistoryChart.h"
#include "ServiceLink.h"
#include "Settings.h"
#include "forms/Application.h"
#include "forms/Platform.h"
#include "forms/Registry.h"
#include "label/OutlinedLabel.h"

namespace thermowl {

std::string ProgramDir;
HWND DesktopHost = nullptr;

using namespace forms;

TMainForm::TMainForm(TComponent* owner) : TForm(owner) {
    Name = "MainForm";
    SetCaption("Thermowl");
    SetBorderStyle(bsNone);
    SetColor(clPurple);
    SetTransparentColor(true);
    SetTransparentColorValue(clPurple);
    SetAlphaBlend(true);
    SetAlphaBlendValue(200);
    Font().SetName("MS Sans Serif");
    Font().SetHeight(-11);
    // Smoothed text would mix its edges into the colour key, a purple fringe round every label.
    Font().SetQuality(fqNonAntialiased);
    SetBounds(367, 222, 154, 221);

    PopupMenu1 = new TPopupMenu(this);
    PopupMenu1->Name = "PopupMenu1";
    ImageList1 = new TImageList(this);
    ImageList1->Name = "ImageList1";
    SetPopupMenu(PopupMenu1);

    // The icon in the notification area, loaded with its stored values as a form file would.
    TrayIcon1 = new tray::TTrayIcon(this);
    TrayIcon1->Name = "TrayIcon1";
    TrayIcon1->BeginLoading();
    FollowDesktopDpi();  // the icon at the main screen's density
    TrayIcon1->SetIconVisible(true);
    TrayIcon1->MinimizeToTray = true;
    TrayIcon1->SetPopupMenu(PopupMenu1);

    // Template of the per-drive picture: never shown itself.
    Image1 = new TImage(this);
    Image1->Name = "Image1";
    Image1->SetBounds(0, 16, 32, 32);
    Image1->Picture().LoadFromResourceName(GetModuleHandleA(nullptr), "DRIVE");
    Image1->SetTransparent(true);
    Image1->SetVisible(false);
    Image1->SetParent(this);
    Image1->OnMouseDown = [this](TObject* s, TMouseButton b, TShiftState sh, int x, int y) { FormMouseDown(s, b, sh, x, y); };

    // Template of the drive labels' options: never shown itself.
    OutlinedLabel1 = new label::TOutlinedLabel(this);
    OutlinedLabel1->Name = "OutlinedLabel1";
    OutlinedLabel1->SetOptions(label::floDelineatedText | label::floIgnoreMouse);
    OutlinedLabel1->SetVisible(false);
    OutlinedLabel1->SetParent(this);

    Chart1 = new chart::TChart(this);
    Chart1->Name = "Chart1";
    ConfigureHistoryChart(*Chart1);
    Chart1->SetParent(this);
    Chart1->OnMouseDown = [this](TObject* s, TMouseButton b, TShiftState sh, int x, int y) { FormMouseDown(s, b, sh, x, y); };

    auto makeTimer = [this](const char* name, unsigned interval) {
        auto* t = new TTimer(this);
        t->Name = name;
        t->SetEnabled(false);
        t->SetInterval(interval);
        return t;
    };
    Timer1 = makeTimer("Timer1", 2000);
    Timer2 = makeTimer("Timer2", Waits.firstReplyMs);
    Timer4 = makeTimer("Timer4", 5000);
    Timer1->OnTimer = [this](TObject* s) { Timer1Timer(s); };
    Timer2->OnTimer = [this](TObject* s) { Timer2Timer(s); };
    ConnectTray();
    settingsHook_ = Application->HookMainWindow([this](TMessage& m) {
        if (m.Msg == WM_DISPLAYCHANGE || m.Msg == WM_SETTINGCHANGE) FollowDesktopDpi();
        return false;
    });

    OnShow = [this](TObject* s) { FormShow(s); };
    OnPaint = [this](TObject* s) { FormPaint(s); };
    OnClose = [this](TObject* s, TCloseAction& a) { FormClose(s, a); };
    OnMouseDown = [this](TObject* s, TMouseButton b, TShiftState sh, int x, int y) { FormMouseDown(s, b, sh, x, y); };

    Handle();
    ApplyDpi(static_cast<int>(platform.GetDpiForWindow(Handle())));
    TrayIcon1->Loaded();
    // As a form's OnCreate: a failure is reported in the error box and creation goes on.
    try {
        FormCreate();
    } catch (...) {
        Application->HandleException(std::current_exception());
    }
}

TMainForm::~TMainForm() {
    MarkDestroying();
    if (Application) Application->UnhookMainWindow(settingsHook_);
}

void TMainForm::CreateParams(TCreateParams& p) {
    TForm::CreateParams(p);
    p.WinClassName = "TMainForm";
}

void TMainForm::FormCreate() {
    // The installation directory; a missing key or value leaves it empty.
    {
        TRegistry reg(HKEY_LOCAL_MACHINE, KEY_READ);
        if (reg.OpenKeyReadOnly("\\Software\\Vantrell\\Thermowl")) ProgramDir = reg.ReadString("PATH");
    }
    // The service's files lie in the system directory; without its id there is nothing to do.
    SystemDir = ReadSystemDir();
    ServiceThreadId = ReadServiceId(Handle());
    if (ServiceThreadId == 0) return;
    // A hidden monitor always keeps the icon as the way back.
    LoadSettings();
    if (!Settings.Tray && !Settings.Show) Settings.Tray = true;
    Timer1->SetInterval(static_cast<unsigned>(Settings.RefreshTime) * 1000u);
    SetWindowState(Settings.Show ? wsNormal : wsMinimized);
    SetAxisColor(Settings.AxisColor);
    TrayIcon1->SetIconVisible(Settings.Tray);
    SetAlphaBlendValue(Settings.Alpha);
    ApplyPlacement();
    SetTop(Settings.PosY);
    SetLeft(Settings.PosX);
    settingsApplied_ = true;
    // The first request; no answer in time, or no drives, ends the program.
    StartupHandshake();
    // Exit chosen while waiting for the first answer: the message loop must not show the monitor.
    if (Application->Terminated()) {
        Application->ShowMainForm = false;
        return;
    }
    if (DriveCount == NoReply || DriveCount == 0) {
        // A service that answers with no drive runs, but has nothing to show: reinstalling
        // would not help, so it is not told to.
        platform.MessageBoxA(Handle(), DriveCount == 0 ? NoDrivesText : ServiceMissingText, "Thermowl", MB_OK);
        ServiceThreadId = 0;
        return;
    }
    CreateIcons();
    if (Settings.Devices != static_cast<uint8_t>(DriveCount)) ShowDriveListBalloon();
    StartHistory();
    // From now on every reply is shown at once.
    ShowInfo();
    PanelReady = true;
    OpenClearScf();
    Timer1->SetEnabled(true);
}

void TMainForm::ApplyPlacement() {
    switch (Settings.Pos) {
        case StayOnTop:
            SetFormStyle(fsStayOnTop);
            break;
        case Desktop:
            // Not found: the parent is set to no window and the monitor stays top-level.
            DesktopHost = FindWindowA("Progman", "Program Manager");
            ::SetParent(Handle(), DesktopHost);
            break;
        default:
            break;
    }
}

void TMainForm::StartupHandshake() {
    PanelReady = false;
    ReplyReceived = false;
    Polls = PollState{};
    RequestInfo(Handle());
    Timer2->SetEnabled(true);
    // The wait keeps its own deadline as well: a time-out timer that could not be set must not
    // hold the start-up for ever.
    DWORD start = GetTickCount();
    Application->ProcessMessages();
    while (!ReplyReceived && !Application->Terminated()) {
        if (GetTickCount() - start >= Waits.firstReplyMs) {
            Timer2Timer(Timer2);
            break;
        }
        WaitAndPumpMessages(100);
        // The id found first may be stale and name another live thread while the service starts:
        // the one that arrives gets the whole wait for its answer.
        if (!ReplyReceived && TryNewerServiceId(Handle())) {
            start = GetTickCount();
            Timer2->SetEnabled(false);
            Timer2->SetEnabled(true);
        }
    }
    Timer2->SetEnabled(false);
}

void TMainForm::Timer2Timer(TObject*) {
    // The reply and the time-out may come in the same message pass: the reply wins.
    if (ReplyReceived) return;
    Timer2->SetEnabled(false);
    DriveCount = NoReply;
    ReplyReceived = true;
}

void TMainForm::Timer1Timer(TObject*) {
    PollService(Handle());
    // The poll that finds the service silent says so in the hint.
    UpdateHint();
}

void TMainForm::OpenClearScf() {
    std::string file = ProgramDir + "clear.scf";
    platform.ShellExecuteA(Handle(), "open", file.c_str(), nullptr, nullptr, SW_HIDE);
    Application->ProcessMessages();
    Update();
    platform.Sleep(100);
    platform.ShellExecuteA(Handle(), "open", file.c_str(), nullptr, nullptr, SW_HIDE);
}

void TMainForm::WndProc(TMessage& m) {
    if (m.Msg == RecInfoMsg) {
        WPARAM count = m.WParam;
        ReplyOutcome r = TakeReply(count);
        // At start, a "255 drives" reply whose table cannot be read counts as no reply at all.
        if (!PanelReady && count == NoReply && !r.read) DriveCount = NoReply;
        if (r.show) ShowInfo();
        // Any reply ends a silence, also one with nothing to show.
        else if (PanelReady) UpdateHint();
        m.Result = 0;
        return;
    }
    if (m.Msg == DpiChangedMsg) {
        DpiChanged(HIWORD(m.WParam), *reinterpret_cast<const RECT*>(m.LParam));
        FollowDesktopDpi();
        m.Result = 0;
        return;
    }
    if (m.Msg == WM_DISPLAYCHANGE || m.Msg == WM_SETTINGCHANGE) FollowDesktopDpi();
    if (m.Msg == ShowPendingMsg) {
        if (showPending_) ShowInfo();
        m.Result = 0;
        return;
    }
    TForm::WndProc(m);
}

void TMainForm::FormShow(TObject*) {
    // The application window carries the taskbar button: hiding it leaves none.
    ShowWindow(Application->Handle(), SW_HIDE);
}

void TMainForm::FormPaint(TObject*) {
    if (!Settings.Show) HideMonitor();
}

void TMainForm::FormClose(TObject*, TCloseAction&) {
    // A close while start-up still looks for the service (Exit in the icon's menu) comes before
    // the settings were loaded: storing the defaults would lose the user's own.
    if (settingsApplied_) SaveSettings(Handle());
}

void TMainForm::FormMouseDown(TObject*, TMouseButton, TShiftState, int, int) {
    // Any button drags: the system's own move loop follows the mouse until it is released.
    // Replies it takes meanwhile wait until the row whose handler runs here has returned.
    const bool wasBusy = panelBusy_;
    panelBusy_ = true;
    ReleaseCapture();
    SendMessageA(Handle(), WM_SYSCOMMAND, 0xF012, 0);
    panelBusy_ = wasBusy;
    if (showPending_ && !panelBusy_) PostMessageA(Handle(), ShowPendingMsg, 0, 0);
}

}  // namespace thermowl
