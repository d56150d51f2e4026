// A temperature service on a thread of the test process: it publishes its thread id in
// "hsid.dat" and answers each request by writing "hdinfo.dat" and sending the reply.
#pragma once
#include "app/ServiceLink.h"
#include <atomic>
#include <functional>
#include <thread>
#include <vector>

class FakeService {
public:
    struct Drive {
        std::string name;
        uint8_t temperature;
        uint8_t nameLength = 0xFF;  // 0xFF: the name's own length
    };
    FakeService();
    ~FakeService();  // stops the thread and removes both files

    // What the next answers hold; `count` is the WParam of the reply (-1: the number of drives).
    std::vector<Drive> drives = {{"WDC WD5000AAKS-00V1A0", 41}, {"ST3500418AS", 37}};
    int count = -1;
    bool answer = true;
    bool writeFile = true;
    std::atomic<int> requests{0};
    std::atomic<int> replies{0};  // counted after each reply is posted
    DWORD ThreadId() const { return threadId_; }

private:
    void Run();
    std::thread thread_;
    std::atomic<DWORD> threadId_{0};
};

std::vector<uint8_t> EncodeTable(const std::vector<FakeService::Drive>& drives);
