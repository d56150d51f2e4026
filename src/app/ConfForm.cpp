// The options dialog as a window: its design values, the start-up check of the Run value, and
// how the tray menu shows it.
#include "ConfForm.h"
#include "MainForm.h"
#include "RunValue.h"
#include "forms/Application.h"
#include "forms/Platform.h"

namespace thermowl {

using namespace forms;

const char* const HomePage = "http://www.thermowl.example/";
const char* const SupportAddress = "support@thermowl.example";
const char* const RestartText = "Please restart application!        ";

TConfForm::TConfForm(TComponent* owner, TMainForm* monitor) : TForm(owner), monitor_(monitor) {
    Name = "ConfForm";
    // Shown centred on the main screen, so made at its density; the desktop window carries it.
    dpi_ = static_cast<int>(platform.GetDpiForWindow(GetDesktopWindow()));
    if (dpi_ <= 0) dpi_ = 96;
    BuildForm();
    BuildGeneralPage();
    BuildMonitorPage();
    BuildAboutPage();
    BuildDrivesPage();
    BuildButtons();
    OnShow = [this](TObject* s) { FormShow(s); };
    OnClose = [this](TObject* s, TCloseAction& a) { FormClose(s, a); };

    ApplyDensityExtras();
    Handle();
    FitClientArea(Left(), Top());
    LoadWindowIcons();

    // The tray menu's "Options..." and "About..." come here.
    if (monitor_) {
        FreeNotification(monitor_);
        monitor_->OnShowOptions = [this](int page) { ShowPage(page); };
    }
    // As a form's OnCreate: a failure is reported in the error box and creation goes on.
    Guarded([this] { FormCreate(); });
}

TConfForm::~TConfForm() {
    MarkDestroying();
    if (monitor_) monitor_->OnShowOptions = nullptr;
}

void TConfForm::Notification(TComponent* component, TOperation operation) {
    TForm::Notification(component, operation);
    if (operation == opRemove && component == monitor_) monitor_ = nullptr;
    if (operation == opRemove) designs_.erase(component);
}

void TConfForm::CreateParams(TCreateParams& p) {
    TForm::CreateParams(p);
    p.WinClassName = "TConfForm";
    p.Style &= ~(WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME);  // only the close box
}

void TConfForm::DoShow() {
    if (!placed_) {
        placed_ = true;
        SetBounds((GetSystemMetrics(SM_CXSCREEN) - Width()) / 2, (GetSystemMetrics(SM_CYSCREEN) - Height()) / 2,
                  Width(), Height());
    }
    TForm::DoShow();
}

void TConfForm::ShowPage(int page) {
    Show();
    SetForegroundWindow(Handle());
    BringWindowToTop(Handle());
    PageControl1->SetActivePageIndex(page);
}

void TConfForm::Guarded(const std::function<void()>& handler) {
    try {
        handler();
    } catch (...) {
        Application->HandleException(std::current_exception());
    }
}

void TConfForm::FormCreate() {
    Label17->SetCaption(HomePage);
    Label19->SetCaption(SupportAddress);
    XPCheckBox1->SetChecked(RunValueExists());
    XPCheckBox1->SetEnabled(MachineKeysWritable());
    Label11->SetCaption("\xB0" "C");
    Label13->SetCaption("\xB0" "C");
}

void TConfForm::FormClose(TObject*, TCloseAction&) {
    // Closing only hides the dialog; a previewed opacity or colour stays until Apply or Cancel.
}

}  // namespace thermowl
