// The options dialog's handlers: loading the controls from the settings, the previews on the
// monitor window, Apply, Cancel, Reset to default and the About links.
#include "ConfForm.h"
#include "MainForm.h"
#include "RunValue.h"
#include "ServiceLink.h"
#include "Settings.h"
#include "forms/Application.h"
#include "forms/Platform.h"
#include "label/OutlinedLabel.h"
#include <algorithm>

namespace thermowl {

using namespace forms;

namespace {
constexpr TColor GlyphKey = clFuchsia;  // the see-through colour of the button glyphs
}  // namespace

void TConfForm::FormShow(TObject*) {
    if (!monitor_) return;
    TBitmap glyph;
    if (monitor_->ImageList1->GetBitmap(8, glyph, GlyphKey)) XPButton2->SetGlyph(glyph);
    if (monitor_->ImageList1->GetBitmap(7, glyph, GlyphKey)) XPButton3->SetGlyph(glyph);
    SpinEdit1->SetValue(Settings.RefreshTime);
    XPCheckBox2->SetChecked(Settings.Tray);
    XPCheckBox6->SetChecked(Settings.Alarm);
    XPCheckBox6Click(XPCheckBox6);
    SpinEdit2->SetValue(Settings.WarnTemp);
    SpinEdit3->SetValue(Settings.AlarmTemp);
    XPCheckBox3->SetChecked(Settings.ShowHddNames);
    XPCheckBox4->SetChecked(Settings.ShowIcons);
    XPCheckBox5->SetChecked(Settings.ShowChart);
    Label6->SetColor(Settings.TextColor);
    Label7->SetColor(Settings.DelColor);
    Label8->SetColor(Settings.AxisColor);
    for (controls::TXPRadioButton* r : {XPRadioButton1, XPRadioButton2, XPRadioButton3}) r->SetChecked(false);
    if (Settings.Pos == StayOnTop) XPRadioButton1->SetChecked(true);
    if (Settings.Pos == Desktop) XPRadioButton2->SetChecked(true);
    if (Settings.Pos == Normal) XPRadioButton3->SetChecked(true);
    TrackBar1->SetPosition(Settings.Alpha);
    ShowDriveLimits();
}

void TConfForm::XPCheckBox6Click(TObject*) {
    const bool on = XPCheckBox6->Checked();
    for (TControl* c : std::initializer_list<TControl*>{Label10, Label11, Label12, Label13, SpinEdit2, SpinEdit3})
        c->SetEnabled(on);
}

void TConfForm::TrackBar1Change(TObject*) {
    if (monitor_) monitor_->SetAlphaBlendValue(static_cast<BYTE>(TrackBar1->Position()));
}

void TConfForm::Label6Click(TObject*) { PickColor(Label6); }
void TConfForm::Label7Click(TObject*) { PickColor(Label7); }
void TConfForm::Label8Click(TObject*) { PickColor(Label8); }

void TConfForm::PickColor(TLabel* link) {
    // The dialog opens with the colour last chosen in any of the links, not this link's own.
    if (!ColorDialog1->Execute(Handle())) return;
    link->SetColor(ColorDialog1->Color);
    UpdateColl();
}

void TConfForm::UpdateColl() { ShowDriveColors(Label6->Color(), Label7->Color(), Label8->Color()); }

int TConfForm::ChosenPlacement() const {
    int placement = 0;
    if (XPRadioButton1->Checked()) placement = StayOnTop;
    if (XPRadioButton2->Checked()) placement = Desktop;
    if (XPRadioButton3->Checked()) placement = Normal;
    return placement;
}

void TConfForm::XPButton2Click(TObject*) {
    if (!monitor_) return;
    TMainForm& monitor = *monitor_;
    const TSettings stored = Settings;
    int placement;
    try {
        if (XPCheckBox1->Enabled()) StoreRunValue(XPCheckBox1->Checked(), ProgramDir);
        SpinEdit1->SetValue(std::clamp(SpinEdit1->Value(), 1, 60));
        Settings.RefreshTime = SpinEdit1->Value();
        Settings.Alarm = XPCheckBox6->Checked();
        if (Settings.Alarm) {
            // Thresholds outside 10..150 are brought to the nearer bound, in the fields too.
            SpinEdit2->SetValue(std::clamp(SpinEdit2->Value(), 10, 150));
            SpinEdit3->SetValue(std::clamp(SpinEdit3->Value(), 10, 150));
            Settings.WarnTemp = SpinEdit2->Value();
            Settings.AlarmTemp = SpinEdit3->Value();
        }
        Settings.ShowHddNames = XPCheckBox3->Checked();
        Settings.ShowIcons = XPCheckBox4->Checked();
        Settings.ShowChart = XPCheckBox5->Checked();
        Settings.TextColor = Label6->Color();
        Settings.DelColor = Label7->Color();
        Settings.AxisColor = Label8->Color();
        placement = ChosenPlacement();  // the layer changes only at the next start
        Settings.Alpha = static_cast<uint8_t>(TrackBar1->Position());
        Settings.Tray = XPCheckBox2->Checked();
        // Without the icon, the monitor itself must stay reachable.
        if (!Settings.Tray && !Settings.Show) Settings.Show = true;
        SaveSettings(monitor.Handle());
    } catch (...) {
        // Nothing is taken over: the monitor goes on with the stored settings (polling at their
        // period), and the dialog stays open with the edits, its error box on top of it.
        Settings = stored;
        ShowError(std::current_exception());
        return;
    }
    monitor.TrayIcon1->SetIconVisible(Settings.Tray);
    if (Settings.Show && !stored.Show) monitor.showmonClick(&monitor);
    monitor.Timer1->SetInterval(static_cast<unsigned>(Settings.RefreshTime) * 1000u);
    monitor.CreateIcons();
    monitor.ShowInfo();
    monitor.Timer1->SetEnabled(true);
    if (placement != Settings.Pos) {
        Settings.Pos = placement;
        platform.MessageBoxA(Handle(), RestartText, "Information", MB_OK | MB_ICONINFORMATION);
        // Ends the program (it stores the new layer once more); nothing is freed before the
        // message loop returns, so hiding the dialog below is still safe.
        monitor.Close();
    }
    Hide();
}

void TConfForm::ShowError(std::exception_ptr error) {
    std::string text = "Unknown error";
    try {
        std::rethrow_exception(error);
    } catch (const std::exception& e) {
        text = e.what();
    } catch (...) {
    }
    platform.MessageBoxA(Handle(), text.c_str(), Application->Title.c_str(), MB_OK | MB_ICONSTOP);
}

void TConfForm::XPButton3Click(TObject*) {
    if (monitor_) {
        monitor_->SetAlphaBlendValue(Settings.Alpha);
        ShowDriveColors(Settings.TextColor, Settings.DelColor, Settings.AxisColor);
    }
    Hide();
}

void TConfForm::XPButton1Click(TObject* sender) {
    SpinEdit1->SetValue(30);
    SpinEdit2->SetValue(60);
    SpinEdit3->SetValue(70);
    XPCheckBox3->SetChecked(true);
    XPCheckBox4->SetChecked(true);
    XPCheckBox5->SetChecked(true);
    // "Enable" keeps the user's choice: with alarms off Apply keeps the stored thresholds.
    Label6->SetColor(0x0080FF);
    Label7->SetColor(clBlack);
    Label8->SetColor(0xA00000);
    XPRadioButton2->SetChecked(true);  // unchecks the other two
    TrackBar1->SetPosition(170);
    XPButton2Click(sender);
}

void TConfForm::ShowDriveColors(TColor text, TColor delineate, TColor axis) {
    if (!monitor_) return;
    const int drives = std::clamp<int>(DriveCount, 0, MaxDrives);
    for (int i = 0; i < drives; ++i)
        for (label::TOutlinedLabel* l : {monitor_->NameLabels[i], monitor_->TempLabels[i]}) {
            if (!l) continue;  // a panel not built yet for this drive
            l->Colors().SetText(text);
            l->Colors().SetDelineate(delineate);
            l->Repaint();
        }
    monitor_->SetAxisColor(axis);
    monitor_->Repaint();
}

void TConfForm::Label17Click(TObject*) {
    platform.ShellExecuteA(Handle(), "open", HomePage, nullptr, nullptr, SW_HIDE);
}

void TConfForm::Label19Click(TObject*) {
    const std::string mail = std::string("mailto:") + SupportAddress;
    platform.ShellExecuteA(Handle(), "open", mail.c_str(), nullptr, nullptr, SW_HIDE);
}

}  // namespace thermowl
