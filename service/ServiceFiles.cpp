#include "ServiceFiles.h"

#include <cstdio>
#include <optional>

namespace service {
namespace {

constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE;

bool WriteAll(HANDLE file, const std::vector<std::uint8_t>& bytes) {
    DWORD written = 0;
    return bytes.empty() ||
           (WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) && written == bytes.size());
}

// The file's first `limit` bytes, or nothing when it cannot be read.
std::optional<std::vector<std::uint8_t>> ReadFileStart(const std::string& path, std::size_t limit) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, kShareAll, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return std::nullopt;
    std::vector<std::uint8_t> bytes(limit);
    DWORD got = 0;
    const bool ok = ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &got, nullptr);
    CloseHandle(file);
    if (!ok)
        return std::nullopt;
    bytes.resize(got);
    return bytes;
}

} // namespace

std::string SystemFilePath(const char* name) {
    char dir[MAX_PATH] = {};
    const UINT length = GetSystemDirectoryA(dir, MAX_PATH);
    std::string path(dir, length < MAX_PATH ? length : 0);
    return path + "\\" + name;
}

void PauseBeforeRetry() { Sleep(kRetryPauseMs); }

// The installed files grant users the right to write their data and no more, so the existing file
// is opened for just that and cut to length, not created anew; a file that is not there yet (a
// service run from a folder) is created.
static HANDLE OpenForRewrite(const std::string& path) {
    HANDLE file = CreateFileA(path.c_str(), FILE_WRITE_DATA | SYNCHRONIZE, kShareAll, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE && GetLastError() == ERROR_FILE_NOT_FOUND)
        file = CreateFileA(path.c_str(), GENERIC_WRITE, kShareAll, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    return file;
}

bool WriteWholeFile(const std::string& path, const std::vector<std::uint8_t>& bytes, const RetryPause& pause) {
    HANDLE file = INVALID_HANDLE_VALUE;
    for (int tries = 1;; ++tries) {
        file = OpenForRewrite(path);
        if (file != INVALID_HANDLE_VALUE)
            break;
        if (GetLastError() != ERROR_SHARING_VIOLATION || tries == kWriteTries)
            return false;
        pause();
    }
    const bool ok = WriteAll(file, bytes) && SetEndOfFile(file);
    CloseHandle(file);
    return ok;
}

ServiceIdFile::~ServiceIdFile() { Remove(); }

void ServiceIdFile::Remove() {
    if (session_)
        session_->Withdraw(threadId_);
    // An installed service may rewrite the file but not delete it (a user could not create it
    // again): emptied, it still tells a monitor at once that no service runs. A file that holds
    // another service's id by now is that service's.
    if (!path_.empty() && ReadFileStart(path_, written_.size() + 1) == written_ && !DeleteFileA(path_.c_str()))
        WriteWholeFile(path_, {});
    path_.clear();
}

bool ServiceIdFile::Write(DWORD threadId, std::uint32_t byteCount) {
    std::vector<std::uint8_t> bytes(byteCount, 0xFF);
    for (std::uint32_t i = 0; i < byteCount && i < 4; ++i)
        bytes[i] = static_cast<std::uint8_t>(threadId >> (8 * i));
    const std::string path = SystemFilePath(contract::IdFileName);
    if (!WriteWholeFile(path, bytes))
        return false;
    path_ = path;
    written_ = std::move(bytes);
    threadId_ = threadId;
    if (session_)
        session_->PublishId(threadId);
    return true;
}

TableFile::~TableFile() {
    if (handle_ != INVALID_HANDLE_VALUE)
        CloseHandle(handle_);
}

bool TableFile::Write(const std::vector<std::uint8_t>& bytes, const std::vector<contract::DriveTraits>& traits) {
    if (session_)
        session_->PublishTable(bytes, traits);
    const std::string path = SystemFilePath(contract::TableFileName);
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
    DeleteFileA(SystemFilePath(contract::TableFileName).c_str());
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
