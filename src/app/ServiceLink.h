// The link to the temperature service: its thread id from "hsid.dat", the request message, and
// the drive table it writes to "hdinfo.dat" before each reply.
#pragma once
#include <windows.h>
#include <cstdint>
#include <string>

namespace thermowl {

constexpr UINT ReqInfoMsg = WM_USER + 1;  // monitor -> service thread; LParam: the window to answer
constexpr UINT RecInfoMsg = WM_USER + 3;  // service -> monitor window; WParam: number of records
constexpr int MaxDrives = 8;
constexpr int NoReply = 255;              // DriveCount after the start-up time-out

#pragma pack(push, 1)
struct DriveRecord {
    uint8_t NameLength;  // 0..32; more is taken as 32
    char Name[32];
    uint8_t Reserved;    // not read
    uint8_t Temperature; // whole degrees Celsius
};
#pragma pack(pop)
static_assert(sizeof(DriveRecord) == 35, "a drive record is 35 bytes on disk");

extern std::string SystemDir;
extern uint32_t ServiceThreadId;
extern int32_t DriveCount;
extern DriveRecord DriveTable[MaxDrives];
extern bool ReplyReceived;
extern bool PanelReady;

extern const char* const ServiceMissingText;  // "Service is not started!\r\nPlease reinstall application."

std::string ReadSystemDir();

// Reads the service's thread id; 0 (after the message box, owned by `owner`) when there is none.
uint32_t ReadServiceId(HWND owner);

// Asks the service for the drive table; the answer goes to `monitor`.
void RequestInfo(HWND monitor);

// Takes a reply: sets DriveCount (at most 8) and reads the table. `read`: the table file was read;
// `show`: it was read and the panel is ready to show it.
struct ReplyOutcome {
    bool read;
    bool show;
};
ReplyOutcome TakeReply(WPARAM count);

// The drive's name as text (NameLength capped at 32).
std::string DriveName(const DriveRecord& drive);

}  // namespace thermowl
