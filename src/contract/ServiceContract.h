// What the monitor and the temperature service agree on. Other programs may read the two files
// in the system directory too, so their layout never changes; the session channel
// (SessionChannel.h) carries the same table to the monitor of the service's own session.
#pragma once
#include <windows.h>
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

}  // namespace contract
