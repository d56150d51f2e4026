// Reads a slow source on a thread of its own, so that an answer never waits for a drive: a
// slow disk or USB bridge can take seconds, and the monitor gives up on a silent service.
#pragma once

#include "DriveSource.h"

#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

namespace service {

class ReadingWorker final : public DriveSource {
public:
    // Takes the first readings at once, then reads `source` again every `intervalMs`.
    ReadingWorker(std::unique_ptr<DriveSource> source, std::uint32_t intervalMs);
    ReadingWorker(const ReadingWorker&) = delete;
    ReadingWorker& operator=(const ReadingWorker&) = delete;
    ~ReadingWorker() override; // waits for a read under way to end

    // The latest readings, without waiting for a read under way.
    std::vector<DriveReading> Next() override;
    std::size_t Count() const override;

private:
    void Run();

    std::unique_ptr<DriveSource> source_;
    const std::uint32_t intervalMs_;
    mutable std::mutex mutex_;
    std::condition_variable stop_;
    bool stopping_ = false;
    std::vector<DriveReading> latest_;
    std::thread thread_; // last: starts once everything it uses exists
};

} // namespace service
