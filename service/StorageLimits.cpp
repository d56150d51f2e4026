#include "StorageLimits.h"

namespace service::storage {
namespace {

// STORAGE_TEMPERATURE_DATA_DESCRIPTOR: Version, Size, then the two limits before InfoCount.
constexpr std::size_t kCriticalTemperature = 8, kWarningTemperature = 10, kLimitsEnd = 12;
// DEVICE_SEEK_PENALTY_DESCRIPTOR: Version, Size, IncursSeekPenalty (a BOOLEAN byte).
constexpr std::size_t kDescriptorSize = 4, kIncursSeekPenalty = 8;

std::uint32_t Read32(const Bytes& bytes, std::size_t at) {
    return static_cast<std::uint32_t>(bytes[at] | bytes[at + 1] << 8 | bytes[at + 2] << 16 |
                                      static_cast<std::uint32_t>(bytes[at + 3]) << 24);
}

std::int16_t ReadSigned16(const Bytes& bytes, std::size_t at) {
    return static_cast<std::int16_t>(bytes[at] | bytes[at + 1] << 8);
}

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

contract::DriveKind DecodeSeekPenalty(const Bytes& reply) {
    if (reply.size() <= kIncursSeekPenalty || Read32(reply, kDescriptorSize) <= kIncursSeekPenalty)
        return contract::KindUnknown;
    return reply[kIncursSeekPenalty] ? contract::KindRotating : contract::KindSolidState;
}

} // namespace service::storage
