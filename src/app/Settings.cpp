#include "Settings.h"
#include "DriveThresholds.h"
#include "forms/Registry.h"
#include "forms/WinControl.h"
#include <exception>

namespace thermowl {

TSettings Settings{};
const char* const SettingsKey = "\\Software\\Vantrell\\Thermowl\\Conf";

TSettings DefaultSettings(int screenWidth) {
    TSettings s{};
    s.Alarm = s.Tray = s.Show = s.ShowHddNames = s.ShowIcons = s.ShowChart = true;
    s.Alpha = 170;
    s.Pos = Desktop;
    s.WarnTemp = 60;
    s.AlarmTemp = 70;
    s.RefreshTime = 30;
    s.PosX = screenWidth - 250;
    s.PosY = 10;
    s.Devices = 0;
    s.TextColor = 0x000080FF;
    s.DelColor = 0x00000000;
    s.AxisColor = 0x00A00000;
    return s;
}

namespace {
int32_t OutOfRange(int32_t v, int32_t low, int32_t high, int32_t def) { return (v < low || v > high) ? def : v; }
}  // namespace

void LoadSettings() {
    const int w = GetSystemMetrics(SM_CXSCREEN), h = GetSystemMetrics(SM_CYSCREEN);
    const TSettings def = DefaultSettings(w);
    ForgetUserPairs();  // the drives' own pairs are read again too, when first needed
    forms::TRegistry reg(HKEY_CURRENT_USER);
    if (!reg.KeyExists(SettingsKey)) {
        Settings = def;
        return;
    }
    reg.OpenKey(SettingsKey, true);

    std::exception_ptr firstError;
    // Reads one value; a failure leaves the default in place and is remembered.
    auto read = [&](const char* name, auto& field, auto fallback, auto check) {
        try {
            field = check(reg.ReadInteger(name));
        } catch (const forms::ERegistryException&) {
            if (!firstError) firstError = std::current_exception();
            field = fallback;
        }
    };
    auto asBool = [](int32_t v) { return v != 0; };
    auto low8 = [](int32_t v) { return static_cast<uint8_t>(v & 0xFF); };
    auto colour = [](int32_t v) { return static_cast<forms::TColor>(v); };

    read("Alarm", Settings.Alarm, def.Alarm, asBool);
    read("Tray", Settings.Tray, def.Tray, asBool);
    read("Show", Settings.Show, def.Show, asBool);
    read("ShowHddNames", Settings.ShowHddNames, def.ShowHddNames, asBool);
    read("ShowIcons", Settings.ShowIcons, def.ShowIcons, asBool);
    read("ShowChart", Settings.ShowChart, def.ShowChart, asBool);
    read("Alpha", Settings.Alpha, def.Alpha, low8);
    read("Pos", Settings.Pos, def.Pos, [](int32_t v) { return OutOfRange(v, 1, 3, Desktop); });
    read("WarnTemp", Settings.WarnTemp, def.WarnTemp, [](int32_t v) { return OutOfRange(v, 10, 150, 60); });
    read("AlarmTemp", Settings.AlarmTemp, def.AlarmTemp, [](int32_t v) { return OutOfRange(v, 10, 150, 70); });
    read("RefreshTime", Settings.RefreshTime, def.RefreshTime, [](int32_t v) { return OutOfRange(v, 1, 180, 30); });
    read("PosX", Settings.PosX, def.PosX, [w](int32_t v) {
        if (v > w) v = w - 250;
        return v < -30 ? 0 : v;
    });
    read("PosY", Settings.PosY, def.PosY, [h](int32_t v) {
        if (v > h) v = h - 250;
        return v < -30 ? 0 : v;
    });
    read("Devices", Settings.Devices, def.Devices, low8);
    read("TextColor", Settings.TextColor, def.TextColor, colour);
    read("DelColor", Settings.DelColor, def.DelColor, colour);
    read("AxisColor", Settings.AxisColor, def.AxisColor, colour);
    reg.CloseKey();
    if (firstError) std::rethrow_exception(firstError);
}

void SaveSettings(HWND window) {
    const RECT r = forms::TWinControl::RectInParent(window);

    forms::TRegistry reg(HKEY_CURRENT_USER);
    reg.OpenKey(SettingsKey, true);
    const TSettings& s = Settings;
    reg.WriteInteger("Alarm", s.Alarm);
    reg.WriteInteger("Tray", s.Tray);
    reg.WriteInteger("Show", s.Show);
    reg.WriteInteger("ShowHddNames", s.ShowHddNames);
    reg.WriteInteger("ShowIcons", s.ShowIcons);
    reg.WriteInteger("ShowChart", s.ShowChart);
    reg.WriteInteger("RefreshTime", s.RefreshTime);
    reg.WriteInteger("WarnTemp", s.WarnTemp);
    reg.WriteInteger("AlarmTemp", s.AlarmTemp);
    reg.WriteInteger("PosX", r.left);
    reg.WriteInteger("PosY", r.top);
    reg.WriteInteger("Pos", s.Pos);
    reg.WriteInteger("Alpha", s.Alpha);
    reg.WriteInteger("Devices", s.Devices);
    reg.WriteInteger("TextColor", static_cast<int32_t>(s.TextColor));
    reg.WriteInteger("DelColor", static_cast<int32_t>(s.DelColor));
    reg.WriteInteger("AxisColor", static_cast<int32_t>(s.AxisColor));
    reg.CloseKey();
}

}  // namespace thermowl
