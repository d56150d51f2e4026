// The drive table file "hdinfo.dat": records of 35 bytes, no header, at most 8.
#pragma once

#include "contract/ServiceContract.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace service {

constexpr std::size_t kRecordSize = sizeof(contract::DriveRecord);
constexpr std::size_t kNameSize = sizeof(contract::DriveRecord::Name);
constexpr std::size_t kMaxDrives = contract::MaxDrives;

// Byte 33 of a record: what kind of reading it is.
constexpr std::uint8_t kFlagAsleep = contract::FlagAsleep;
constexpr std::uint8_t kFlagSimulated = contract::FlagSimulated;
constexpr std::uint8_t kFlagStale = contract::FlagStale;

// One drive as the service reports it.
struct DriveReading {
    std::string name;         // ANSI, at most kNameSize bytes
    std::uint8_t temperature; // whole degrees Celsius
    std::uint8_t flags = 0;   // kFlag... bits
    contract::DriveTraits traits{}; // its stated limits and kind; the session channel carries them
};

// The traits of `drives`, in their order.
std::vector<contract::DriveTraits> TraitsOf(const std::vector<DriveReading>& drives);

// Lays out one record: byte 0 name length, bytes 1..32 the name padded with zeros,
// byte 33 the flags, byte 34 temperature. `nameLength` replaces the length byte
// (for a monitor that must cope with a bad one); the name bytes stay as they are.
std::vector<std::uint8_t> EncodeRecord(const DriveReading& drive,
                                       std::optional<std::uint8_t> nameLength = std::nullopt);

// The records of `drives` back to back, one per drive.
std::vector<std::uint8_t> EncodeTable(const std::vector<DriveReading>& drives,
                                      std::optional<std::uint8_t> nameLength = std::nullopt);

// Cuts `bytes` to `size`, or pads it with zeros up to `size`.
std::vector<std::uint8_t> FitToSize(std::vector<std::uint8_t> bytes, std::size_t size);

} // namespace service
