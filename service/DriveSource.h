// Where the readings of each answer come from: real drives, simulated drives or a
// scripted scenario.
#pragma once

#include "DriveTable.h"
#include "Options.h"

#include <memory>
#include <vector>

namespace service {

class DriveSource {
public:
    virtual ~DriveSource() = default;
    // The readings for the next answer. Real drives may join later: one asleep at the
    // start is reported from its first reading on.
    virtual std::vector<DriveReading> Next() = 0;
    // The number of drives the source has.
    virtual std::size_t Count() const = 0;
};

// The simulated or scripted drives the options ask for; reads the scenario file. Throws
// ScenarioError.
std::unique_ptr<DriveSource> MakeSimulatedSource(const Options& options);

} // namespace service
