// The windows source against drives played by the test: the driver replies, the access
// rights a drive can be opened with, and its power state.
#include "RealDrives.h"
#include "StorageBuffers.h"
#include "StorageReplies.h"
#include "WindowsDrives.h"

#include <gtest/gtest.h>

#include <map>

using namespace service;
using storage_replies::Bytes;

namespace {

struct FakeDisk {
    std::string product;
    std::optional<Bytes> temperatureProperty = {}, smart = {}, nvmeLog = {}, nvmeIdentify = {}, sctTable = {};
    bool opensWithoutRights = true;  // else it needs read access
    bool administrator = false;      // read and write access granted
    bool poweredUp = true;
    bool nvmeAtAdapterOnly = false;
    bool standby = false;  // its own standby, which the system does not know of
    int temperatureQueries = 0;
    int smartReads = 0;  // these end a standby, as do the SCT log's
    bool sctAsked = false;  // the temperature history table, by an SCT command
};

struct FakeHandle final : DriveHandle {
    FakeDisk& disk;
    DriveDevices::Access access;

    FakeHandle(FakeDisk& disk, DriveDevices::Access access) : disk(disk), access(access) {}
    bool Control(DWORD code, const std::vector<std::uint8_t>& in, std::vector<std::uint8_t>& out) override {
        const bool query = code == storage::kQueryPropertyCode;
        if (query && in.at(0) == storage::kDeviceProperty) {
            out = storage_replies::DeviceDescriptor("ATA     ", disk.product.c_str());
            return true;
        }
        if (code == storage::kAtaPassThroughCode) {
            using storage_replies::kTaskFile;
            if (access != DriveDevices::Access::ReadWrite) return false;
            out = in;
            out.at(kTaskFile + 6) = 0x50;
            if (in.at(kTaskFile + 6) == 0xE5) {  // CHECK POWER MODE: 00 standby, FF active
                out.at(kTaskFile + 1) = disk.standby ? 0x00 : 0xFF;
                return true;
            }
            ++disk.smartReads;
            if (in.at(kTaskFile) == 0xD6)  // the SCT command, to the SCT log
                disk.sctAsked = in.at(kTaskFile + 2) == 0xE0 && in.at(kTaskFile + 8) == 5 && in.at(kTaskFile + 12) == 2;
            else if (disk.sctAsked && disk.sctTable)
                out = *disk.sctTable;
            return disk.sctTable.has_value();
        }
        const std::uint8_t nvmeScope = disk.nvmeAtAdapterOnly ? storage::kAdapterProtocolSpecificProperty
                                                              : storage::kDeviceProtocolSpecificProperty;
        const std::optional<Bytes>& reply =
            query && in.at(0) == storage::kDeviceTemperatureProperty ? disk.temperatureProperty
            : query && in.at(0) == nvmeScope && in.at(12) == 1       ? disk.nvmeIdentify
            : query && in.at(0) == nvmeScope                         ? disk.nvmeLog
            : code == storage::kSmartReceiveCode && access == DriveDevices::Access::ReadWrite ? disk.smart
                                                                                              : std::nullopt;
        ++disk.temperatureQueries;
        disk.smartReads += code == storage::kSmartReceiveCode;
        if (reply) out = *reply;
        return reply.has_value();
    }
    std::optional<bool> PoweredUp() override { return disk.poweredUp; }
};

struct FakeDevices final : DriveDevices {
    std::map<int, FakeDisk> disks;

    std::unique_ptr<DriveHandle> Open(int number, Access access, DWORD& error) override {
        const auto disk = disks.find(number);
        error = disk == disks.end() ? ERROR_FILE_NOT_FOUND : ERROR_ACCESS_DENIED;
        if (disk == disks.end() || (access == Access::Query && !disk->second.opensWithoutRights) ||
            (access == Access::ReadWrite && !disk->second.administrator))
            return nullptr;
        return std::make_unique<FakeHandle>(disk->second, access);
    }
};

Bytes Property(std::int16_t celsius) { return storage_replies::TemperatureDescriptor(1, {{0, celsius}}); }

}  // namespace

TEST(WindowsDrives, EachDriveReadTheFirstWayItAllowsAndASleepingOneNotAtAll) {
    FakeDevices devices;
    devices.disks[0] = {.product = "HD103SJ", .temperatureProperty = Property(38)};
    devices.disks[1] = {.product = "ST3500418AS", .temperatureProperty = Property(41), .opensWithoutRights = false};
    devices.disks[2] = {.product = "WD5000AAKS", .smart = storage_replies::SmartReply({{190, 35}, {194, 44}}), .administrator = true};
    devices.disks[3] = {.product = "NoRights", .smart = storage_replies::SmartReply({{194, 50}})};  // rights it lacks
    devices.disks[4] = {.product = "970 EVO", .nvmeLog = storage_replies::NvmeReply(310)};
    devices.disks[5] = {.product = "PM981", .nvmeLog = storage_replies::NvmeReply(320), .nvmeAtAdapterOnly = true};
    devices.disks[6] = {.product = "Standby", .smart = storage_replies::SmartReply({{194, 30}}), .administrator = true,
                        .standby = true};  // left out until it gives a reading, and not woken for one
    devices.disks[9] = {.product = "Far", .temperatureProperty = Property(-2)};  // numbers may have gaps

    std::uint32_t now = 0;
    RealDrives drives("windows", FindWindowsDrives(devices), [&] { return now; });
    std::vector<std::pair<std::string, int>> got;
    for (const DriveReading& reading : drives.Next()) got.push_back({reading.name, reading.temperature});
    EXPECT_EQ(got, (std::vector<std::pair<std::string, int>>{
                       {"HD103SJ", 38}, {"ST3500418AS", 41}, {"WD5000AAKS", 44}, {"970 EVO", 37}, {"PM981", 47}, {"Far", 0}}));
    EXPECT_EQ(devices.disks[6].smartReads, 0);

    // Asked through the power state, a drive that sleeps is not queried and keeps its last reading.
    FakeDisk& disk = devices.disks[0];
    disk.temperatureProperty = Property(50);
    disk.poweredUp = false;
    disk.temperatureQueries = 0;
    now += RealDrives::kCacheMs;
    const DriveReading asleep = drives.Next()[0];
    EXPECT_EQ(asleep.temperature, 38);
    EXPECT_EQ(asleep.flags, kFlagAsleep);
    EXPECT_EQ(disk.temperatureQueries, 0);

    // On the administrator path the drive itself tells its standby: SMART would end it.
    FakeDisk& smart = devices.disks[2];
    smart.standby = true;
    smart.smartReads = 0;
    now += RealDrives::kCacheMs;
    EXPECT_EQ(drives.Next()[2].flags, kFlagAsleep);
    EXPECT_EQ(smart.smartReads, 0);
}

TEST(WindowsDrives, LimitsTheTemperaturePropertyLeavesOutComeFromIdentifyOrTheSctTable) {
    auto limits = [](std::int16_t critical, std::int16_t warning) {
        Bytes property = Property(40);
        property.at(8) = static_cast<std::uint8_t>(critical);
        property.at(10) = static_cast<std::uint8_t>(warning);
        return property;
    };
    const Bytes identify = storage_replies::NvmeIdentifyReply(353, 358);  // 80 and 85 degrees
    FakeDevices devices;
    devices.disks[0] = {.product = "970 EVO", .nvmeLog = storage_replies::NvmeReply(310), .nvmeIdentify = identify,
                        .administrator = true};
    devices.disks[1] = {.product = "PM981", .temperatureProperty = limits(84, 0), .nvmeIdentify = identify,
                        .administrator = true, .nvmeAtAdapterOnly = true};  // the property's own limit wins
    devices.disks[2] = {.product = "SN750", .temperatureProperty = limits(90, 75), .nvmeIdentify = identify,
                        .administrator = true};
    const Bytes sct = storage_replies::SctReply(55, 60);
    devices.disks[3] = {.product = "WD5000AAKS", .smart = storage_replies::SmartReply({{194, 44}}), .sctTable = sct,
                        .administrator = true};
    devices.disks[4] = {.product = "ST2000DM008", .temperatureProperty = limits(65, 0), .sctTable = sct,
                        .administrator = true};

    RealDrives drives("windows", FindWindowsDrives(devices), [] { return 0u; });
    std::vector<std::pair<int, int>> got;
    for (const DriveReading& reading : drives.Next()) got.push_back({reading.traits.WarnLimit, reading.traits.CritLimit});
    EXPECT_EQ(got, (std::vector<std::pair<int, int>>{{80, 85}, {80, 84}, {75, 90}, {55, 60}, {55, 65}}));
}
