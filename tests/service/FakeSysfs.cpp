#include "FakeSysfs.h"

#include "Process.h"

#include <filesystem>
#include <fstream>

FakeSysfs::FakeSysfs() : root_(testsupport::TempFilePath("sys")) {
    testsupport::RemoveFile(root_);  // the name is kept for the folder
    const std::string hwmon = "class\\hwmon\\";
    auto disk = [&](const std::string& folder, const std::string& kind, const char* milli, const std::string& model,
                    const char* vendor, const char* block) {
        Write(hwmon + folder + "\\name", kind + "\n");
        if (milli)
            Write(hwmon + folder + "\\temp1_input", std::string(milli) + "\n");
        Write(hwmon + folder + "\\device\\model", model + "   \n");  // padded, as SCSI models are
        if (vendor)
            Write(hwmon + folder + "\\device\\vendor", std::string(vendor) + "\n");
        if (block)
            std::filesystem::create_directories(root_ + "\\" + hwmon + folder + "\\device\\block\\" + block);
    };
    disk("hwmon0", "drivetemp", "38500", "ST3500418AS", "ATA     ", "sda");
    disk("hwmon1", "k10temp", "55000", "", nullptr, nullptr);
    disk("hwmon2", "nvme", "41000", kLongModel, nullptr, nullptr);
    disk("hwmon3", "drivetemp", nullptr, "WDC WD10EZEX", "ATA", "sdc");
    disk("hwmon10", "drivetemp", "260400", "ST3500418AS", "ATA", "sdb");
}

FakeSysfs::~FakeSysfs() {
    std::error_code ignored;
    std::filesystem::remove_all(root_, ignored);
}

void FakeSysfs::Write(const std::string& relative, const std::string& text) const {
    const std::filesystem::path path = root_ + "\\" + relative;
    std::filesystem::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << text;
}
