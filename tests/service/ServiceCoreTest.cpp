// The service's pure logic: record layout, scenario parsing, simulated drives, options.
#include "DriveTable.h"
#include "Options.h"
#include "Scenario.h"
#include "SimulatedDrives.h"

#include <gtest/gtest.h>

#include <set>

using namespace service;

namespace {

std::vector<std::uint8_t> Bytes(std::initializer_list<int> values) {
    return std::vector<std::uint8_t>(values.begin(), values.end());
}

Options Parse(std::vector<std::string> args) { return ParseOptions(args); }

}  // namespace

// ---- record layout ----

TEST(DriveRecord, LaysOutLengthNamePaddingAndTemperature) {
    const std::vector<std::uint8_t> record = EncodeRecord({"ST3500418AS", 43});
    ASSERT_EQ(record.size(), 35u);
    EXPECT_EQ(record[0], 11);
    EXPECT_EQ(std::string(record.begin() + 1, record.begin() + 12), "ST3500418AS");
    for (int i = 12; i <= 33; ++i)
        EXPECT_EQ(record[i], 0) << "byte " << i;
    EXPECT_EQ(record[34], 43);
}

TEST(DriveRecord, FullLengthNameAndExtremeTemperatures) {
    const std::string name(32, 'N');
    std::vector<std::uint8_t> record = EncodeRecord({name, 255});
    EXPECT_EQ(record[0], 32);
    EXPECT_EQ(std::string(record.begin() + 1, record.begin() + 33), name);
    EXPECT_EQ(record[33], 0);
    EXPECT_EQ(record[34], 255);

    record = EncodeRecord({"", 0});
    EXPECT_EQ(record, std::vector<std::uint8_t>(35, 0));
}

TEST(DriveRecord, NameLengthOverrideKeepsTheNameBytes) {
    const std::vector<std::uint8_t> record = EncodeRecord({"AB", 40}, 200);
    EXPECT_EQ(record[0], 200);
    EXPECT_EQ(record[1], 'A');
    EXPECT_EQ(record[2], 'B');
    EXPECT_EQ(record[3], 0);
    EXPECT_EQ(record[34], 40);
}

TEST(DriveTable, RecordsFollowEachOtherWithoutHeader) {
    const std::vector<std::uint8_t> table = EncodeTable({{"A", 30}, {"BC", 31}, {"D", 32}});
    ASSERT_EQ(table.size(), 3 * 35u);
    EXPECT_EQ(table[0], 1);
    EXPECT_EQ(table[34], 30);
    EXPECT_EQ(table[35], 2);
    EXPECT_EQ(table[36], 'B');
    EXPECT_EQ(table[69], 31);
    EXPECT_EQ(table[70], 1);
    EXPECT_EQ(table[104], 32);
    EXPECT_TRUE(EncodeTable({}).empty());
}

TEST(DriveTable, FitToSizeCutsOrPads) {
    EXPECT_EQ(FitToSize(Bytes({1, 2, 3, 4}), 2), Bytes({1, 2}));
    EXPECT_EQ(FitToSize(Bytes({1, 2}), 4), Bytes({1, 2, 0, 0}));
    EXPECT_TRUE(FitToSize(Bytes({1}), 0).empty());
}

// ---- scenario syntax ----

TEST(DriveLine, NameMayHaveSpacesAndTemperaturesMixSeparators) {
    const ScenarioDrive drive = ParseDrive("  WDC WD5000AAKS-00V1A0 =38, 39,40 41\t42 ,");
    EXPECT_EQ(drive.name, "WDC WD5000AAKS-00V1A0");
    EXPECT_EQ(drive.temperatures, Bytes({38, 39, 40, 41, 42}));
}

TEST(DriveLine, EmptyNameAndBoundaryTemperatures) {
    const ScenarioDrive drive = ParseDrive("=0,255");
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
}

TEST(Scenario, EmptyScenarioHasNoDrives) {
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

TEST(SimulatedDrives, DistinctModelNamesThatFitARecord) {
    SimulatedDrives drives(8, 1);
    std::set<std::string> names;
    for (const DriveReading& drive : drives.Next()) {
        EXPECT_FALSE(drive.name.empty());
        EXPECT_LE(drive.name.size(), 32u);
        names.insert(drive.name);
    }
    EXPECT_EQ(names.size(), 8u);
    EXPECT_EQ(SimulatedDrives(2, 1).Next()[0].name, "WDC WD5000AAKS-00V1A0");
    EXPECT_EQ(SimulatedDrives(2, 1).Next()[1].name, "ST3500418AS");
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
