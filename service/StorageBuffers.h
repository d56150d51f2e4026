// The buffers the windows source exchanges with a drive through DeviceIoControl: requests
// built and replies read byte by byte at their documented offsets (little-endian), so the
// code does not depend on which of these structures a header set happens to define.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace service::storage {

using Bytes = std::vector<std::uint8_t>;

constexpr std::uint32_t kQueryPropertyCode = 0x002D1400; // IOCTL_STORAGE_QUERY_PROPERTY
constexpr std::uint32_t kSmartReceiveCode = 0x0007C088;  // SMART_RCV_DRIVE_DATA
constexpr std::uint32_t kAtaPassThroughCode = 0x0004D02C; // IOCTL_ATA_PASS_THROUGH

constexpr std::uint32_t kDeviceProperty = 0;                  // StorageDeviceProperty
constexpr std::uint32_t kAdapterProtocolSpecificProperty = 49; // StorageAdapterProtocolSpecificProperty
constexpr std::uint32_t kDeviceProtocolSpecificProperty = 50;  // StorageDeviceProtocolSpecificProperty
constexpr std::uint32_t kDeviceTemperatureProperty = 52;      // StorageDeviceTemperatureProperty

// Room for the replies.
constexpr std::size_t kDeviceDescriptorReplySize = 1024;
constexpr std::size_t kTemperatureReplySize = 24 + 16 * 32;
constexpr std::size_t kSmartReplySize = 16 + 512;
constexpr std::size_t kNvmeHealthReplySize = 8 + 40 + 512;
constexpr std::size_t kNvmeIdentifyReplySize = 8 + 40 + 4096;

// STORAGE_PROPERTY_QUERY for a standard query of `propertyId` (12 bytes).
Bytes PropertyQuery(std::uint32_t propertyId);

// STORAGE_PROPERTY_QUERY carrying STORAGE_PROTOCOL_SPECIFIC_DATA that asks an NVMe drive for
// its SMART / health log (log page 2, 512 bytes); the reply comes back in the same layout.
// `propertyId`: the device's scope, or the adapter's, which some drivers answer instead.
Bytes NvmeHealthQuery(std::uint32_t propertyId = kDeviceProtocolSpecificProperty);

// The same for the NVMe Identify Controller data (CNS 1, 4096 bytes).
Bytes NvmeIdentifyQuery(std::uint32_t propertyId = kDeviceProtocolSpecificProperty);

// Where, in a STORAGE_PROTOCOL_DATA_DESCRIPTOR answering one of the two NVMe requests, the
// data of that kind starts, when the reply is in that layout and holds `needed` bytes of it.
enum class NvmeData { HealthLog, IdentifyController };
std::optional<std::size_t> NvmeDataAt(const Bytes& reply, NvmeData kind, std::size_t needed);

// SENDCMDINPARAMS for ATA SMART READ DATA (the attribute table). The handle names the drive:
// drive number 0, device register 0xA0 (master), whatever the drive's number.
Bytes SmartAttributesQuery();

// ATA_PASS_THROUGH_EX (its layout differs between 32- and 64-bit programs) asking ATA CHECK
// POWER MODE, which answers without spinning the drive up; the reply has the same layout.
Bytes PowerModeQuery();

// ATA_PASS_THROUGH_EX: SMART WRITE LOG of the SCT log (E0) with the command that asks for the
// temperature history table, then SMART READ LOG of that log, which returns the table.
Bytes SctTemperatureTableCommand();
Bytes SctTableRead();

// Where the sector returned by SctTableRead starts in its reply; nothing when the command failed.
std::optional<std::size_t> AtaDataAt(const Bytes& reply);

// The reply to PowerModeQuery: true when the drive is in standby, false when it is active
// or idle, nothing when the command failed.
std::optional<bool> DecodeStandby(const Bytes& reply);

// STORAGE_DEVICE_DESCRIPTOR: the vendor and product, trimmed, joined by a blank; a vendor
// that only names the bus ("ATA", "NVMe") is left out. Nothing when neither is there.
std::optional<std::string> DecodeDeviceName(const Bytes& reply);

// STORAGE_TEMPERATURE_DATA_DESCRIPTOR: the temperature of the sensor with index 0 (the
// drive's own), else of the first sensor, in degrees Celsius.
std::optional<double> DecodeTemperatureProperty(const Bytes& reply);

// SENDCMDOUTPARAMS holding the SMART attribute table: attribute 194 (temperature), else
// 190 (airflow temperature); degrees Celsius in the first raw byte.
std::optional<double> DecodeSmartTemperature(const Bytes& reply);

// STORAGE_PROTOCOL_DATA_DESCRIPTOR holding the NVMe health log: the composite temperature,
// in kelvin in the log, returned in degrees Celsius.
std::optional<double> DecodeNvmeTemperature(const Bytes& reply);

} // namespace service::storage
