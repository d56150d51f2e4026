// Made-up drives whose temperatures wander slowly, like idle disks in a warm case.
#pragma once

#include "DriveSource.h"

#include <cstdint>
#include <string>
#include <vector>

namespace service {

class SimulatedDrives final : public DriveSource {
public:
    static constexpr int kMinTemperature = 30;
    static constexpr int kMaxTemperature = 50;

    // `count` drives (1..8). The same seed gives the same names and the same readings.
    SimulatedDrives(int count, std::uint32_t seed);

    // The first call gives the starting temperatures; each later one moves every drive
    // by at most one degree, drawn towards the drive's own resting level.
    std::vector<DriveReading> Next() override;
    std::size_t Count() const override { return drives_.size(); }

private:
    struct Drive {
        std::string name;
        int restLevel;
        int temperature;
    };

    std::uint32_t Random(std::uint32_t bound);

    std::uint64_t state_;
    std::vector<Drive> drives_;
    bool started_ = false;
};

} // namespace service
