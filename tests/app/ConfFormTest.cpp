// The options dialog on a running monitor: what it shows, what Apply, Cancel and Reset to
// default store and show, and the start-with-Windows value.
#include "ConfFixture.h"
#include "app/RunValue.h"
#include "app/Settings.h"
#include "forms/Application.h"
#include "forms/Registry.h"
#include "chart/Chart.h"
#include "label/OutlinedLabel.h"
#include <commctrl.h>

using namespace thermowl;
using forms::TColor;

namespace {

std::string RunValueData() {
    HKEY key;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, "Software\\Microsoft\\Windows\\CurrentVersion\\Run", 0, KEY_READ, &key))
        return "<no key>";
    char data[512] = {};
    DWORD size = sizeof data - 1, type = 0;
    LONG r = RegQueryValueExA(key, "Thermowl", nullptr, &type, reinterpret_cast<BYTE*>(data), &size);
    RegCloseKey(key);
    if (r != ERROR_SUCCESS) return "<none>";
    return (type == REG_SZ ? "" : "<type>") + std::string(data);
}

void SetRunValue(const std::string& data) {
    HKEY key;
    ASSERT_EQ(RegCreateKeyExA(HKEY_LOCAL_MACHINE, "Software\\Microsoft\\Windows\\CurrentVersion\\Run", 0, nullptr, 0,
                              KEY_ALL_ACCESS, nullptr, &key, nullptr), ERROR_SUCCESS);
    RegSetValueExA(key, "Thermowl", 0, REG_SZ, reinterpret_cast<const BYTE*>(data.c_str()), DWORD(data.size() + 1));
    RegCloseKey(key);
}

}  // namespace

// --- the form and its first showing ---------------------------------------------------------

TEST_F(ConfTest, TheDialogIsAFixedTopmostWindowWithOnlyACloseBox) {
    Start();
    HWND h = dialog->Handle();
    EXPECT_FALSE(IsWindowVisible(h));  // made hidden
    char caption[64] = {};
    GetWindowTextA(h, caption, sizeof caption);
    EXPECT_STREQ(caption, "Thermowl Options");
    RECT client;
    GetClientRect(h, &client);
    EXPECT_EQ(client.right, 304);
    EXPECT_EQ(client.bottom, 327);
    LONG_PTR style = GetWindowLongPtrA(h, GWL_STYLE), ex = GetWindowLongPtrA(h, GWL_EXSTYLE);
    EXPECT_TRUE(style & WS_SYSMENU);
    EXPECT_FALSE(style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME));
    EXPECT_TRUE(ex & WS_EX_TOPMOST);
    EXPECT_NE(SendMessageA(h, WM_GETICON, ICON_SMALL, 0), 0);

    ShowOptions();
    RECT r;
    GetWindowRect(h, &r);
    EXPECT_NEAR((r.left + r.right) / 2, GetSystemMetrics(SM_CXSCREEN) / 2, 1);
    EXPECT_NEAR((r.top + r.bottom) / 2, GetSystemMetrics(SM_CYSCREEN) / 2, 1);
}

TEST_F(ConfTest, NoControlWindowCoversPartOfAnother) {
    // A child window hides whatever of a sibling lies under it: a radio button's circle, say.
    Start();
    std::vector<forms::TWinControl*> windows;
    for (forms::TComponent* c : dialog->Components())
        if (auto* w = dynamic_cast<forms::TWinControl*>(c); w && !dynamic_cast<forms::TTabSheet*>(w)) windows.push_back(w);
    ASSERT_GT(windows.size(), 20u);
    for (size_t i = 0; i < windows.size(); ++i)
        for (size_t j = i + 1; j < windows.size(); ++j) {
            if (windows[i]->Parent() != windows[j]->Parent()) continue;
            RECT a = windows[i]->BoundsRect(), b = windows[j]->BoundsRect(), both;
            EXPECT_FALSE(IntersectRect(&both, &a, &b)) << windows[i]->Name << " and " << windows[j]->Name;
        }
}

TEST_F(ConfTest, FirstUseShowsTheDefaults) {
    Start();  // nothing stored: the settings are the defaults
    ShowOptions();
    EXPECT_TRUE(dialog->Visible());
    EXPECT_EQ(dialog->PageControl1->ActivePageIndex(), 1);
    EXPECT_EQ(dialog->SpinEdit1->Text(), "30");
    EXPECT_TRUE(dialog->XPCheckBox2->Checked());
    EXPECT_TRUE(dialog->XPCheckBox6->Checked());
    EXPECT_TRUE(dialog->SpinEdit2->Enabled());
    EXPECT_EQ(dialog->SpinEdit2->Text(), "60");
    EXPECT_EQ(dialog->SpinEdit3->Text(), "70");
    EXPECT_TRUE(dialog->XPCheckBox3->Checked() && dialog->XPCheckBox4->Checked() && dialog->XPCheckBox5->Checked());
    EXPECT_EQ(dialog->Label6->Color(), 0x0080FFu);
    EXPECT_EQ(dialog->Label7->Color(), 0x000000u);
    EXPECT_EQ(dialog->Label8->Color(), 0xA00000u);
    EXPECT_FALSE(dialog->XPRadioButton1->Checked());
    EXPECT_TRUE(dialog->XPRadioButton2->Checked());
    EXPECT_FALSE(dialog->XPRadioButton3->Checked());
    EXPECT_EQ(dialog->TrackBar1->Position(), 170);
    EXPECT_EQ(SendMessageA(dialog->TrackBar1->Handle(), TBM_GETPOS, 0, 0), 170);
    EXPECT_EQ(dialog->Label11->Caption(), "\xB0" "C");
}

TEST_F(ConfTest, StoredValuesShowAndAStoredLayerShowsEvenWhenItCannotBeChosen) {
    StoreSettings({{"RefreshTime", 120}, {"Alarm", 0}, {"Tray", 0}, {"Pos", 3}, {"Alpha", 40},
                   {"TextColor", 0x112233}, {"ShowIcons", 0}});
    Start();
    ShowOptions();
    EXPECT_EQ(dialog->SpinEdit1->Text(), "60");  // the field holds 1..60
    EXPECT_FALSE(dialog->XPCheckBox2->Checked());
    EXPECT_FALSE(dialog->XPCheckBox6->Checked());
    for (forms::TControl* c : std::initializer_list<forms::TControl*>{
             dialog->Label10, dialog->Label11, dialog->Label12, dialog->Label13, dialog->SpinEdit2, dialog->SpinEdit3})
        EXPECT_FALSE(c->Enabled()) << c->Name;
    EXPECT_FALSE(dialog->XPCheckBox4->Checked());
    EXPECT_EQ(dialog->Label6->Color(), 0x112233u);
    EXPECT_TRUE(dialog->XPRadioButton3->Checked());
    EXPECT_FALSE(dialog->XPRadioButton3->Enabled());
    EXPECT_EQ(dialog->TrackBar1->Position(), 40);
    // Enabling the alarms enables their fields at once.
    dialog->XPCheckBox6->SetChecked(true);
    EXPECT_TRUE(dialog->SpinEdit2->Enabled());
    EXPECT_TRUE(dialog->Label13->Enabled());
    // The refresh time shown is the one stored by Apply.
    Apply();
    EXPECT_EQ(Stored("RefreshTime"), 60u);
}

TEST_F(ConfTest, ShowingAnOpenDialogKeepsItsEditsAndOnlySwitchesThePage) {
    Start();
    ShowOptions();
    dialog->SpinEdit1->SetText("5");
    dialog->TrackBar1->SetPosition(90);
    dialog->ShowPage(cpAbout);
    EXPECT_EQ(dialog->PageControl1->ActivePageIndex(), 2);
    EXPECT_TRUE(dialog->TabSheet3->Visible());
    EXPECT_FALSE(dialog->TabSheet2->Visible());
    EXPECT_EQ(dialog->SpinEdit1->Text(), "5");
    EXPECT_EQ(dialog->TrackBar1->Position(), 90);
    // Closed with its close box and shown again: the settings are read anew.
    SendMessageA(dialog->Handle(), WM_CLOSE, 0, 0);
    EXPECT_FALSE(dialog->Visible());
    EXPECT_EQ(monitor->AlphaBlendValue(), 90);  // the preview stays until the next showing
    ShowOptions();
    EXPECT_EQ(dialog->SpinEdit1->Text(), "30");
    EXPECT_EQ(monitor->AlphaBlendValue(), 170);
}

TEST_F(ConfTest, TheTrayMenuOpensTheDialogOnItsPage) {
    Start();
    monitor->About1->Click();
    EXPECT_TRUE(IsWindowVisible(dialog->Handle()));
    EXPECT_EQ(dialog->PageControl1->ActivePageIndex(), 2);
    monitor->option->Click();
    EXPECT_EQ(dialog->PageControl1->ActivePageIndex(), 1);
}

// --- Apply ------------------------------------------------------------------------------------

TEST_F(ConfTest, RefreshTimeIsAppliedWithin1To60) {
    struct Case {
        const char* typed;
        int applied;
    };
    Start();
    for (Case c : {Case{"0", 1}, Case{"75", 60}, Case{"", 1}, Case{"x", 1}, Case{"17", 17}}) {
        ShowOptions();
        dialog->SpinEdit1->SetText(c.typed);
        Apply();
        EXPECT_EQ(Settings.RefreshTime, c.applied) << '"' << c.typed << '"';
        EXPECT_EQ(Stored("RefreshTime"), DWORD(c.applied)) << c.typed;
        EXPECT_EQ(dialog->SpinEdit1->Text(), std::to_string(c.applied));
        EXPECT_EQ(monitor->Timer1->Interval(), unsigned(c.applied) * 1000u);
        EXPECT_TRUE(monitor->Timer1->Enabled());
        EXPECT_FALSE(dialog->Visible());
    }
    EXPECT_TRUE(boxes.empty());
}

TEST_F(ConfTest, ThresholdsAreBroughtInto10To150OnlyWithAlarmsOn) {
    struct Case {
        bool alarms;
        const char *warn, *alarm;
        DWORD storedWarn, storedAlarm;
    };
    const Case cases[] = {
        {true, "5", "200", 10, 150},
        {true, "10", "150", 10, 150},
        {true, "", "-3", 10, 10},  // no number reads as 0
        {false, "5", "200", 60, 70},  // the stored values stay
    };
    Start();
    for (const Case& c : cases) {
        Settings.WarnTemp = 60;
        Settings.AlarmTemp = 70;
        ShowOptions();
        dialog->XPCheckBox6->SetChecked(c.alarms);
        dialog->SpinEdit2->SetText(c.warn);
        dialog->SpinEdit3->SetText(c.alarm);
        Apply();
        EXPECT_EQ(Stored("Alarm"), DWORD(c.alarms));
        EXPECT_EQ(Stored("WarnTemp"), c.storedWarn) << c.alarms << " " << c.warn;
        EXPECT_EQ(Stored("AlarmTemp"), c.storedAlarm) << c.alarms << " " << c.alarm;
        if (c.alarms) {
            EXPECT_EQ(dialog->SpinEdit2->Text(), std::to_string(c.storedWarn));
            EXPECT_EQ(dialog->SpinEdit3->Text(), std::to_string(c.storedAlarm));
        }
    }
}

TEST_F(ConfTest, EveryEditIsStoredAndTakesEffect) {
    Start();
    ShowOptions();
    dialog->XPCheckBox3->SetChecked(false);
    dialog->XPCheckBox5->SetChecked(false);
    dialog->Label6->SetColor(0x00FF00);
    dialog->Label7->SetColor(0x0000FF);
    dialog->Label8->SetColor(0x00FFFF);
    dialog->TrackBar1->SetPosition(200);
    Apply();
    EXPECT_EQ(Stored("ShowHddNames"), 0u);
    EXPECT_EQ(Stored("ShowIcons"), 1u);
    EXPECT_EQ(Stored("ShowChart"), 0u);
    EXPECT_EQ(Stored("TextColor"), 0x00FF00u);
    EXPECT_EQ(Stored("DelColor"), 0x0000FFu);
    EXPECT_EQ(Stored("AxisColor"), 0x00FFFFu);
    EXPECT_EQ(Stored("Alpha"), 200u);
    EXPECT_EQ(Stored("Pos"), 2u);
    EXPECT_EQ(monitor->AlphaBlendValue(), 200);
    EXPECT_TRUE(boxes.empty());
}

TEST_F(ConfTest, UncheckingTheTrayIconWhileTheMonitorIsHiddenShowsTheMonitor) {
    StoreSettings({{"Show", 0}, {"Tray", 1}});
    Start();
    forms::Application->MainForm = monitor.get();  // the tray icon shows and hides the main form
    forms::Application->ProcessMessages();
    ASSERT_FALSE(IsWindowVisible(monitor->Handle()));
    ShowOptions();
    dialog->XPCheckBox2->SetChecked(false);
    Apply();
    EXPECT_TRUE(Settings.Show);
    EXPECT_EQ(Stored("Show"), 1u);
    EXPECT_EQ(Stored("Tray"), 0u);
    EXPECT_FALSE(monitor->TrayIcon1->IconVisible());
    EXPECT_TRUE(IsWindowVisible(monitor->Handle()));
}

TEST_F(ConfTest, ChoosingStayOnTopAsksForARestartAndTheNextStartIsTopmost) {
    StoreSettings({{"Pos", 2}});
    Start();
    ShowOptions();
    dialog->XPRadioButton1->SetChecked(true);
    dialog->SpinEdit1->SetText("12");
    Apply();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, "Please restart application!        ");
    EXPECT_EQ(boxes[0].caption, "Information");
    EXPECT_EQ(boxes[0].flags, UINT(MB_OK | MB_ICONINFORMATION));
    EXPECT_EQ(boxes[0].owner, dialog->Handle());
    // The other edits are stored; closing the monitor stored the new layer after them.
    EXPECT_EQ(Stored("RefreshTime"), 12u);
    EXPECT_EQ(Stored("Pos"), 1u);
    EXPECT_FALSE(monitor->Visible());
    EXPECT_FALSE(dialog->Visible());

    dialog.reset();
    monitor.reset();
    Settings = TSettings{};
    monitor = std::make_unique<TMainForm>(nullptr);
    EXPECT_EQ(Settings.Pos, 1);
    EXPECT_TRUE(GetWindowLongPtrA(monitor->Handle(), GWL_EXSTYLE) & WS_EX_TOPMOST);
}

TEST_F(ConfTest, ResetToDefaultStoresTheDefaultsAndClosesTheDialog) {
    StoreSettings({{"RefreshTime", 9}, {"WarnTemp", 40}, {"AlarmTemp", 45}, {"Alarm", 0}, {"Tray", 0},
                   {"ShowIcons", 0}, {"TextColor", 0x123456}, {"DelColor", 0xFFFFFF}, {"AxisColor", 0x00FF00},
                   {"Alpha", 99}, {"Pos", 2}});
    Start();
    ShowOptions();
    dialog->XPButton1->Click();
    EXPECT_TRUE(boxes.empty());  // the layer was "Desktop" already
    EXPECT_FALSE(dialog->Visible());
    const std::pair<const char*, DWORD> expected[] = {
        {"RefreshTime", 30}, {"WarnTemp", 60}, {"AlarmTemp", 70}, {"Alarm", 1}, {"ShowHddNames", 1},
        {"ShowIcons", 1}, {"ShowChart", 1}, {"TextColor", 0x0080FF}, {"DelColor", 0}, {"AxisColor", 0xA00000},
        {"Alpha", 170}, {"Pos", 2},
        {"Tray", 0},  // kept as it was
    };
    for (auto& [name, value] : expected) EXPECT_EQ(Stored(name), value) << name;
    EXPECT_EQ(monitor->AlphaBlendValue(), 170);
}

// --- previews and Cancel ----------------------------------------------------------------------

TEST_F(ConfTest, TheColourDialogStartsDarkBlueAndRemembersTheLastColour) {
    Start();
    ShowOptions();
    pickedColor = 0x123456;
    dialog->Label6->Click();
    EXPECT_EQ(dialog->Label6->Color(), 0x123456u);
    pickedColor = 0x654321;
    dialog->Label8->Click();
    EXPECT_EQ(dialog->Label8->Color(), 0x654321u);
    colorConfirmed = false;
    dialog->Label7->Click();
    EXPECT_EQ(dialog->Label7->Color(), 0u);  // cancelled: nothing changes
    ASSERT_EQ(colorDialogOpenedWith.size(), 3u);
    EXPECT_EQ(colorDialogOpenedWith[0], 0xA00000u);
    EXPECT_EQ(colorDialogOpenedWith[1], 0x123456u);
    EXPECT_EQ(colorDialogOpenedWith[2], 0x654321u);
}

TEST_F(ConfTest, ColoursAndOpacityArePreviewedOnTheMonitorAndCancelUndoesThem) {
    StoreSettings({{"Alpha", 150}});
    Start();
    ShowOptions();
    chart::TChartAxis& axis = monitor->Chart1->LeftAxis();
    // Every drive's name and temperature, and the chart's axis line, labels and ticks.
    auto shown = [&](TColor text, TColor delineate, TColor axisColor) {
        for (int i = 0; i < 2; ++i)
            for (label::TOutlinedLabel* l : {monitor->NameLabels[i], monitor->TempLabels[i]}) {
                EXPECT_EQ(l->Colors().Text(), text) << i;
                EXPECT_EQ(l->Colors().Delineate(), delineate) << i;
            }
        EXPECT_EQ(axis.Axis().Color(), axisColor);
        EXPECT_EQ(axis.LabelsFont().Color(), axisColor);
        EXPECT_EQ(axis.Ticks().Color(), axisColor);
    };
    dialog->TrackBar1->SetPosition(60);
    EXPECT_EQ(monitor->AlphaBlendValue(), 60);
    pickedColor = 0x00FF00;
    dialog->Label6->Click();
    pickedColor = 0xFFFFFF;
    dialog->Label7->Click();
    pickedColor = 0x0000FF;
    dialog->Label8->Click();
    shown(0x00FF00, 0xFFFFFF, 0x0000FF);

    dialog->XPButton3->Click();
    EXPECT_FALSE(dialog->Visible());
    EXPECT_EQ(monitor->AlphaBlendValue(), 150);
    shown(0x0080FF, 0x000000, 0xA00000);
    EXPECT_EQ(Settings.TextColor, 0x0080FFu);
    EXPECT_EQ(Stored("Alpha"), 150u);
    EXPECT_EQ(Stored("AxisColor"), 0xA00000u);
}

// --- the About page ---------------------------------------------------------------------------

TEST_F(ConfTest, TheAboutLinksOpenThroughTheShellHidden) {
    Start();
    dialog->ShowPage(cpAbout);
    EXPECT_EQ(dialog->Label17->Caption(), HomePage);
    EXPECT_EQ(dialog->Label19->Caption(), SupportAddress);
    dialog->Label17->Click();
    dialog->Label19->Click();
    ASSERT_EQ(shell.size(), 2u);
    EXPECT_EQ(shell[0].verb, "open");
    EXPECT_EQ(shell[0].file, HomePage);
    EXPECT_EQ(shell[1].file, std::string("mailto:") + SupportAddress);
    EXPECT_EQ(shell[1].show, SW_HIDE);
}

// --- the start-with-Windows value --------------------------------------------------------------

TEST_F(ConfTest, TheRunValueFollowsTheBox) {
    Start();
    ProgramDir = "C:\\Program Files\\Thermowl\\";
    ShowOptions();
    ASSERT_TRUE(dialog->XPCheckBox1->Enabled());
    EXPECT_FALSE(dialog->XPCheckBox1->Checked());
    dialog->XPCheckBox1->SetChecked(true);
    Apply();
    // Quoted: a path with spaces cannot start "C:\Program" instead.
    EXPECT_EQ(RunValueData(), "\"C:\\Program Files\\Thermowl\\thermowl.exe\"");
    ShowOptions();
    dialog->XPCheckBox1->SetChecked(false);
    Apply();
    EXPECT_EQ(RunValueData(), "<none>");
    // Unchecked with no value: nothing to delete, no error.
    ShowOptions();
    Apply();
    EXPECT_TRUE(boxes.empty());
}

TEST_F(ConfTest, AnExistingRunValueIsLeftAsItIs) {
    SetRunValue("D:\\elsewhere\\thermowl.exe /quiet");
    Start();
    ProgramDir = "C:\\Thermowl\\";
    EXPECT_TRUE(dialog->XPCheckBox1->Checked());  // read when the dialog was made
    ShowOptions();
    Apply();
    EXPECT_EQ(RunValueData(), "D:\\elsewhere\\thermowl.exe /quiet");
}

namespace {

// "\Software\Thermowl" under the machine's key, left there with a security descriptor that
// grants nobody anything: opening it for writing fails as it does for a user without rights
// on the machine-wide registry.
class LockedProbeKey {
public:
    LockedProbeKey() {
        EXPECT_EQ(RegCreateKeyExA(HKEY_LOCAL_MACHINE, "Software\\Thermowl", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                                  &key_, nullptr), ERROR_SUCCESS);
        SetDacl(&empty_);
    }
    ~LockedProbeKey() {
        SetDacl(nullptr);  // the handle still has every right: open the key up again and remove it
        RegCloseKey(key_);
        RegDeleteKeyA(HKEY_LOCAL_MACHINE, "Software\\Thermowl");
    }

private:
    void SetDacl(ACL* acl) {
        SECURITY_DESCRIPTOR sd;
        InitializeSecurityDescriptor(&sd, SECURITY_DESCRIPTOR_REVISION);
        if (acl) InitializeAcl(acl, sizeof(ACL), ACL_REVISION);
        SetSecurityDescriptorDacl(&sd, TRUE, acl, FALSE);
        EXPECT_EQ(RegSetKeySecurity(key_, DACL_SECURITY_INFORMATION, &sd), ERROR_SUCCESS);
    }
    HKEY key_ = nullptr;
    ACL empty_;
};

}  // namespace

TEST_F(ConfTest, WithoutTheRightToWriteTheMachineKeyTheBoxIsDisabledAndApplyLeavesTheRunKey) {
    SetRunValue("C:\\Thermowl\\thermowl.exe");
    {
        LockedProbeKey locked;
        Start();
    }
    EXPECT_FALSE(dialog->XPCheckBox1->Enabled());
    EXPECT_TRUE(dialog->XPCheckBox1->Checked());
    ShowOptions();
    dialog->XPCheckBox1->SetChecked(false);
    Apply();
    EXPECT_EQ(RunValueData(), "C:\\Thermowl\\thermowl.exe");
    EXPECT_TRUE(boxes.empty());
}

TEST_F(ConfTest, AFailedRunValueWriteStopsApplyWithTheDialogOpen) {
    Start();
    ProgramDir = "C:\\Thermowl\\";
    // The Run key gone after the start: the value cannot be written.
    ASSERT_TRUE(forms::TRegistry(HKEY_LOCAL_MACHINE).DeleteKey(RunKey));
    ShowOptions();
    dialog->XPCheckBox1->SetChecked(true);
    dialog->SpinEdit1->SetText("12");
    dialog->TrackBar1->SetPosition(90);
    Apply();
    EXPECT_EQ(ErrorBoxes(), std::vector<std::string>{"Failed to set data for 'Thermowl'"});
    EXPECT_TRUE(dialog->Visible());
    EXPECT_EQ(Settings.RefreshTime, 30);
    EXPECT_EQ(Settings.Alpha, 170);
    EXPECT_FALSE(Stored("RefreshTime") == 12u);
    // Polling goes on meanwhile, at the old period.
    EXPECT_TRUE(monitor->Timer1->Enabled());
    EXPECT_EQ(monitor->Timer1->Interval(), 30000u);
}
