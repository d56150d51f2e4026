#include "DriveNames.h"

#include "DriveTable.h"

#include <windows.h>

#include <map>

namespace service {

std::string Utf8ToAnsi(std::string_view utf8) {
    if (utf8.empty())
        return {};
    const int size = static_cast<int>(utf8.size());
    const int wideLength = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(wideLength), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, wide.data(), wideLength);
    const int ansiLength = WideCharToMultiByte(CP_ACP, 0, wide.data(), wideLength, nullptr, 0, "?", nullptr);
    std::string ansi(static_cast<std::size_t>(ansiLength), '\0');
    WideCharToMultiByte(CP_ACP, 0, wide.data(), wideLength, ansi.data(), ansiLength, "?", nullptr);
    return ansi;
}

std::string TrimBlanks(std::string_view text) {
    constexpr std::string_view kBlanks = " \t\r\n";
    const std::size_t first = text.find_first_not_of(kBlanks);
    if (first == std::string_view::npos)
        return {};
    return std::string(text.substr(first, text.find_last_not_of(kBlanks) - first + 1));
}

std::string CutToBytes(std::string_view ansi, std::size_t limit) {
    std::size_t end = 0;
    while (end < ansi.size()) {
        const std::size_t step = IsDBCSLeadByte(static_cast<BYTE>(ansi[end])) && end + 1 < ansi.size() ? 2 : 1;
        if (end + step > limit)
            break;
        end += step;
    }
    return std::string(ansi.substr(0, end));
}

std::vector<std::string> TableNames(const std::vector<NamedDevice>& drives) {
    std::vector<std::string> names;
    std::map<std::string, int> uses;
    for (const NamedDevice& drive : drives) {
        names.push_back(CutToBytes(drive.name, kNameSize));
        ++uses[names.back()];
    }
    for (std::size_t i = 0; i < drives.size(); ++i) {
        if (uses[names[i]] < 2)
            continue;
        const std::string suffix = CutToBytes(" (" + drives[i].device + ")", kNameSize);
        names[i] = CutToBytes(drives[i].name, kNameSize - suffix.size()) + suffix;
    }
    return names;
}

} // namespace service
