// One drive of a real source: a disk the machine has, read through the operating system.
#pragma once

#include "contract/ServiceContract.h"

#include <optional>
#include <string>

namespace service {

class DriveSensor {
public:
    virtual ~DriveSensor() = default;

    // The name the drive reports (maker and model), in the ANSI code page; any length.
    virtual std::string Name() const = 0;
    // A short name of the device ("0" for the first physical drive, "sda"), to tell
    // drives with the same name apart.
    virtual std::string Device() const = 0;
    // True when the drive is spun down; a reading could wake it. Asking must not wake it.
    virtual bool Asleep() = 0;
    // The drive's temperature in degrees Celsius; nothing when it gives none.
    virtual std::optional<double> ReadCelsius() = 0;
    // The limits the drive states and its kind, as far as it tells them; asked once. Must not
    // wake a sleeping drive.
    virtual contract::DriveTraits Traits() { return {}; }
};

} // namespace service
