// The service's command line.
#pragma once

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace service {

struct UsageError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

struct Options {
    bool help = false;
    bool background = false; // no output; ends with the user's session

    // Drive source: "auto", "windows", "hwmon" or "simulated"; the options of simulated
    // drives (--drives, --seed, --scenario, --drive) make "auto" "simulated".
    std::string source = "auto";
    std::string sysfs; // empty: Wine's view of /sys

    // Simulated drives: made up (default), a scenario file, or --drive options.
    int drives = 2;
    std::uint32_t seed = 1;
    std::string scenarioFile;
    std::vector<std::string> inlineDrives;

    // Ending and logging.
    std::optional<std::uint32_t> requests; // end after this many requests
    std::string logFile;

    // Misbehaviours, so the monitor's failure handling can be exercised.
    bool neverAnswer = false;
    std::uint32_t delayMs = 0;
    std::optional<std::uint32_t> reportCount;
    std::optional<std::uint32_t> shortFile;
    bool noFile = false;
    std::optional<std::uint8_t> nameLength;
    bool answerTwice = false;
    std::optional<std::uintptr_t> unsolicitedWindow;
    std::uint32_t intervalMs = 1000;
    bool noHsid = false;
    std::uint32_t hsidBytes = 4;
    bool lockTable = false;
};

// Parses the arguments after the program name. Throws UsageError with a one-line reason.
Options ParseOptions(const std::vector<std::string>& args);

// The --help text.
const char* UsageText();

} // namespace service
