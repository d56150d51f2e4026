#include "RealDrives.h"

#include "DriveNames.h"
#include "Output.h"

#include <windows.h>

#include <cmath>

namespace service {

std::uint8_t WholeDegrees(double celsius) {
    if (!(celsius > 0)) // also NaN
        return 0;
    if (celsius >= 255)
        return 255;
    return static_cast<std::uint8_t>(std::lround(celsius));
}

std::uint32_t SystemClock() { return GetTickCount(); }

RealDrives::RealDrives(std::string source, std::vector<std::unique_ptr<DriveSensor>> sensors, Clock clock)
    : source_(std::move(source)), clock_(std::move(clock)) {
    for (std::unique_ptr<DriveSensor>& sensor : sensors) {
        if (drives_.size() == kMaxDrives)
            break;
        Drive drive{std::move(sensor), {}};
        drive.reading.traits = drive.sensor->Traits();
        if (Read(drive))
            drives_.push_back(std::move(drive));
        else
            PrintNoteOnce(source_ + ": skipped " + drive.sensor->Device() + " (" + drive.sensor->Name() +
                          "): it gives no temperature");
    }
    lastRead_ = clock_();

    std::vector<NamedDevice> named;
    for (const Drive& drive : drives_)
        named.push_back({drive.sensor->Name(), drive.sensor->Device()});
    const std::vector<std::string> names = TableNames(named);
    for (std::size_t i = 0; i < drives_.size(); ++i)
        drives_[i].reading.name = names[i];
}

bool RealDrives::Read(Drive& drive) {
    if (drive.sensor->Asleep()) {
        drive.reading.flags = kFlagAsleep;
        return true;
    }
    const std::optional<double> celsius = drive.sensor->ReadCelsius();
    if (!celsius) {
        drive.reading.flags = kFlagStale;
        return false;
    }
    drive.reading.flags = 0;
    drive.reading.temperature = WholeDegrees(*celsius);
    drive.read = true;
    return true;
}

std::vector<DriveReading> RealDrives::Next() {
    const std::uint32_t now = clock_();
    if (std::uint32_t(now - lastRead_) >= kCacheMs) { // unsigned: right across the wrap
        lastRead_ = now;
        for (Drive& drive : drives_)
            if (!Read(drive))
                PrintNoteOnce(source_ + ": " + drive.sensor->Device() + " (" + drive.sensor->Name() +
                              ") gave no temperature; its last reading stays");
    }
    std::vector<DriveReading> readings;
    for (const Drive& drive : drives_)
        if (drive.read)
            readings.push_back(drive.reading);
    return readings;
}

} // namespace service
