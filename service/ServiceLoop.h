// The service's message loop: takes requests from the monitor and answers them.
#pragma once

#include "DriveSource.h"
#include "Options.h"
#include "ServiceFiles.h"

#include <windows.h>

namespace service {

constexpr UINT ReqInfoMsg = contract::ReqInfoMsg;
constexpr UINT RecInfoMsg = contract::RecInfoMsg;

class ServiceLoop {
public:
    ServiceLoop(const Options& options, DriveSource& drives, TableFile& table, RequestLog& log);

    // Runs on the thread that owns the message queue until WM_QUIT arrives or the
    // request limit is reached. Returns the exit status (0).
    int Run();

private:
    // Takes the request for `replyTo` and every other one queued meanwhile (a slow answer
    // lets them pile up), and answers each window once.
    void OnRequests(HWND replyTo);
    void Answer(HWND replyTo);
    void SendReply(HWND replyTo, WPARAM count);

    const Options& options_;
    DriveSource& drives_;
    TableFile& table_;
    RequestLog& log_;
    std::uint32_t requestCount_ = 0;
};

} // namespace service
