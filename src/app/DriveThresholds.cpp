#include "DriveThresholds.h"
#include "ServiceLink.h"
#include "Settings.h"
#include "forms/Registry.h"
#include <cstdio>
#include <map>

namespace thermowl {

namespace {
constexpr int LowestTemp = 10, HighestTemp = 150;
const char* const WarnValue = "WarnTemp";
const char* const AlarmValue = "AlarmTemp";

// Read pairs by drive key; a drive without one is kept as nothing, so it is not asked again.
std::map<std::string, std::optional<UserPair>> userPairs;

std::optional<UserPair> ReadUserPair(const std::string& driveKey) {
    try {
        forms::TRegistry reg(HKEY_CURRENT_USER, KEY_READ);
        if (!reg.OpenKeyReadOnly(DriveSettingsKey(driveKey))) return std::nullopt;
        if (!reg.ValueExists(WarnValue) || !reg.ValueExists(AlarmValue)) return std::nullopt;
        const UserPair pair{reg.ReadInteger(WarnValue), reg.ReadInteger(AlarmValue)};
        if (ValidUserPair(pair)) return pair;
    } catch (const forms::ERegistryException&) {
        // A value of another type: as if none were stored.
    }
    return std::nullopt;
}
}  // namespace

bool ValidUserPair(const UserPair& pair) {
    return pair.warn >= LowestTemp && pair.alarm <= HighestTemp && pair.warn < pair.alarm;
}

std::string DriveKey(const std::string& name, const contract::DriveTraits& traits) {
    if (!traits.Identity) return name;
    char identity[16];
    snprintf(identity, sizeof identity, " #%08X", static_cast<unsigned>(traits.Identity));
    return name + identity;
}

std::string DriveSettingsKey(const std::string& driveKey) {
    // A key name may hold anything but a backslash; an empty one would be the parent itself.
    std::string key = driveKey.empty() ? "?" : driveKey;
    for (char& c : key)
        if (c == '\\') c = '/';
    // Beside the settings key, not inside it: a pair stored before the settings ever were must not
    // make the settings key exist without its values, which the loader reports as broken.
    return "\\Software\\Vantrell\\Thermowl\\Drives\\" + key;
}

std::optional<UserPair> StoredUserPair(const std::string& driveKey) {
    auto found = userPairs.find(driveKey);
    if (found == userPairs.end()) found = userPairs.emplace(driveKey, ReadUserPair(driveKey)).first;
    return found->second;
}

void StoreUserPair(const std::string& driveKey, const UserPair& pair) {
    forms::TRegistry reg(HKEY_CURRENT_USER);
    reg.OpenKey(DriveSettingsKey(driveKey), true);
    reg.WriteInteger(WarnValue, pair.warn);
    reg.WriteInteger(AlarmValue, pair.alarm);
    reg.CloseKey();
    userPairs[driveKey] = pair;
}

void ClearUserPair(const std::string& driveKey) {
    forms::TRegistry reg(HKEY_CURRENT_USER);
    reg.DeleteKey(DriveSettingsKey(driveKey));
    userPairs[driveKey] = std::nullopt;
}

void ForgetUserPairs() { userPairs.clear(); }

DriveThresholds ThresholdsFor(const std::string& name, const contract::DriveTraits& traits) {
    if (auto pair = StoredUserPair(DriveKey(name, traits)))
        return {pair->warn, pair->alarm, LimitSource::User, LimitSource::User};
    DriveThresholds t{Settings.WarnTemp, Settings.AlarmTemp, LimitSource::Default, LimitSource::Default};
    // Each stated limit on its own: a drive may state only one of them.
    if (int warn = contract::PlausibleLimit(traits.WarnLimit)) t = {warn, t.alarm, LimitSource::Drive, t.alarmFrom};
    if (int alarm = contract::PlausibleLimit(traits.CritLimit)) t = {t.warn, alarm, t.warnFrom, LimitSource::Drive};
    return t;
}

DriveThresholds ThresholdsForDrive(int drive) {
    return ThresholdsFor(DriveName(DriveTable[drive]), DriveLimits[drive]);
}

std::string CrossedLimitNote(const DriveThresholds& limits, int temperature, const char* gap) {
    int crossed = 0;
    if (temperature >= limits.alarm) {
        if (limits.alarmFrom != LimitSource::Default) crossed = limits.alarm;
    } else if (temperature >= limits.warn && limits.warnFrom != LimitSource::Default) {
        crossed = limits.warn;
    }
    if (!crossed) return {};
    return " (its limit is " + std::to_string(crossed) + gap + "\xB0" "C)";
}

}  // namespace thermowl
