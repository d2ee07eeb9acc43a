// Random game folders, each run through the start-up detection and the
// operation its state offers, once on the in-memory folder and once on a real
// folder: both must show the same boxes and end with the same files, and no
// file's content may be lost on either.
#include <gtest/gtest.h>

#include <random>
#include <set>
#include <string>
#include <vector>

#include "app/frm_music.h"
#include "catalogue/catalogue.h"
#include "platform/file_services.h"
#include "support/memory_folder.h"
#include "support/recording_view.h"
#include "support/temp_folder.h"

namespace orvando::testing {
namespace {

std::vector<std::string> allNames() {
    std::vector<std::string> names(kStockNames.begin(), kStockNames.end());
    names.insert(names.end(), kBackupNames.begin(), kBackupNames.end());
    for (const auto& pair : kReplacementPairs) {
        names.emplace_back(pair.replacement);
    }
    return names;
}

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

struct Entry {
    std::string path;
    bool folder;
    std::string content;
};

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

// States lean towards the two complete ones, so that the operations get far,
// with gaps, folders, names in other case and names in two spellings
// sprinkled in.
std::vector<Entry> randomState(std::mt19937& rng) {
    std::vector<Entry> entries;
    const bool enabled = rng() % 2 == 0;
    int unique = 0;
    for (const std::string& name : allNames()) {
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
std::vector<std::string> runOnce(FileServices& files, int choice) {
    std::vector<std::string> log;
    RecordingView view(log);
    frmMusic form(view, files);
    form.Form_Load();
    if (!form.ended()) {
        const bool enable = view.renameVisible && (!view.unrenameVisible || choice % 2 == 0);
        enable ? form.rename_Click() : form.unrename_Click();
    }
    return log;
}

std::set<std::string> contents(const std::map<std::string, std::string>& files) {
    std::set<std::string> out;
    for (const auto& [path, content] : files) {
        out.insert(content);
    }
    return out;
}

TEST(Differential, InMemoryAndRealFoldersAgreeAndLoseNothing) {
    constexpr int kStates = 200;
    int renamedRuns = 0;
    for (int seed = 1; seed <= kStates; ++seed) {
        SCOPED_TRACE("seed " + std::to_string(seed));
        std::mt19937 rng(static_cast<unsigned>(seed));
        const auto state = randomState(rng);
        MemoryFolder memory;
        TempFolder real;
        for (const Entry& e : state) {
            e.folder ? memory.addFolder(e.path) : memory.addFile(e.path, e.content);
            e.folder ? real.addFolder(e.path) : real.addFile(e.path, e.content);
        }
        const auto before = real.files();
        ASSERT_EQ(memory.files(), before);

        const int choice = static_cast<int>(rng() % 2);
        const auto memoryLog = runOnce(memory, choice);
        auto system = makeSystemFileServices(real.path().string());
        const auto realLog = runOnce(*system, choice);

        EXPECT_EQ(memoryLog, realLog);
        const auto after = real.files();
        EXPECT_EQ(memory.files(), after);
        EXPECT_EQ(contents(after), contents(before)) << "a track was lost or overwritten";
        EXPECT_EQ(after.size(), before.size());
        renamedRuns += after != before ? 1 : 0;
    }
    // The states must exercise the operations, not only the start-up check.
    EXPECT_GT(renamedRuns, kStates / 3);
}

}  // namespace
}  // namespace orvando::testing
