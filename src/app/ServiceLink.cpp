#include "ServiceLink.h"
#include "forms/Application.h"
#include "forms/Platform.h"
#include <algorithm>

namespace thermowl {

std::string SystemDir;
uint32_t ServiceThreadId = 0;
int32_t DriveCount = 0;
DriveRecord DriveTable[MaxDrives] = {};
bool ReplyReceived = false;
bool PanelReady = false;
PollState Polls;
StartupWaits Waits;

const char* const ServiceMissingText = "Service is not started!\r\nPlease reinstall application.";

namespace {
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
    std::string path = SystemDir + "\\hsid.dat";
    FileHandle file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
    uint32_t id = 0;
    DWORD got = 0;
    // A file shorter than 4 bytes (or one the service is still writing) names no service.
    if (!file.ok() || !ReadFile(file.h, &id, sizeof(id), &got, nullptr) || got != sizeof(id)) return 0;
    return id;
}

bool ServiceThreadAlive(uint32_t id) {
    // A message every loop ignores; the post fails unless the thread lives and has a queue.
    return id != 0 && PostThreadMessageA(id, WM_NULL, 0, 0);
}

uint32_t ReadServiceId(HWND owner) {
    const DWORD start = GetTickCount();
    for (;;) {
        uint32_t id = ReadServiceIdFile();
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
// A service started again (after an update or a crash) has written a new id: take it.
bool AdoptNewServiceId() {
    uint32_t id = ReadServiceIdFile();
    if (id == 0 || id == ServiceThreadId) return false;
    ServiceThreadId = id;
    return true;
}
}  // namespace

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
    std::string path = SystemDir + "\\hdinfo.dat";
    FileHandle file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                OPEN_EXISTING, 0, nullptr));
    if (!file.ok()) return {false, false};
    DWORD got = 0;
    ReadFile(file.h, DriveTable, sizeof(DriveTable), &got, nullptr);
    return {true, PanelReady};
}

std::string DriveName(const DriveRecord& drive) {
    return std::string(drive.Name, std::min<size_t>(drive.NameLength, sizeof(drive.Name)));
}

}  // namespace thermowl

