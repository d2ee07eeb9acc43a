#include "support/random_folder.h"

#include "app/frm_music.h"
#include "catalogue/catalogue.h"
#include "support/recording_view.h"
#include "ui/texts.h"

namespace orvando::testing {

namespace {

std::string otherCase(std::string name, std::mt19937& rng) {
    const auto slash = name.find('\\');
    const bool folderToo = rng() % 4 == 0;
    for (std::size_t i = folderToo ? 0 : slash + 1; i < name.size(); ++i) {
        if (name[i] >= 'a' && name[i] <= 'z' && rng() % 2 == 0) {
            name[i] = static_cast<char>(name[i] - 'a' + 'A');
        }
    }
    return name;
}

bool takesOverAStockName(const std::string& name) {
    for (const auto& pair : kReplacementPairs) {
        if (pair.stock == name) {
            return true;
        }
    }
    return false;
}

// Whether a complete folder of that kind holds the name.
bool expectedIn(bool enabled, const std::string& name) {
    const bool backup = name.find(".original.") != std::string::npos;
    if (enabled) {
        return backup || takesOverAStockName(name);
    }
    return !backup;
}

}  // namespace

std::vector<std::string> catalogueNames() {
    std::vector<std::string> names(kStockNames.begin(), kStockNames.end());
    names.insert(names.end(), kBackupNames.begin(), kBackupNames.end());
    for (const auto& pair : kReplacementPairs) {
        names.emplace_back(pair.replacement);
    }
    return names;
}

// States lean towards the two complete ones, so that the operations get far,
// with gaps, folders, names in other case and names in two spellings
// sprinkled in.
std::vector<FolderEntry> randomGameFolder(std::mt19937& rng) {
    std::vector<FolderEntry> entries;
    const bool enabled = rng() % 2 == 0;
    int unique = 0;
    for (const std::string& name : catalogueNames()) {
        const bool expected = expectedIn(enabled, name);
        const auto roll = rng() % 100;
        const std::string content = "track " + std::to_string(unique++);
        // Thresholds: exact file, other case, folder, two spellings; the rest absent.
        const unsigned long limits[2][4] = {{2, 4, 5, 6}, {80, 86, 89, 92}};
        const auto* limit = limits[expected ? 1 : 0];
        if (roll < limit[0]) {
            entries.push_back({name, false, content});
        } else if (roll < limit[1]) {
            entries.push_back({otherCase(name, rng), false, content});
        } else if (roll < limit[2]) {
            entries.push_back({name, true, ""});
        } else if (roll < limit[3]) {
            entries.push_back({name, false, content});
            entries.push_back({otherCase(name, rng), false, content + " variant"});
        }
    }
    return entries;
}

// Runs one start and, unless it ended, the click that `choice` picks.
std::vector<std::string> startAndClick(FileServices& files, int choice) {
    std::vector<std::string> log;
    RecordingView view(log);
    frmMusic form(view, files);
    form.Form_Load();
    if (!form.ended()) {
        const bool pick =
            choice == kRecommended ? view.caption == text::kCaptionErrorRecRename : choice % 2 == 0;
        const bool enable = view.renameVisible && (!view.unrenameVisible || pick);
        enable ? form.rename_Click() : form.unrename_Click();
    }
    return log;
}

}  // namespace orvando::testing
