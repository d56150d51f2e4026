// The text of the tray icon's hint.
#pragma once
#include <cstddef>
#include <string>

namespace thermowl {

// The first line of the hint while the service does not answer.
extern const char* const ServiceSilentLine;  // "No answer from the temperature service"
// The longest hint the notification area shows.
constexpr std::size_t HintLimit = 127;

// The hint for the drive lines (CR LF between them): the lines as they are, or, while the service
// is silent, the notice with as many whole drive lines below it as fit within HintLimit.
std::string TrayHintText(const std::string& driveLines, bool serviceSilent);

// Adds a drive's line to `lines` (CR LF before all but the first), and `note` after it only if
// the hint still fits within HintLimit: the shell would cut it anywhere.
void AddHintLine(std::string& lines, const std::string& line, const std::string& note);

}  // namespace thermowl
