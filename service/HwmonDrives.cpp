#include "HwmonDrives.h"

#include "DriveNames.h"
#include "HwmonLimits.h"
#include "Output.h"

#include <windows.h>

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <optional>
#include <utility>

namespace service {
namespace {

// A sysfs attribute: a few bytes of text. Its size on disk says nothing, so read to the end.
std::optional<std::string> ReadAttribute(const std::string& path) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return std::nullopt;
    std::string text;
    char buffer[512];
    DWORD got = 0;
    bool ok = true;
    while ((ok = ReadFile(file, buffer, sizeof buffer, &got, nullptr)) && got > 0 && text.size() < 4096)
        text.append(buffer, got);
    CloseHandle(file);
    if (!ok)
        return std::nullopt;
    return TrimBlanks(text);
}

// Names of the entries of `folder` matching `pattern`, "." and ".." left out.
std::vector<std::string> ListFolder(const std::string& folder, const char* pattern) {
    std::vector<std::string> names;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder + "\\" + pattern).c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return names;
    do {
        const std::string name = found.cFileName;
        if (name != "." && name != "..")
            names.push_back(name);
    } while (FindNextFileA(search, &found));
    FindClose(search);
    return names;
}

// "hwmon12" -> 12; other names sort last.
unsigned long HwmonNumber(const std::string& name) {
    const std::string digits = name.substr(5);
    if (digits.empty() || digits.find_first_not_of("0123456789") != std::string::npos)
        return ULONG_MAX;
    return std::strtoul(digits.c_str(), nullptr, 10);
}

class HwmonDrive final : public DriveSensor {
public:
    HwmonDrive(std::string folder, std::string kind, std::string name, std::string device)
        : folder_(std::move(folder)), kind_(std::move(kind)), name_(std::move(name)), device_(std::move(device)) {}

    std::string Name() const override { return name_; }
    std::string Device() const override { return device_; }

    // Linux parks an idle disk through runtime power management; reading the sensor then
    // would wake it. (A drive that spun itself down without Linux knowing cannot be told
    // from sysfs.)
    bool Asleep() override {
        return ReadAttribute(folder_ + "\\device\\power\\runtime_status").value_or("") == "suspended";
    }

    // temp1_input holds milli-degrees Celsius: the drive's own (for NVMe, its composite) sensor.
    std::optional<double> ReadCelsius() override {
        const std::optional<std::string> text = ReadAttribute(folder_ + "\\temp1_input");
        if (!text || text->empty())
            return std::nullopt;
        char* end = nullptr;
        const long milli = std::strtol(text->c_str(), &end, 10);
        if (*end != '\0')
            return std::nullopt;
        return milli / 1000.0;
    }

    contract::DriveTraits Traits() override {
        // Device() is the block device when the disk has one; else there is no flag to read.
        return HwmonTraits(kind_, ReadAttribute(folder_ + "\\temp1_max"), ReadAttribute(folder_ + "\\temp1_crit"),
                           ReadAttribute(folder_ + "\\device\\block\\" + device_ + "\\queue\\rotational"),
                           Serial());
    }

    // An NVMe controller states its serial number; a SCSI or SATA disk its world-wide id.
    std::optional<std::string> Serial() const {
        const std::optional<std::string> serial = ReadAttribute(folder_ + "\\device\\serial");
        return serial && !serial->empty() ? serial : ReadAttribute(folder_ + "\\device\\wwid");
    }

private:
    std::string folder_;
    std::string kind_;
    std::string name_;
    std::string device_;
};

// The model, after the vendor unless that only names the bus ("ATA" for SATA disks).
std::string DriveName(const std::string& folder) {
    const std::string model = ReadAttribute(folder + "\\device\\model").value_or("");
    const std::string vendor = ReadAttribute(folder + "\\device\\vendor").value_or("");
    const std::string name = vendor.empty() || vendor == "ATA" ? model : vendor + " " + model;
    return Utf8ToAnsi(name);
}

// The disk's block device ("sda") when there is one, else the hwmon folder's name.
std::string DeviceName(const std::string& folder, const std::string& hwmon) {
    const std::vector<std::string> blocks = ListFolder(folder + "\\device\\block", "*");
    return blocks.empty() ? hwmon : *std::min_element(blocks.begin(), blocks.end());
}

} // namespace

std::vector<std::unique_ptr<DriveSensor>> FindHwmonDrives(const std::string& sysfs) {
    const std::string classFolder = sysfs + "\\class\\hwmon";
    std::vector<std::string> hwmons = ListFolder(classFolder, "hwmon*");
    if (hwmons.empty())
        PrintNoteOnce("hwmon: no sensors in " + classFolder);
    std::sort(hwmons.begin(), hwmons.end(),
              [](const std::string& a, const std::string& b) {
                  return std::make_pair(HwmonNumber(a), a) < std::make_pair(HwmonNumber(b), b);
              });

    std::vector<std::unique_ptr<DriveSensor>> drives;
    for (const std::string& hwmon : hwmons) {
        const std::string folder = classFolder + "\\" + hwmon;
        const std::string kind = ReadAttribute(folder + "\\name").value_or("");
        if (kind == "drivetemp" || kind == "nvme")
            drives.push_back(std::make_unique<HwmonDrive>(folder, kind, DriveName(folder), DeviceName(folder, hwmon)));
    }
    return drives;
}

} // namespace service
