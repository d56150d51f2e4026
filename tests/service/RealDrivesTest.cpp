// Real drives as the service reports them, with sensors played by the test: the 5-second
// cache, sleeping drives, the first 8, and the choice of source.
#include "RealDrives.h"
#include "Scenario.h"
#include "SourceChoice.h"

#include <gtest/gtest.h>

#include <stdexcept>

using namespace service;

namespace {

using Sensors = std::vector<std::unique_ptr<DriveSensor>>;

struct FakeSensor final : DriveSensor {
    std::string name;
    std::optional<double> celsius;
    bool asleep = false;
    int reads = 0;

    FakeSensor(std::string name, std::optional<double> celsius) : name(std::move(name)), celsius(celsius) {}
    std::string Name() const override { return name; }
    std::string Device() const override { return "dev" + name; }
    bool Asleep() override { return asleep; }
    std::optional<double> ReadCelsius() override { return ++reads, celsius; }
};

// The test keeps the sensor to change it while the list owns it.
FakeSensor& Add(Sensors& list, std::string name, std::optional<double> celsius) {
    list.push_back(std::make_unique<FakeSensor>(std::move(name), celsius));
    return static_cast<FakeSensor&>(*list.back());
}

}  // namespace

TEST(RealDrives, ReadAtMostEveryFiveSecondsAndSleepingDrivesAreNotRead) {
    std::uint32_t now = 0xFFFFF000;  // the tick count wraps while the test runs
    Sensors sensors;
    FakeSensor& sensor = Add(sensors, "A", 40);
    RealDrives drives("test", std::move(sensors), [&] { return now; });
    struct Step {
        std::uint32_t after;  // ms since the last step
        std::optional<double> celsius;
        bool asleep;
        int temperature, flags, reads;
    };
    const Step steps[] = {
        {0, 45, false, 40, 0, 1},               // the reading made at start
        {4999, 45, false, 40, 0, 1},            // still the cached one
        {1, 45, false, 45, 0, 2},               // five seconds on: read again
        {5000, 50, true, 45, 1, 2},             // asleep: last reading kept, not read
        {5000, 50, false, 50, 0, 3},            // awake again
        {5000, std::nullopt, false, 50, 4, 4},  // a failed reading keeps the last value, flagged stale
        {5000, 47, false, 47, 0, 5},            // and a good one clears the flag
    };
    for (const Step& step : steps) {
        now += step.after;
        sensor.celsius = step.celsius;
        sensor.asleep = step.asleep;
        const std::vector<DriveReading> readings = drives.Next();
        ASSERT_EQ(readings.size(), 1u);
        EXPECT_EQ(readings[0].temperature, step.temperature) << now;
        EXPECT_EQ(readings[0].flags, step.flags) << now;
        EXPECT_EQ(sensor.reads, step.reads) << now;
    }
}

TEST(RealDrives, ADriveAsleepAtTheStartIsLeftOutUntilItsFirstReading) {
    std::uint32_t now = 0;
    Sensors sensors;
    Add(sensors, "A", 40);
    FakeSensor& sleeper = Add(sensors, "B", 35);
    sleeper.asleep = true;
    RealDrives drives("test", std::move(sensors), [&] { return now; });
    EXPECT_EQ(drives.Count(), 2u);
    EXPECT_EQ(drives.Next().size(), 1u);
    sleeper.asleep = false;
    now += RealDrives::kCacheMs;
    const std::vector<DriveReading> readings = drives.Next();
    ASSERT_EQ(readings.size(), 2u);
    EXPECT_EQ(readings[1].name, "B");
    EXPECT_EQ(readings[1].temperature, 35);
}

TEST(RealDrives, FirstEightDrivesWithATemperatureInDeviceOrder) {
    Sensors sensors;
    for (int i = 0; i < 9; ++i)
        Add(sensors, std::to_string(i), i == 2 ? std::nullopt : std::optional<double>(30 + i));
    const FakeSensor& last = Add(sensors, "9", 39);
    RealDrives drives("test", std::move(sensors), [] { return 0u; });
    std::vector<std::pair<std::string, int>> got;
    for (const DriveReading& reading : drives.Next()) got.push_back({reading.name, reading.temperature});
    EXPECT_EQ(got, (std::vector<std::pair<std::string, int>>{
                       {"0", 30}, {"1", 31}, {"3", 33}, {"4", 34}, {"5", 35}, {"6", 36}, {"7", 37}, {"8", 38}}));
    EXPECT_EQ(last.reads, 0);  // the drive after the eighth is left alone
}

TEST(SourceChoice, AutoTakesTheFirstRealSourceWithDrivesElseNone) {
    using List = std::vector<std::optional<double>>;  // one temperature per drive
    using Temperatures = std::optional<List>;         // nothing: the source fails
    const Temperatures none = List{}, one = List{40}, silent = List{std::nullopt}, failing;
    auto finder = [](Temperatures temperatures) {
        return [temperatures] {
            if (!temperatures) throw std::runtime_error("access denied");
            Sensors list;
            for (const std::optional<double>& celsius : *temperatures) Add(list, "disk", celsius);
            return list;
        };
    };
    struct Case {
        std::string wanted;
        Temperatures windows, hwmon;
        std::string chosen;
        std::size_t count;
    };
    const Case cases[] = {
        {"auto", one, one, "windows", 1},
        {"auto", none, one, "hwmon", 1},
        {"auto", failing, one, "hwmon", 1},
        {"auto", silent, one, "hwmon", 1},  // a drive without a temperature is no drive
        {"auto", none, failing, "none", 0},  // never made-up drives unless asked
        {"auto", silent, none, "none", 0},
        {"hwmon", one, none, "hwmon", 0},   // asked for by name: kept even without drives
        {"simulated", one, one, "simulated", 2},
    };
    for (const Case& c : cases) {
        const std::vector<RealSource> real = {{"windows", finder(c.windows)}, {"hwmon", finder(c.hwmon)}};
        const ChosenSource chosen = ChooseSource(c.wanted, real, [] {
            return ChosenSource{"simulated", std::make_unique<ScenarioSource>(ParseScenario("A = 1\nB = 2\n")), false, {}};
        }, [] { return 0u; });
        EXPECT_EQ(chosen.name, c.chosen) << c.wanted;
        EXPECT_EQ(chosen.drives->Count(), c.count) << c.wanted;
        EXPECT_EQ(chosen.why.empty(), c.chosen != "none") << c.wanted;
    }
}

TEST(SourceChoice, TellsWineFromWindows) { EXPECT_TRUE(RunningUnderWine()); }
