#include "InstanceLock.h"

namespace service {

// "Local\": the name is private to the user's session, so each session has its own service.
InstanceLock::InstanceLock() : mutex_(CreateMutexA(nullptr, FALSE, "Local\\ThermowlBackgroundService")) {
    held_ = mutex_ != nullptr && GetLastError() != ERROR_ALREADY_EXISTS;
}

InstanceLock::~InstanceLock() {
    if (mutex_)
        CloseHandle(mutex_);
}

} // namespace service
