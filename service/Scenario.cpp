// Scenario format, one line per drive:
//
//     # comment: from '#' to the end of the line
//     WDC WD5000AAKS-00V1A0 = 38, 39, 40 41 42
//     ST3500418AS = 35
//
// The name (up to 32 bytes, spaces allowed, may be empty) is everything before '=', without
// surrounding blanks. The temperatures (whole degrees, 0..255) follow, separated by commas
// and/or blanks. Each answer takes the next value of every drive; after its last value a
// drive keeps reporting that value. Blank lines are skipped; at most 8 drives; a scenario
// with no drive lines reports no drives. --drive "NAME=T1,T2" takes the same drive syntax.
#include "Scenario.h"

#include <algorithm>

namespace service {
namespace {

constexpr std::string_view kBlanks = " \t\r\n";

std::string_view Trim(std::string_view text) {
    const std::size_t first = text.find_first_not_of(kBlanks);
    if (first == std::string_view::npos)
        return {};
    const std::size_t last = text.find_last_not_of(kBlanks);
    return text.substr(first, last - first + 1);
}

std::uint8_t ParseTemperature(std::string_view token) {
    if (token.empty() || token.size() > 3 || !std::all_of(token.begin(), token.end(), [](char c) { return c >= '0' && c <= '9'; }))
        throw ScenarioError("bad temperature '" + std::string(token) + "' (expected 0..255)");
    int value = 0;
    for (char c : token)
        value = value * 10 + (c - '0');
    if (value > 255)
        throw ScenarioError("temperature " + std::string(token) + " out of range (0..255)");
    return static_cast<std::uint8_t>(value);
}

} // namespace

ScenarioDrive ParseDrive(std::string_view text) {
    const std::size_t equals = text.find('=');
    if (equals == std::string_view::npos)
        throw ScenarioError("expected NAME = temperatures");
    ScenarioDrive drive;
    drive.name = std::string(Trim(text.substr(0, equals)));
    if (drive.name.size() > kNameSize)
        throw ScenarioError("drive name longer than 32 bytes: " + drive.name);

    std::string_view rest = text.substr(equals + 1);
    constexpr std::string_view kSeparators = ", \t\r\n";
    while (!rest.empty()) {
        const std::size_t start = rest.find_first_not_of(kSeparators);
        if (start == std::string_view::npos)
            break;
        rest.remove_prefix(start);
        const std::size_t end = std::min(rest.find_first_of(kSeparators), rest.size());
        drive.temperatures.push_back(ParseTemperature(rest.substr(0, end)));
        rest.remove_prefix(end);
    }
    if (drive.temperatures.empty())
        throw ScenarioError("no temperatures for drive '" + drive.name + "'");
    return drive;
}

std::vector<ScenarioDrive> ParseScenario(std::string_view text) {
    std::vector<ScenarioDrive> drives;
    int lineNumber = 0;
    while (!text.empty()) {
        const std::size_t end = std::min(text.find('\n'), text.size());
        std::string_view line = text.substr(0, end);
        text.remove_prefix(std::min(end + 1, text.size()));
        ++lineNumber;

        line = Trim(line.substr(0, line.find('#')));
        if (line.empty())
            continue;
        try {
            drives.push_back(ParseDrive(line));
        } catch (const ScenarioError& e) {
            throw ScenarioError("line " + std::to_string(lineNumber) + ": " + e.what());
        }
        if (drives.size() > kMaxDrives)
            throw ScenarioError("line " + std::to_string(lineNumber) + ": more than 8 drives");
    }
    return drives;
}

ScenarioSource::ScenarioSource(std::vector<ScenarioDrive> drives) : drives_(std::move(drives)) {}

std::vector<DriveReading> ScenarioSource::Next() {
    std::vector<DriveReading> readings;
    for (const ScenarioDrive& drive : drives_) {
        const std::size_t index = std::min(step_, drive.temperatures.size() - 1);
        readings.push_back({drive.name, drive.temperatures[index], kFlagSimulated});
    }
    ++step_;
    return readings;
}

} // namespace service
