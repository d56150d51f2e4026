#include "StorageBuffers.h"

#include "DriveNames.h"

#include <algorithm>

namespace service::storage {
namespace {

// STORAGE_PROPERTY_QUERY: PropertyId, QueryType (0 = standard), then AdditionalParameters.
namespace property_query {
constexpr std::size_t kPropertyId = 0, kQueryType = 4, kAdditional = 8, kSize = 12;
}

// STORAGE_DEVICE_DESCRIPTOR: offsets of NUL-terminated strings from the descriptor's start
// (0 = absent).
namespace device_descriptor {
constexpr std::size_t kVendorIdOffset = 12, kProductIdOffset = 16, kMinSize = 20;
}

// STORAGE_TEMPERATURE_DATA_DESCRIPTOR: Version, Size (32-bit), CriticalTemperature,
// WarningTemperature (signed 16-bit), InfoCount (16-bit), 2 + 8 reserved bytes, then
// InfoCount STORAGE_TEMPERATURE_INFO.
namespace temperature_descriptor {
constexpr std::size_t kInfoCount = 12, kFirstInfo = 24;
}
// STORAGE_TEMPERATURE_INFO (16 bytes): Index (16-bit), Temperature (signed 16-bit, Celsius),
// OverThreshold, UnderThreshold, three flags, reserved.
namespace temperature_info {
constexpr std::size_t kIndex = 0, kTemperature = 2, kSize = 16;
}

// STORAGE_PROTOCOL_SPECIFIC_DATA (ten 32-bit fields), at AdditionalParameters in the
// request and after Version and Size (STORAGE_PROTOCOL_DATA_DESCRIPTOR) in the reply.
namespace protocol_data {
constexpr std::size_t kProtocolType = 0, kDataType = 4, kRequestValue = 8, kRequestSubValue = 12, kDataOffset = 16,
                      kDataLength = 20, kSize = 40;
constexpr std::uint32_t kNvme = 3;        // ProtocolTypeNvme
constexpr std::uint32_t kIdentify = 1;    // NVMeDataTypeIdentify
constexpr std::uint32_t kLogPage = 2;     // NVMeDataTypeLogPage
constexpr std::uint32_t kHealthLog = 2;   // SMART / health information
constexpr std::uint32_t kHealthLogSize = 512;
constexpr std::uint32_t kIdentifyController = 1; // CNS 1
constexpr std::uint32_t kIdentifySize = 4096;
constexpr std::size_t kInReply = 8;       // after the descriptor's Version and Size
// STORAGE_PROTOCOL_DATA_DESCRIPTOR's Version and Size both hold its own size.
constexpr std::size_t kVersionAt = 0, kSizeAt = 4;
constexpr std::uint32_t kDescriptorSize = kInReply + kSize;
}
// NVMe SMART / health log: Critical Warning, then the composite temperature (16-bit, kelvin).
constexpr std::size_t kCompositeTemperature = 1;

// SENDCMDINPARAMS (packed): cBufferSize, IDEREGS (features, sector count, sector number,
// cylinder low, cylinder high, drive/head, command, reserved), bDriveNumber, reserved,
// bBuffer. The input is passed without bBuffer.
namespace smart_in {
constexpr std::size_t kBufferSize = 0, kFeatures = 4, kSectorCount = 5, kSectorNumber = 6, kCylinderLow = 7,
                      kCylinderHigh = 8, kDriveHead = 9, kCommand = 10, kDriveNumber = 12, kSize = 32;
constexpr std::uint8_t kReadAttributes = 0xD0, kSmartCommand = 0xB0, kSmartCylinderLow = 0x4F,
                       kSmartCylinderHigh = 0xC2;
}
// SENDCMDOUTPARAMS: cBufferSize, DRIVERSTATUS (bDriverError, bIDEError, reserved), bBuffer.
namespace smart_out {
constexpr std::size_t kDriverError = 4, kData = 16;
}
// ATA_PASS_THROUGH_EX: Length, AtaFlags (16-bit), PathId, TargetId, Lun, reserved,
// DataTransferLength, TimeOutValue, reserved (32-bit), DataBufferOffset (pointer-sized, so
// aligned to it), PreviousTaskFile[8], CurrentTaskFile[8] (features, sector count, sector
// number, cylinder low, cylinder high, device/head, command or status, reserved).
namespace ata_pass_through {
constexpr std::size_t kLength = 0, kFlags = 2, kTimeOut = 12, kDataBufferOffset = sizeof(void*) == 8 ? 24 : 20,
                      kCurrentTaskFile = kDataBufferOffset + sizeof(void*) + 8, kSize = kCurrentTaskFile + 8;
constexpr std::size_t kDataTransferLength = 8;
constexpr std::size_t kFeatures = 0, kSectorCount = 1, kSectorNumber = 2, kCylinderLow = 3, kCylinderHigh = 4,
                      kDeviceHead = 5, kCommandStatus = 6;
constexpr std::uint16_t kDrdyRequired = 1, kDataIn = 2, kDataOut = 4; // ATA_FLAGS_*
constexpr std::uint8_t kReadLog = 0xD5, kWriteLog = 0xD6, kSctLog = 0xE0;
constexpr std::size_t kSectorSize = 512;
constexpr std::uint8_t kCheckPowerMode = 0xE5, kStandby = 0x00, kStatusError = 0x01;
}
// SMART data: revision (16-bit), then 30 attributes of 12 bytes: id, flags (16-bit),
// current, worst, six raw bytes, reserved.
namespace smart_attribute {
constexpr std::size_t kFirst = 2, kCount = 30, kSize = 12, kRaw = 5;
constexpr std::uint8_t kTemperature = 194, kAirflowTemperature = 190;
}

std::uint32_t Read16(const Bytes& bytes, std::size_t at) { return bytes[at] | bytes[at + 1] << 8; }

std::uint32_t Read32(const Bytes& bytes, std::size_t at) {
    return bytes[at] | bytes[at + 1] << 8 | bytes[at + 2] << 16 | std::uint32_t(bytes[at + 3]) << 24;
}

void Write32(Bytes& bytes, std::size_t at, std::uint32_t value) {
    for (int i = 0; i < 4; ++i)
        bytes[at + i] = static_cast<std::uint8_t>(value >> (8 * i));
}

// The NUL-terminated string at `offset`, trimmed; empty when absent or outside the reply.
std::string StringAt(const Bytes& reply, std::uint32_t offset) {
    if (offset == 0 || offset >= reply.size())
        return {};
    std::size_t end = offset;
    while (end < reply.size() && reply[end] != 0)
        ++end;
    return TrimBlanks(std::string(reply.begin() + offset, reply.begin() + end));
}

// An NVMe request by the protocol-specific property; the reply's room follows the protocol data.
Bytes NvmeQuery(std::uint32_t propertyId, std::uint32_t dataType, std::uint32_t requestValue, std::uint32_t length) {
    using namespace protocol_data;
    Bytes query(property_query::kAdditional + kSize + length, 0);
    Write32(query, property_query::kPropertyId, propertyId);
    const std::size_t data = property_query::kAdditional;
    Write32(query, data + kProtocolType, kNvme);
    Write32(query, data + kDataType, dataType);
    Write32(query, data + kRequestValue, requestValue);
    Write32(query, data + kRequestSubValue, 0);
    Write32(query, data + kDataOffset, kSize);
    Write32(query, data + kDataLength, length);
    return query;
}

// ATA_PASS_THROUGH_EX for SMART READ LOG or WRITE LOG of one sector of the SCT log, the
// sector right after the structure.
Bytes SctLogQuery(std::uint8_t feature, std::uint16_t direction) {
    using namespace ata_pass_through;
    Bytes query(kSize + kSectorSize, 0);
    query[kLength] = static_cast<std::uint8_t>(kSize);
    query[kFlags] = static_cast<std::uint8_t>(kDrdyRequired | direction);
    Write32(query, kDataTransferLength, kSectorSize);
    Write32(query, kTimeOut, 3); // seconds
    Write32(query, kDataBufferOffset, kSize);
    const std::size_t task = kCurrentTaskFile;
    query[task + kFeatures] = feature;
    query[task + kSectorCount] = 1;
    query[task + kSectorNumber] = kSctLog;
    query[task + kCylinderLow] = smart_in::kSmartCylinderLow;
    query[task + kCylinderHigh] = smart_in::kSmartCylinderHigh;
    query[task + kDeviceHead] = 0xA0;
    query[task + kCommandStatus] = smart_in::kSmartCommand;
    return query;
}

} // namespace

Bytes PropertyQuery(std::uint32_t propertyId) {
    Bytes query(property_query::kSize, 0);
    Write32(query, property_query::kPropertyId, propertyId);
    Write32(query, property_query::kQueryType, 0);
    return query;
}

Bytes NvmeHealthQuery(std::uint32_t propertyId) {
    using namespace protocol_data;
    return NvmeQuery(propertyId, kLogPage, kHealthLog, kHealthLogSize);
}

Bytes NvmeIdentifyQuery(std::uint32_t propertyId) {
    using namespace protocol_data;
    return NvmeQuery(propertyId, kIdentify, kIdentifyController, kIdentifySize);
}

std::optional<std::size_t> NvmeDataAt(const Bytes& reply, NvmeData kind, std::size_t needed) {
    using namespace protocol_data;
    if (reply.size() < kInReply + kSize)
        return std::nullopt;
    // A driver that took the request for something else answers in some other layout.
    const std::uint32_t dataType = kind == NvmeData::HealthLog ? kLogPage : kIdentify;
    if (Read32(reply, kVersionAt) != kDescriptorSize || Read32(reply, kSizeAt) != kDescriptorSize ||
        Read32(reply, kInReply + kProtocolType) != kNvme || Read32(reply, kInReply + kDataType) != dataType)
        return std::nullopt;
    // The data's offset counts from the protocol data; it cannot lie inside it.
    const std::uint32_t offset = Read32(reply, kInReply + kDataOffset);
    const std::uint32_t length = Read32(reply, kInReply + kDataLength);
    if (offset < kSize || offset > reply.size() || length < needed)
        return std::nullopt;
    const std::size_t data = kInReply + offset;
    if (data + needed > reply.size())
        return std::nullopt;
    return data;
}

Bytes SmartAttributesQuery() {
    using namespace smart_in;
    Bytes query(kSize, 0);
    Write32(query, kBufferSize, 512);
    query[kFeatures] = kReadAttributes;
    query[kSectorCount] = 1;
    query[kSectorNumber] = 1;
    query[kCylinderLow] = kSmartCylinderLow;
    query[kCylinderHigh] = kSmartCylinderHigh;
    query[kDriveHead] = 0xA0;
    query[kCommand] = kSmartCommand;
    query[kDriveNumber] = 0;
    return query;
}

Bytes PowerModeQuery() {
    using namespace ata_pass_through;
    Bytes query(kSize, 0);
    query[kLength] = static_cast<std::uint8_t>(kSize);
    query[kFlags] = kDrdyRequired;
    Write32(query, kTimeOut, 3); // seconds
    query[kCurrentTaskFile + kDeviceHead] = 0xA0;
    query[kCurrentTaskFile + kCommandStatus] = kCheckPowerMode;
    return query;
}

Bytes SctTemperatureTableCommand() {
    // The SCT command: action 5 (data table), function 1 (read), table 2 (temperature history).
    Bytes query = SctLogQuery(ata_pass_through::kWriteLog, ata_pass_through::kDataOut);
    const std::size_t command = ata_pass_through::kSize;
    query[command] = 5;
    query[command + 2] = 1;
    query[command + 4] = 2;
    return query;
}

Bytes SctTableRead() { return SctLogQuery(ata_pass_through::kReadLog, ata_pass_through::kDataIn); }

std::optional<std::size_t> AtaDataAt(const Bytes& reply) {
    using namespace ata_pass_through;
    if (reply.size() < kSize + kSectorSize || (reply[kCurrentTaskFile + kCommandStatus] & kStatusError))
        return std::nullopt;
    return kSize;
}

std::optional<bool> DecodeStandby(const Bytes& reply) {
    using namespace ata_pass_through;
    if (reply.size() < kSize || (reply[kCurrentTaskFile + kCommandStatus] & kStatusError))
        return std::nullopt;
    return reply[kCurrentTaskFile + kSectorCount] == kStandby;
}

std::optional<std::string> DecodeDeviceName(const Bytes& reply) {
    using namespace device_descriptor;
    if (reply.size() < kMinSize)
        return std::nullopt;
    std::string vendor = StringAt(reply, Read32(reply, kVendorIdOffset));
    const std::string product = StringAt(reply, Read32(reply, kProductIdOffset));
    if (vendor == "ATA" || vendor == "NVMe")
        vendor.clear();
    if (vendor.empty() && product.empty())
        return std::nullopt;
    return vendor.empty() ? product : product.empty() ? vendor : vendor + " " + product;
}

std::optional<double> DecodeTemperatureProperty(const Bytes& reply) {
    using namespace temperature_descriptor;
    if (reply.size() < kFirstInfo)
        return std::nullopt;
    const std::size_t fitting = (reply.size() - kFirstInfo) / temperature_info::kSize;
    const std::size_t count = std::min<std::size_t>(Read16(reply, kInfoCount), fitting);
    std::optional<double> first;
    for (std::size_t i = 0; i < count; ++i) {
        const std::size_t info = kFirstInfo + i * temperature_info::kSize;
        const double celsius = static_cast<std::int16_t>(Read16(reply, info + temperature_info::kTemperature));
        if (Read16(reply, info + temperature_info::kIndex) == 0)
            return celsius;
        if (!first)
            first = celsius;
    }
    return first;
}

std::optional<double> DecodeSmartTemperature(const Bytes& reply) {
    using namespace smart_attribute;
    if (reply.size() < smart_out::kData + kFirst + kCount * kSize || reply[smart_out::kDriverError] != 0)
        return std::nullopt;
    auto rawOf = [&](std::uint8_t id) -> std::optional<double> {
        for (std::size_t i = 0; i < kCount; ++i) {
            const std::size_t attribute = smart_out::kData + kFirst + i * kSize;
            // A raw 0 is a drive that lists the attribute without measuring it.
            if (reply[attribute] == id && reply[attribute + kRaw] != 0)
                return reply[attribute + kRaw];
        }
        return std::nullopt;
    };
    if (const std::optional<double> celsius = rawOf(kTemperature))
        return celsius;
    return rawOf(kAirflowTemperature);
}

std::optional<double> DecodeNvmeTemperature(const Bytes& reply) {
    const std::optional<std::size_t> log = NvmeDataAt(reply, NvmeData::HealthLog, kCompositeTemperature + 2);
    if (!log)
        return std::nullopt;
    const std::uint32_t kelvin = Read16(reply, *log + kCompositeTemperature);
    if (kelvin == 0) // not reported
        return std::nullopt;
    return kelvin - 273.15;
}

} // namespace service::storage
