#include "ReadingWorker.h"

#include <chrono>

namespace service {

ReadingWorker::ReadingWorker(std::unique_ptr<DriveSource> source, std::uint32_t intervalMs)
    : source_(std::move(source)), intervalMs_(intervalMs), latest_(source_->Next()), thread_([this] { Run(); }) {}

ReadingWorker::~ReadingWorker() {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        stopping_ = true;
    }
    stop_.notify_all();
    thread_.join();
}

std::vector<DriveReading> ReadingWorker::Next() {
    std::lock_guard<std::mutex> lock(mutex_);
    return latest_;
}

std::size_t ReadingWorker::Count() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return latest_.size();
}

void ReadingWorker::Run() {
    std::unique_lock<std::mutex> lock(mutex_);
    for (;;) {
        if (stop_.wait_for(lock, std::chrono::milliseconds(intervalMs_), [this] { return stopping_; }))
            return;
        // The read runs unlocked: answers meanwhile take the readings before it.
        lock.unlock();
        std::vector<DriveReading> readings = source_->Next();
        lock.lock();
        latest_ = std::move(readings);
    }
}

} // namespace service
