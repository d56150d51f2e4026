#include "ServiceLink.h"
#include "contract/SessionChannel.h"
#include "forms/Application.h"
#include "forms/Platform.h"
#include <algorithm>
#include <cstring>

namespace thermowl {

std::string SystemDir;
uint32_t ServiceThreadId = 0;
int32_t DriveCount = 0;
DriveRecord DriveTable[MaxDrives] = {};
contract::DriveTraits DriveLimits[MaxDrives] = {};
bool ReplyReceived = false;
bool PanelReady = false;
PollState Polls;
StartupWaits Waits;

const char* const ServiceMissingText = "Service is not started!\r\nPlease reinstall application.";
const char* const NoDrivesText = "No drive reports its temperature.\r\nThe temperature service runs, but found no drive whose temperature it can read.";

namespace {
DWORD SearchStart = 0;  // when ReadServiceId began to look

// Closes a file handle at scope end.
struct FileHandle {
    HANDLE h;
    explicit FileHandle(HANDLE handle) : h(handle) {}
    ~FileHandle() { if (h != INVALID_HANDLE_VALUE) CloseHandle(h); }
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;
    bool ok() const { return h != INVALID_HANDLE_VALUE; }
};
}  // namespace

std::string ReadSystemDir() {
    char buffer[255] = {};
    UINT n = GetSystemDirectoryA(buffer, sizeof(buffer));
    return n < sizeof(buffer) ? std::string(buffer, n) : std::string();
}

uint32_t ReadServiceIdFile() {
    std::string path = SystemDir + "\\" + contract::IdFileName;
    // Shared for writing too: a service that starts while this read holds the file must still be
    // able to publish its id.
    FileHandle file(
        CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr));
    uint32_t id = 0;
    DWORD got = 0;
    // A file shorter than 4 bytes (or one the service is still writing) names no service.
    if (!file.ok() || !ReadFile(file.h, &id, sizeof(id), &got, nullptr) || got != sizeof(id)) return 0;
    return id;
}

namespace {
// Whether thread `id` belongs to a process of this session. Without a way to ask (Windows XP)
// every id counts as this session's, as before there were sessions to tell apart.
bool ThreadInThisSession(uint32_t id) {
    using ProcessOfThreadFn = DWORD(WINAPI*)(HANDLE);
    auto processOfThread = reinterpret_cast<ProcessOfThreadFn>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("kernel32.dll"), "GetProcessIdOfThread")));
    if (id == 0 || !processOfThread) return id != 0;
    constexpr DWORD QueryLimitedInformation = 0x0800;  // THREAD_QUERY_LIMITED_INFORMATION
    HANDLE thread = OpenThread(QueryLimitedInformation, FALSE, id);
    if (!thread) return false;
    DWORD process = processOfThread(thread);
    CloseHandle(thread);
    DWORD mine = 0, theirs = 0;
    return process && ProcessIdToSessionId(GetCurrentProcessId(), &mine) && ProcessIdToSessionId(process, &theirs) &&
           mine == theirs;
}
}  // namespace

uint32_t FindServiceId() {
    if (auto session = contract::ReadSessionChannel()) return session->threadId;
    uint32_t id = ReadServiceIdFile();
    return ThreadInThisSession(id) ? id : 0;
}

bool ServiceThreadAlive(uint32_t id) {
    // A message every loop ignores; the post fails unless the thread lives and has a queue.
    return id != 0 && PostThreadMessageA(id, WM_NULL, 0, 0);
}

uint32_t ReadServiceId(HWND owner) {
    const DWORD start = SearchStart = GetTickCount();
    for (;;) {
        uint32_t id = FindServiceId();
        if (ServiceThreadAlive(id)) return id;
        if (GetTickCount() - start >= Waits.serviceSearchMs) break;
        WaitAndPumpMessages(100);
        // Exit chosen from the icon's menu while looking: end quietly, without the box.
        if (forms::Application->Terminated()) return 0;
    }
    forms::platform.MessageBoxA(owner, ServiceMissingText, "Thermowl", MB_OK);
    return 0;
}

bool RequestInfo(HWND monitor) {
    return PostThreadMessageA(ServiceThreadId, ReqInfoMsg, 0, reinterpret_cast<LPARAM>(monitor)) != FALSE;
}

namespace {
// A service started again (after an update or a crash) has published a new id: take it, unless
// it names no live thread (a file left by a crash), which would only lose the requests.
bool AdoptNewServiceId() {
    uint32_t id = FindServiceId();
    if (id == 0 || id == ServiceThreadId || !ServiceThreadAlive(id)) return false;
    ServiceThreadId = id;
    return true;
}
}  // namespace

bool TryNewerServiceId(HWND monitor) {
    if (GetTickCount() - SearchStart >= Waits.serviceSearchMs || !AdoptNewServiceId()) return false;
    RequestInfo(monitor);
    return true;
}

void PollService(HWND monitor) {
    if (Polls.requestOutstanding && Polls.missedPolls < SilentPolls) ++Polls.missedPolls;
    Polls.requestOutstanding = true;
    if (Polls.postFailed || ServiceSilent()) AdoptNewServiceId();
    Polls.postFailed = !RequestInfo(monitor);
    if (Polls.postFailed && AdoptNewServiceId()) Polls.postFailed = !RequestInfo(monitor);
}

bool ServiceSilent() { return Polls.missedPolls >= SilentPolls; }

void WaitAndPumpMessages(DWORD ms) {
    MsgWaitForMultipleObjects(0, nullptr, FALSE, ms, QS_ALLINPUT);
    forms::Application->ProcessMessages();
}

ReplyOutcome TakeReply(WPARAM count) {
    ReplyReceived = true;
    Polls.missedPolls = 0;
    Polls.requestOutstanding = false;
    // The tables hold 8 drives: the count never goes above that, also when the file cannot be read.
    DriveCount = static_cast<int32_t>(std::min<WPARAM>(count, MaxDrives));
    if (DriveCount == 0) return {false, false};
    // This session's table when its service publishes one: the file may be another session's.
    if (auto session = contract::ReadSessionChannel(); session && session->hasTable && session->threadId == ServiceThreadId) {
        memcpy(DriveTable, session->records, session->count * sizeof(DriveRecord));
        memcpy(DriveLimits, session->traits, sizeof DriveLimits);  // zero from an older service
        return {true, PanelReady};
    }
    std::string path = SystemDir + "\\" + contract::TableFileName;
    FileHandle file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                OPEN_EXISTING, 0, nullptr));
    if (!file.ok()) return {false, false};
    memset(DriveLimits, 0, sizeof DriveLimits);
    DWORD got = 0;
    ReadFile(file.h, DriveTable, sizeof(DriveTable), &got, nullptr);
    return {true, PanelReady};
}

std::string DriveName(const DriveRecord& drive) {
    // A name ends at its first zero byte, whatever its length byte counts.
    return std::string(drive.Name, strnlen(drive.Name, std::min<size_t>(drive.NameLength, sizeof(drive.Name))));
}

}  // namespace thermowl

