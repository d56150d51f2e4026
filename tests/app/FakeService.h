// A temperature service on a thread of the test process: it publishes its thread id in
// "hsid.dat" and answers each request by writing "hdinfo.dat" and sending the reply.
#pragma once
#include "app/ServiceLink.h"
#include "contract/SessionChannel.h"
#include <atomic>
#include <functional>
#include <memory>
#include <thread>
#include <vector>

class FakeService {
public:
    struct Drive {
        std::string name;
        uint8_t temperature;
        uint8_t nameLength = 0xFF;  // 0xFF: the name's own length
    };
    // `publish`: write "hsid.dat" now; otherwise the service runs unknown until Publish().
    explicit FakeService(bool publish = true);
    ~FakeService();  // as End(), if it still runs

    void Publish();
    // Publishes in the session channel too, from now on: the id, and each table with `traits`.
    void OpenChannel();
    std::vector<contract::DriveTraits> traits;
    // Ends the thread and removes both files, as a service that stops cleanly.
    void End();
    // Ends the thread and leaves its files behind, as a service that crashed.
    void Crash();

    // What the next answers hold; `count` is the WParam of the reply (-1: the number of drives).
    std::vector<Drive> drives = {{"WDC WD5000AAKS-00V1A0", 41}, {"ST3500418AS", 37}};
    int count = -1;
    std::atomic<bool> answer{true};
    bool writeFile = true;
    std::atomic<int> requests{0};
    std::atomic<int> replies{0};  // counted after each reply is posted
    // Runs on the service's thread after each request (and its answer), with the window to answer.
    std::function<void(HWND monitor)> afterRequest;
    DWORD ThreadId() const { return threadId_; }

private:
    void Run();
    void Stop(bool removeFiles);
    std::unique_ptr<contract::SessionPublisher> channel_;
    std::thread thread_;
    std::atomic<DWORD> threadId_{0};
};

std::vector<uint8_t> EncodeTable(const std::vector<FakeService::Drive>& drives);
