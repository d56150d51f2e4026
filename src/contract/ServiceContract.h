// What the monitor and the temperature service agree on. Other programs may read the two files
// in the system directory too, so their layout never changes; the session channel
// (SessionChannel.h) carries the same table to the monitor of the service's own session.
#pragma once
#include <windows.h>
#include <cstddef>
#include <cstdint>

namespace contract {

constexpr UINT ReqInfoMsg = WM_USER + 1;  // thread message to the service; LParam: the window to answer
constexpr UINT RecInfoMsg = WM_USER + 3;  // to that window once the table is written; WParam: records
constexpr const char* IdFileName = "hsid.dat";      // the service thread's id, 4 bytes little-endian
constexpr const char* TableFileName = "hdinfo.dat"; // DriveRecord x the number of drives
constexpr int MaxDrives = 8;

// Byte 33 of a record: what kind of reading it is (0 for a live reading of a real drive).
constexpr uint8_t FlagAsleep = 1;     // the drive sleeps; the temperature is its last reading
constexpr uint8_t FlagSimulated = 2;  // a made-up or scripted drive
constexpr uint8_t FlagStale = 4;      // the last read failed; the temperature is the one before

#pragma pack(push, 1)
struct DriveRecord {
    uint8_t NameLength;  // 0..32; more is taken as 32
    char Name[32];
    uint8_t Flags;       // Flag... bits
    uint8_t Temperature; // whole degrees Celsius
};
#pragma pack(pop)
static_assert(sizeof(DriveRecord) == 35, "a drive record is 35 bytes on disk");

// What a drive states about itself: its rated limits and its kind. Carried beside the records in
// the session channel only; the file's readers never see it.
enum DriveKind : uint8_t { KindUnknown = 0, KindSolidState = 1, KindRotating = 2 };

#pragma pack(push, 1)
struct DriveTraits {
    int16_t WarnLimit;  // degrees Celsius at which the drive itself warns (its "max"); 0: not stated
    int16_t CritLimit;  // its critical limit; 0: not stated
    uint8_t Kind;       // a DriveKind
    uint8_t Reserved[3];
    uint32_t Identity;  // DriveIdentity of its serial number; 0: none known
};
#pragma pack(pop)
static_assert(sizeof(DriveTraits) == 12, "the channel's layout depends on it");

// Tells apart two drives of one model: a hash (FNV-1a) of the serial number without its blanks;
// 0 for none.
constexpr uint32_t DriveIdentity(const char* serial, std::size_t length) {
    uint32_t hash = 2166136261u;
    bool any = false;
    for (std::size_t i = 0; i < length && serial[i]; ++i) {
        if (serial[i] == ' ') continue;
        any = true;
        hash = (hash ^ static_cast<uint8_t>(serial[i])) * 16777619u;
    }
    return !any ? 0 : hash ? hash : 1;
}

// A stated limit worth believing: 1..150 degrees. Zero means "not stated", and drives that
// report 0 K or some hundreds of degrees state nothing either.
constexpr int16_t PlausibleLimit(int celsius) {
    return celsius > 0 && celsius <= 150 ? static_cast<int16_t>(celsius) : int16_t{0};
}

}  // namespace contract
