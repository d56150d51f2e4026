// The service's own logic: record layout, scenario parsing, simulated drives, options,
// file writes that meet a reader, and answers that never wait for a drive.
#include "DriveTable.h"
#include "Options.h"
#include "Process.h"
#include "ReadingWorker.h"
#include "Scenario.h"
#include "ServiceFiles.h"
#include "SimulatedDrives.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <condition_variable>
#include <future>
#include <mutex>
#include <set>

using namespace service;

namespace {

std::vector<std::uint8_t> Bytes(std::initializer_list<int> values) {
    return std::vector<std::uint8_t>(values.begin(), values.end());
}

Options Parse(std::vector<std::string> args) { return ParseOptions(args); }

}  // namespace

// ---- record layout ----

// A record as it must be: the length byte, the name, zeros, the temperature last.
std::vector<std::uint8_t> RecordBytes(int length, const std::string& name, int temperature) {
    std::vector<std::uint8_t> record(35, 0);
    record[0] = static_cast<std::uint8_t>(length);
    std::copy(name.begin(), name.end(), record.begin() + 1);
    record[34] = static_cast<std::uint8_t>(temperature);
    return record;
}

TEST(DriveRecord, LaysOutLengthNamePaddingAndTemperature) {
    EXPECT_EQ(EncodeRecord({"ST3500418AS", 43}), RecordBytes(11, "ST3500418AS", 43));
    EXPECT_EQ(EncodeRecord({std::string(32, 'N'), 255}), RecordBytes(32, std::string(32, 'N'), 255));
    EXPECT_EQ(EncodeRecord({"", 0}), RecordBytes(0, "", 0));
    EXPECT_EQ(EncodeRecord({"AB", 40}, 200), RecordBytes(200, "AB", 40));  // a length override keeps the name
}

TEST(DriveTable, RecordsFollowEachOtherWithoutHeader) {
    std::vector<std::uint8_t> expected;
    for (const auto& r : {RecordBytes(1, "A", 30), RecordBytes(2, "BC", 31), RecordBytes(1, "D", 32)})
        expected.insert(expected.end(), r.begin(), r.end());
    EXPECT_EQ(EncodeTable({{"A", 30}, {"BC", 31}, {"D", 32}}), expected);
    EXPECT_TRUE(EncodeTable({}).empty());
}

// ---- scenario syntax ----

TEST(DriveLine, NameMayHaveSpacesOrBeEmptyAndTemperaturesMixSeparators) {
    ScenarioDrive drive = ParseDrive("  WDC WD5000AAKS-00V1A0 =38, 39,40 41\t42 ,");
    EXPECT_EQ(drive.name, "WDC WD5000AAKS-00V1A0");
    EXPECT_EQ(drive.temperatures, Bytes({38, 39, 40, 41, 42}));
    drive = ParseDrive("=0,255");
    EXPECT_EQ(drive.name, "");
    EXPECT_EQ(drive.temperatures, Bytes({0, 255}));
    EXPECT_EQ(ParseDrive(std::string(32, 'x') + "=1").name.size(), 32u);
}

TEST(DriveLine, RejectsMalformedDrives) {
    for (const char* bad : {"NoEquals 40", "Name =", "Name = ,", "Name = 256", "Name = 4x", "Name = -1",
                            "Name = 40;41", "Name = 1000"})
        EXPECT_THROW(ParseDrive(bad), ScenarioError) << bad;
    EXPECT_THROW(ParseDrive(std::string(33, 'x') + "=1"), ScenarioError);
}

TEST(Scenario, SkipsCommentsAndBlankLinesAndAcceptsCrLf) {
    const auto drives = ParseScenario("# two drives\r\n\r\nST3500418AS = 40 41 # warming up\r\n   \n = 7\n# end");
    ASSERT_EQ(drives.size(), 2u);
    EXPECT_EQ(drives[0].name, "ST3500418AS");
    EXPECT_EQ(drives[0].temperatures, Bytes({40, 41}));
    EXPECT_EQ(drives[1].name, "");
    EXPECT_EQ(drives[1].temperatures, Bytes({7}));
    EXPECT_TRUE(ParseScenario("").empty());
    EXPECT_TRUE(ParseScenario("# nothing here\n\n").empty());
}

TEST(Scenario, ErrorsNameTheLine) {
    try {
        ParseScenario("A = 1\n# fine\nB = 300\n");
        FAIL() << "no error";
    } catch (const ScenarioError& e) {
        EXPECT_EQ(std::string(e.what()).rfind("line 3: ", 0), 0u) << e.what();
    }
}

TEST(Scenario, AtMostEightDrives) {
    std::string text;
    for (int i = 0; i < 8; ++i)
        text += "D" + std::to_string(i) + " = 40\n";
    EXPECT_EQ(ParseScenario(text).size(), 8u);
    EXPECT_THROW(ParseScenario(text + "D8 = 40\n"), ScenarioError);
}

TEST(ScenarioSource, StepsOneValuePerAnswerAndRepeatsTheLast) {
    ScenarioSource source({{"A", {40, 41, 255}}, {"B", {7}}});
    const int expectedA[] = {40, 41, 255, 255, 255};
    for (int expected : expectedA) {
        const std::vector<DriveReading> readings = source.Next();
        ASSERT_EQ(readings.size(), 2u);
        EXPECT_EQ(readings[0].name, "A");
        EXPECT_EQ(readings[0].temperature, expected);
        EXPECT_EQ(readings[1].temperature, 7);
    }
}

// ---- simulated drives ----

TEST(SimulatedDrives, SameSeedSameReadingsOtherSeedOthers) {
    SimulatedDrives a(4, 7), b(4, 7), c(4, 8);
    bool differs = false;
    for (int i = 0; i < 200; ++i) {
        const auto ra = a.Next(), rb = b.Next(), rc = c.Next();
        for (std::size_t d = 0; d < ra.size(); ++d) {
            ASSERT_EQ(ra[d].temperature, rb[d].temperature);
            differs = differs || ra[d].temperature != rc[d].temperature;
        }
    }
    EXPECT_TRUE(differs);
}

TEST(SimulatedDrives, DriftSlowlyWithinPlausibleRange) {
    for (std::uint32_t seed : {0u, 1u, 12345u}) {
        SimulatedDrives drives(8, seed);
        std::vector<DriveReading> previous = drives.Next();
        std::set<int> seen;
        for (int step = 0; step < 2000; ++step) {
            const std::vector<DriveReading> now = drives.Next();
            ASSERT_EQ(now.size(), 8u);
            for (std::size_t d = 0; d < now.size(); ++d) {
                EXPECT_GE(now[d].temperature, SimulatedDrives::kMinTemperature);
                EXPECT_LE(now[d].temperature, SimulatedDrives::kMaxTemperature);
                EXPECT_LE(std::abs(now[d].temperature - previous[d].temperature), 1);
                seen.insert(now[d].temperature);
            }
            previous = now;
        }
        EXPECT_GT(seen.size(), 3u) << "temperatures should move";
    }
}

// ---- options ----

TEST(Options, WindowHandleInDecimalOrHex) {
    EXPECT_EQ(Parse({"--unsolicited", "4660"}).unsolicitedWindow, 4660u);
    EXPECT_EQ(Parse({"--unsolicited", "0x1A2b"}).unsolicitedWindow, 0x1A2Bu);
}

TEST(Options, RejectsBadCommandLines) {
    const std::vector<std::vector<std::string>> bad = {
        {"--bogus"},
        {"--drives"},
        {"--drives", "0"},
        {"--drives", "9"},
        {"--drives", "two"},
        {"--report-count", "-1"},
        {"--report-count", "4294967296"},
        {"--name-length", "256"},
        {"--unsolicited", "0x"},
        {"--unsolicited", "0xZZ"},
        {"--interval-ms", "100"},
        {"--drives", "3", "--drive", "A=1"},
        {"--scenario", "x.txt", "--drive", "A=1"},
        {"--no-file", "--short-file", "10"},
        {"--hsid-bytes", "65"},
        {"--requests", "0"},
        {"--source", "linux"},
        {"--source", "hwmon", "--drives", "3"},
        {"--seed", "4", "--source", "windows"},
        {"--sysfs", "X:\\sys", "--source", "windows"},
    };
    for (const auto& args : bad)
        EXPECT_THROW(Parse(args), UsageError) << args[0];
}

// ---- files a reader holds ----

TEST(ServiceFiles, AWriteMeetingAReaderTriesAgainUntilItLetsGo) {
    const std::string path = testsupport::TempFilePath("hold");
    testsupport::FileCleanup cleanup{{path}};
    for (bool letsGo : {true, false}) {
        HANDLE reader = CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_ALWAYS, 0, nullptr);
        ASSERT_NE(reader, INVALID_HANDLE_VALUE);
        int pauses = 0;
        const bool written = WriteWholeFile(path, Bytes({7, 8}), [&] {
            if (++pauses == 3 && letsGo)
                CloseHandle(std::exchange(reader, INVALID_HANDLE_VALUE));
        });
        if (reader != INVALID_HANDLE_VALUE)
            CloseHandle(reader);
        EXPECT_EQ(written, letsGo);
        EXPECT_EQ(pauses, letsGo ? 3 : kWriteTries - 1);
        if (letsGo) {
            EXPECT_EQ(testsupport::ReadFileBytes(path), Bytes({7, 8}));
        }
    }
}

// ---- answers never wait for a drive ----

namespace {

// The first reading comes at once; every later one waits until the test lets it go.
class SlowSource final : public DriveSource {
public:
    std::vector<DriveReading> Next() override {
        std::unique_lock<std::mutex> lock(mutex_);
        if (reads_++ > 0)
            released_.wait(lock, [this] { return free_; });
        return {{"Slow", static_cast<std::uint8_t>(40 + reads_)}};
    }
    std::size_t Count() const override { return 1; }
    bool Reading() {
        std::lock_guard<std::mutex> lock(mutex_);
        return reads_ > 1;
    }
    void Release() {
        std::lock_guard<std::mutex> lock(mutex_);
        free_ = true;
        released_.notify_all();
    }

private:
    std::mutex mutex_;
    std::condition_variable released_;
    int reads_ = 0;
    bool free_ = false;
};

}  // namespace

TEST(ReadingWorker, AnswersFromTheLatestReadingsWhileADriveReadHangs) {
    auto owned = std::make_unique<SlowSource>();
    SlowSource& source = *owned;
    std::optional<ReadingWorker> worker;
    worker.emplace(std::move(owned), 1);
    ASSERT_TRUE(testsupport::WaitUntil([&] { return source.Reading(); }));
    // The read is held until after the answer: an answer that waited for it would never come.
    auto answer = std::async(std::launch::async, [&] { return worker->Next(); });
    const bool answered = answer.wait_for(std::chrono::seconds(30)) == std::future_status::ready;
    source.Release();
    ASSERT_TRUE(answered);
    EXPECT_EQ(answer.get().at(0).temperature, 41);
    ASSERT_TRUE(testsupport::WaitUntil([&] { return worker->Next().at(0).temperature > 41; }));
    worker.reset();  // ends the thread
}
