// What a Windows drive states about itself: the limits in its temperature property and its kind
// from the seek-penalty property, read byte by byte as StorageBuffers reads the rest.
#pragma once

#include "StorageBuffers.h"
#include "contract/ServiceContract.h"

namespace service::storage {

constexpr std::uint32_t kSeekPenaltyProperty = 7; // StorageDeviceSeekPenaltyProperty
constexpr std::size_t kSeekPenaltyReplySize = 12;

// STORAGE_TEMPERATURE_DATA_DESCRIPTOR: CriticalTemperature and WarningTemperature, signed
// degrees Celsius; implausible ones (0, below, above 150) count as not stated.
contract::DriveTraits DecodeTemperatureLimits(const Bytes& reply);

// The reply to NvmeIdentifyQuery: WCTEMP and CCTEMP, stated in kelvin, as the warning and
// critical limits in degrees Celsius; 0 (not stated) and above 150 degrees count as not stated.
contract::DriveTraits DecodeNvmeIdentifyLimits(const Bytes& reply);

// The reply to SctTableRead: the SCT temperature history's MaxOpLimit as the warning limit
// and OverLimit as the critical one; 0x80 (not stated) and implausible ones count as not stated.
contract::DriveTraits DecodeSctLimits(const Bytes& reply);

// STORAGE_DEVICE_DESCRIPTOR: DriveIdentity of the serial number; 0 when it has none.
std::uint32_t DecodeSerialIdentity(const Bytes& reply);

// DEVICE_SEEK_PENALTY_DESCRIPTOR: a drive that incurs a seek penalty rotates, one that does not
// is solid state; KindUnknown for a reply too short to tell.
contract::DriveKind DecodeSeekPenalty(const Bytes& reply);

} // namespace service::storage
