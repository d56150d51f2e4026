#include "Options.h"

namespace service {
namespace {

// Digits only (and "0x" + hex digits where `allowHex`), within [min, max].
std::uint64_t ParseNumber(const std::string& option, const std::string& text, std::uint64_t min, std::uint64_t max,
                          bool allowHex = false) {
    std::string digits = text;
    int base = 10;
    if (allowHex && digits.size() > 2 && digits[0] == '0' && (digits[1] == 'x' || digits[1] == 'X')) {
        digits = digits.substr(2);
        base = 16;
    }
    bool valid = !digits.empty() && digits.size() <= 20;
    std::uint64_t value = 0;
    for (char c : digits) {
        int digit = -1;
        if (c >= '0' && c <= '9')
            digit = c - '0';
        else if (base == 16 && c >= 'a' && c <= 'f')
            digit = c - 'a' + 10;
        else if (base == 16 && c >= 'A' && c <= 'F')
            digit = c - 'A' + 10;
        if (digit < 0 || value > (UINT64_MAX - digit) / base) {
            valid = false;
            break;
        }
        value = value * base + digit;
    }
    if (!valid || value < min || value > max)
        throw UsageError(option + " expects a number from " + std::to_string(min) + " to " + std::to_string(max) +
                         ", not '" + text + "'");
    return value;
}

} // namespace

Options ParseOptions(const std::vector<std::string>& args) {
    Options options;
    bool drivesGiven = false;
    bool seedGiven = false;
    bool intervalGiven = false;

    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& option = args[i];
        auto value = [&]() -> const std::string& {
            if (i + 1 >= args.size())
                throw UsageError(option + " needs a value");
            return args[++i];
        };
        auto number = [&](std::uint64_t min, std::uint64_t max) { return ParseNumber(option, value(), min, max); };

        if (option == "--help" || option == "-h" || option == "/?")
            options.help = true;
        else if (option == "--background")
            options.background = true;
        else if (option == "--source") {
            options.source = value();
            if (options.source != "auto" && options.source != "windows" && options.source != "hwmon" &&
                options.source != "simulated")
                throw UsageError("--source expects auto, windows, hwmon or simulated, not '" + options.source + "'");
        } else if (option == "--sysfs") {
            options.sysfs = value();
            if (options.sysfs.empty())
                throw UsageError("--sysfs needs a folder");
        } else if (option == "--drives") {
            options.drives = static_cast<int>(number(1, 8));
            drivesGiven = true;
        } else if (option == "--seed") {
            options.seed = static_cast<std::uint32_t>(number(0, UINT32_MAX));
            seedGiven = true;
        } else if (option == "--scenario")
            options.scenarioFile = value();
        else if (option == "--drive")
            options.inlineDrives.push_back(value());
        else if (option == "--requests")
            options.requests = static_cast<std::uint32_t>(number(1, UINT32_MAX));
        else if (option == "--log")
            options.logFile = value();
        else if (option == "--never-answer")
            options.neverAnswer = true;
        else if (option == "--delay-ms")
            options.delayMs = static_cast<std::uint32_t>(number(0, 600000));
        else if (option == "--report-count")
            options.reportCount = static_cast<std::uint32_t>(number(0, UINT32_MAX));
        else if (option == "--short-file")
            options.shortFile = static_cast<std::uint32_t>(number(0, 65536));
        else if (option == "--no-file")
            options.noFile = true;
        else if (option == "--name-length")
            options.nameLength = static_cast<std::uint8_t>(number(0, 255));
        else if (option == "--answer-twice")
            options.answerTwice = true;
        else if (option == "--unsolicited")
            options.unsolicitedWindow = static_cast<std::uintptr_t>(ParseNumber(option, value(), 1, UINTPTR_MAX, true));
        else if (option == "--interval-ms") {
            options.intervalMs = static_cast<std::uint32_t>(number(10, 600000));
            intervalGiven = true;
        } else if (option == "--no-hsid")
            options.noHsid = true;
        else if (option == "--hsid-bytes")
            options.hsidBytes = static_cast<std::uint32_t>(number(0, 64));
        else if (option == "--lock-table")
            options.lockTable = true;
        else
            throw UsageError("unknown option '" + option + "' (see --help)");
    }

    const int sources = int(drivesGiven) + int(!options.scenarioFile.empty()) + int(!options.inlineDrives.empty());
    if (sources > 1)
        throw UsageError("--drives, --scenario and --drive cannot be combined");
    if (sources > 0 || seedGiven) {
        if (options.source == "auto")
            options.source = "simulated";
        else if (options.source != "simulated")
            throw UsageError("--drives, --seed, --scenario and --drive go only with --source simulated");
    }
    if (!options.sysfs.empty() && options.source != "auto" && options.source != "hwmon")
        throw UsageError("--sysfs goes only with --source auto or hwmon");
    if (intervalGiven && !options.unsolicitedWindow)
        throw UsageError("--interval-ms only goes with --unsolicited");
    if (options.noFile && (options.shortFile || options.lockTable))
        throw UsageError("--no-file cannot be combined with --short-file or --lock-table");
    return options;
}

const char* UsageText() {
    return R"(Usage: thermowl-service [options]

Temperature service for the Thermowl monitor. Writes its thread id to "hsid.dat" in the
system directory, answers each request (thread message 1025, LParam = reply window) by
rewriting "hdinfo.dat" there and sending message 1027 with the number of drives, and
removes "hsid.dat" when it ends (WM_QUIT, Ctrl-C, console close or --requests).

Sources of the drives:
  --source auto         (default) the first of windows and hwmon that finds a drive with
                        a temperature, else no drives at all (never made-up ones); the
                        choice, or why there is none, is printed at start and logged
  --source windows      the machine's physical drives through Windows: the drive's
                        temperature property (no administrator rights needed), else ATA
                        SMART (attribute 194, else 190) or the NVMe health log, which need
                        administrator rights
  --source hwmon        Linux's drive sensors (drivetemp and nvme), read under Wine only
                        from Z:\sys, or from the folder --sysfs names
  --sysfs FOLDER        the Linux /sys folder to read (default Z:\sys)
  --source simulated    simulated or scripted drives (below); any of their options
                        implies it
Real drives are read on a thread of their own at most once every 5 seconds; every
answer comes at once from the latest readings. A sleeping drive is not woken: it keeps
its last reading, and one asleep since the start is reported from its first reading on.
Of more than 8 drives, the first 8 in device order are reported. Byte 33 of each record
holds flags: 1 = the drive sleeps (last reading), 2 = simulated ("Simulated disk N"),
4 = stale (the last read failed; the reading before it).

Simulated drives (choose one; default with --source simulated: 2 drives):
  --drives N            N simulated drives (1..8), temperatures wandering in 30..50
  --seed N              seed of the simulated drives (default 1)
  --scenario FILE       scripted drives, one line per drive:
                            # comment
                            WDC WD5000AAKS-00V1A0 = 38, 39, 40 41 42
                        name (up to 32 bytes, may be empty) '=' temperatures 0..255
                        separated by commas and/or blanks; each answer takes the next
                        value, the last one repeats; '#' starts a comment; at most 8
                        drives; no drive lines means no drives
  --drive "NAME=T1,T2"  one scripted drive in the same syntax; repeatable

Running:
  --background          for the start at log-on: no console window, no output at all
                        (errors too: only the exit status tells), and the service ends
                        with the user's session; a second background service in the
                        same session ends at once with status 3

Ending and logging:
  --requests N          end normally after N requests
  --log FILE            one line per request: counter, GetTickCount, reply window (hex)

Misbehaviours (for tests):
  --never-answer        log requests but never answer
  --delay-ms N          wait N ms before answering
  --report-count N      send N as the number of drives, whatever the file holds
  --short-file BYTES    make "hdinfo.dat" exactly BYTES long (cut or zero-padded)
  --no-file             write no "hdinfo.dat" and delete any existing one
  --name-length N       write N as every record's name length byte (0..255)
  --answer-twice        send two replies per request
  --unsolicited HWND    also send replies to window HWND (decimal or 0x hex) unasked,
  --interval-ms N         every N ms (default 1000)
  --no-hsid             do not write "hsid.dat"
  --hsid-bytes N        write only the first N bytes of the id (over 4: 0xFF filler)
  --lock-table          keep "hdinfo.dat" open without sharing, so readers fail

Exit status: 0 normal end, 1 run-time failure, 2 bad command line or scenario,
3 a background service already runs in this session.
)";
}

} // namespace service
