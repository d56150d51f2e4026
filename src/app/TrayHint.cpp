#include "TrayHint.h"
#include <windows.h>
#include <shellapi.h>

namespace thermowl {

// The tray icon hands the shell at most this many characters.
static_assert(HintLimit == sizeof(NOTIFYICONDATAA::szTip) - 1);

const char* const ServiceSilentLine = "No answer from the temperature service";

std::string TrayHintText(const std::string& driveLines, bool serviceSilent) {
    if (!serviceSilent) return driveLines;
    std::string hint = ServiceSilentLine;
    // Whole lines only: the shell would cut the last one anywhere.
    std::size_t start = 0;
    while (start < driveLines.size()) {
        std::size_t end = driveLines.find("\r\n", start);
        if (end == std::string::npos) end = driveLines.size();
        const std::size_t length = end - start;
        if (hint.size() + 2 + length > HintLimit) break;
        hint += "\r\n";
        hint.append(driveLines, start, length);
        start = end + 2;
    }
    return hint;
}

void AddHintLine(std::string& lines, const std::string& line, const std::string& note) {
    if (!lines.empty()) lines += "\r\n";
    lines += line;
    if (lines.size() + note.size() <= HintLimit) lines += note;
}

}  // namespace thermowl
