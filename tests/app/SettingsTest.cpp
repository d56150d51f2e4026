// The settings store against the real registry.
#include "app/Settings.h"
#include "forms/Registry.h"
#include <gtest/gtest.h>
#include <map>
#include <string>

using namespace thermowl;

namespace {
const char* const Names[] = {"Alarm", "Tray", "Show", "ShowHddNames", "ShowIcons", "ShowChart", "RefreshTime",
                             "WarnTemp", "AlarmTemp", "PosX", "PosY", "Pos", "Alpha", "Devices",
                             "TextColor", "DelColor", "AxisColor"};

struct Store : testing::Test {
    int W = GetSystemMetrics(SM_CXSCREEN), H = GetSystemMetrics(SM_CYSCREEN);
    void SetUp() override {
        DeleteKey();
        Settings = TSettings{};
    }
    void TearDown() override { DeleteKey(); }
    static void DeleteKey() { RegDeleteKeyA(HKEY_CURRENT_USER, "Software\\Vantrell\\Thermowl\\Conf"); }
    static bool KeyExists() {
        HKEY k;
        if (RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\Vantrell\\Thermowl\\Conf", 0, KEY_READ, &k)) return false;
        RegCloseKey(k);
        return true;
    }
    // A complete, valid key; `overrides` replace single values.
    void WriteKey(std::map<std::string, int32_t> overrides = {}) {
        std::map<std::string, int32_t> v = {{"Alarm", 1}, {"Tray", 1}, {"Show", 1}, {"ShowHddNames", 0},
                                            {"ShowIcons", 1}, {"ShowChart", 0}, {"RefreshTime", 12},
                                            {"WarnTemp", 50}, {"AlarmTemp", 55}, {"PosX", 100}, {"PosY", 200},
                                            {"Pos", 3}, {"Alpha", 99}, {"Devices", 2}, {"TextColor", 0x123456},
                                            {"DelColor", 0x654321}, {"AxisColor", 0x00FF00}};
        for (auto& [k, x] : overrides) v[k] = x;
        forms::TRegistry reg;
        ASSERT_TRUE(reg.OpenKey(SettingsKey, true));
        for (auto& [k, x] : v) reg.WriteInteger(k, x);
    }
    // The value's type and size (and up to 4 bytes of it); false when it is missing.
    static bool Query(const char* name, DWORD& type, DWORD& size, DWORD* value = nullptr) {
        HKEY key;
        if (RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\Vantrell\\Thermowl\\Conf", 0, KEY_READ, &key)) return false;
        DWORD v = 0;
        size = sizeof(v);
        LONG r = RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE*>(&v), &size);
        RegCloseKey(key);
        if (value) *value = v;
        return r == ERROR_SUCCESS;
    }
    static DWORD Stored(const char* name) {
        DWORD type, size, v = 0;
        Query(name, type, size, &v);
        return v;
    }
    static void DeleteValue(const char* name) {
        forms::TRegistry reg;
        reg.OpenKey(SettingsKey, false);
        reg.DeleteValue(name);
    }
    std::string LoadError() {
        try {
            LoadSettings();
        } catch (const forms::ERegistryException& e) {
            return e.what();
        }
        return "";
    }
};
}  // namespace

TEST_F(Store, FirstRunGivesDefaultsAndWritesNothing) {
    LoadSettings();
    EXPECT_TRUE(Settings.Alarm && Settings.Tray && Settings.Show && Settings.ShowHddNames && Settings.ShowIcons &&
                Settings.ShowChart);
    EXPECT_EQ(Settings.RefreshTime, 30);
    EXPECT_EQ(Settings.WarnTemp, 60);
    EXPECT_EQ(Settings.AlarmTemp, 70);
    EXPECT_EQ(Settings.PosX, W - 250);
    EXPECT_EQ(Settings.PosY, 10);
    EXPECT_EQ(Settings.Pos, Desktop);
    EXPECT_EQ(Settings.Alpha, 170);
    EXPECT_EQ(Settings.Devices, 0);
    EXPECT_EQ(Settings.TextColor, 0x000080FFu);
    EXPECT_EQ(Settings.DelColor, 0u);
    EXPECT_EQ(Settings.AxisColor, 0x00A00000u);
    EXPECT_FALSE(KeyExists());
}

TEST_F(Store, StoredValuesLoadAsTheyAre) {
    WriteKey({{"Alarm", 2}});
    LoadSettings();
    EXPECT_TRUE(Settings.Alarm);  // any non-zero number is true
    EXPECT_FALSE(Settings.ShowHddNames);
    EXPECT_FALSE(Settings.ShowChart);
    EXPECT_EQ(Settings.RefreshTime, 12);
    EXPECT_EQ(Settings.WarnTemp, 50);
    EXPECT_EQ(Settings.AlarmTemp, 55);
    EXPECT_EQ(Settings.PosX, 100);
    EXPECT_EQ(Settings.PosY, 200);
    EXPECT_EQ(Settings.Pos, Normal);
    EXPECT_EQ(Settings.Alpha, 99);
    EXPECT_EQ(Settings.Devices, 2);
    EXPECT_EQ(Settings.TextColor, 0x123456u);
    EXPECT_EQ(Settings.DelColor, 0x654321u);
    EXPECT_EQ(Settings.AxisColor, 0x00FF00u);
}

struct RangeCase {
    const char* name;
    int32_t stored;
    int32_t loaded;
};

class Ranges : public Store, public testing::WithParamInterface<RangeCase> {};

TEST_P(Ranges, OutOfRangeBecomesTheDefaultAndBoundsStay) {
    RangeCase c = GetParam();
    WriteKey({{c.name, c.stored}});
    LoadSettings();
    std::map<std::string, int32_t> got = {{"RefreshTime", Settings.RefreshTime}, {"WarnTemp", Settings.WarnTemp},
                                          {"AlarmTemp", Settings.AlarmTemp}, {"Pos", Settings.Pos},
                                          {"Alpha", Settings.Alpha}, {"Devices", Settings.Devices},
                                          {"PosX", Settings.PosX}, {"PosY", Settings.PosY}};
    EXPECT_EQ(got[c.name], c.loaded) << c.name << " stored as " << c.stored;
}

INSTANTIATE_TEST_SUITE_P(Store, Ranges, testing::Values(
    RangeCase{"RefreshTime", 0, 30}, RangeCase{"RefreshTime", 181, 30}, RangeCase{"RefreshTime", 1, 1},
    RangeCase{"RefreshTime", 180, 180}, RangeCase{"WarnTemp", 9, 60}, RangeCase{"WarnTemp", 151, 60},
    RangeCase{"WarnTemp", 10, 10}, RangeCase{"WarnTemp", 150, 150}, RangeCase{"AlarmTemp", 9, 70},
    RangeCase{"AlarmTemp", 151, 70}, RangeCase{"AlarmTemp", 150, 150}, RangeCase{"Pos", 0, 2},
    RangeCase{"Pos", 4, 2}, RangeCase{"Pos", -1, 2}, RangeCase{"Pos", 1, 1}, RangeCase{"Alpha", 300, 44},
    RangeCase{"Devices", 257, 1}, RangeCase{"PosX", -30, -30}, RangeCase{"PosX", -31, 0},
    RangeCase{"PosY", -31, 0}));

TEST_F(Store, PositionBeyondTheScreen) {
    WriteKey({{"PosX", W + 1}, {"PosY", H + 1}});
    LoadSettings();
    EXPECT_EQ(Settings.PosX, W - 250);
    EXPECT_EQ(Settings.PosY, H - 250);
    WriteKey({{"PosX", W}, {"PosY", H}});  // equal to the screen size: kept
    LoadSettings();
    EXPECT_EQ(Settings.PosX, W);
    EXPECT_EQ(Settings.PosY, H);
}

TEST_F(Store, AMissingValueIsReportedByNameAndCostsNothingElse) {
    WriteKey();
    DeleteValue("Devices");
    EXPECT_EQ(LoadError(), "Failed to get data for 'Devices'");
    // Everything before and after it was read; the broken one has its default.
    EXPECT_EQ(Settings.PosY, 200);
    EXPECT_EQ(Settings.Alpha, 99);
    EXPECT_EQ(Settings.Devices, 0);
    EXPECT_EQ(Settings.TextColor, 0x123456u);
    EXPECT_EQ(Settings.DelColor, 0x654321u);
    EXPECT_EQ(Settings.AxisColor, 0x00FF00u);
}

TEST_F(Store, ABrokenAlphaFallsBackToVisibleNotZero) {
    WriteKey();
    DeleteValue("Alpha");
    EXPECT_EQ(LoadError(), "Failed to get data for 'Alpha'");
    EXPECT_EQ(Settings.Alpha, 170);
    EXPECT_EQ(Settings.Pos, Normal);
}

TEST_F(Store, WrongTypeAndTooWideValues) {
    WriteKey();
    {
        forms::TRegistry reg;
        reg.OpenKey(SettingsKey, false);
        reg.WriteString("Pos", "ab");  // 3 bytes, a string
    }
    EXPECT_EQ(LoadError(), "Invalid data type for 'Pos'");
    EXPECT_EQ(Settings.Pos, Desktop);
    EXPECT_EQ(Settings.WarnTemp, 50);
    HKEY k;
    RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\Vantrell\\Thermowl\\Conf", 0, KEY_ALL_ACCESS, &k);
    RegSetValueExA(k, "Pos", 0, REG_DWORD, reinterpret_cast<const BYTE*>("\3\0\0\0"), 4);
    uint64_t wide = 5;
    RegSetValueExA(k, "WarnTemp", 0, REG_QWORD, reinterpret_cast<const BYTE*>(&wide), 8);
    RegCloseKey(k);
    EXPECT_EQ(LoadError(), "Failed to get data for 'WarnTemp'");
    EXPECT_EQ(Settings.WarnTemp, 60);
    EXPECT_EQ(Settings.Pos, Normal);
}

TEST_F(Store, TheFirstOfSeveralFailuresIsTheOneReported) {
    WriteKey();
    DeleteValue("Tray");
    DeleteValue("AxisColor");
    EXPECT_EQ(LoadError(), "Failed to get data for 'Tray'");
    EXPECT_TRUE(Settings.Tray);
    EXPECT_EQ(Settings.AxisColor, 0x00A00000u);
}

TEST_F(Store, SaveWritesEveryValueAsDwordWithTheWindowsPlace) {
    HWND w = CreateWindowExA(0, "STATIC", "", WS_POPUP, 123, 45, 10, 10, nullptr, nullptr, nullptr, nullptr);
    Settings = DefaultSettings(W);
    Settings.Alarm = true;
    Settings.PosX = 1;   // the fields are not what is stored
    Settings.PosY = 2;
    Settings.Alpha = 7;
    Settings.TextColor = 0xFFFFFFFF;
    SaveSettings(w);
    DestroyWindow(w);
    for (const char* name : Names) {
        DWORD type = 0, size = 0;
        ASSERT_TRUE(Query(name, type, size)) << name;
        EXPECT_EQ(type, DWORD(REG_DWORD)) << name;
        EXPECT_EQ(size, 4u) << name;
    }
    EXPECT_EQ(Stored("PosX"), 123u);
    EXPECT_EQ(Stored("PosY"), 45u);
    EXPECT_EQ(Stored("Alarm"), 1u);
    EXPECT_EQ(Stored("Alpha"), 7u);
    EXPECT_EQ(Stored("TextColor"), 0xFFFFFFFFu);
    EXPECT_EQ(Settings.PosX, 1);
}

TEST_F(Store, SaveRepairsABrokenKeyAndKeepsTheRest) {
    WriteKey();
    DeleteValue("Devices");
    LoadError();
    HWND w = CreateWindowExA(0, "STATIC", "", WS_POPUP, 100, 200, 10, 10, nullptr, nullptr, nullptr, nullptr);
    SaveSettings(w);
    DestroyWindow(w);
    Settings = TSettings{};
    EXPECT_EQ(LoadError(), "");
    EXPECT_EQ(Settings.Alpha, 99);
    EXPECT_EQ(Settings.AxisColor, 0x00FF00u);
    EXPECT_EQ(Settings.Devices, 0);
}
