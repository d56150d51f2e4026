// What a drive under Linux's hwmon states about itself: temp1_max and temp1_crit (milli-degrees
// Celsius) and its kind, from the hwmon device's name and the disk's "rotational" flag.
#pragma once

#include "contract/ServiceContract.h"

#include <optional>
#include <string>

namespace service {

// `hwmonName`: "nvme" or "drivetemp"; the texts are the attributes' contents as read (trimmed),
// nothing when missing. `rotational`: the block device's queue/rotational, for drivetemp.
// `serial`: the device's serial number (an NVMe controller's "serial", a disk's "wwid").
contract::DriveTraits HwmonTraits(const std::string& hwmonName, const std::optional<std::string>& max,
                                  const std::optional<std::string>& crit, const std::optional<std::string>& rotational,
                                  const std::optional<std::string>& serial = std::nullopt);

} // namespace service
