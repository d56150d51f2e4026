#include "SimulatedDrives.h"

#include <algorithm>

namespace service {
namespace {

// Models of the era the monitor was written for, one per slot.
const char* const kModelNames[] = {
    "WDC WD5000AAKS-00V1A0", "ST3500418AS",     "Hitachi HDS721010CLA332", "SAMSUNG HD103SJ",
    "MAXTOR STM3250310AS",   "WDC WD10EARS-00Y5B1", "ST31000528AS",        "FUJITSU MHY2160BH",
};

} // namespace

SimulatedDrives::SimulatedDrives(int count, std::uint32_t seed) : state_(seed) {
    count = std::clamp(count, 1, 8);
    for (int i = 0; i < count; ++i) {
        const int rest = 34 + static_cast<int>(Random(9));             // 34..42
        const int start = rest - 2 + static_cast<int>(Random(5));      // rest +-2
        drives_.push_back({kModelNames[i], rest, start});
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
