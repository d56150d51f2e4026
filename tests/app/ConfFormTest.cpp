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
#include <sstream>

using namespace thermowl;
using forms::TColor;

namespace {

// The Run value's data as written ("<type>" first if it is not a string), or "<none>".
std::string RunValueData(const char* set = nullptr) {
    HKEY key;
    EXPECT_EQ(RegCreateKeyExA(HKEY_LOCAL_MACHINE, "Software\\Microsoft\\Windows\\CurrentVersion\\Run", 0, nullptr, 0,
                              KEY_ALL_ACCESS, nullptr, &key, nullptr), ERROR_SUCCESS);
    if (set) RegSetValueExA(key, "Thermowl", 0, REG_SZ, reinterpret_cast<const BYTE*>(set), DWORD(strlen(set) + 1));
    char data[512] = {};
    DWORD size = sizeof data - 1, type = 0;
    LONG r = RegQueryValueExA(key, "Thermowl", nullptr, &type, reinterpret_cast<BYTE*>(data), &size);
    RegCloseKey(key);
    return r ? "<none>" : (type == REG_SZ ? "" : "<type>") + std::string(data);
}

// Every setting the dialog shows, in one line: refresh, tray, alarms, thresholds and how many of
// their six controls are enabled, names/icons/chart, the three colours, the chosen layer (and
// whether "Stay on bottom" may be chosen) and the track bar as the control and its window hold it.
std::string Shown(TConfForm& d) {
    int fields = 0;
    for (forms::TControl* c : std::initializer_list<forms::TControl*>{d.Label10, d.Label11, d.Label12, d.Label13,
                                                                       d.SpinEdit2, d.SpinEdit3})
        fields += c->Enabled();
    int pos = d.XPRadioButton1->Checked() ? 1 : d.XPRadioButton2->Checked() ? 2 : d.XPRadioButton3->Checked() ? 3 : 0;
    std::ostringstream s;
    s << std::hex << d.SpinEdit1->Text() << ' ' << d.XPCheckBox2->Checked() << d.XPCheckBox6->Checked() << ' '
      << d.SpinEdit2->Text() << '/' << d.SpinEdit3->Text() << " x" << fields << ' ' << d.XPCheckBox3->Checked()
      << d.XPCheckBox4->Checked() << d.XPCheckBox5->Checked() << ' ' << d.Label6->Color() << ' ' << d.Label7->Color()
      << ' ' << d.Label8->Color() << " pos" << pos << (d.XPRadioButton3->Enabled() ? "" : "-") << ' ' << std::dec
      << d.TrackBar1->Position() << '/' << SendMessageA(d.TrackBar1->Handle(), TBM_GETPOS, 0, 0);
    return s.str();
}

// A key's access list; an empty one grants nobody anything, as for a user without rights there.
void SetKeyAccess(HKEY key, ACL* acl) {
    SECURITY_DESCRIPTOR sd;
    InitializeSecurityDescriptor(&sd, SECURITY_DESCRIPTOR_REVISION);
    SetSecurityDescriptorDacl(&sd, TRUE, acl, FALSE);
    EXPECT_EQ(RegSetKeySecurity(key, DACL_SECURITY_INFORMATION, &sd), ERROR_SUCCESS);
}

}  // namespace

TEST_F(ConfTest, TheDialogIsAFixedTopmostWindowOpenedByTheTrayMenuOnItsPage) {
    Start();
    HWND h = dialog->Handle();
    EXPECT_FALSE(IsWindowVisible(h));
    char caption[64] = {};
    GetWindowTextA(h, caption, sizeof caption);
    EXPECT_STREQ(caption, "Thermowl Options");
    RECT client;
    GetClientRect(h, &client);
    EXPECT_EQ(std::pair(client.right, client.bottom), std::pair(304L, 327L));
    EXPECT_FALSE(GetWindowLongPtrA(h, GWL_STYLE) & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME));
    EXPECT_TRUE(GetWindowLongPtrA(h, GWL_EXSTYLE) & WS_EX_TOPMOST);
    EXPECT_NE(SendMessageA(h, WM_GETICON, ICON_SMALL, 0), 0);

    monitor->About1->Click();
    EXPECT_TRUE(IsWindowVisible(h));
    EXPECT_EQ(dialog->PageControl1->ActivePageIndex(), 2);
    RECT r;
    GetWindowRect(h, &r);
    EXPECT_NEAR((r.left + r.right) / 2, GetSystemMetrics(SM_CXSCREEN) / 2, 1);
    EXPECT_NEAR((r.top + r.bottom) / 2, GetSystemMetrics(SM_CYSCREEN) / 2, 1);
    monitor->option->Click();
    EXPECT_EQ(dialog->PageControl1->ActivePageIndex(), 1);
    // A showing that failed is not taken for one that happened: the next one shows.
    dialog->Hide();
    bool fail = true;
    dialog->OnShow = [&, shown = dialog->OnShow](forms::TObject* s) {
        if (std::exchange(fail, false)) throw std::runtime_error("not now");
        shown(s);
    };
    EXPECT_THROW(ShowOptions(), std::runtime_error);
    ShowOptions();
    EXPECT_TRUE(IsWindowVisible(h));

    // No control window covers part of another: it would hide a radio button's circle, say.
    std::vector<forms::TWinControl*> w;
    for (forms::TComponent* c : dialog->Components())
        if (auto* x = dynamic_cast<forms::TWinControl*>(c); x && !dynamic_cast<forms::TTabSheet*>(x)) w.push_back(x);
    ASSERT_GT(w.size(), 20u);
    for (size_t i = 0; i < w.size(); ++i)
        for (size_t j = i + 1; j < w.size(); ++j) {
            RECT a = w[i]->BoundsRect(), b = w[j]->BoundsRect(), both;
            EXPECT_FALSE(w[i]->Parent() == w[j]->Parent() && IntersectRect(&both, &a, &b)) << w[i]->Name << " " << w[j]->Name;
        }
}

TEST_F(ConfTest, StoredValuesShowAndAStoredLayerShowsEvenWhenItCannotBeChosen) {
    StoreSettings({{"RefreshTime", 120}, {"Alarm", 0}, {"Tray", 0}, {"Pos", 3}, {"Alpha", 40},
                   {"TextColor", 0x112233}, {"ShowIcons", 0}});
    Start();
    ShowOptions();
    EXPECT_EQ(Shown(*dialog), "60 00 60/70 x0 101 112233 0 a00000 pos3- 40/40");
    dialog->XPCheckBox6->SetChecked(true);  // enables the alarm fields at once
    EXPECT_EQ(Shown(*dialog), "60 01 60/70 x6 101 112233 0 a00000 pos3- 40/40");
}

TEST_F(ConfTest, FirstUseShowsTheDefaultsAndShowingTheOpenDialogKeepsItsEdits) {
    Start();
    ShowOptions();
    const std::string defaults = "30 11 60/70 x6 111 80ff 0 a00000 pos2- 170/170";
    EXPECT_EQ(Shown(*dialog), defaults);
    EXPECT_EQ(dialog->Label11->Caption(), "\xB0" "C");
    dialog->SpinEdit1->SetText("5");
    dialog->TrackBar1->SetPosition(90);
    dialog->ShowPage(cpAbout);
    EXPECT_EQ(dialog->PageControl1->ActivePageIndex(), 2);
    EXPECT_TRUE(dialog->TabSheet3->Visible() && !dialog->TabSheet2->Visible());
    EXPECT_EQ(dialog->SpinEdit1->Text() + " " + std::to_string(dialog->TrackBar1->Position()), "5 90");
    // Closed with its close box and shown again: the settings are read anew.
    SendMessageA(dialog->Handle(), WM_CLOSE, 0, 0);
    EXPECT_FALSE(dialog->Visible());
    EXPECT_EQ(monitor->AlphaBlendValue(), 90);  // the preview stays until the next showing
    ShowOptions();
    EXPECT_EQ(Shown(*dialog), defaults);
    EXPECT_EQ(monitor->AlphaBlendValue(), 170);
}

TEST_F(ConfTest, RefreshTimeIsAppliedWithin1To60) {
    const std::pair<const char*, int> cases[] = {{"0", 1}, {"75", 60}, {"x", 1}, {"17", 17}};
    Start();
    for (auto [typed, applied] : cases) {
        SCOPED_TRACE(typed);
        ShowOptions();
        dialog->SpinEdit1->SetText(typed);
        Apply();
        EXPECT_EQ(Stored("RefreshTime"), DWORD(applied));
        EXPECT_EQ(dialog->SpinEdit1->Text(), std::to_string(applied));
        EXPECT_EQ(monitor->Timer1->Interval(), unsigned(applied) * 1000u);
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
        {true, "", "-3", 10, 10},     // no number reads as the lower limit
        {false, "5", "200", 60, 70},  // the stored values stay
    };
    Start();
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.alarms << " " << c.warn << " " << c.alarm);
        Settings.WarnTemp = 60;
        Settings.AlarmTemp = 70;
        ShowOptions();
        dialog->XPCheckBox6->SetChecked(c.alarms);
        dialog->SpinEdit2->SetText(c.warn);
        dialog->SpinEdit3->SetText(c.alarm);
        Apply();
        EXPECT_EQ(Stored("Alarm"), DWORD(c.alarms));
        EXPECT_EQ(Stored("WarnTemp"), c.storedWarn);
        EXPECT_EQ(Stored("AlarmTemp"), c.storedAlarm);
        if (c.alarms) {
            EXPECT_EQ(dialog->SpinEdit2->Text(), std::to_string(c.storedWarn));
            EXPECT_EQ(dialog->SpinEdit3->Text(), std::to_string(c.storedAlarm));
        }
    }
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
    EXPECT_EQ(std::pair(Stored("Show"), Stored("Tray")), std::pair(1ul, 0ul));
    EXPECT_FALSE(monitor->TrayIcon1->IconVisible());
    EXPECT_TRUE(IsWindowVisible(monitor->Handle()));
}

TEST_F(ConfTest, ChoosingStayOnTopAsksForARestartAndTheNextStartIsTopmost) {
    StoreSettings({{"Pos", 2}});
    Start();
    ShowOptions();
    dialog->XPRadioButton1->SetChecked(true);
    dialog->SpinEdit1->SetText("12");
    forms::Application->MainForm = monitor.get();
    Apply();
    EXPECT_TRUE(forms::Application->Terminated());
    forms::Application->ProcessMessages();  // takes the quit message
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text + "|" + boxes[0].caption, "Please restart application!        |Information");
    EXPECT_EQ(boxes[0].flags, UINT(MB_OK | MB_ICONINFORMATION));
    EXPECT_EQ(boxes[0].owner, dialog->Handle());
    // The other edits are stored; closing the monitor stored the new layer after them.
    EXPECT_EQ(Stored("RefreshTime"), 12u);
    EXPECT_EQ(Stored("Pos"), 1u);
    EXPECT_FALSE(monitor->Visible() || dialog->Visible());

    dialog.reset();
    monitor.reset();
    Settings = TSettings{};
    monitor = std::make_unique<TMainForm>(nullptr);
    EXPECT_EQ(Settings.Pos, 1);
    EXPECT_TRUE(GetWindowLongPtrA(monitor->Handle(), GWL_EXSTYLE) & WS_EX_TOPMOST);
}

TEST_F(ConfTest, EveryEditIsStoredAndResetToDefaultStoresTheDefaults) {
    StoreSettings({{"WarnTemp", 40}, {"AlarmTemp", 45}, {"Tray", 0}, {"Pos", 2}});
    Start();
    ShowOptions();
    dialog->SpinEdit1->SetText("9");
    for (controls::TXPCheckBox* box : {dialog->XPCheckBox3, dialog->XPCheckBox5, dialog->XPCheckBox6})
        box->SetChecked(false);
    dialog->Label6->SetColor(0x00FF00);
    dialog->Label7->SetColor(0x0000FF);
    dialog->Label8->SetColor(0x00FFFF);
    dialog->TrackBar1->SetPosition(200);
    Apply();
    EXPECT_EQ(monitor->AlphaBlendValue(), 200);
    // The monitor is built anew for the new layout and shows the last reading again.
    EXPECT_FALSE(monitor->NameLabels[0]->Visible() || monitor->Chart1->Visible());
    EXPECT_EQ(monitor->TempLabels[0]->Caption(), "41\xB0" "C");
    // What Apply stored, then what Reset to default stores (the tray icon and "Enable" are not
    // reset, and with alarms off the thresholds stay as stored).
    const std::tuple<const char*, DWORD, DWORD> expected[] = {
        {"RefreshTime", 9, 30}, {"Alarm", 0, 0}, {"WarnTemp", 40, 40}, {"AlarmTemp", 45, 45},
        {"ShowHddNames", 0, 1}, {"ShowIcons", 1, 1}, {"ShowChart", 0, 1}, {"TextColor", 0x00FF00, 0x0080FF},
        {"DelColor", 0x0000FF, 0}, {"AxisColor", 0x00FFFF, 0xA00000}, {"Alpha", 200, 170}, {"Pos", 2, 2},
        {"Tray", 0, 0}};
    for (auto& [name, edited, reset] : expected) EXPECT_EQ(Stored(name), edited) << name;
    ShowOptions();
    dialog->XPButton1->Click();
    EXPECT_FALSE(dialog->Visible());
    for (auto& [name, edited, reset] : expected) EXPECT_EQ(Stored(name), reset) << name;
    EXPECT_EQ(monitor->AlphaBlendValue(), 170);
    EXPECT_TRUE(boxes.empty());  // the layer was "Desktop" already
    // With alarms on, Reset stores the default thresholds as well.
    ShowOptions();
    dialog->XPCheckBox6->SetChecked(true);
    dialog->XPButton1->Click();
    EXPECT_EQ(Stored("WarnTemp"), 60u);
    EXPECT_EQ(Stored("AlarmTemp"), 70u);
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
    // The colour dialog starts dark blue, then with the last colour picked; a cancelled one changes nothing.
    auto pick = [&](forms::TLabel* link, TColor c, bool confirmed = true) {
        pickedColor = c;
        colorConfirmed = confirmed;
        link->Click();
    };
    pick(dialog->Label6, 0x00FF00);
    pick(dialog->Label7, 0xFFFFFF);
    pick(dialog->Label8, 0x0000FF);
    pick(dialog->Label7, 0x123456, false);
    EXPECT_EQ(colorDialogOpenedWith, (std::vector<COLORREF>{0xA00000, 0x00FF00, 0xFFFFFF, 0x0000FF}));
    shown(0x00FF00, 0xFFFFFF, 0x0000FF);

    dialog->XPButton3->Click();
    EXPECT_FALSE(dialog->Visible());
    EXPECT_EQ(monitor->AlphaBlendValue(), 150);
    shown(0x0080FF, 0x000000, 0xA00000);
    EXPECT_EQ(Stored("Alpha"), 150u);
    EXPECT_EQ(Stored("AxisColor"), 0xA00000u);
}

TEST_F(ConfTest, TheAboutLinksOpenThroughTheShellHidden) {
    Start();
    dialog->ShowPage(cpAbout);
    EXPECT_EQ(dialog->Label17->Caption(), "http://www.thermowl.example/");
    EXPECT_EQ(dialog->Label19->Caption(), "support@thermowl.example");
    dialog->Label17->Click();
    dialog->Label19->Click();
    ASSERT_EQ(shell.size(), 2u);
    EXPECT_EQ(shell[0].verb + " " + shell[0].file, "open http://www.thermowl.example/");
    EXPECT_EQ(shell[1].file, "mailto:support@thermowl.example");
    EXPECT_EQ(shell[1].show, SW_HIDE);
}

TEST_F(ConfTest, AnExistingRunValueIsLeftUncheckingDeletesItAndAWrittenOneIsQuoted) {
    RunValueData("D:\\elsewhere\\thermowl.exe /quiet");
    Start();
    ProgramDir = "C:\\Program Files\\Thermowl\\";
    // What the box shows, what it is set to, and the value Apply leaves.
    const std::tuple<bool, bool, const char*> steps[] = {
        {true, true, "D:\\elsewhere\\thermowl.exe /quiet"},
        {true, false, "<none>"},
        {false, false, "<none>"},  // nothing to delete: no error
        {false, true, "\"C:\\Program Files\\Thermowl\\thermowl.exe\""},  // "C:\Program" cannot start instead
    };
    for (auto [shown, checked, data] : steps) {
        SCOPED_TRACE(data);
        ShowOptions();
        EXPECT_TRUE(dialog->XPCheckBox1->Enabled());
        EXPECT_EQ(dialog->XPCheckBox1->Checked(), shown);
        dialog->XPCheckBox1->SetChecked(checked);
        Apply();
        EXPECT_EQ(RunValueData(), data);
    }
    EXPECT_TRUE(boxes.empty());
}

TEST_F(ConfTest, WithoutTheRightToWriteTheMachineKeyTheBoxIsDisabledAndApplyLeavesTheRunKey) {
    RunValueData("C:\\Thermowl\\thermowl.exe");
    // The probe key left with a descriptor that grants nobody anything: opening it for writing
    // fails as it does for a user without rights on the machine-wide registry.
    HKEY probe;
    ASSERT_EQ(RegCreateKeyExA(HKEY_LOCAL_MACHINE, "Software\\Thermowl", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &probe,
                              nullptr), ERROR_SUCCESS);
    ACL empty;
    InitializeAcl(&empty, sizeof empty, ACL_REVISION);
    SetKeyAccess(probe, &empty);
    Start();
    SetKeyAccess(probe, nullptr);  // the handle still has every right: open the key up again and remove it
    RegCloseKey(probe);
    RegDeleteKeyA(HKEY_LOCAL_MACHINE, "Software\\Thermowl");

    EXPECT_FALSE(dialog->XPCheckBox1->Enabled());
    EXPECT_TRUE(dialog->XPCheckBox1->Checked());
    ShowOptions();
    dialog->XPCheckBox1->SetChecked(false);
    Apply();
    EXPECT_EQ(RunValueData(), "C:\\Thermowl\\thermowl.exe");
    EXPECT_TRUE(boxes.empty());
}

TEST_F(ConfTest, AFailedSaveTakesNothingOverAndItsErrorBoxIsOnTopOfTheDialog) {
    Start();
    ShowOptions();
    dialog->SpinEdit1->SetText("12");
    dialog->XPCheckBox2->SetChecked(false);
    // The settings key closed to everybody: storing fails. The handle keeps the right to open it again.
    HKEY conf;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\Vantrell\\Thermowl\\Conf", 0, nullptr, 0, KEY_ALL_ACCESS,
                              nullptr, &conf, nullptr), ERROR_SUCCESS);
    ACL empty;
    InitializeAcl(&empty, sizeof empty, ACL_REVISION);
    SetKeyAccess(conf, &empty);
    Apply();
    SetKeyAccess(conf, nullptr);
    RegCloseKey(conf);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].owner, dialog->Handle());
    EXPECT_TRUE(boxes[0].flags & MB_ICONSTOP);
    EXPECT_TRUE(dialog->Visible());
    // Polling goes on at the stored period, and the icon stays.
    EXPECT_EQ(std::pair(Settings.RefreshTime, Settings.Tray), std::pair(30, true));
    EXPECT_EQ(std::pair(monitor->Timer1->Enabled(), monitor->Timer1->Interval()), std::pair(true, 30000u));
    EXPECT_TRUE(monitor->TrayIcon1->IconVisible());
}
