// The hwmon source on a made-up /sys: which devices are drives, their names and readings.
#include "FakeSysfs.h"
#include "HwmonDrives.h"
#include "HwmonLimits.h"
#include "RealDrives.h"

#include <gtest/gtest.h>

#include <tuple>

using namespace service;

TEST(HwmonDrives, DrivesOfAFakeTreeAndAChangeSeenAfterTheCacheInterval) {
    const FakeSysfs sysfs;
    std::uint32_t now = 0;
    RealDrives drives("hwmon", FindHwmonDrives(sysfs.Root()), [&] { return now; });

    // The processor sensor and the disk without temp1_input are left out; hwmon10 comes last.
    const std::string nvme = std::string(FakeSysfs::kLongModel).substr(0, 32);
    const std::vector<std::pair<std::string, int>> expected = {
        {"ST3500418AS (sda)", 39}, {nvme, 41}, {"ST3500418AS (sdb)", 255}};
    auto readings = [&] {
        std::vector<std::pair<std::string, int>> got;
        for (const DriveReading& reading : drives.Next())
            got.push_back({reading.name, reading.temperature});
        return got;
    };
    EXPECT_EQ(readings(), expected);

    sysfs.Write("class\\hwmon\\hwmon2\\temp1_input", "44600\n");
    now += RealDrives::kCacheMs - 1;
    EXPECT_EQ(readings()[1].second, 41);
    now += 1;
    EXPECT_EQ(readings()[1].second, 45);

    // A disk the kernel suspended keeps its last reading, flagged, and its sensor is not read:
    // a new value there stays unseen until it wakes.
    sysfs.Write("class\\hwmon\\hwmon0\\device\\power\\runtime_status", "suspended\n");
    sysfs.Write("class\\hwmon\\hwmon0\\temp1_input", "50000\n");
    now += RealDrives::kCacheMs;
    EXPECT_EQ(readings()[0].second, 39);
    EXPECT_EQ(drives.Next()[0].flags, kFlagAsleep);
    sysfs.Write("class\\hwmon\\hwmon0\\device\\power\\runtime_status", "active\n");
    now += RealDrives::kCacheMs;
    EXPECT_EQ(readings()[0].second, 50);
}

TEST(HwmonDrives, StatedLimitsAndKind) {
    using Text = std::optional<std::string>;
    const struct {
        const char* hwmon;
        Text max, crit, rotational;
        int warn, crit_;
        contract::DriveKind kind;
    } cases[] = {
        {"nvme", "80000", "85000", {}, 80, 85, contract::KindSolidState},
        {"nvme", "79500", "0", {}, 80, 0, contract::KindSolidState},  // rounded; 0 states nothing
        {"drivetemp", "55000", {}, "1", 55, 0, contract::KindRotating},
        {"drivetemp", "-273150", "151000", "0", 0, 0, contract::KindSolidState},  // 0 K, beyond 150: absurd
        {"drivetemp", "60 C", "", {}, 0, 0, contract::KindUnknown},
    };
    for (const auto& c : cases) {
        const contract::DriveTraits traits = HwmonTraits(c.hwmon, c.max, c.crit, c.rotational);
        EXPECT_EQ(std::tuple(traits.WarnLimit, traits.CritLimit, traits.Kind), std::tuple(c.warn, c.crit_, c.kind))
            << c.hwmon << " " << c.max.value_or("-");
    }
}

TEST(HwmonDrives, SerialNumbersTellDrivesApartWhateverTheirPadding) {
    auto identity = [](const char* serial) { return HwmonTraits("nvme", {}, {}, {}, serial).Identity; };
    EXPECT_EQ(identity("  S4EW123 "), identity("S4EW123"));
    EXPECT_NE(identity("S4EW123"), identity("S4EW124"));
    EXPECT_EQ(identity("   "), 0u);
    EXPECT_EQ(HwmonTraits("nvme", {}, {}, {}).Identity, 0u);
}
