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

uint32_t ReadServiceId(HWND owner) {
    std::string path = SystemDir + "\\hsid.dat";
    FileHandle file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
    uint32_t id = 0;
    DWORD got = 0;
    // A file shorter than 4 bytes names no service: the same report as a missing one.
    if (!file.ok() || !ReadFile(file.h, &id, sizeof(id), &got, nullptr) || got != sizeof(id)) {
        forms::platform.MessageBoxA(owner, ServiceMissingText, "Thermowl", MB_OK);
        return 0;
    }
    return id;
}

void RequestInfo(HWND monitor) {
    PostThreadMessageA(ServiceThreadId, ReqInfoMsg, 0, reinterpret_cast<LPARAM>(monitor));
}

ReplyOutcome TakeReply(WPARAM count) {
    ReplyReceived = true;
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

