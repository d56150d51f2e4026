// The two files the service keeps in the Windows system directory, and its request log.
#pragma once

#include "contract/SessionChannel.h"

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

// "hsid.dat": holds the id of the thread that takes requests, for as long as it runs; the same
// id goes into the session channel, when there is one.
class ServiceIdFile {
public:
    explicit ServiceIdFile(contract::SessionPublisher* session = nullptr) : session_(session) {}
    ServiceIdFile(const ServiceIdFile&) = delete;
    ServiceIdFile& operator=(const ServiceIdFile&) = delete;
    ~ServiceIdFile(); // removes the file if it wrote it

    // Writes the first `byteCount` bytes of the little-endian id (filler beyond 4 bytes).
    bool Write(DWORD threadId, std::uint32_t byteCount = 4);
    // Withdraws the id: removes the file now (if this wrote it), or empties it when it may not be
    // deleted, but leaves it alone once another service (another session's) has written its own
    // id there; nothing is left to remove afterwards.
    void Remove();

private:
    contract::SessionPublisher* session_;
    std::string path_;
    std::vector<std::uint8_t> written_;
    DWORD threadId_ = 0;
};

// "hdinfo.dat". Normally opened, written and closed for each answer; when `locked`, the
// file stays open without any sharing between answers, so readers cannot open it.
// Each table written goes into the session channel too, when given one.
class TableFile {
public:
    explicit TableFile(bool locked, contract::SessionPublisher* session = nullptr) : locked_(locked), session_(session) {}
    TableFile(const TableFile&) = delete;
    TableFile& operator=(const TableFile&) = delete;
    ~TableFile();

    // `traits` go into the session channel only.
    bool Write(const std::vector<std::uint8_t>& bytes, const std::vector<contract::DriveTraits>& traits = {});
    void Remove();

private:
    bool locked_;
    contract::SessionPublisher* session_;
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
