// The Windows calls the windows source makes on the physical drives, behind an interface
// so that tests can play drives: replies, access rights and power states.
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

namespace service {

// An open "\\.\PhysicalDriveN".
class DriveHandle {
public:
    virtual ~DriveHandle() = default;
    // DeviceIoControl with `in`; `out` comes in sized for the reply and leaves holding the
    // bytes returned. False when the call fails.
    virtual bool Control(DWORD code, const std::vector<std::uint8_t>& in, std::vector<std::uint8_t>& out) = 0;
    // GetDevicePowerState: false when the drive is spun down; nothing when it cannot tell.
    virtual std::optional<bool> PoweredUp() = 0;
};

class DriveDevices {
public:
    enum class Access {
        Query,     // no access rights: enough for property queries, open to every user
        Read,      // read access
        ReadWrite, // what ATA pass-through needs: administrators only
    };
    virtual ~DriveDevices() = default;
    // Opens drive `number`; nothing, with the system error in `error`, when that fails.
    virtual std::unique_ptr<DriveHandle> Open(int number, Access access, DWORD& error) = 0;
};

// The machine's own drives.
std::unique_ptr<DriveDevices> SystemDriveDevices();

} // namespace service
