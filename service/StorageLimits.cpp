#include "StorageLimits.h"

namespace service::storage {
namespace {

// STORAGE_TEMPERATURE_DATA_DESCRIPTOR: Version, Size, then the two limits before InfoCount.
constexpr std::size_t kCriticalTemperature = 8, kWarningTemperature = 10, kLimitsEnd = 12;
// STORAGE_DEVICE_DESCRIPTOR: the serial number's offset from the descriptor's start (0: none).
constexpr std::size_t kSerialNumberOffset = 24;
// DEVICE_SEEK_PENALTY_DESCRIPTOR: Version, Size, IncursSeekPenalty (a BOOLEAN byte).
constexpr std::size_t kDescriptorSize = 4, kIncursSeekPenalty = 8;
// NVMe Identify Controller: WCTEMP and CCTEMP, 16-bit kelvin (0: not stated).
constexpr std::size_t kWarningComposite = 266, kCriticalComposite = 268;

// SCT temperature history table: format version, sampling period, interval (16-bit each),
// then MaxOpLimit and OverLimit (signed degrees Celsius; 0x80: not stated).
constexpr std::size_t kMaxOpLimit = 6, kOverLimit = 7;

// Whole degrees Celsius; 0 when not stated (0 K) or absurd.
std::int16_t LimitFromKelvin(std::uint16_t kelvin) { return contract::PlausibleLimit(kelvin - 273); }

std::uint32_t Read32(const Bytes& bytes, std::size_t at) {
    return static_cast<std::uint32_t>(bytes[at] | bytes[at + 1] << 8 | bytes[at + 2] << 16 |
                                      static_cast<std::uint32_t>(bytes[at + 3]) << 24);
}

std::uint16_t Read16(const Bytes& bytes, std::size_t at) {
    return static_cast<std::uint16_t>(bytes[at] | bytes[at + 1] << 8);
}

std::int16_t ReadSigned16(const Bytes& bytes, std::size_t at) { return static_cast<std::int16_t>(Read16(bytes, at)); }

} // namespace

contract::DriveTraits DecodeTemperatureLimits(const Bytes& reply) {
    contract::DriveTraits traits{};
    // A driver that filled in less than the limits (its Size says so) stated none.
    if (reply.size() < kLimitsEnd || Read32(reply, kDescriptorSize) < kLimitsEnd)
        return traits;
    traits.CritLimit = contract::PlausibleLimit(ReadSigned16(reply, kCriticalTemperature));
    traits.WarnLimit = contract::PlausibleLimit(ReadSigned16(reply, kWarningTemperature));
    return traits;
}

contract::DriveTraits DecodeNvmeIdentifyLimits(const Bytes& reply) {
    contract::DriveTraits traits{};
    const std::optional<std::size_t> data =
        NvmeDataAt(reply, NvmeData::IdentifyController, kCriticalComposite + 2);
    if (!data)
        return traits;
    traits.WarnLimit = LimitFromKelvin(Read16(reply, *data + kWarningComposite));
    traits.CritLimit = LimitFromKelvin(Read16(reply, *data + kCriticalComposite));
    return traits;
}

contract::DriveTraits DecodeSctLimits(const Bytes& reply) {
    contract::DriveTraits traits{};
    if (const std::optional<std::size_t> table = AtaDataAt(reply)) {
        traits.WarnLimit = contract::PlausibleLimit(static_cast<std::int8_t>(reply[*table + kMaxOpLimit]));
        traits.CritLimit = contract::PlausibleLimit(static_cast<std::int8_t>(reply[*table + kOverLimit]));
    }
    return traits;
}

std::uint32_t DecodeSerialIdentity(const Bytes& reply) {
    if (reply.size() < kSerialNumberOffset + 4)
        return 0;
    const std::uint32_t offset = Read32(reply, kSerialNumberOffset);
    if (offset == 0 || offset >= reply.size())
        return 0;
    const char* serial = reinterpret_cast<const char*>(reply.data()) + offset;
    return contract::DriveIdentity(serial, reply.size() - offset);
}

contract::DriveKind DecodeSeekPenalty(const Bytes& reply) {
    if (reply.size() <= kIncursSeekPenalty || Read32(reply, kDescriptorSize) <= kIncursSeekPenalty)
        return contract::KindUnknown;
    return reply[kIncursSeekPenalty] ? contract::KindRotating : contract::KindSolidState;
}

} // namespace service::storage
