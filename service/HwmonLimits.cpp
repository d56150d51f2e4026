#include "HwmonLimits.h"

#include <cstdlib>

namespace service {
namespace {

// Milli-degrees to whole degrees, rounded; anything that is not a plain number states nothing.
std::int16_t LimitOf(const std::optional<std::string>& milli) {
    if (!milli || milli->empty())
        return 0;
    char* end = nullptr;
    const long value = std::strtol(milli->c_str(), &end, 10);
    if (*end != '\0' || value <= 0 || value > 1000000)
        return 0;
    return contract::PlausibleLimit(static_cast<int>((value + 500) / 1000));
}

} // namespace

contract::DriveTraits HwmonTraits(const std::string& hwmonName, const std::optional<std::string>& max,
                                  const std::optional<std::string>& crit, const std::optional<std::string>& rotational,
                                  const std::optional<std::string>& serial) {
    contract::DriveTraits traits{};
    if (serial) traits.Identity = contract::DriveIdentity(serial->c_str(), serial->size());
    traits.WarnLimit = LimitOf(max);
    traits.CritLimit = LimitOf(crit);
    if (hwmonName == "nvme")
        traits.Kind = contract::KindSolidState;
    else if (rotational == "1")
        traits.Kind = contract::KindRotating;
    else if (rotational == "0")
        traits.Kind = contract::KindSolidState;
    return traits;
}

} // namespace service
