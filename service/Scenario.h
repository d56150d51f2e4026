// Scripted drives: fixed temperature sequences, from a scenario file or --drive options.
#pragma once

#include "DriveSource.h"

#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace service {

struct ScenarioError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

struct ScenarioDrive {
    std::string name;
    std::vector<std::uint8_t> temperatures; // never empty
};

// Parses one drive, "NAME = T1, T2 ...". Throws ScenarioError.
ScenarioDrive ParseDrive(std::string_view text);

// Parses a whole scenario text (the format is described in Scenario.cpp and in --help).
// Throws ScenarioError naming the line.
std::vector<ScenarioDrive> ParseScenario(std::string_view text);

// Steps every drive through its sequence, one value per answer; the last value stays.
class ScenarioSource final : public DriveSource {
public:
    explicit ScenarioSource(std::vector<ScenarioDrive> drives);
    std::vector<DriveReading> Next() override;
    std::size_t Count() const override { return drives_.size(); }

private:
    std::vector<ScenarioDrive> drives_;
    std::size_t step_ = 0;
};

} // namespace service
