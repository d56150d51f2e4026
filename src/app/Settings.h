// The user's preferences: one program-wide record, loaded at start and stored at close and on Apply.
#pragma once
#include "forms/Colors.h"
#include <windows.h>
#include <cstdint>

namespace thermowl {

enum PlacementMode : int32_t { StayOnTop = 1, Desktop = 2, Normal = 3 };

struct TSettings {
    bool Alarm, Tray, Show, ShowHddNames, ShowIcons, ShowChart;
    int32_t RefreshTime;  // seconds
    int32_t WarnTemp, AlarmTemp;
    int32_t PosX, PosY;
    int32_t Pos;  // a PlacementMode
    uint8_t Alpha;
    uint8_t Devices;
    forms::TColor TextColor, DelColor, AxisColor;
};

extern TSettings Settings;

// The key under HKEY_CURRENT_USER.
extern const char* const SettingsKey;

// Fills Settings from the registry, or with the defaults when the key does not exist (nothing is
// written then). A value that cannot be read gets its default and the reading goes on, so one
// broken value costs nothing else; the first such failure is then raised as ERegistryException.
void LoadSettings();

// Writes every field; PosX/PosY are taken from `window`'s current place in its parent.
void SaveSettings(HWND window);

// The defaults for a screen of the given size.
TSettings DefaultSettings(int screenWidth);

}  // namespace thermowl
