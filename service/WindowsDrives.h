// Drives read through Windows' storage drivers. Without administrator rights: the
// temperature property of each "\\.\PhysicalDriveN". With them, as a fallback for drives
// or systems without that property: the ATA SMART attributes and the NVMe health log, and
// for limits the property does not state, the NVMe Identify data or the SCT temperature table.
#pragma once

#include "DriveDevices.h"
#include "DriveSensor.h"

#include <memory>
#include <vector>

namespace service {

// The physical drives numbered 0..kLastDriveNumber that can be opened, in number order.
// `devices` must outlive the sensors.
constexpr int kLastDriveNumber = 31;
std::vector<std::unique_ptr<DriveSensor>> FindWindowsDrives(DriveDevices& devices);

} // namespace service
