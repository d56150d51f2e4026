#include "DriveFlags.h"

namespace thermowl {

bool OldReading(const DriveRecord& drive) { return (drive.Flags & (DriveFlagAsleep | DriveFlagStale)) != 0; }

std::string DriveHintLine(const DriveRecord& drive, const std::string& temperatureText) {
    std::string line = DriveName(drive) + " is " + temperatureText;
    if (drive.Flags & DriveFlagAsleep)
        line += " (asleep)";
    else if (drive.Flags & DriveFlagStale)
        line += " (stale)";
    if (drive.Flags & DriveFlagSimulated) line += " (simulated)";
    return line;
}

forms::TColor DimmedColor(forms::TColor text, forms::TColor outline) {
    const COLORREF a = forms::ColorToRGB(text), b = forms::ColorToRGB(outline);
    forms::TColor mixed = 0;
    for (int shift = 0; shift < 24; shift += 8)
        mixed |= ((((a >> shift) & 0xFF) + ((b >> shift) & 0xFF)) / 2) << shift;
    return mixed == forms::clPurple ? mixed + 1 : mixed;
}

}  // namespace thermowl
