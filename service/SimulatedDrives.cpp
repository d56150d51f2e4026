#include "SimulatedDrives.h"

#include <algorithm>

namespace service {
SimulatedDrives::SimulatedDrives(int count, std::uint32_t seed) : state_(seed) {
    count = std::clamp(count, 1, 8);
    for (int i = 0; i < count; ++i) {
        const int rest = 34 + static_cast<int>(Random(9));             // 34..42
        const int start = rest - 2 + static_cast<int>(Random(5));      // rest +-2
        // Named so that nobody takes them for real drives.
        drives_.push_back({"Simulated disk " + std::to_string(i + 1), rest, start});
    }
}

// splitmix64: tiny, portable and the same everywhere, unlike the std distributions.
std::uint32_t SimulatedDrives::Random(std::uint32_t bound) {
    std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    z ^= z >> 31;
    return static_cast<std::uint32_t>(z % bound);
}

std::vector<DriveReading> SimulatedDrives::Next() {
    if (started_) {
        for (Drive& drive : drives_) {
            switch (Random(8)) {
            case 0: --drive.temperature; break;
            case 1: ++drive.temperature; break;
            case 2: drive.temperature += (drive.temperature < drive.restLevel) - (drive.temperature > drive.restLevel); break;
            default: break; // mostly it stays where it is
            }
            drive.temperature = std::clamp(drive.temperature, kMinTemperature, kMaxTemperature);
        }
    }
    started_ = true;

    std::vector<DriveReading> readings;
    for (const Drive& drive : drives_)
        readings.push_back({drive.name, static_cast<std::uint8_t>(drive.temperature), kFlagSimulated});
    return readings;
}

} // namespace service
