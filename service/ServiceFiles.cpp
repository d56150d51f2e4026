#include "ServiceFiles.h"

#include <cstdio>

namespace service {
namespace {

constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE;

bool WriteAll(HANDLE file, const std::vector<std::uint8_t>& bytes) {
    DWORD written = 0;
    return bytes.empty() ||
           (WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) && written == bytes.size());
}

} // namespace

std::string SystemFilePath(const char* name) {
    char dir[MAX_PATH] = {};
    const UINT length = GetSystemDirectoryA(dir, MAX_PATH);
    std::string path(dir, length < MAX_PATH ? length : 0);
    return path + "\\" + name;
}

void PauseBeforeRetry() { Sleep(kRetryPauseMs); }

bool WriteWholeFile(const std::string& path, const std::vector<std::uint8_t>& bytes, const RetryPause& pause) {
    HANDLE file = INVALID_HANDLE_VALUE;
    for (int tries = 1;; ++tries) {
        file = CreateFileA(path.c_str(), GENERIC_WRITE, kShareAll, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file != INVALID_HANDLE_VALUE)
            break;
        if (GetLastError() != ERROR_SHARING_VIOLATION || tries == kWriteTries)
            return false;
        pause();
    }
    const bool ok = WriteAll(file, bytes);
    CloseHandle(file);
    return ok;
}

ServiceIdFile::~ServiceIdFile() { Remove(); }

void ServiceIdFile::Remove() {
    // An installed service may rewrite the file but not delete it (a user could not create it
    // again): emptied, it still tells a monitor at once that no service runs.
    if (!path_.empty() && !DeleteFileA(path_.c_str()))
        WriteWholeFile(path_, {});
    path_.clear();
}

bool ServiceIdFile::Write(DWORD threadId, std::uint32_t byteCount) {
    std::vector<std::uint8_t> bytes(byteCount, 0xFF);
    for (std::uint32_t i = 0; i < byteCount && i < 4; ++i)
        bytes[i] = static_cast<std::uint8_t>(threadId >> (8 * i));
    const std::string path = SystemFilePath("hsid.dat");
    if (!WriteWholeFile(path, bytes))
        return false;
    path_ = path;
    return true;
}

TableFile::~TableFile() {
    if (handle_ != INVALID_HANDLE_VALUE)
        CloseHandle(handle_);
}

bool TableFile::Write(const std::vector<std::uint8_t>& bytes) {
    const std::string path = SystemFilePath("hdinfo.dat");
    if (!locked_)
        return WriteWholeFile(path, bytes);
    // --lock-table: the service itself holds the file, so there is nothing to wait for.

    if (handle_ == INVALID_HANDLE_VALUE)
        handle_ = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle_ == INVALID_HANDLE_VALUE)
        return false;
    return SetFilePointer(handle_, 0, nullptr, FILE_BEGIN) == 0 && WriteAll(handle_, bytes) && SetEndOfFile(handle_);
}

void TableFile::Remove() {
    if (handle_ != INVALID_HANDLE_VALUE) {
        CloseHandle(handle_);
        handle_ = INVALID_HANDLE_VALUE;
    }
    DeleteFileA(SystemFilePath("hdinfo.dat").c_str());
}

RequestLog::RequestLog(const std::string& path) {
    if (path.empty())
        return;
    handle_ = CreateFileA(path.c_str(), GENERIC_WRITE, kShareAll, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    failed_ = handle_ == INVALID_HANDLE_VALUE;
}

RequestLog::~RequestLog() {
    if (handle_ != INVALID_HANDLE_VALUE)
        CloseHandle(handle_);
}

void RequestLog::Note(const std::string& text) {
    if (handle_ == INVALID_HANDLE_VALUE)
        return;
    const std::string line = "# " + text + "\r\n";
    DWORD written = 0;
    WriteFile(handle_, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
}

void RequestLog::Record(std::uint32_t counter, DWORD tick, HWND replyTo) {
    if (handle_ == INVALID_HANDLE_VALUE)
        return;
    char line[80];
    const int length = std::snprintf(line, sizeof line, "%lu %lu 0x%llX\r\n", static_cast<unsigned long>(counter),
                                     static_cast<unsigned long>(tick),
                                     static_cast<unsigned long long>(reinterpret_cast<std::uintptr_t>(replyTo)));
    DWORD written = 0;
    WriteFile(handle_, line, static_cast<DWORD>(length), &written, nullptr);
}

} // namespace service
