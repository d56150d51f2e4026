// The drives of a real source as the service reports them: whole degrees, table names,
// at most 8, each read at most once every 5 seconds, sleeping drives left asleep, and a
// drive reported only once it has given a reading.
#pragma once

#include "DriveSensor.h"
#include "DriveSource.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace service {

// Degrees Celsius as the table holds them: rounded to whole degrees, within 0..255.
std::uint8_t WholeDegrees(double celsius);

class RealDrives final : public DriveSource {
public:
    using Clock = std::function<std::uint32_t()>; // milliseconds, wrapping like GetTickCount
    static constexpr std::uint32_t kCacheMs = 5000;

    // Reads every sensor once, in the order given (device order), and keeps the first 8
    // that gave a temperature or sleep; the others are skipped, and told once under the
    // name of `source`. Sensors after the eighth kept drive are never read.
    RealDrives(std::string source, std::vector<std::unique_ptr<DriveSensor>> sensors, Clock clock);

    // The drives kept, including those asleep since the start that have no reading yet.
    std::size_t Count() const override { return drives_.size(); }

    // The readings, read again when the last reading is kCacheMs old, else at once from
    // the last reading. A sleeping drive keeps its last value and carries kFlagAsleep; one
    // whose read failed keeps it and carries kFlagStale. A drive asleep since the start is
    // left out until its first reading: 0 degrees would be a lie.
    std::vector<DriveReading> Next() override;

private:
    struct Drive {
        std::unique_ptr<DriveSensor> sensor;
        DriveReading reading;
        bool read = false; // it has given a temperature once
    };

    // Reads `drive` unless it sleeps; false when it neither slept nor gave a value.
    bool Read(Drive& drive);

    std::string source_;
    Clock clock_;
    std::vector<Drive> drives_;
    std::uint32_t lastRead_ = 0;
};

// Milliseconds since the system started (GetTickCount).
std::uint32_t SystemClock();

} // namespace service
