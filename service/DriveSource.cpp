#include "DriveSource.h"

#include "Scenario.h"
#include "SimulatedDrives.h"

#include <fstream>
#include <iterator>

namespace service {

std::unique_ptr<DriveSource> MakeSimulatedSource(const Options& options) {
    if (!options.scenarioFile.empty()) {
        std::ifstream file(options.scenarioFile, std::ios::binary);
        const std::string text{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
        if (!file.is_open() || file.bad())
            throw ScenarioError("cannot read scenario file '" + options.scenarioFile + "'");
        try {
            return std::make_unique<ScenarioSource>(ParseScenario(text));
        } catch (const ScenarioError& e) {
            throw ScenarioError(options.scenarioFile + ", " + e.what());
        }
    }
    if (!options.inlineDrives.empty()) {
        if (options.inlineDrives.size() > kMaxDrives)
            throw ScenarioError("more than 8 drives");
        std::vector<ScenarioDrive> drives;
        for (const std::string& text : options.inlineDrives) {
            try {
                drives.push_back(ParseDrive(text));
            } catch (const ScenarioError& e) {
                throw ScenarioError("--drive \"" + text + "\": " + e.what());
            }
        }
        return std::make_unique<ScenarioSource>(std::move(drives));
    }
    return std::make_unique<SimulatedDrives>(options.drives, options.seed);
}

} // namespace service
