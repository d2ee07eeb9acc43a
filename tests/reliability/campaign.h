// The random-folder campaign: game folders in random states over the 53
// catalogue names, each run through one start of the program and the click
// its state allows, on a real folder and on the in-memory model side by side.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>

#include "platform/file_services.h"
#include "reliability/watched_files.h"

namespace orvando::testing {

// Makes the file services that work in a real folder. The campaign uses the
// system's; tests put faulty ones in to see that the campaign notices.
using RealServicesFactory =
    std::function<std::unique_ptr<FileServices>(const std::filesystem::path& folder)>;
RealServicesFactory systemServices();

struct StateResult {
    Damage damage;               // on the real folder and the model together
    std::string mismatch;        // what differed between model and real, if anything
    int renames = 0;             // made on the real folder
    int refusals = 0;            // refused on the real folder
    int warnings = 0;            // "File rename error" boxes
    bool notGameFolder = false;  // ended at start-up with "File error"
};

// One state, drawn from `seed`.
StateResult runState(std::uint32_t seed, const RealServicesFactory& makeReal);

struct CampaignTally {
    long states = 0;
    long lost = 0;
    long overwritten = 0;
    long mismatches = 0;
    long renames = 0;
    long refusals = 0;
    long warnings = 0;
    long notGameFolder = 0;
    void add(const StateResult& r);
    bool clean() const { return lost == 0 && overwritten == 0 && mismatches == 0; }
};

// "campaign: 300 states, 0 files lost, 0 files overwritten, 0 model/real
// mismatches (...)"
std::string closingLine(const CampaignTally& tally);

}  // namespace orvando::testing
