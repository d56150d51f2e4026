// What a drive record's flags mean on the monitor: an old reading drawn dimmed and raising no
// alarm, and a hint line that says why. A record without flags looks as it always did.
#pragma once
#include "ServiceLink.h"
#include "forms/Colors.h"
#include <string>

namespace thermowl {

// The temperature is not a new one: the drive sleeps, or its last read failed.
bool OldReading(const DriveRecord& drive);

// "NAME is 41°C", then " (asleep)" or " (stale)", and " (simulated)", as the flags say.
std::string DriveHintLine(const DriveRecord& drive, const std::string& temperatureText);

// The colour of an old reading: the text colour halfway towards the outline's. Never the
// window's colour key, which would punch a hole in the text.
forms::TColor DimmedColor(forms::TColor text, forms::TColor outline);

}  // namespace thermowl
