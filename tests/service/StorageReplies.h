// Replies of Windows' storage drivers, written byte by byte at the offsets their documented
// layouts give, for the decoding tests and for fake drives.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace storage_replies {

using Bytes = std::vector<std::uint8_t>;

// A little-endian buffer written at given offsets.
class Buffer {
public:
    explicit Buffer(std::size_t size) : bytes_(size, 0) {}
    Buffer& U8(std::size_t at, std::uint8_t value) {
        bytes_.at(at) = value;
        return *this;
    }
    Buffer& U16(std::size_t at, std::uint16_t value) { return U8(at, value & 0xFF).U8(at + 1, value >> 8); }
    Buffer& U32(std::size_t at, std::uint32_t value) { return U16(at, value & 0xFFFF).U16(at + 2, value >> 16); }
    Buffer& Text(std::size_t at, const std::string& text) {
        for (std::size_t i = 0; i < text.size(); ++i)
            U8(at + i, static_cast<std::uint8_t>(text[i]));
        return *this;
    }
    const Bytes& Get() const { return bytes_; }

private:
    Bytes bytes_;
};

// STORAGE_DEVICE_DESCRIPTOR: Version 0, Size 4, DeviceType 8, DeviceTypeModifier 9,
// RemovableMedia 10, CommandQueueing 11, VendorIdOffset 12, ProductIdOffset 16, ...,
// RawPropertiesLength 32, the strings from 36. A null string is left out (offset 0).
inline Bytes DeviceDescriptor(const char* vendor, const char* product) {
    Buffer b(128);
    b.U32(0, 40).U32(4, 128);
    std::size_t next = 40;
    if (vendor) {
        b.U32(12, static_cast<std::uint32_t>(next)).Text(next, vendor);
        next += std::string(vendor).size() + 1;
    }
    if (product)
        b.U32(16, static_cast<std::uint32_t>(next)).Text(next, product);
    return b.Get();
}

// STORAGE_TEMPERATURE_DATA_DESCRIPTOR: Version 0, Size 4, CriticalTemperature 8 and
// WarningTemperature 10 (signed 16-bit), InfoCount 12, reserved 14..23, then from 24 the
// STORAGE_TEMPERATURE_INFO of 16 bytes: Index 0, Temperature 2 (signed), OverThreshold 4,
// UnderThreshold 6, three flags, reserved.
struct Sensor { std::uint16_t index; std::int16_t celsius; };
inline Bytes TemperatureDescriptor(std::uint16_t count, const std::vector<Sensor>& sensors) {
    Buffer b(24 + 16 * sensors.size());
    b.U32(0, 32).U32(4, static_cast<std::uint32_t>(24 + 16 * sensors.size())).U16(8, 70).U16(10, 60).U16(12, count);
    for (std::size_t i = 0; i < sensors.size(); ++i)
        b.U16(24 + 16 * i, sensors[i].index).U16(26 + 16 * i, static_cast<std::uint16_t>(sensors[i].celsius))
            .U16(28 + 16 * i, 80);
    return b.Get();
}

// SENDCMDOUTPARAMS: cBufferSize 0, DRIVERSTATUS (bDriverError 4, bIDEError 5, reserved to
// 15), bBuffer from 16: the SMART data, revision (2 bytes), then 30 attributes of 12 bytes:
// id 0, flags 1..2, current 3, worst 4, raw 5..10, reserved 11.
struct Attribute { std::uint8_t id, raw0; };
inline Bytes SmartReply(const std::vector<Attribute>& attributes, std::uint8_t driverError = 0) {
    Buffer b(16 + 512);
    b.U32(0, 512).U8(4, driverError).U16(16, 0x0010);
    for (std::size_t i = 0; i < attributes.size(); ++i) {
        const std::size_t at = 16 + 2 + 12 * i;
        // Drives keep their lowest and highest temperature in other raw bytes.
        b.U8(at, attributes[i].id).U8(at + 3, 100).U8(at + 5, attributes[i].raw0).U8(at + 7, 20).U8(at + 9, 55);
    }
    return b.Get();
}

// STORAGE_PROTOCOL_DATA_DESCRIPTOR: Version 0, Size 4, then STORAGE_PROTOCOL_SPECIFIC_DATA
// from 8: ProtocolType 8, DataType 12, RequestValue 16, RequestSubValue 20, DataOffset 24,
// DataLength 28, ... (40 bytes). The log at 8 + DataOffset: Critical Warning 0, Composite
// Temperature 1..2 (kelvin), Available Spare 3, ...
inline Bytes NvmeReply(std::uint16_t kelvin, std::uint32_t dataOffset = 40, std::uint32_t dataLength = 512) {
    Buffer b(8 + 40 + 512);
    b.U32(0, 48).U32(4, 48).U32(8, 3).U32(12, 2).U32(16, 2).U32(24, dataOffset).U32(28, dataLength);
    if (8 + dataOffset + 3 <= 8 + 40 + 512)
        b.U16(8 + dataOffset + 1, kelvin).U8(8 + dataOffset + 3, 100);
    return b.Get();
}

// The same descriptor holding the NVMe Identify Controller data (DataType 1, CNS 1, 4096
// bytes): WCTEMP at 266 and CCTEMP at 268, kelvin.
inline Bytes NvmeIdentifyReply(std::uint16_t warningKelvin, std::uint16_t criticalKelvin) {
    return Buffer(8 + 40 + 4096).U32(0, 48).U32(4, 48).U32(8, 3).U32(12, 1).U32(16, 1).U32(24, 40).U32(28, 4096)
        .Text(48 + 24, "Samsung SSD 970 EVO").U16(48 + 266, warningKelvin).U16(48 + 268, criticalKelvin).Get();
}

// ATA_PASS_THROUGH_EX (CurrentTaskFile at 40, or 32 in a 32-bit program, 8 bytes) followed by
// the SCT temperature history table: format version 0..1, sampling period 2..3, interval
// 4..5, MaxOpLimit 6, OverLimit 7, MinOpLimit 8, UnderLimit 9 (signed), ... circular buffer
// from 34.
constexpr std::size_t kTaskFile = sizeof(void*) == 8 ? 40 : 32;
inline Bytes SctReply(std::uint8_t maxOp, std::uint8_t over, std::uint8_t status = 0x50) {
    return Buffer(kTaskFile + 8 + 512).U8(kTaskFile + 6, status).U16(kTaskFile + 8, 2).U16(kTaskFile + 10, 1)
        .U8(kTaskFile + 8 + 6, maxOp).U8(kTaskFile + 8 + 7, over).U8(kTaskFile + 8 + 8, 5).U8(kTaskFile + 8 + 9, 0)
        .U8(kTaskFile + 8 + 34, 41).U8(kTaskFile + 8 + 35, 42).Get();
}

}  // namespace storage_replies
