// The link to the temperature service: its thread id (from its session channel, else from
// "hsid.dat"), the request message, and the drive table it publishes before each reply.
#pragma once
#include "contract/ServiceContract.h"
#include <windows.h>
#include <cstdint>
#include <string>

namespace thermowl {

using contract::ReqInfoMsg;  // monitor -> service thread; LParam: the window to answer
using contract::RecInfoMsg;  // service -> monitor window; WParam: number of records
using contract::MaxDrives;
using contract::DriveRecord;
constexpr int NoReply = 255;              // DriveCount after the start-up time-out
constexpr int SilentPolls = 3;            // polls in a row without an answer: the service is silent

// A record's flags.
constexpr uint8_t DriveFlagAsleep = contract::FlagAsleep;
constexpr uint8_t DriveFlagSimulated = contract::FlagSimulated;
constexpr uint8_t DriveFlagStale = contract::FlagStale;

extern std::string SystemDir;
extern uint32_t ServiceThreadId;
extern int32_t DriveCount;
extern DriveRecord DriveTable[MaxDrives];
// Beside DriveTable: what each drive states about itself, as its service's session channel
// carries it; all zero (nothing stated) when the table came from the file.
extern contract::DriveTraits DriveLimits[MaxDrives];
extern bool ReplyReceived;
extern bool PanelReady;

// Whether the polled service still takes and answers the requests.
struct PollState {
    int missedPolls = 0;             // polls in a row whose request got no answer before the next poll
    bool requestOutstanding = false; // a poll's request not answered yet
    bool postFailed = false;         // the last request could not be posted: its thread is gone
};
extern PollState Polls;

// How long start-up looks for a live service, then waits for its first answer. The program
// keeps these; tests shorten them instead of waiting them out.
struct StartupWaits {
    DWORD serviceSearchMs = 10000;
    DWORD firstReplyMs = 5000;
};
extern StartupWaits Waits;

extern const char* const ServiceMissingText;  // "Service is not started!\r\nPlease reinstall application."
extern const char* const NoDrivesText;        // the service's first answer names no drive

std::string ReadSystemDir();

// "hsid.dat" read once: the id in its first 4 bytes, 0 when it is missing or shorter.
uint32_t ReadServiceIdFile();

// The id of this session's service: the one its session channel names, else the one in
// "hsid.dat" if that thread runs in this session (never another user's service); 0 for none.
uint32_t FindServiceId();

// True when `id` names a live thread that takes thread messages.
bool ServiceThreadAlive(uint32_t id);

// The service's thread id. The service may start a moment after the monitor (both start at
// log-on), so this keeps looking for a live one for a while, pumping messages; 0 (after the
// message box, owned by `owner`) when none came.
uint32_t ReadServiceId(HWND owner);

// Start-up only: while the search time since ReadServiceId began has not run out and the
// hand-shake has no answer, a newer live id in "hsid.dat" (the real service arriving after a
// stale id that named some other thread) is taken and asked at once. True when it was.
bool TryNewerServiceId(HWND monitor);

// Asks the service for the drive table; the answer goes to `monitor`. False when the request
// could not be posted.
bool RequestInfo(HWND monitor);

// One poll: asks the service again. When the service's thread is gone or it has stopped
// answering, "hsid.dat" is read again first, and a new id that names a live thread is used at once.
void PollService(HWND monitor);

// True while the last SilentPolls polls got no answer.
bool ServiceSilent();

// Waits at most `ms` for a message, then delivers every pending one: a wait that keeps the
// program's windows answering.
void WaitAndPumpMessages(DWORD ms);

// Takes a reply: sets DriveCount (at most 8), reads the table, and counts the service as
// answering again. `read`: the table file was read;
// `show`: it was read and the panel is ready to show it.
struct ReplyOutcome {
    bool read;
    bool show;
};
ReplyOutcome TakeReply(WPARAM count);

// The drive's name as text (NameLength capped at 32, ending at a zero byte).
std::string DriveName(const DriveRecord& drive);

}  // namespace thermowl
