#include "FakeService.h"
#include "Process.h"
#include <cstring>

using namespace testsupport;

std::vector<uint8_t> EncodeTable(const std::vector<FakeService::Drive>& drives) {
    std::vector<uint8_t> bytes;
    for (const auto& d : drives) {
        thermowl::DriveRecord r{};
        r.NameLength = d.nameLength == 0xFF ? static_cast<uint8_t>(d.name.size()) : d.nameLength;
        memcpy(r.Name, d.name.data(), std::min<size_t>(d.name.size(), 32));
        r.Temperature = d.temperature;
        auto* p = reinterpret_cast<uint8_t*>(&r);
        bytes.insert(bytes.end(), p, p + sizeof(r));
    }
    return bytes;
}

FakeService::FakeService(bool publish) {
    thread_ = std::thread([this] { Run(); });
    WaitUntil([this] { return threadId_ != 0; }, 10000);
    if (publish) Publish();
}

FakeService::~FakeService() {
    if (thread_.joinable()) End();
}

void FakeService::Publish() {
    uint32_t id = threadId_;
    WriteFileBytes(SystemFilePath("hsid.dat"), std::vector<uint8_t>(reinterpret_cast<uint8_t*>(&id),
                                                                      reinterpret_cast<uint8_t*>(&id) + 4));
}

void FakeService::OpenChannel() {
    channel_ = std::make_unique<contract::SessionPublisher>();
    channel_->PublishId(threadId_);
}

void FakeService::End() { Stop(true); }
void FakeService::Crash() { Stop(false); }

void FakeService::Stop(bool removeFiles) {
    PostThreadMessageA(threadId_, WM_QUIT, 0, 0);
    thread_.join();
    channel_.reset();
    if (!removeFiles) return;
    RemoveFile(SystemFilePath("hsid.dat"));
    RemoveFile(SystemFilePath("hdinfo.dat"));
}

void FakeService::Run() {
    MSG msg;
    PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE);  // makes the queue before the id is published
    threadId_ = GetCurrentThreadId();
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        if (msg.message != thermowl::ReqInfoMsg) continue;
        HWND monitor = reinterpret_cast<HWND>(msg.lParam);
        if (answer) {
            if (writeFile) WriteFileBytes(SystemFilePath("hdinfo.dat"), EncodeTable(drives));
            if (channel_) channel_->PublishTable(EncodeTable(drives), traits);
            WPARAM n = count < 0 ? drives.size() : static_cast<WPARAM>(count);
            // Posted: the monitor's thread may be this test's own thread, busy in the hand-shake.
            PostMessageA(monitor, thermowl::RecInfoMsg, n, 0);
            ++replies;
        }
        if (afterRequest) afterRequest(monitor);
        ++requests;
    }
}
