#include "SourceChoice.h"

#include "DriveDevices.h"
#include "HwmonDrives.h"
#include "Output.h"
#include "WindowsDrives.h"

namespace service {
namespace {

ChosenSource Open(const RealSource& source, const RealDrives::Clock& clock) {
    std::vector<std::unique_ptr<DriveSensor>> sensors;
    try {
        sensors = source.find();
    } catch (const std::exception& e) {
        PrintNoteOnce(source.name + ": failed: " + e.what());
    }
    auto drives = std::make_unique<RealDrives>(source.name, std::move(sensors), clock);
    if (drives->Count() == 0)
        PrintNoteOnce(source.name + ": no drive reports a temperature");
    return {source.name, std::move(drives)};
}

} // namespace

ChosenSource ChooseSource(const std::string& wanted, const std::vector<RealSource>& real,
                          const std::function<ChosenSource()>& simulated, const RealDrives::Clock& clock) {
    if (wanted == "simulated")
        return simulated();
    for (const RealSource& source : real) {
        if (wanted != "auto" && wanted != source.name)
            continue;
        ChosenSource chosen = Open(source, clock);
        if (chosen.drives->Count() > 0 || wanted != "auto")
            return chosen;
    }
    return simulated();
}

ChosenSource MakeDriveSource(const Options& options) {
    // The handles of the windows source's drives refer to the devices: they live as long.
    static const std::unique_ptr<DriveDevices> devices = SystemDriveDevices();
    const std::string sysfs = options.sysfs.empty() ? kDefaultSysfs : options.sysfs;
    const std::vector<RealSource> real = {
        {"windows", [] { return FindWindowsDrives(*devices); }},
        {"hwmon", [&sysfs] { return FindHwmonDrives(sysfs); }},
    };
    return ChooseSource(options.source, real,
                        [&options] { return ChosenSource{"simulated", MakeSimulatedSource(options)}; }, SystemClock);
}

} // namespace service
