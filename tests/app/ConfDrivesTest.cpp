// The "Drives" page: the limits in force per drive and where they come from, and the user's own
// pair for a drive, kept across starts and given up again.
#include "ConfFixture.h"
#include "app/DriveThresholds.h"
#include "app/ServiceLink.h"
#include "app/Settings.h"
#include "forms/Registry.h"

using namespace thermowl;

TEST_F(ConfTest, AUserPairWinsOverTheDrivesLimitsSurvivesARestartAndClearingBringsThemBack) {
    prepareService = [](FakeService& s) {
        s.drives = {{"NVMe A", 50}, {"Disk B", 40}};
        s.traits = {{80, 85, contract::KindSolidState, {}, 0}, {55, 0, contract::KindRotating, {}, 0}};
        s.OpenChannel();
    };
    auto restart = [&] {
        dialog.reset();
        monitor.reset();
        service.reset();
        ResetMonitorState();
        Start();
        dialog->ShowPage(cpDrives);
    };
    auto rows = [&] {
        return std::vector<std::string>{dialog->DriveLimitLabels[0]->Caption(), dialog->DriveLimitLabels[1]->Caption()};
    };
    const std::string deg = " \xB0" "C ";
    // A pair stored before the settings ever were leaves their key alone: it would load as broken.
    StoreUserPair(DriveKey("Disk B", {}), {50, 60});
    EXPECT_FALSE(forms::TRegistry(HKEY_CURRENT_USER).KeyExists(SettingsKey));
    ClearUserPair(DriveKey("Disk B", {}));
    StoreSettings({{"WarnTemp", 60}, {"AlarmTemp", 70}});
    restart();
    EXPECT_EQ(rows(), (std::vector<std::string>{"80/85" + deg + "drive", "55/70" + deg + "drive/default"}));

    // Set for the first drive, then a pair out of order, which is refused.
    dialog->SpinEdit4->SetValue(70);
    dialog->SpinEdit5->SetValue(75);
    dialog->XPButton4->Click();
    dialog->SpinEdit4->SetValue(75);
    dialog->XPButton4->Click();
    EXPECT_EQ(boxes.size(), 1u);
    restart();
    EXPECT_EQ(rows()[0], "70/75" + deg + "user");
    EXPECT_EQ(ThresholdsForDrive(0).warn, 70);
    // Another drive of the same model, told apart by its serial number, has a pair of its own.
    EXPECT_EQ(ThresholdsFor("NVMe A", {80, 85, contract::KindSolidState, {}, 0x1234}).warnFrom, LimitSource::Drive);

    dialog->XPButton5->Click();
    EXPECT_EQ(rows()[0], "80/85" + deg + "drive");
    restart();
    EXPECT_EQ(rows()[0], "80/85" + deg + "drive");

    // A broken stored pair counts as none, and costs the other settings nothing.
    HKEY key;
    ASSERT_EQ(RegCreateKeyA(HKEY_CURRENT_USER, DriveSettingsKey(DriveKey("Disk B", {})).substr(1).c_str(), &key), ERROR_SUCCESS);
    RegSetValueExA(key, "WarnTemp", 0, REG_SZ, reinterpret_cast<const BYTE*>("50"), 3);
    RegSetValueExA(key, "AlarmTemp", 0, REG_DWORD, reinterpret_cast<const BYTE*>("\x3C\0\0\0"), 4);
    RegCloseKey(key);
    StoreSettings({{"WarnTemp", 58}, {"AlarmTemp", 70}});
    restart();
    EXPECT_EQ(rows()[1], "55/70" + deg + "drive/default");
    EXPECT_EQ(Settings.WarnTemp, 58);
    EXPECT_EQ(boxes.size(), 1u);
}
