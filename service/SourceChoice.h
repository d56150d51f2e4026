// Which source the service reads its drives from: --source, and the fall-back of "auto".
#pragma once

#include "DriveSensor.h"
#include "DriveSource.h"
#include "RealDrives.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace service {

// A source of real drives: its name and how to find its drives, in device order.
struct RealSource {
    std::string name;
    std::function<std::vector<std::unique_ptr<DriveSensor>>()> find;
};

struct ChosenSource {
    std::string name;
    std::unique_ptr<DriveSource> drives;
    bool real = false;  // drives of the machine, slow to read: read off the message thread
    std::string why;    // when "auto" found no drive: why the answers hold none
};

// `wanted` is "auto", "simulated" or the name of one of `real`. "auto" takes the first real
// source that reports at least one drive, else "none": no drives at all, never made-up ones.
// A named real source is used even with no drives. A source that fails (throws) counts as
// one without drives; what was skipped, and why, is printed.
ChosenSource ChooseSource(const std::string& wanted, const std::vector<RealSource>& real,
                          const std::function<ChosenSource()>& simulated, const RealDrives::Clock& clock);

// Linux's sensors are there only under Wine, which ntdll tells by `wine_get_version`. On
// Windows "Z:\" is some ordinary drive, often a network or USB one, and is left alone.
bool RunningUnderWine();

// The source the options ask for (--source, --sysfs and the simulated drives' options).
// Throws ScenarioError for a bad scenario.
ChosenSource MakeDriveSource(const Options& options);

} // namespace service
