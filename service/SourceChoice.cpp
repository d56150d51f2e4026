#include "SourceChoice.h"

#include "DriveDevices.h"
#include "HwmonDrives.h"
#include "Output.h"
#include "WindowsDrives.h"

#include <windows.h>

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
    return {source.name, std::move(drives), true, {}};
}

} // namespace

ChosenSource ChooseSource(const std::string& wanted, const std::vector<RealSource>& real,
                          const std::function<ChosenSource()>& simulated, const RealDrives::Clock& clock) {
    if (wanted == "simulated")
        return simulated();
    std::string tried;
    for (const RealSource& source : real) {
        if (wanted != "auto" && wanted != source.name)
            continue;
        ChosenSource chosen = Open(source, clock);
        if (chosen.drives->Count() > 0 || wanted != "auto")
            return chosen;
        tried += (tried.empty() ? "" : ", ") + source.name;
    }
    ChosenSource none{"none", std::make_unique<RealDrives>("none", std::vector<std::unique_ptr<DriveSensor>>{}, clock),
                      false, {}};
    none.why = "no drive reports a temperature (tried: " + (tried.empty() ? std::string("nothing") : tried) +
               "); answering with no drives (--source simulated gives made-up ones)";
    PrintNote(none.why);
    return none;
}

bool RunningUnderWine() {
    const HMODULE ntdll = GetModuleHandleA("ntdll.dll");
    return ntdll != nullptr && GetProcAddress(ntdll, "wine_get_version") != nullptr;
}

ChosenSource MakeDriveSource(const Options& options) {
    // The handles of the windows source's drives refer to the devices: they live as long.
    static const std::unique_ptr<DriveDevices> devices = SystemDriveDevices();
    const std::string sysfs = options.sysfs.empty() ? kDefaultSysfs : options.sysfs;
    std::vector<RealSource> real = {{"windows", [] { return FindWindowsDrives(*devices); }}};
    // A folder named with --sysfs is the user's choice; the default one exists only under Wine.
    if (!options.sysfs.empty() || RunningUnderWine())
        real.push_back({"hwmon", [&sysfs] { return FindHwmonDrives(sysfs); }});
    else if (options.source == "hwmon")
        real.push_back({"hwmon", [] {
                            PrintNoteOnce("hwmon: Linux's sensors exist only under Wine; not looked for");
                            return std::vector<std::unique_ptr<DriveSensor>>{};
                        }});
    return ChooseSource(options.source, real,
                        [&options] { return ChosenSource{"simulated", MakeSimulatedSource(options), false, {}}; }, SystemClock);
}

} // namespace service
