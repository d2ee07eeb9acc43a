#include "reliability/campaign.h"

#include <random>
#include <stdexcept>

#include "support/memory_folder.h"
#include "support/random_folder.h"
#include "support/recording_view.h"
#include "support/temp_folder.h"
#include "ui/texts.h"

namespace orvando::testing {

namespace {

bool startsWith(const std::string& s, const std::string& prefix) {
    return s.compare(0, prefix.size(), prefix) == 0;
}

// The first line where two logs part, for the report of a mismatch.
std::string firstDifference(const std::vector<std::string>& model,
                            const std::vector<std::string>& real) {
    std::size_t i = 0;
    while (i < model.size() && i < real.size() && model[i] == real[i]) {
        ++i;
    }
    const auto at = [i](const std::vector<std::string>& log) {
        return i < log.size() ? log[i] : std::string("(end)");
    };
    return "line " + std::to_string(i + 1) + ": model \"" + at(model) + "\", real \"" + at(real) +
           "\"";
}

std::string firstDifference(const Snapshot& model, const Snapshot& real) {
    for (const auto& [path, content] : model) {
        auto it = real.find(path);
        if (it == real.end()) {
            return path + " only in the model";
        }
        if (it->second != content) {
            return path + " holds \"" + content + "\" in the model, \"" + it->second + "\" really";
        }
    }
    for (const auto& [path, content] : real) {
        if (model.count(path) == 0) {
            return path + " only in the real folder";
        }
    }
    return "";
}

}  // namespace

RealServicesFactory systemServices() {
    return
        [](const std::filesystem::path& folder) { return makeSystemFileServices(folder.string()); };
}

StateResult runState(std::uint32_t seed, const RealServicesFactory& makeReal) {
    std::mt19937 rng(seed);
    const auto entries = randomGameFolder(rng);
    const int choice = static_cast<int>(rng() % 2);

    MemoryFolder model;
    TempFolder real;
    for (const FolderEntry& e : entries) {
        e.folder ? model.addFolder(e.path) : model.addFile(e.path, e.content);
        e.folder ? real.addFolder(e.path) : real.addFile(e.path, e.content);
    }
    StateResult result;
    const Snapshot start = real.files();
    if (!contentsUnique(start)) {
        throw std::logic_error("seed " + std::to_string(seed) + ": two files share a content");
    }
    if (model.files() != start) {
        result.mismatch =
            "the folders differ before the run: " + firstDifference(model.files(), start);
        return result;
    }

    WatchedFiles watchedModel(model, [&model] { return model.files(); });
    const auto modelLog = startAndClick(watchedModel, choice);
    auto system = makeReal(real.path());
    WatchedFiles watchedReal(*system, [&real] { return real.files(); });
    const auto realLog = startAndClick(watchedReal, choice);

    const Damage m = watchedModel.damage();
    const Damage r = watchedReal.damage();
    result.damage = {m.lost + r.lost, m.overwritten + r.overwritten};
    if (modelLog != realLog) {
        result.mismatch = "window, " + firstDifference(modelLog, realLog);
    } else if (watchedModel.calls() != watchedReal.calls()) {
        result.mismatch =
            "file calls, " + firstDifference(watchedModel.calls(), watchedReal.calls());
    } else if (const std::string diff = firstDifference(model.files(), real.files());
               !diff.empty()) {
        result.mismatch = "files, " + diff;
    }
    result.renames = watchedReal.renames();
    result.refusals = watchedReal.refusals();
    const std::string warning = "box " +
                                std::to_string(static_cast<int>(MsgBoxStyle::Exclamation)) + " " +
                                std::string(text::kRenameWarningTitle) + ":";
    const std::string fileError = "box " +
                                  std::to_string(static_cast<int>(MsgBoxStyle::Information)) + " " +
                                  std::string(text::kFileErrorTitle) + ":";
    for (const std::string& line : realLog) {
        result.warnings += startsWith(line, warning) ? 1 : 0;
        result.notGameFolder = result.notGameFolder || startsWith(line, fileError);
    }
    return result;
}

void CampaignTally::add(const StateResult& r) {
    ++states;
    lost += r.damage.lost;
    overwritten += r.damage.overwritten;
    mismatches += r.mismatch.empty() ? 0 : 1;
    renames += r.renames;
    refusals += r.refusals;
    warnings += r.warnings;
    notGameFolder += r.notGameFolder ? 1 : 0;
}

std::string closingLine(const CampaignTally& t) {
    return "campaign: " + std::to_string(t.states) + " states, " + std::to_string(t.lost) +
           " files lost, " + std::to_string(t.overwritten) + " files overwritten, " +
           std::to_string(t.mismatches) + " model/real mismatches (" + std::to_string(t.renames) +
           " renames, " + std::to_string(t.refusals) + " refused, " + std::to_string(t.warnings) +
           " missing-file warnings, " + std::to_string(t.notGameFolder) +
           " states not a game folder)";
}

}  // namespace orvando::testing
