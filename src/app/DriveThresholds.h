// Each drive's warning and alarm temperatures: the pair the user set for that drive, else the
// limits the drive states itself, else WarnTemp and AlarmTemp.
#pragma once
#include "contract/ServiceContract.h"
#include <optional>
#include <string>

namespace thermowl {

enum class LimitSource { Default, Drive, User };

struct DriveThresholds {
    int warn, alarm;
    LimitSource warnFrom, alarmFrom;
};

// What the user set for one drive: 10..150 degrees each, the warning below the alarm.
struct UserPair {
    int warn, alarm;
};
bool ValidUserPair(const UserPair& pair);

// What a drive's pair is kept under: its table name (the model the service reports, with its
// device added when two drives share a model) and, when the service tells it, " #" and the
// identity of its serial number in hex. So neither a drive of another model nor another drive
// of the same model takes over a pair set for another; a service that tells no identity keys
// by the name alone.
std::string DriveKey(const std::string& name, const contract::DriveTraits& traits);
// The drive's subkey of the settings key.
std::string DriveSettingsKey(const std::string& driveKey);

// The stored pair of the drive; nothing when none is stored or it is unusable. Read once per
// drive and kept until ForgetUserPairs.
std::optional<UserPair> StoredUserPair(const std::string& driveKey);
// Stores the pair (raises ERegistryException when it cannot) or removes it.
void StoreUserPair(const std::string& driveKey, const UserPair& pair);
void ClearUserPair(const std::string& driveKey);
// The next StoredUserPair reads the registry again.
void ForgetUserPairs();

DriveThresholds ThresholdsFor(const std::string& name, const contract::DriveTraits& traits);
// Drive `drive` of DriveTable with what it states in DriveLimits.
DriveThresholds ThresholdsForDrive(int drive);

// What an alert or the hint adds when the threshold crossed at `temperature` is the drive's own
// (set for it or stated by it): " (its limit is 80\xB0C)", with `gap` between number and sign;
// empty below both thresholds and for the default ones.
std::string CrossedLimitNote(const DriveThresholds& limits, int temperature, const char* gap);

}  // namespace thermowl
