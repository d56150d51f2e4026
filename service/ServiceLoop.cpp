#include "ServiceLoop.h"

#include "Output.h"

#include <algorithm>

namespace service {
namespace {

// The reply is sent, not posted: SendMessageTimeoutA returns only after the monitor has
// handled it (and so read "hdinfo.dat"), so the next answer cannot rewrite the file under
// its read. The time-out, and SMTO_ABORTIFHUNG, keep a busy or hung monitor from
// stopping the service; such a reply is simply lost, as a lost post would be.
constexpr UINT kReplyTimeoutMs = 5000;

} // namespace

ServiceLoop::ServiceLoop(const Options& options, DriveSource& drives, TableFile& table, RequestLog& log)
    : options_(options), drives_(drives), table_(table), log_(log) {}

int ServiceLoop::Run() {
    UINT_PTR unsolicitedTimer = 0;
    if (options_.unsolicitedWindow)
        unsolicitedTimer = SetTimer(nullptr, 0, options_.intervalMs, nullptr);

    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        if (msg.hwnd == nullptr && msg.message == ReqInfoMsg) {
            OnRequests(reinterpret_cast<HWND>(msg.lParam));
            if (options_.requests && requestCount_ >= *options_.requests)
                break;
        } else if (msg.hwnd == nullptr && msg.message == WM_TIMER && msg.wParam == unsolicitedTimer) {
            Answer(reinterpret_cast<HWND>(*options_.unsolicitedWindow));
        } else {
            DispatchMessageA(&msg);
        }
    }

    if (unsolicitedTimer)
        KillTimer(nullptr, unsolicitedTimer);
    return 0;
}

void ServiceLoop::OnRequests(HWND replyTo) {
    std::vector<HWND> windows;
    auto take = [&](HWND window) {
        ++requestCount_;
        log_.Record(requestCount_, GetTickCount(), window);
        if (std::find(windows.begin(), windows.end(), window) == windows.end())
            windows.push_back(window);
    };
    take(replyTo);
    if (options_.delayMs && !options_.neverAnswer)
        Sleep(options_.delayMs);
    MSG msg;
    // (HWND)-1: thread messages only.
    while (!(options_.requests && requestCount_ >= *options_.requests) &&
           PeekMessageA(&msg, reinterpret_cast<HWND>(-1), ReqInfoMsg, ReqInfoMsg, PM_REMOVE))
        take(reinterpret_cast<HWND>(msg.lParam));
    if (options_.neverAnswer)
        return;
    for (HWND window : windows)
        Answer(window);
}

void ServiceLoop::Answer(HWND replyTo) {
    const std::vector<DriveReading> readings = drives_.Next();
    // The file is complete before the reply goes out.
    if (options_.noFile) {
        table_.Remove();
    } else {
        std::vector<std::uint8_t> bytes = EncodeTable(readings, options_.nameLength);
        if (options_.shortFile)
            bytes = FitToSize(std::move(bytes), *options_.shortFile);
        if (!table_.Write(bytes, TraitsOf(readings))) {
            const DWORD error = GetLastError();
            PrintError("cannot write hdinfo.dat (error " + std::to_string(error) + ")");
        }
    }

    const WPARAM count = options_.reportCount.value_or(static_cast<std::uint32_t>(readings.size()));
    SendReply(replyTo, count);
    if (options_.answerTwice)
        SendReply(replyTo, count);
}

void ServiceLoop::SendReply(HWND replyTo, WPARAM count) {
    // A request naming no window (say 0, or HWND_BROADCAST) gets no reply.
    if (!IsWindow(replyTo))
        return;
    DWORD_PTR ignored = 0;
    SendMessageTimeoutA(replyTo, RecInfoMsg, count, 0, SMTO_NORMAL | SMTO_ABORTIFHUNG, kReplyTimeoutMs, &ignored);
}

} // namespace service
