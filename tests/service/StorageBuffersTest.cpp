// The requests the windows source sends and the replies it decodes, against buffers built
// byte by byte from the documented layouts.
#include "StorageBuffers.h"
#include "StorageLimits.h"
#include "StorageReplies.h"

#include <gtest/gtest.h>

using namespace service::storage;
using namespace storage_replies;

TEST(StorageRequests, NvmeHealthLogSmartAndPowerMode) {
    // STORAGE_PROPERTY_QUERY (protocol-specific property of the device or adapter, standard
    // query), then STORAGE_PROTOCOL_SPECIFIC_DATA: NVMe, log page, log 2, the log right after it.
    for (std::uint32_t scope : {50u, 49u})
        EXPECT_EQ(NvmeHealthQuery(scope),
                  Buffer(8 + 40 + 512).U32(0, scope).U32(8, 3).U32(12, 2).U32(16, 2).U32(24, 40).U32(28, 512).Get());
    // The same for Identify (data type 1), Controller (CNS 1), 4096 bytes.
    for (std::uint32_t scope : {50u, 49u})
        EXPECT_EQ(NvmeIdentifyQuery(scope),
                  Buffer(8 + 40 + 4096).U32(0, scope).U32(8, 3).U32(12, 1).U32(16, 1).U32(24, 40).U32(28, 4096).Get());
    // SENDCMDINPARAMS: 512 bytes, SMART READ DATA (0xD0) with the SMART signature 4F C2, device
    // register A0 and drive number 0, whatever the drive: the handle picks it.
    EXPECT_EQ(SmartAttributesQuery(),
              Buffer(32).U32(0, 512).U8(4, 0xD0).U8(5, 1).U8(6, 1).U8(7, 0x4F).U8(8, 0xC2).U8(9, 0xA0).U8(10, 0xB0).Get());
    // ATA_PASS_THROUGH_EX: CurrentTaskFile after the pointer-sized DataBufferOffset and the
    // previous task file; device A0, command CHECK POWER MODE (E5); no data.
    EXPECT_EQ(PowerModeQuery(), Buffer(kTaskFile + 8).U16(0, static_cast<std::uint16_t>(kTaskFile + 8)).U16(2, 1)
                                    .U32(12, 3).U8(kTaskFile + 5, 0xA0).U8(kTaskFile + 6, 0xE5).Get());
    // SMART WRITE LOG (D6) and READ LOG (D5) of log E0, one sector after the structure, out and
    // in; the sector written holds the SCT command: data table (5), read (1), temperature history (2).
    auto sct = [&](std::uint16_t flags, std::uint8_t feature) {
        return Buffer(kTaskFile + 8 + 512).U16(0, static_cast<std::uint16_t>(kTaskFile + 8)).U16(2, flags).U32(8, 512)
            .U32(12, 3).U32(sizeof(void*) == 8 ? 24 : 20, static_cast<std::uint32_t>(kTaskFile + 8)).U8(kTaskFile, feature)
            .U8(kTaskFile + 1, 1).U8(kTaskFile + 2, 0xE0).U8(kTaskFile + 3, 0x4F).U8(kTaskFile + 4, 0xC2)
            .U8(kTaskFile + 5, 0xA0).U8(kTaskFile + 6, 0xB0);
    };
    EXPECT_EQ(SctTemperatureTableCommand(), sct(1 | 4, 0xD6).U16(kTaskFile + 8, 5).U16(kTaskFile + 10, 1)
                                                .U16(kTaskFile + 12, 2).Get());
    EXPECT_EQ(SctTableRead(), sct(1 | 2, 0xD5).Get());
    // The reply: sector count 00 standby, 80 idle, FF active; status bit 0 an error.
    auto reply = [&](std::uint8_t count, std::uint8_t status) {
        return Buffer(kTaskFile + 8).U8(kTaskFile + 1, count).U8(kTaskFile + 6, status).Get();
    };
    EXPECT_EQ(DecodeStandby(reply(0x00, 0x50)), true);
    EXPECT_EQ(DecodeStandby(reply(0x80, 0x50)), false);
    EXPECT_EQ(DecodeStandby(reply(0xFF, 0x50)), false);
    EXPECT_EQ(DecodeStandby(reply(0x00, 0x51)), std::nullopt);
}

TEST(DeviceDescriptor, NameFromVendorAndProduct) {
    struct Case {
        const char *vendor, *product;
        std::optional<std::string> expected;
    };
    const Case cases[] = {
        {"SAMSUNG ", "HD103SJ         ", "SAMSUNG HD103SJ"},
        {nullptr, "ST3500418AS", "ST3500418AS"},
        {"ATA     ", "WDC WD5000AAKS-00V1A0", "WDC WD5000AAKS-00V1A0"},  // the bus is no maker
        {"HITACHI", nullptr, "HITACHI"},
        {"  ", "  ", std::nullopt},
    };
    for (const Case& c : cases)
        EXPECT_EQ(DecodeDeviceName(DeviceDescriptor(c.vendor, c.product)), c.expected) << (c.product ? c.product : "-");
    // A product offset beyond the reply; a vendor running to its end unterminated; too short.
    EXPECT_EQ(DecodeDeviceName(Buffer(48).U32(12, 40).U32(16, 4000).Text(40, "MAXTOR12").Get()), "MAXTOR12");
    EXPECT_EQ(DecodeDeviceName(Buffer(19).Get()), std::nullopt);
}

TEST(TemperatureProperty, TheDrivesOwnSensor) {
    struct Case {
        std::uint16_t count;
        std::vector<Sensor> sensors;
        std::optional<double> expected;
    };
    const Case cases[] = {
        {1, {{0, 38}}, 38},
        {2, {{1, 60}, {0, 41}}, 41},   // index 0 is the drive's own, wherever it stands
        {2, {{2, 33}, {1, 60}}, 33},   // no index 0: the first
        {1, {{0, -5}}, -5},            // signed
        {0, {{0, 40}}, std::nullopt},  // none reported
        {3, {{1, 50}}, 50},            // a count beyond the bytes returned
    };
    for (const Case& c : cases)
        EXPECT_EQ(DecodeTemperatureProperty(TemperatureDescriptor(c.count, c.sensors)), c.expected) << c.count;
    EXPECT_EQ(DecodeTemperatureProperty(Buffer(23).Get()), std::nullopt);
}

TEST(SmartAttributes, Attribute194Else190) {
    struct Case {
        std::vector<Attribute> attributes;
        std::uint8_t driverError;
        std::optional<double> expected;
    };
    std::vector<Attribute> full(29, Attribute{9, 1});
    full.push_back({194, 47});
    const Case cases[] = {
        {{{1, 0}, {9, 120}, {194, 41}}, 0, 41},
        {{{190, 36}, {194, 43}}, 0, 43},
        {{{5, 0}, {190, 38}}, 0, 38},
        {{{194, 0}, {190, 35}}, 0, 35},  // listed but not measured
        {{{1, 0}, {9, 120}}, 0, std::nullopt},
        {full, 0, 47},                   // the last of the 30 slots
        {{{194, 41}}, 1, std::nullopt},  // the driver reports an error
    };
    for (const Case& c : cases)
        EXPECT_EQ(DecodeSmartTemperature(SmartReply(c.attributes, c.driverError)), c.expected);
    EXPECT_EQ(DecodeSmartTemperature(Buffer(16 + 2 + 12 * 30 - 1).Get()), std::nullopt);
}

TEST(NvmeHealthLog, CompositeTemperatureInKelvin) {
    struct Case {
        std::uint16_t kelvin;
        std::uint32_t offset, length;
        std::optional<double> expected;
    };
    const Case cases[] = {
        {310, 40, 512, 310 - 273.15},
        {0x0150, 40, 512, 336 - 273.15},  // the high byte counts
        {320, 48, 504, 320 - 273.15},     // the log need not follow the protocol data at once
        {0, 40, 512, std::nullopt},       // not reported
        {310, 4, 512, std::nullopt},      // inside the protocol data
        {310, 0xFFFFFFF0, 512, std::nullopt},
        {310, 40, 2, std::nullopt},       // too short a log
        {310, 550, 512, std::nullopt},    // runs past the reply
    };
    for (const Case& c : cases)
        EXPECT_EQ(DecodeNvmeTemperature(NvmeReply(c.kelvin, c.offset, c.length)), c.expected) << c.offset;
    EXPECT_EQ(DecodeNvmeTemperature(Buffer(47).Get()), std::nullopt);
    // A reply in another layout: version, size, protocol (ATA) or data type (identify) not the log's.
    for (auto [at, value] : {std::pair{0, 40}, {4, 560}, {8, 2}, {12, 1}}) {
        Bytes other = NvmeReply(310);
        other[at] = static_cast<std::uint8_t>(value);
        other[at + 1] = static_cast<std::uint8_t>(value >> 8);
        EXPECT_EQ(DecodeNvmeTemperature(other), std::nullopt) << at;
    }
}

// The limits a drive states, from the temperature property, NVMe Identify (in kelvin) or the
// SCT temperature table.
TEST(DriveLimits, TheDrivesStatedLimits) {
    auto property = [](std::uint32_t size, std::int16_t critical, std::int16_t warning) {
        return Buffer(24).U32(4, size).U16(8, static_cast<std::uint16_t>(critical))
            .U16(10, static_cast<std::uint16_t>(warning)).Get();
    };
    Bytes identifyOfLog = NvmeIdentifyReply(353, 358), identifyCut = NvmeIdentifyReply(353, 358);
    identifyOfLog[12] = 2;          // the health log's layout
    identifyCut.resize(48 + 269);   // cut short of CCTEMP
    const struct {
        contract::DriveTraits (*decode)(const Bytes&);
        Bytes reply;
        int expectedWarn, expectedCrit;
    } cases[] = {
        {DecodeTemperatureLimits, property(24, 85, 80), 80, 85},  // critical at 8, warning at 10
        {DecodeTemperatureLimits, property(24, 0, 70), 70, 0},    // 0: not stated
        {DecodeTemperatureLimits, property(24, -273, 151), 0, 0}, // 0 K and beyond 150 degrees: absurd
        {DecodeTemperatureLimits, property(10, 85, 80), 0, 0},    // a driver that filled in less than the limits
        {DecodeNvmeIdentifyLimits, NvmeIdentifyReply(353, 358), 80, 85},
        {DecodeNvmeIdentifyLimits, NvmeIdentifyReply(0, 358), 0, 85},
        {DecodeNvmeIdentifyLimits, NvmeIdentifyReply(423, 0x1A0), 150, 143},  // the high byte counts
        {DecodeNvmeIdentifyLimits, NvmeIdentifyReply(424, 273), 0, 0},        // beyond 150 degrees, 0 degrees
        {DecodeNvmeIdentifyLimits, NvmeIdentifyReply(200, 0xFFFF), 0, 0},     // below freezing, far beyond
        {DecodeNvmeIdentifyLimits, identifyOfLog, 0, 0},
        {DecodeNvmeIdentifyLimits, identifyCut, 0, 0},
        {DecodeSctLimits, SctReply(55, 60, 0x50), 55, 60},
        {DecodeSctLimits, SctReply(0x80, 60, 0x50), 0, 60},   // 0x80: not stated
        {DecodeSctLimits, SctReply(0xFB, 0x97, 0x50), 0, 0},  // signed: below zero
        {DecodeSctLimits, SctReply(55, 60, 0x51), 0, 0},      // the command failed
    };
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        const contract::DriveTraits traits = cases[i].decode(cases[i].reply);
        EXPECT_EQ(traits.WarnLimit, cases[i].expectedWarn) << "case " << i;
        EXPECT_EQ(traits.CritLimit, cases[i].expectedCrit) << "case " << i;
    }
}

TEST(SeekPenalty, RotatingOrSolidState) {
    EXPECT_EQ(DecodeSeekPenalty(Buffer(12).U32(4, 12).U8(8, 1).Get()), contract::KindRotating);
    EXPECT_EQ(DecodeSeekPenalty(Buffer(12).U32(4, 12).U8(8, 0).Get()), contract::KindSolidState);
    EXPECT_EQ(DecodeSeekPenalty(Buffer(12).U32(4, 8).U8(8, 1).Get()), contract::KindUnknown);  // too short
}

TEST(DeviceDescriptor, SerialNumberIdentity) {
    const Bytes serial = Buffer(64).U32(4, 64).U32(24, 40).Text(40, "  WD-WCC123").Get();
    EXPECT_EQ(DecodeSerialIdentity(serial), contract::DriveIdentity("WD-WCC123", 9));
    EXPECT_EQ(DecodeSerialIdentity(Buffer(64).U32(4, 64).Get()), 0u);  // no serial number
    EXPECT_EQ(DecodeSerialIdentity(Buffer(64).U32(24, 64).Get()), 0u);  // beyond the reply
}
