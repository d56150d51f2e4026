// One background service per user session. A second one would overwrite "hsid.dat", and
// whichever ended first would remove the file under the other.
#pragma once

#include <windows.h>

namespace service {

class InstanceLock {
public:
    InstanceLock();
    InstanceLock(const InstanceLock&) = delete;
    InstanceLock& operator=(const InstanceLock&) = delete;
    ~InstanceLock();

    // False when another background service of this session holds the lock.
    bool Held() const { return held_; }

private:
    HANDLE mutex_ = nullptr;
    bool held_ = false;
};

} // namespace service
