// A made-up Linux /sys in a temporary folder, removed again when the object goes.
#pragma once

#include <string>

struct FakeSysfs {
    // hwmon0: "ST3500418AS" at 38.5 degrees (sda); hwmon1: a processor; hwmon2: NVMe, this
    // model, 41 degrees; hwmon3: a disk without temp1_input; hwmon10: "ST3500418AS", 260.4 (sdb).
    static constexpr const char* kLongModel = "Samsung SSD 970 EVO Plus 1TB 0123456789A";

    FakeSysfs();
    ~FakeSysfs();
    FakeSysfs(const FakeSysfs&) = delete;
    FakeSysfs& operator=(const FakeSysfs&) = delete;
    // Writes `text` to the file at `relative` (a path below Root()), making its folders.
    void Write(const std::string& relative, const std::string& text) const;
    // The folder to give as --sysfs.
    const std::string& Root() const { return root_; }

private:
    std::string root_;
};
