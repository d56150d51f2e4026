// Drives whose temperature Linux publishes under hwmon (the drivetemp module for SATA and
// SAS disks, the nvme driver for NVMe), read through Wine's view of the Unix files.
#pragma once

#include "DriveSensor.h"

#include <memory>
#include <string>
#include <vector>

namespace service {

// Linux's /sys as Wine shows it.
constexpr const char* kDefaultSysfs = "Z:\\sys";

// One sensor per "<sysfs>\class\hwmon\hwmonN" whose "name" is "drivetemp" or "nvme", in the
// order of N. Other hwmon devices (processors, boards) are not drives and are left out.
std::vector<std::unique_ptr<DriveSensor>> FindHwmonDrives(const std::string& sysfs);

} // namespace service
