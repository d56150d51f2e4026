// The two files the service keeps in the Windows system directory, and its request log.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace service {

// SystemDir + "\" + name.
std::string SystemFilePath(const char* name);

// A reader that opened the file without sharing (an old monitor, a virus scanner) holds it
// only for a moment: a write that meets it tries again, `kWriteTries` times in all, calling
// `pause` between tries. The pause waits kRetryPauseMs unless a test gives its own.
constexpr int kWriteTries = 40;
constexpr DWORD kRetryPauseMs = 50; // about 2 seconds in all
using RetryPause = std::function<void()>;
void PauseBeforeRetry();

// Writes `bytes` to `path`, replacing the file; others may read and write it meanwhile.
bool WriteWholeFile(const std::string& path, const std::vector<std::uint8_t>& bytes,
                    const RetryPause& pause = PauseBeforeRetry);

// "hsid.dat": holds the id of the thread that takes requests, for as long as it runs.
class ServiceIdFile {
public:
    ServiceIdFile() = default;
    ServiceIdFile(const ServiceIdFile&) = delete;
    ServiceIdFile& operator=(const ServiceIdFile&) = delete;
    ~ServiceIdFile(); // removes the file if it wrote it

    // Writes the first `byteCount` bytes of the little-endian id (filler beyond 4 bytes).
    bool Write(DWORD threadId, std::uint32_t byteCount = 4);
    // Removes the file now (if this wrote it), or empties it when it may not be deleted;
    // nothing is left to remove afterwards.
    void Remove();

private:
    std::string path_;
};

// "hdinfo.dat". Normally opened, written and closed for each answer; when `locked`, the
// file stays open without any sharing between answers, so readers cannot open it.
class TableFile {
public:
    explicit TableFile(bool locked) : locked_(locked) {}
    TableFile(const TableFile&) = delete;
    TableFile& operator=(const TableFile&) = delete;
    ~TableFile();

    bool Write(const std::vector<std::uint8_t>& bytes);
    void Remove();

private:
    bool locked_;
    HANDLE handle_ = INVALID_HANDLE_VALUE;
};

// --log: one line per request, written straight through so a reader sees it at once.
class RequestLog {
public:
    explicit RequestLog(const std::string& path); // empty path: no log
    RequestLog(const RequestLog&) = delete;
    RequestLog& operator=(const RequestLog&) = delete;
    ~RequestLog();

    bool Failed() const { return failed_; }
    // A line of its own, "# text", that a reader of the request lines skips.
    void Note(const std::string& text);
    void Record(std::uint32_t counter, DWORD tick, HWND replyTo);

private:
    HANDLE handle_ = INVALID_HANDLE_VALUE;
    bool failed_ = false;
};

} // namespace service
